#include "CliArgs.h"

#include <algorithm>
#include <charconv>
#include <getopt.h>

namespace tarvelle::cli {

namespace {

// getopt_long's value for an option without a short letter: past every character.
constexpr int kLongOnly = 256;
constexpr int kHelpValue = 'h';

int ValueOf(const KnownOption& option, size_t index)
{
    return option.letter != 0 ? option.letter : kLongOnly + static_cast<int>(index);
}

const KnownOption* OptionOfValue(std::span<const KnownOption> known, int value)
{
    for (size_t i = 0; i < known.size(); ++i) {
        if (ValueOf(known[i], i) == value)
            return &known[i];
    }
    return nullptr;
}

// The name the user wrote for the option at argv[at]: "--name" without any "=value", or "-x".
std::string WrittenName(const std::vector<char*>& argv, int at, int shortValue)
{
    if (shortValue > 0 && shortValue < kLongOnly)
        return std::string("-") + static_cast<char>(shortValue);
    const std::string_view arg = at >= 0 && at < static_cast<int>(argv.size()) && argv[static_cast<size_t>(at)]
        ? argv[static_cast<size_t>(at)]
        : "";
    return std::string(arg.substr(0, arg.find('=')));
}

std::string Complaint(int result, std::span<const KnownOption> known, const std::vector<char*>& argv)
{
    const KnownOption* option = OptionOfValue(known, optopt);
    const bool longForm = optind > 0 && std::string_view(argv[static_cast<size_t>(optind - 1)]).starts_with("--");
    if (result == ':' && option != nullptr)
        return "--" + std::string(option->name) + " needs a value";
    if (option != nullptr && longForm)
        return "--" + std::string(option->name) + " takes no value";
    return "unknown option " + Quoted(WrittenName(argv, optind - 1, longForm ? 0 : optopt));
}

} // namespace

const std::string* ParsedArgs::value(std::string_view name) const
{
    const auto it = options.find(name);
    return it == options.end() ? nullptr : &it->second;
}

std::optional<std::string> ParseArgs(const Args& args, std::span<const KnownOption> known, ParsedArgs& parsed)
{
    std::vector<std::string> copies {"tarvelle-cli"};
    copies.insert(copies.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& copy : copies)
        argv.push_back(copy.data());
    argv.push_back(nullptr);

    std::string letters = ":h";
    std::vector<option> table;
    for (size_t i = 0; i < known.size(); ++i) {
        if (known[i].letter != 0)
            letters += std::string(1, known[i].letter) + (known[i].takesValue ? ":" : "");
        table.push_back(
            {known[i].name, known[i].takesValue ? required_argument : no_argument, nullptr, ValueOf(known[i], i)});
    }
    table.push_back({"help", no_argument, nullptr, kHelpValue});
    table.push_back({nullptr, 0, nullptr, 0});

    // getopt_long keeps its state in globals: optind = 0 starts it afresh for every parse.
    opterr = 0;
    optind = 0;
    const int argc = static_cast<int>(argv.size()) - 1;
    for (int result; (result = getopt_long(argc, argv.data(), letters.c_str(), table.data(), nullptr)) != -1;) {
        if (result == kHelpValue) {
            parsed.help = true;
            continue;
        }
        const KnownOption* option = result == '?' || result == ':' ? nullptr : OptionOfValue(known, result);
        if (option == nullptr)
            return Complaint(result, known, argv);
        parsed.options[option->name] = option->takesValue && optarg != nullptr ? optarg : "";
    }
    for (int i = optind; i < argc; ++i)
        parsed.positionals.emplace_back(argv[static_cast<size_t>(i)]);
    return std::nullopt;
}

std::optional<uint64_t> ParseWhole(std::string_view text, uint64_t min, uint64_t max)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<std::pair<int32_t, int32_t>> ParseRange(std::string_view text, int32_t lowest, int32_t highest)
{
    const size_t dash = text.find('-');
    const std::string_view minText = text.substr(0, dash);
    const std::string_view maxText = dash == std::string_view::npos ? minText : text.substr(dash + 1);
    const auto lo = static_cast<uint64_t>(lowest);
    const auto hi = static_cast<uint64_t>(highest);
    const std::optional<uint64_t> min = ParseWhole(minText, lo, hi);
    const std::optional<uint64_t> max = ParseWhole(maxText, lo, hi);
    if (!min || !max || *min > *max)
        return std::nullopt;
    return std::pair {static_cast<int32_t>(*min), static_cast<int32_t>(*max)};
}

std::string Quoted(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            quoted += "\\x";
            quoted += kHex[byte >> 4];
            quoted += kHex[byte & 0xF];
        } else {
            quoted += c;
        }
    }
    quoted += '"';
    return quoted;
}

std::string QuotedShort(std::string_view text, size_t limit)
{
    return text.size() <= limit ? Quoted(text) : Quoted(text.substr(0, limit)) + "...";
}

int BadUsage(OutStream& err, std::string_view command, std::string_view message)
{
    err << "tarvelle-cli " << command << ": " << message << " (see tarvelle-cli " << command << " --help)\n";
    return kExitUsage;
}

std::optional<int> OpenCommand(const Args& args, std::span<const KnownOption> known, std::string_view command,
                               std::string_view helpText, size_t maxPositionals, ParsedArgs& parsed, Console& console)
{
    if (const auto complaint = ParseArgs(args, known, parsed))
        return BadUsage(console.err, command, *complaint);
    if (parsed.help) {
        console.out << helpText;
        return kExitSuccess;
    }
    if (parsed.positionals.size() > maxPositionals)
        return BadUsage(console.err, command, "unexpected argument " + Quoted(parsed.positionals[maxPositionals]));
    return std::nullopt;
}

} // namespace tarvelle::cli
