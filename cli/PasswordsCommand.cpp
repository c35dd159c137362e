// tarvelle-cli passwords: the Password Generator page's Generate from the command line.
#include "CliArgs.h"
#include "Commands.h"
#include "ConsolePlatform.h"
#include "JsonWriter.h"
#include "PasswordComposer.h"
#include "PasswordRun.h"
#include "PasswordStrengthOutput.h"
#include "Random.h"
#include "ResolveSettings.h"
#include "StringsComp.h"
#include "Utf8.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelle::cli {

namespace {

constexpr std::string_view kCommand = "passwords";

constexpr const char* kHelp
    = "usage: tarvelle-cli passwords [options]\n"
      "Makes random passwords, one per line, as the Password Generator page does; the defaults are the\n"
      "page's. Each password's length and its numbers of uppercase letters, lowercase letters, digits and\n"
      "other characters are drawn from the ranges below, and the mode may keep only passwords that are (or\n"
      "are not) easy to pronounce.\n"
      "  -n, --count N        how many passwords, 1 to 1000000 (default 9)\n"
      "  --length MIN-MAX     password length, 1 to 99 (default 8-12)\n"
      "  --upper MIN-MAX      uppercase letters per password, 0 to 99, or off (default 1-4)\n"
      "  --lower MIN-MAX      lowercase letters, or off (default 1-8)\n"
      "  --digits MIN-MAX     digits, or off (default 0-1)\n"
      "  --other MIN-MAX      other characters, or off (default 0-1)\n"
      "  --other-chars TEXT   the other characters, UTF-8 without control characters, each equally likely\n"
      "                       (default \"!@#$%^*\")\n"
      "  --exclude-similar    leaves out the look-alike characters B 8 G 6 I 1 l 0 O Q D S 5 Z 2 | from every\n"
      "                       class: each class draws from the characters it has left, so the counts still\n"
      "                       follow their ranges\n"
      "  --mode M             random (or 0): any password\n"
      "                       easy (or 1, the default): every pair of letters is a usual one\n"
      "                       pronounceable (or 2): letters of a kind in a row form usual pairs\n"
      "                       unpronounceable (or 3): the passwords pronounceable turns down\n"
      "  --seed N             draws from the program's own generator seeded with N (0 to 4294967295), so the\n"
      "                       same seed and options give the same passwords; such passwords are not secret.\n"
      "                       Without it every draw comes from the operating system's secure generator\n"
      "  --strength           prints how strong these options' passwords are instead of making any: the\n"
      "                       Shannon entropy of one password in bits, its min-entropy (minus log2 of the\n"
      "                       likeliest password's odds), the share of candidates kept, and whether the\n"
      "                       figures are exact or proven ranges. The figures describe the secure generator,\n"
      "                       so not with --seed\n"
      "  -j, --json           one JSON object: {\"passwords\": [...], \"candidates\": N}, N being the number\n"
      "                       of candidate passwords drawn to make them; with --strength {\"shannon_bits\": S,\n"
      "                       \"min_entropy_bits\": M, \"acceptance\": A, \"exact\": true|false,\n"
      "                       \"bound_bits\": B, \"acceptance_bound\": C}, B being the largest error S or M\n"
      "                       can have and C the largest error of A (each 0 when exact)\n"
      "  -h, --help           this text\n"
      "A MIN-MAX range may be a single number N for N-N; MIN must not be above MAX. Long runs show their\n"
      "progress on stderr when it is a terminal. When the options make no password within two seconds the\n"
      "run gives up.\n"
      "Exit codes: 0 success; 1 no password within two seconds (with --strength: options that can make no\n"
      "password), or a failed write; 2 bad usage; 130 Ctrl-C.\n"
      "examples:\n"
      "  tarvelle-cli passwords -n 5 --mode pronounceable --digits 1-2\n"
      "  tarvelle-cli passwords --exclude-similar --length 12-16 --other 1-2\n";

constexpr KnownOption kOptions[] = {
    {"count", 'n'},
    {"length"},
    {"upper"},
    {"lower"},
    {"digits"},
    {"other"},
    {"mode"},
    {"other-chars"},
    {"seed"},
    {"exclude-similar", 0, false},
    {"strength", 0, false},
    {"json", 'j', false},
};

constexpr uint64_t kMostPasswords = 1000000;

/// The characters --exclude-similar takes out of every class.
constexpr std::string_view kSimilarCharacters = "B8G6I1l0OQDS5Z2|";

struct Options
{
    uint64_t count = 9;
    AskedSettings asked; // the page's start values until an option says otherwise; PasswordRun sets Count
    std::optional<uint32_t> seed;
    bool excludeSimilar = false;
    bool json = false;
};

constexpr std::string_view kClassOptions[] = {"upper", "lower", "digits", "other"};
constexpr std::optional<CountRange> AskedSettings::*kClassRanges[]
    = {&AskedSettings::Upper, &AskedSettings::Lower, &AskedSettings::Numeric, &AskedSettings::Other};

/// Takes the look-alikes out of a class's characters. Every look-alike is ASCII, and no byte of a longer UTF-8
/// character is.
void LeaveOutSimilar(std::string& characters)
{
    std::erase_if(characters, [](char c) { return kSimilarCharacters.find(c) != std::string_view::npos; });
}

std::optional<int32_t> ParseMode(std::string_view text)
{
    constexpr std::string_view kNames[] = {"random", "easy", "pronounceable", "unpronounceable"};
    for (size_t i = 0; i < std::size(kNames); ++i) {
        if (text == kNames[i] || (text.size() == 1 && text[0] == static_cast<char>('0' + i)))
            return static_cast<int32_t>(i);
    }
    return std::nullopt;
}

std::optional<std::string> ReadClasses(const ParsedArgs& parsed, Options& o)
{
    for (size_t k = 0; k < 4; ++k) {
        const std::string* text = parsed.value(kClassOptions[k]);
        if (text == nullptr)
            continue;
        std::optional<CountRange>& asked = o.asked.*kClassRanges[k];
        if (*text == "off") {
            asked = std::nullopt;
            continue;
        }
        const auto range = ParseRange(*text, 0, 99);
        if (!range)
            return "--" + std::string(kClassOptions[k]) + " " + QuotedShort(*text)
                + " is not off nor MIN-MAX with 0 <= MIN <= MAX <= 99";
        asked = CountRange {range->first, range->second};
    }
    return std::nullopt;
}

std::optional<std::string> ReadOtherCharacters(const ParsedArgs& parsed, Options& o)
{
    if (const std::string* text = parsed.value("other-chars")) {
        // A stray byte would be a character of its own, and two of them side by side would read back as some
        // other character; a control character would break the one-password-a-line output.
        if (!IsUtf8(*text))
            return "--other-chars " + QuotedShort(*text) + " is not UTF-8 text";
        const auto control = [](char c) { return static_cast<unsigned char>(c) < 32 || c == 127; };
        if (std::any_of(text->begin(), text->end(), control))
            return "--other-chars " + QuotedShort(*text) + " holds a control character";
        o.asked.OtherCharacters = *text;
    }
    if (o.excludeSimilar)
        LeaveOutSimilar(o.asked.OtherCharacters);
    if (o.asked.Other && o.asked.Other->Max > 0 && o.asked.OtherCharacters.empty())
        return std::string("--other asks for other characters but ")
            + (o.excludeSimilar ? "--exclude-similar leaves none of --other-chars" : "--other-chars is empty");
    return std::nullopt;
}

std::optional<std::string> ReadOptions(const ParsedArgs& parsed, Options& o)
{
    if (const std::string* text = parsed.value("count")) {
        const std::optional<uint64_t> count = ParseWhole(*text, 1, kMostPasswords);
        if (!count)
            return "--count " + QuotedShort(*text) + " is not a whole number from 1 to 1000000";
        o.count = *count;
    }
    if (const std::string* text = parsed.value("length")) {
        const auto range = ParseRange(*text, 1, 99);
        if (!range)
            return "--length " + QuotedShort(*text) + " is not MIN-MAX with 1 <= MIN <= MAX <= 99";
        o.asked.Length = {range->first, range->second};
    }
    if (auto complaint = ReadClasses(parsed, o))
        return complaint;
    o.excludeSimilar = parsed.has("exclude-similar");
    if (auto complaint = ReadOtherCharacters(parsed, o))
        return complaint;
    if (const std::string* text = parsed.value("mode")) {
        const std::optional<int32_t> mode = ParseMode(*text);
        if (!mode)
            return "--mode " + QuotedShort(*text) + " is not random, easy, pronounceable, unpronounceable or 0 to 3";
        o.asked.Mode = *mode;
    }
    if (const std::string* text = parsed.value("seed")) {
        const std::optional<uint64_t> seed = ParseWhole(*text, 0, UINT32_MAX);
        if (!seed)
            return "--seed " + QuotedShort(*text) + " is not a whole number from 0 to 4294967295";
        o.seed = static_cast<uint32_t>(*seed);
    }
    o.json = parsed.has("json");
    return std::nullopt;
}

// The run settings of the options: the page's rules over what was asked, and with --exclude-similar each fixed
// class's characters without the look-alikes (the Other characters lost theirs when they were read).
TPasswordSettings SettingsOf(const Options& o)
{
    TPasswordSettings settings = ResolveSettings(o.asked);
    if (o.excludeSimilar) {
        LeaveOutSimilar(settings.UpperCharacters);
        LeaveOutSimilar(settings.LowerCharacters);
        LeaveOutSimilar(settings.NumericCharacters);
    }
    return settings;
}

// Writes the passwords as they come: plain lines, or the JSON object opened at the first password.
class Listing
{
public:
    Listing(OutStream& out, bool json) : out_(out), json_(json) { }

    bool take(const std::string& password)
    {
        if (!json_) {
            out_ << password << '\n';
            return !out_.failed();
        }
        out_ << (opened_ ? ", " : "{\"passwords\": [");
        opened_ = true;
        AppendJsonString(out_.buffer(), password);
        out_.wrote();
        return !out_.failed();
    }
    void close(uint64_t candidates)
    {
        if (json_ && opened_)
            out_ << "], \"candidates\": " << std::to_string(candidates) << "}\n";
    }

private:
    OutStream& out_;
    bool json_;
    bool opened_ = false;
};

// The progress line on a terminal, once the run has lasted a second, rewritten at most four times a second.
class Progress
{
public:
    Progress(OutStream& err, uint64_t count) : err_(err), count_(count) { }

    void show(uint64_t made, uint32_t elapsed)
    {
        if (elapsed <= 1000 || (shown_ && elapsed - last_ < 250) || made >= count_)
            return;
        last_ = elapsed;
        shown_ = true;
        err_ << "\rtarvelle-cli passwords: " << std::to_string(made) << " of " << std::to_string(count_) << " ("
             << std::to_string(made * 1000 / elapsed) << " a second) ";
        err_.flush();
    }
    void clear()
    {
        if (shown_)
            err_ << "\r" << std::string(72, ' ') << "\r";
    }

private:
    OutStream& err_;
    uint64_t count_;
    uint32_t last_ = 0;
    bool shown_ = false;
};

int Report(RunEnd end, const PasswordRun& run, Console& console)
{
    switch (end) {
    case RunEnd::Filled:
    case RunEnd::Stopped: // the failed write is reported with the output's final flush
        return kExitSuccess;
    case RunEnd::GaveUp:
        console.err << "tarvelle-cli passwords: " << kTimeOutText << '\n';
        break;
    case RunEnd::NoOtherCharacters:
        console.err << "tarvelle-cli passwords: a password drew other characters but there are none\n";
        break;
    case RunEnd::Unsupported:
        console.err << "tarvelle-cli passwords: the password generator does not take these settings\n";
        break;
    }
    if (run.made > 0)
        console.err << "tarvelle-cli passwords: stopped after " << std::to_string(run.made) << " of "
                    << std::to_string(run.count) << " passwords\n";
    return kExitFailure;
}

} // namespace

int RunPasswordsCommand(const Args& args, Console& console)
{
    ParsedArgs parsed;
    if (const auto done = OpenCommand(args, kOptions, kCommand, kHelp, 0, parsed, console))
        return *done;
    Options options;
    if (const auto complaint = ReadOptions(parsed, options))
        return BadUsage(console.err, kCommand, *complaint);

    ConsolePlatform platform;
    LcgRandom generator(options.seed.value_or(0));
    SystemRandom system;
    const TStringListComp pairs(LetterPairList());
    PasswordRun run;
    run.settings = SettingsOf(options);
    run.count = options.count;
    if (parsed.has("strength")) {
        if (options.seed)
            return BadUsage(console.err, kCommand, "--strength describes the secure generator: it takes no --seed");
        return PrintPasswordStrength(run.settings, options.json, console);
    }
    const ComposeFunction compose = options.seed ? ComposeFrom(generator) : ComposeFrom(system);
    if (options.seed)
        console.err << "tarvelle-cli passwords: seeded passwords can be made again by anyone with the seed: they "
                       "are not secret\n";

    Listing listing(console.out, options.json);
    Progress progress(console.err, options.count);
    run.take = [&listing](const std::string& password) { return listing.take(password); };
    if (console.errIsTerminal)
        run.progress = [&progress](uint64_t made, uint32_t elapsed) { progress.show(made, elapsed); };
    const RunEnd end = run.Run(compose, console.clock != nullptr ? *console.clock : platform, pairs);
    progress.clear();
    listing.close(run.candidates);
    return Report(end, run, console);
}

} // namespace tarvelle::cli
