// tarvelle-cli password: the Password Generator page's run from the command line.
#include "Commands.h"

#include "PasswordComposer.h"
#include "Random.h"
#include "StringsComp.h"

#include <charconv>
#include <chrono>
#include <optional>
#include <string_view>

namespace tarvelle::cli {
namespace {

constexpr const char* kUsage
    = "usage: tarvelle-cli password [options]\n"
      "Makes passwords as the Password Generator page does, one per line.\n"
      "  --count N            how many passwords, 1 to 999 (default 9)\n"
      "  --mode M             0 completely random, 1 more easily pronounced (default),\n"
      "                       2 can be pronounced, 3 cannot be pronounced\n"
      "  --min-length N       shortest password, 1 to 99 (default 8)\n"
      "  --max-length N       longest password, 1 to 99 (default 12)\n"
      "  --upper MIN:MAX|off  uppercase letters per password, 0 to 99 (default 1:4)\n"
      "  --lower MIN:MAX|off  lowercase letters (default 1:8)\n"
      "  --numeric MIN:MAX|off  digits (default 0:1)\n"
      "  --other MIN:MAX|off  other characters (default 0:1)\n"
      "  --other-chars TEXT   the other characters, UTF-8 (default \"!@#$%^*\")\n"
      "  --seed N             use the program's own generator from seed N (0 to 4294967295), so the same\n"
      "                       seed and options give the same passwords; without it the system's secure\n"
      "                       generator is used\n"
      "example: tarvelle-cli password --count 5 --mode 2 --numeric 1:2\n";

/// The whole text as a decimal number in min..max, or nothing.
template <class Int> std::optional<Int> ParseNumber(std::string_view text, Int min, Int max)
{
    Int value {};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() || value < min || value > max)
        return std::nullopt;
    return value;
}

/// "MIN:MAX" with 0 <= MIN <= MAX <= 99, or "off" for a class that is not used.
std::optional<CountRange> ParseRange(std::string_view text)
{
    if (text == "off")
        return CountRange {0, 0};
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto min = ParseNumber<int32_t>(text.substr(0, colon), 0, 99);
    const auto max = ParseNumber<int32_t>(text.substr(colon + 1), 0, 99);
    if (!min || !max || *min > *max)
        return std::nullopt;
    return CountRange {*min, *max};
}

struct Options
{
    TPasswordSettings settings;
    std::optional<uint32_t> seed;
    bool otherOff = false;
    bool help = false;
};

/// Reads the options; a complaint for err when one is wrong.
std::optional<Options> ParseOptions(const Args& args, std::ostream& err)
{
    Options o;
    TPasswordSettings& s = o.settings;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--help" || name == "-h") {
            o.help = true;
            return o;
        }
        if (i + 1 == args.size()) {
            err << "tarvelle-cli password: " << (name.starts_with("--") ? "missing value for " : "unknown option ")
                << name << '\n';
            return std::nullopt;
        }
        const std::string_view value = args[++i];
        bool good = true;
        const auto set = [&good](auto parsed, auto& target) {
            good = parsed.has_value();
            if (good)
                target = *parsed;
        };
        if (name == "--count")
            set(ParseNumber<int32_t>(value, 1, 999), s.Count);
        else if (name == "--mode")
            set(ParseNumber<int32_t>(value, 0, 3), s.Mode);
        else if (name == "--min-length")
            set(ParseNumber<int32_t>(value, 1, 99), s.MinLength);
        else if (name == "--max-length")
            set(ParseNumber<int32_t>(value, 1, 99), s.MaxLength);
        else if (name == "--upper")
            set(ParseRange(value), s.Upper);
        else if (name == "--lower")
            set(ParseRange(value), s.Lower);
        else if (name == "--numeric")
            set(ParseRange(value), s.Numeric);
        else if (name == "--other") {
            set(ParseRange(value), s.Other);
            o.otherOff = value == "off";
        } else if (name == "--other-chars")
            s.OtherCharacters = value;
        else if (name == "--seed")
            set(ParseNumber<uint32_t>(value, 0, 0xFFFFFFFFu), o.seed);
        else {
            err << "tarvelle-cli password: unknown option " << name << '\n';
            return std::nullopt;
        }
        if (!good) {
            err << "tarvelle-cli password: bad value '" << value << "' for " << name << '\n';
            return std::nullopt;
        }
    }
    if (s.MinLength > s.MaxLength) {
        err << "tarvelle-cli password: --min-length is above --max-length\n";
        return std::nullopt;
    }
    if (o.otherOff)
        s.OtherCharacters.clear();
    else if (s.Other.Max > 0 && s.OtherCharacters.empty()) {
        err << "tarvelle-cli password: --other allows other characters but --other-chars is empty\n";
        return std::nullopt;
    }
    return o;
}

/// What a run needs of a desktop, on a console: a millisecond clock and a place for the warning.
class ConsolePlatform final : public Platform
{
public:
    explicit ConsolePlatform(std::ostream& err) : err_(err) { }

    uint32_t tickCount() override
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
    void showWarning(const std::string& title, const std::string& text) override
    {
        err_ << "tarvelle-cli password: " << title << ": " << text << '\n';
    }
    void showError(const std::string& text) override { err_ << "tarvelle-cli password: " << text << '\n'; }

    void beep() override { }
    bool queryPerformanceFrequency(int64_t& frequency) override { return (frequency = 0, false); }
    bool queryPerformanceCounter(int64_t& count) override { return (count = 0, false); }
    void sleepMilliseconds(uint32_t) override { }
    ScreenPoint cursorPos() override { return {}; }
    void showInformation(const std::string&, const std::string&) override { }
    void setClipboardText(const std::string&) override { }
    std::optional<std::string> askSaveFileName() override { return std::nullopt; }
    std::optional<std::string> writeFile(const std::string&, const std::string&) override { return "not available"; }
    bool openUrl(const std::string&) override { return false; }
    void setMainWindowEnabled(bool) override { }
    void setBusyCursor(bool) override { }
    void processEvents() override { }

private:
    std::ostream& err_;
};

} // namespace

int RunPasswordCommand(const Args& args, std::ostream& out, std::ostream& err)
{
    const std::optional<Options> options = ParseOptions(args, err);
    if (!options) {
        err << kUsage;
        return 2;
    }
    if (options->help) {
        out << kUsage;
        return 0;
    }
    ConsolePlatform platform(err);
    const TStringListComp pairs(LetterPairList());
    std::vector<std::string> passwords;
    LcgRandom seeded(options->seed.value_or(0));
    SystemRandom system;
    RandomSource& random = options->seed ? static_cast<RandomSource&>(seeded) : system;
    const ComposeEnd end = ComposePasswords(options->settings, random, platform, pairs, passwords);
    for (const std::string& password : passwords)
        out << password << '\n';
    if (end == ComposeEnd::TimeLimit)
        err << "tarvelle-cli password: stopped after 10 seconds with " << passwords.size() << " of "
            << options->settings.Count << " passwords\n";
    return end == ComposeEnd::Filled ? 0 : 1;
}

} // namespace tarvelle::cli
