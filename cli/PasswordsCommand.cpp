// tarvelle-cli passwords: the Password Generator page's Generate from the command line.
#include "CliArgs.h"
#include "Commands.h"
#include "ConsolePlatform.h"
#include "JsonWriter.h"
#include "PasswordComposer.h"
#include "PasswordPageModel.h"
#include "Random.h"
#include "Utf8.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelle::cli {

namespace {

constexpr std::string_view kCommand = "passwords";

constexpr const char* kHelp
    = "usage: tarvelle-cli passwords [options] [--json]\n"
      "Makes passwords as the Password Generator page's Generate does, one per line. Defaults are the page's.\n"
      "  --count N           how many passwords, 1 to 1000000 (default 9)\n"
      "  --length MIN-MAX    password length, 1 to 99 (default 8-12)\n"
      "  --upper MIN-MAX     uppercase letters per password, 0 to 99, or off (default 1-4)\n"
      "  --lower MIN-MAX     lowercase letters, or off (default 1-8)\n"
      "  --digits MIN-MAX    digits, or off (default 0-1)\n"
      "  --other MIN-MAX     other characters, or off (default 0-1)\n"
      "  --other-chars TEXT  the other characters, UTF-8, each equally likely (default \"!@#$%^*\")\n"
      "  --mode M            0 or random: completely random\n"
      "                      1 or easy: more easily pronounced (default)\n"
      "                      2 or pronounceable: can be pronounced\n"
      "                      3 or unpronounceable: exclude passwords which can be pronounced\n"
      "  --seed N            draws from the program's own generator seeded with N (0 to 4294967295), so the\n"
      "                      same seed and options give the same passwords; such passwords are not secret.\n"
      "                      Without it every draw comes from the operating system's secure generator\n"
      "  --json              prints one JSON object: {\"passwords\": [...], \"candidates\": N}, N being the\n"
      "                      number of candidates drawn\n"
      "  --help              this text\n"
      "A MIN-MAX range may be a single number N for N-N; MIN must not be above MAX. When the options give\n"
      "no password within two seconds the run gives up with exit code 1, as the page shows its warning.\n"
      "example: tarvelle-cli passwords --count 5 --mode pronounceable --digits 1-2\n";

constexpr KnownOption kOptions[] = {
    {"--count"}, {"--length"}, {"--upper"},       {"--lower"}, {"--digits"},
    {"--other"}, {"--mode"},   {"--other-chars"}, {"--seed"},  {"--json", false},
};

constexpr uint64_t kMostPasswords = 1000000;

// A class's count range, or nothing when the class is off (its box unticked).
using ClassRange = std::optional<std::pair<int32_t, int32_t>>;

struct Options
{
    int32_t count = 9;
    std::pair<int32_t, int32_t> length {8, 12};
    std::array<ClassRange, 4> classes {ClassRange {{1, 4}}, ClassRange {{1, 8}}, ClassRange {{0, 1}},
                                       ClassRange {{0, 1}}};
    const std::string* otherCharacters = nullptr;
    int32_t mode = kModeEasilyPronounced;
    std::optional<uint32_t> seed;
    bool json = false;
};

constexpr std::string_view kClassOptions[] = {"--upper", "--lower", "--digits", "--other"};

std::optional<int32_t> ParseMode(std::string_view text)
{
    constexpr std::string_view kNames[] = {"random", "easy", "pronounceable", "unpronounceable"};
    for (size_t i = 0; i < std::size(kNames); ++i) {
        if (text == kNames[i] || (text.size() == 1 && text[0] == static_cast<char>('0' + i)))
            return static_cast<int32_t>(i);
    }
    return std::nullopt;
}

std::optional<std::string> ReadOptions(const ParsedArgs& parsed, Options& o)
{
    if (const std::string* text = parsed.value("--count")) {
        const std::optional<uint64_t> count = ParseWhole(*text, 1, kMostPasswords);
        if (!count)
            return "--count " + Quoted(*text) + " is not a whole number from 1 to 1000000";
        o.count = static_cast<int32_t>(*count);
    }
    if (const std::string* text = parsed.value("--length")) {
        const auto range = ParseRange(*text, 1, 99);
        if (!range)
            return "--length " + Quoted(*text) + " is not MIN-MAX with 1 <= MIN <= MAX <= 99";
        o.length = *range;
    }
    for (size_t k = 0; k < 4; ++k) {
        const std::string* text = parsed.value(kClassOptions[k]);
        if (text == nullptr)
            continue;
        if (*text == "off") {
            o.classes[k] = std::nullopt;
            continue;
        }
        o.classes[k] = ParseRange(*text, 0, 99);
        if (!o.classes[k])
            return std::string(kClassOptions[k]) + " " + Quoted(*text)
                + " is not off nor MIN-MAX with 0 <= MIN <= MAX <= 99";
    }
    o.otherCharacters = parsed.value("--other-chars");
    if (const std::string* text = o.otherCharacters) {
        // A stray byte would be a character of its own, and two of them side by side in a password would read
        // back as some other character.
        if (!IsUtf8(*text))
            return "--other-chars " + Quoted(*text) + " is not UTF-8 text";
    }
    if (const std::string* text = parsed.value("--mode")) {
        const std::optional<int32_t> mode = ParseMode(*text);
        if (!mode)
            return "--mode " + Quoted(*text) + " is not 0, 1, 2, 3, random, easy, pronounceable or unpronounceable";
        o.mode = *mode;
    }
    if (const std::string* text = parsed.value("--seed")) {
        const std::optional<uint64_t> seed = ParseWhole(*text, 0, UINT32_MAX);
        if (!seed)
            return "--seed " + Quoted(*text) + " is not a whole number from 0 to 4294967295";
        o.seed = static_cast<uint32_t>(*seed);
    }
    o.json = parsed.has("--json");
    return std::nullopt;
}

// Types a range into a minimum box and its maximum box, in that order, as a user would; the page's coupling
// moves the partner boxes' limits as it goes.
void TypeRange(SpinBoxModel& minBox, SpinBoxModel& maxBox, std::pair<int32_t, int32_t> range)
{
    minBox.setText(std::to_string(range.first));
    maxBox.setText(std::to_string(range.second));
}

// The run settings as the page would read them after the options were entered and the boxes settled. The
// count is the command's own: the page's box stops at 999.
TPasswordSettings SettingsFromPage(const Options& o, PasswordPageModel& page)
{
    page.SetInitialMode();
    TypeRange(page.seMinLen, page.seMaxLen, o.length);
    const std::array<std::pair<SpinBoxModel*, SpinBoxModel*>, 4> boxes {{{&page.seUpper1, &page.seUpper2},
                                                                         {&page.seLower1, &page.seLower2},
                                                                         {&page.seNum1, &page.seNum2},
                                                                         {&page.seOther1, &page.seOther2}}};
    bool* const ticks[] = {&page.ckbUpper, &page.ckbLower, &page.ckbNumeric, &page.ckbOther};
    for (size_t k = 0; k < 4; ++k) {
        *ticks[k] = o.classes[k].has_value();
        if (o.classes[k])
            TypeRange(*boxes[k].first, *boxes[k].second, *o.classes[k]);
    }
    page.ckbOtherClick();
    if (o.otherCharacters != nullptr)
        page.tbOther.set(*o.otherCharacters);
    page.cbWordMode.setIndex(o.mode);
    page.SettleSpinBoxes();
    TPasswordSettings settings = page.ReadSettings();
    settings.Count = o.count;
    return settings;
}

std::string Listing(const std::vector<std::string>& passwords, uint64_t candidates, bool json)
{
    if (!json) {
        std::string text;
        for (const std::string& password : passwords)
            text.append(password).append("\n");
        return text;
    }
    JsonArray list;
    for (const std::string& password : passwords)
        list.text(password);
    return JsonObject().raw("passwords", list.close()).integer("candidates", static_cast<int64_t>(candidates)).close()
        + "\n";
}

} // namespace

int RunPasswordsCommand(const Args& args, std::ostream& out, std::ostream& err)
{
    ParsedArgs parsed;
    if (const auto done = OpenCommand(args, kOptions, kCommand, kHelp, 0, parsed, out, err))
        return *done;
    Options options;
    if (const auto complaint = ReadOptions(parsed, options))
        return BadUsage(err, kCommand, *complaint);

    ConsolePlatform platform;
    EntropyPool entropy;
    LcgRandom generator(options.seed.value_or(0));
    SystemRandom system;
    PasswordPageModel page(platform, entropy, generator, generator);
    const TPasswordSettings settings = SettingsFromPage(options, page);
    RandomSource& source = options.seed ? static_cast<RandomSource&>(generator) : system;
    if (options.seed)
        err << "tarvelle-cli passwords: seeded passwords can be made again by anyone with the seed: they are not "
               "secret\n";

    std::vector<std::string> passwords;
    ComposeStats stats;
    const ComposeEnd end = ComposePasswords(settings, source, platform, page.slcConst, passwords, &stats);
    out << Listing(passwords, stats.Candidates, options.json);
    if (end == ComposeEnd::Filled)
        return kExitSuccess;
    if (end == ComposeEnd::NoOtherCharacters)
        err << "tarvelle-cli passwords: a password drew other characters but --other-chars is empty\n";
    if (passwords.empty())
        err << kTimeOutText << '\n';
    else
        err << "tarvelle-cli passwords: stopped with " << passwords.size() << " of " << options.count << " passwords"
            << (end == ComposeEnd::TimeLimit ? ": the run reached its time limit" : "") << '\n';
    return kExitFailure;
}

} // namespace tarvelle::cli
