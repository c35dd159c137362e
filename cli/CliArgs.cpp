#include "CliArgs.h"

#include <algorithm>
#include <charconv>

namespace tarvelle::cli {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string WithoutBlanks(std::string_view text)
{
    std::string kept;
    for (const char c : text) {
        if (!IsBlank(c))
            kept.push_back(c);
    }
    return kept;
}

const KnownOption* FindOption(std::span<const KnownOption> known, std::string_view name)
{
    const auto it = std::find_if(known.begin(), known.end(), [name](const KnownOption& s) { return s.name == name; });
    return it == known.end() ? nullptr : &*it;
}

} // namespace

const std::string* ParsedArgs::value(std::string_view name) const
{
    const auto it = options.find(name);
    return it == options.end() ? nullptr : &it->second;
}

std::optional<std::string> ParseArgs(const Args& args, std::span<const KnownOption> known, ParsedArgs& parsed)
{
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !arg.starts_with("--")) {
            if (!optionsEnded && arg == "-h") {
                parsed.help = true;
                return std::nullopt;
            }
            parsed.positionals.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help") {
            parsed.help = true;
            return std::nullopt;
        }
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const KnownOption* option = FindOption(known, name);
        if (option == nullptr)
            return "unknown option " + Quoted(name);
        if (parsed.has(name))
            return name + " is given more than once";
        if (!option->takesValue) {
            if (equals != std::string::npos)
                return name + " takes no value";
            parsed.options.emplace(name, std::string());
        } else if (equals != std::string::npos) {
            parsed.options.emplace(name, arg.substr(equals + 1));
        } else if (i + 1 < args.size()) {
            parsed.options.emplace(name, args[++i]);
        } else {
            return name + " needs a value";
        }
    }
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

std::optional<size_t> FindListItem(std::string_view given, const std::vector<std::string>& items)
{
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == given)
            return i;
    }
    const std::string squeezed = WithoutBlanks(given);
    for (size_t i = 0; i < items.size(); ++i) {
        if (WithoutBlanks(items[i]) == squeezed)
            return i;
    }
    return std::nullopt;
}

std::string ListOfItems(const std::vector<std::string>& items)
{
    std::string list;
    for (const std::string& item : items) {
        if (!list.empty())
            list += ", ";
        list += Quoted(item);
    }
    return list;
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

int BadUsage(std::ostream& err, std::string_view command, std::string_view message)
{
    err << "tarvelle-cli " << command << ": " << message << " (see tarvelle-cli " << command << " --help)\n";
    return kExitUsage;
}

std::optional<int> OpenCommand(const Args& args, std::span<const KnownOption> known, std::string_view command,
                               std::string_view helpText, size_t maxPositionals, ParsedArgs& parsed, std::ostream& out,
                               std::ostream& err)
{
    if (const auto complaint = ParseArgs(args, known, parsed))
        return BadUsage(err, command, *complaint);
    if (parsed.help) {
        out << helpText;
        return kExitSuccess;
    }
    if (parsed.positionals.size() > maxPositionals)
        return BadUsage(err, command, "unexpected argument " + Quoted(parsed.positionals[maxPositionals]));
    return std::nullopt;
}

} // namespace tarvelle::cli
