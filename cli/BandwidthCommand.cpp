// tarvelle-cli bandwidth: relates rate, size and time through the Bandwidth calculator's Solve, so that every
// number and tolerance line is the text the page shows for the same entries.
#include "BandwidthSolve.h"
#include "CliArgs.h"
#include "Commands.h"
#include "JsonWriter.h"
#include "UnitNames.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tarvelle::cli {

namespace {

using bandwidth::Quantity;

constexpr std::string_view kCommand = "bandwidth";

constexpr const char* kHelp
    = "usage: tarvelle-cli bandwidth [options]\n"
      "Relates a transfer rate, a data size and a transfer time (size = rate x time), as the Bandwidth\n"
      "Calculator page does. Give two of them and the third is worked out; give all three and it says\n"
      "whether they agree. Each value is shown with its tolerance band.\n"
      "  --rate VALUE        the transfer rate, such as 8Mbps, \"56 kbit/s\" or 1.5 (in --rate-unit)\n"
      "  --size VALUE        the data size, such as 4.7GB, 100KiB or 700 (in --size-unit)\n"
      "  --time VALUE        the transfer time, such as 2min, 90s or 1.5 (in --time-unit)\n"
      "  --common NAME       a common line rate as the rate, by its name (below)\n"
      "  --rate-unit UNIT    the unit rates are read and shown in (default \"Kbps (b10)\", kilobits a second)\n"
      "  --size-unit UNIT    the unit of sizes (default \"KB (b2)\", units of 1024 bytes)\n"
      "  --time-unit UNIT    the unit of times (default \"min\")\n"
      "  --tolerance PCT     the tolerance band in whole percent, 1 to 100 (default 3)\n"
      "  --solve WHAT        work out rate, size or time from the other two, even when it is given\n"
      "  -j, --json          one JSON object (keys below)\n"
      "  -h, --help          this text\n"
      "A VALUE is a number with \".\" as decimal separator and an optional exponent (2.5, 1e6, -3), with or\n"
      "without a unit after it; a value with a unit is read in that unit and shown in its unit option's unit\n"
      "when given. Units: a lowercase b or \"bit\" is a bit, B or \"byte\" a byte; k/K, M and G count in 1000s, and\n"
      "with i (KiB, Mibit) in 1024s; a rate ends in /s or ps (Mbit/s, Mbps, MB/s, MiB/s, kbps, Bps). Times: s,\n"
      "sec, min, h, hrs, d, days (and second(s), minute(s), hour(s), day(s)). The page's list texts work too:\n"
      "  rates: bps Bps, Kbps KBps Mbps MBps Gbps GBps with (b10) or (b2); sizes: bits bytes, Kb KB Mb MB Gb GB\n"
      "  with (b10) or (b2), binary megabits \"Mb (b)\"; times: sec min hrs days. Case matters.\n"
      "Common rates: 28.8kbps 33.6kbps 56kbps, \"1-ch ISDN\", \"2-ch ISDN\", \"208 Kbps\" ... \"1024 Kbps\",\n"
      "  \"T-1 / DS-1\", \"T-2 / DS-2\", \"T-3 / DS-3\", OC-1 OC-3 OC-12 OC-48 OC-192 (blanks may be left out).\n"
      "JSON keys: rate, size and time, each an object with\n"
      "    value      the number as shown in its unit (15 significant digits), or null when not known\n"
      "    unit       the unit, as the page's list writes it (\"Mbps (b10)\")\n"
      "    base       the value in bits per second, bits or seconds, or null when not known\n"
      "    tolerance  the tolerance line (\"\\u00b1 3%: 9.7 - 10.3 Kbps (b10)\"), or null\n"
      "  tolerance_percent  the tolerance, a number\n"
      "  agreement  \"agree\" or \"disagree\" (size = rate x time within 0.01%), or \"none\" while size or time\n"
      "             is not above 0\n"
      "  solved     \"rate\", \"size\" or \"time\", the one worked out, or null\n"
      "Exit codes: 0 success; 1 the value cannot be worked out (a division by zero or a result too large);\n"
      "2 bad usage.\n"
      "examples:\n"
      "  tarvelle-cli bandwidth --size 4.7GB --rate 8Mbps --time-unit min\n"
      "  tarvelle-cli bandwidth --common \"T-1 / DS-1\" --rate-unit Mbps --time 1h --size-unit MB\n"
      "  tarvelle-cli bandwidth --rate 10Mbit/s --size 100MiB --time 90s -j\n";

constexpr KnownOption kOptions[] = {
    {"rate-unit"}, {"size-unit"}, {"time-unit"}, {"tolerance"}, {"rate"},
    {"size"},      {"time"},      {"common"},    {"solve"},     {"json", 'j', false},
};

// The three quantities as the options name them.
struct Row
{
    Quantity quantity;
    std::string_view name; // "rate", "size" or "time"
    std::string_view caption;
    std::optional<size_t> (*unitRow)(std::string_view);
};

constexpr Row kRows[] = {
    {Quantity::Rate, "rate", "Rate", RateUnitRow},
    {Quantity::Size, "size", "Size", SizeUnitRow},
    {Quantity::Time, "time", "Time", TimeUnitRow},
};

// What the options ask for, all checked before anything is worked out.
struct Entries
{
    std::optional<size_t> shownUnit[3]; // --X-unit
    std::optional<ValueText> values[3]; // --rate, --size, --time
    std::optional<int> tolerance;
    std::optional<size_t> common;
    const Row* solve = nullptr;
};

// The unit a value is read in: the one it carries, else its unit option's, else the page's start unit.
int GivenUnit(const Entries& entries, size_t k)
{
    const std::optional<size_t> unit = entries.values[k]->unit ? entries.values[k]->unit : entries.shownUnit[k];
    return unit ? static_cast<int>(*unit) : bandwidth::InitialUnits[k];
}

std::string WithoutBlanks(std::string_view text)
{
    std::string kept(text);
    std::erase(kept, ' ');
    return kept;
}

// A common rate's list text, exactly or with blanks ignored ("T-1/DS-1").
std::optional<size_t> CommonRow(std::string_view text)
{
    for (size_t row = 0; row < bandwidth::CommonRates.size(); ++row) {
        if (WithoutBlanks(bandwidth::CommonRates[row].text) == WithoutBlanks(text))
            return row;
    }
    return std::nullopt;
}

std::optional<std::string> ReadRow(const ParsedArgs& parsed, size_t k, Entries& entries)
{
    const Row& row = kRows[k];
    const std::string option = "--" + std::string(row.name);
    if (const std::string* unit = parsed.value(std::string(row.name) + "-unit")) {
        entries.shownUnit[k] = row.unitRow(*unit);
        if (!entries.shownUnit[k])
            return option + "-unit " + QuotedShort(*unit) + " is not a " + std::string(row.name) + " unit";
    }
    const std::string* text = parsed.value(row.name);
    if (text == nullptr)
        return std::nullopt;
    entries.values[k] = SplitValue(*text, row.unitRow);
    if (!entries.values[k]) {
        return option + " " + QuotedShort(*text) + " is not a number with an optional " + std::string(row.name)
            + " unit (such as "
            + (k == 0       ? "8Mbps"
                   : k == 1 ? "4.7GB"
                            : "2min")
            + ")";
    }
    const int unit = GivenUnit(entries, k);
    const long double shown = *bandwidth::TextToNumber(entries.values[k]->number);
    if (!bandwidth::ShownToStored(*bandwidth::UnitFactor(row.quantity, unit), shown))
        return option + " " + QuotedShort(*text) + " is too large";
    return std::nullopt;
}

std::optional<std::string> ReadEntries(const ParsedArgs& parsed, Entries& entries)
{
    for (size_t k = 0; k < 3; ++k) {
        if (auto complaint = ReadRow(parsed, k, entries))
            return complaint;
    }
    if (const std::string* text = parsed.value("tolerance")) {
        const std::optional<uint64_t> percent = ParseWhole(*text, 1, 100);
        if (!percent)
            return "--tolerance " + QuotedShort(*text) + " is not a whole percent from 1 to 100";
        entries.tolerance = static_cast<int>(*percent);
    }
    if (const std::string* text = parsed.value("common")) {
        entries.common = CommonRow(*text);
        if (!entries.common)
            return "--common " + QuotedShort(*text) + " is not a common rate (see tarvelle-cli bandwidth --help)";
        if (entries.values[0])
            return "--rate and --common both give the rate";
    }
    if (const std::string* solve = parsed.value("solve")) {
        for (const Row& row : kRows) {
            if (*solve == row.name)
                entries.solve = &row;
        }
        if (entries.solve == nullptr)
            return "--solve " + QuotedShort(*solve) + " is not rate, size or time";
    }
    return std::nullopt;
}

// Given two of the three, the third; nothing to solve otherwise.
const Row* ImpliedSolve(const Entries& entries)
{
    const bool given[3]
        = {entries.values[0] || entries.common, entries.values[1].has_value(), entries.values[2].has_value()};
    if (given[0] + given[1] + given[2] != 2)
        return nullptr;
    return &kRows[!given[0] ? 0 : !given[1] ? 1 : 2];
}

// The solve's input: each value read in the unit it carries and shown in its unit option's (by default the
// one it carries), a common rate in the rate unit shown.
bandwidth::SolveInput SolveInputOf(const Entries& entries, const Row* solve)
{
    bandwidth::SolveInput input;
    for (size_t k = 0; k < 3; ++k) {
        if (entries.shownUnit[k])
            input.shownUnits[k] = static_cast<int>(*entries.shownUnit[k]);
        if (const std::optional<ValueText>& value = entries.values[k])
            input.given[k] = {*bandwidth::TextToNumber(value->number), GivenUnit(entries, k), value->number};
    }
    if (entries.common) {
        const int unit = input.shownUnits[0].value_or(bandwidth::InitialUnits[0]);
        const std::optional<long double> shown = bandwidth::CommonRateInUnit(
            static_cast<int>(*entries.common), *bandwidth::UnitFactor(Quantity::Rate, unit));
        input.given[0] = {*shown, unit};
    }
    if (entries.tolerance)
        input.values.TolPercent = *entries.tolerance;
    if (solve != nullptr)
        input.solve = solve->quantity;
    return input;
}

std::string_view AgreementWord(bandwidth::Agreement agreement)
{
    switch (agreement) {
    case bandwidth::Agreement::Agree:
        return "agree";
    case bandwidth::Agreement::Disagree:
        return "disagree";
    case bandwidth::Agreement::NoVerdict:
        break;
    }
    return "none";
}

std::optional<std::string> Known(const std::string& text)
{
    return text.empty() ? std::nullopt : std::optional(text);
}

std::string_view UnitText(const Row& row, const bandwidth::SolveOutput& out)
{
    return bandwidth::UnitText(row.quantity, out.rows[static_cast<size_t>(row.quantity)].unit);
}

std::string JsonResult(const bandwidth::SolveOutput& out, const Row* solved)
{
    JsonObject json;
    for (const Row& row : kRows) {
        const bandwidth::SolvedRow& shown = out.rows[static_cast<size_t>(row.quantity)];
        const std::optional<std::string> value = Known(shown.text);
        const std::optional<std::string> base = value
            ? std::optional(bandwidth::NumberToText(bandwidth::StoredValue(out.values, row.quantity)))
            : std::nullopt;
        json.raw(row.name,
                 JsonObject()
                     .optionalText("value", value)
                     .text("unit", UnitText(row, out))
                     .optionalText("base", base)
                     .optionalText("tolerance", shown.line)
                     .close());
    }
    json.integer("tolerance_percent", static_cast<int64_t>(out.values.TolPercent));
    json.text("agreement", AgreementWord(out.agreement));
    json.optionalText("solved", solved ? std::optional(std::string(solved->name)) : std::nullopt);
    return json.close() + "\n";
}

std::string PlainResult(const bandwidth::SolveOutput& out, const Row* solved)
{
    std::string text;
    for (const Row& row : kRows) {
        const bandwidth::SolvedRow& shown = out.rows[static_cast<size_t>(row.quantity)];
        text += std::string(row.caption) + ": "
            + (shown.text.empty() ? "(not given)" : shown.text + " " + std::string(UnitText(row, out)));
        text += &row == solved ? "  (worked out)\n" : "\n";
        if (shown.line)
            text += "  " + *shown.line + "\n";
    }
    const std::string_view agreement = AgreementWord(out.agreement);
    return text
        + (agreement == "none" ? "Agreement: none (size and time must be above 0)\n"
                               : "Agreement: the values " + std::string(agreement) + "\n");
}

} // namespace

int RunBandwidthCommand(const Args& args, Console& console)
{
    ParsedArgs parsed;
    if (const auto done = OpenCommand(args, kOptions, kCommand, kHelp, 0, parsed, console))
        return *done;
    Entries entries;
    if (const auto complaint = ReadEntries(parsed, entries))
        return BadUsage(console.err, kCommand, *complaint);
    const Row* solve = entries.solve != nullptr ? entries.solve : ImpliedSolve(entries);
    const std::variant<bandwidth::SolveOutput, bandwidth::SolveError> result = Solve(SolveInputOf(entries, solve));
    const auto* out = std::get_if<bandwidth::SolveOutput>(&result);
    // Every given value was checked above, so only working a quantity out can fail.
    if (out == nullptr) {
        console.err << "tarvelle-cli bandwidth: cannot work out the " << (solve != nullptr ? solve->name : "values")
                    << ": it divides by zero or the result is too large\n";
        return kExitFailure;
    }
    console.out << (parsed.has("json") ? JsonResult(*out, solve) : PlainResult(*out, solve));
    return kExitSuccess;
}

} // namespace tarvelle::cli
