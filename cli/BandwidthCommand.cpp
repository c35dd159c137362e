// tarvelle-cli bandwidth: drives the Bandwidth page model through the events a user would cause, in a fixed
// order, and prints what the page then shows.
#include "BandwidthPageModel.h"
#include "CliArgs.h"
#include "Commands.h"
#include "ConsolePlatform.h"
#include "JsonWriter.h"

#include <optional>
#include <string>
#include <string_view>

namespace tarvelle::cli {

namespace {

using bandwidth::BandwidthPageModel;

constexpr std::string_view kCommand = "bandwidth";

constexpr const char* kHelp
    = "usage: tarvelle-cli bandwidth [options] [--json]\n"
      "Works the Bandwidth Calculator page: starting from the page as it opens, it picks the units, types the\n"
      "tolerance and the boxes, picks a common rate and presses a solve button, in this order whatever the\n"
      "order of the options, then prints the three boxes with their units and tolerance lines and whether\n"
      "rate, size and time agree (size = rate x time).\n"
      "  --rate-unit U    picks the rate unit (the page starts with \"Kbps (b10)\")\n"
      "  --size-unit U    picks the size unit (starts with \"KB (b2)\")\n"
      "  --time-unit U    picks the time unit (starts with \"min\")\n"
      "  --tolerance T    the tolerance box's text, a whole percent (starts with 3); digits, \"+\", \"-\" and \".\"\n"
      "                   as the box takes them, read as the box reads them\n"
      "  --rate TEXT      the rate box's whole text\n"
      "  --size TEXT      the size box's whole text\n"
      "  --time TEXT      the time box's whole text\n"
      "  --common NAME    picks a common rate, shown in the rate unit\n"
      "  --solve WHAT     presses the Bandwidth, Data Size or Time button: rate, size or time\n"
      "  --json           prints one JSON object: tbBW, tbDS, tbTm, cbBWUnit, cbDSUnit, cbTmUnit, cbCommon,\n"
      "                   lbBWTol, lbDSTol, lbTmTol, Label1, StoredBW, StoredDS, StoredTm, TolPercent, Beep\n"
      "  --help           this text\n"
      "Numbers use \".\" as decimal separator. U and NAME are the page's list texts, matched exactly or with\n"
      "blanks ignored (\"Kbps(b10)\"); case matters: \"Kbps (b10)\" is kilobits, \"KBps (b10)\" kilobytes.\n"
      "  rate units: bps Bps, Kbps KBps Mbps MBps Gbps GBps with (b10) or (b2)\n"
      "  size units: bits bytes, Kb KB Mb MB Gb GB with (b10) or (b2), but \"Mb (b)\" for binary megabits\n"
      "  time units: sec min hrs days\n"
      "  common rates: 28.8kbps 33.6kbps 56kbps, 1-ch ISDN, 2-ch ISDN, 208/256/384/512/768/1024 Kbps,\n"
      "                T-1 / DS-1, T-2 / DS-2, T-3 / DS-3, OC-1 OC-3 OC-12 OC-48 OC-192\n"
      "A solve that divides by zero or overflows beeps on the page: here it exits with code 1.\n"
      "example: tarvelle-cli bandwidth --size 100 --size-unit \"MB (b2)\" --rate 8 --rate-unit \"Mbps (b10)\" "
      "--solve time\n";

constexpr KnownOption kOptions[] = {
    {"--rate-unit"}, {"--size-unit"}, {"--time-unit"}, {"--tolerance"}, {"--rate"},
    {"--size"},      {"--time"},      {"--common"},    {"--solve"},     {"--json", false},
};

// The page's three rows as the options name them.
struct Row
{
    std::string_view quantity; // "rate", "size" or "time"
    std::string_view caption; // the solve button's caption without its accelerator
    EditField BandwidthPageModel::*box;
    PickList BandwidthPageModel::*unit;
    std::string BandwidthPageModel::*line;
    void (BandwidthPageModel::*solve)();
};

constexpr Row kRows[] = {
    {"rate", "Bandwidth", &BandwidthPageModel::tbBW, &BandwidthPageModel::cbBWUnit, &BandwidthPageModel::lbBWTol,
     &BandwidthPageModel::btnBWClick},
    {"size", "Data Size", &BandwidthPageModel::tbDS, &BandwidthPageModel::cbDSUnit, &BandwidthPageModel::lbDSTol,
     &BandwidthPageModel::btnDSClick},
    {"time", "Time", &BandwidthPageModel::tbTm, &BandwidthPageModel::cbTmUnit, &BandwidthPageModel::lbTmTol,
     &BandwidthPageModel::btnTmClick},
};

// Every option's value checked against the page before the first event, so bad usage changes nothing.
struct Events
{
    std::optional<size_t> units[3];
    const std::string* tolerance = nullptr;
    const std::string* texts[3] = {};
    std::optional<size_t> common;
    const Row* solve = nullptr;
};

bool ToleranceBoxTakes(std::string_view text)
{
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))
            return false;
    }
    return true;
}

std::optional<std::string> ReadEvents(const ParsedArgs& parsed, const BandwidthPageModel& page, Events& events)
{
    for (size_t k = 0; k < 3; ++k) {
        const Row& row = kRows[k];
        const std::string option = "--" + std::string(row.quantity);
        const PickList& list = page.*row.unit;
        if (const std::string* unit = parsed.value(option + "-unit")) {
            events.units[k] = FindListItem(*unit, list.items());
            if (!events.units[k])
                return option + "-unit " + Quoted(*unit) + " is not one of " + ListOfItems(list.items());
        }
        events.texts[k] = parsed.value(option);
    }
    events.tolerance = parsed.value("--tolerance");
    if (events.tolerance != nullptr && !ToleranceBoxTakes(*events.tolerance)) {
        return "--tolerance " + Quoted(*events.tolerance)
            + " holds a character the tolerance box does not take (only digits, \"+\", \"-\" and \".\")";
    }
    if (const std::string* common = parsed.value("--common")) {
        events.common = FindListItem(*common, page.cbCommon.items());
        if (!events.common)
            return "--common " + Quoted(*common) + " is not one of " + ListOfItems(page.cbCommon.items());
    }
    if (const std::string* solve = parsed.value("--solve")) {
        for (const Row& row : kRows) {
            if (*solve == row.quantity)
                events.solve = &row;
        }
        if (events.solve == nullptr)
            return "--solve " + Quoted(*solve) + " is not rate, size or time";
    }
    return std::nullopt;
}

void RunEvents(const Events& events, BandwidthPageModel& page)
{
    for (size_t k = 0; k < 3; ++k) {
        if (events.units[k])
            (page.*kRows[k].unit).pick(static_cast<int>(*events.units[k]));
    }
    if (events.tolerance != nullptr)
        page.seTol.setText(*events.tolerance);
    for (size_t k = 0; k < 3; ++k) {
        if (events.texts[k] != nullptr)
            (page.*kRows[k].box).set(*events.texts[k]);
    }
    if (events.common)
        page.cbCommon.pick(static_cast<int>(*events.common));
    if (events.solve != nullptr)
        (page.*events.solve->solve)();
}

std::string PlainResult(const BandwidthPageModel& page)
{
    std::string text;
    for (const Row& row : kRows) {
        const std::string& box = (page.*row.box).text();
        const std::string& line = page.*row.line;
        text
            += std::string(row.caption) + ": " + (box.empty() ? "(empty)" : box) + " " + (page.*row.unit).text() + "\n";
        text += "  " + (line == " " ? std::string("(no tolerance line yet)") : line) + "\n";
        if (row.quantity == "rate" && page.cbCommon.index() >= 0)
            text += "  common rate: " + page.cbCommon.text() + "\n";
    }
    switch (bandwidth::ValuesAgree(page.values)) {
    case bandwidth::Agreement::Agree:
        return text + "Values agree\n";
    case bandwidth::Agreement::Disagree:
        return text + "Values disagree\n";
    case bandwidth::Agreement::NoVerdict:
        break;
    }
    return text + "No verdict\n";
}

std::string JsonResult(const BandwidthPageModel& page, bool beeped)
{
    const std::string& separator = page.decimalSeparator();
    JsonObject json;
    json.text("tbBW", page.tbBW.text()).text("tbDS", page.tbDS.text()).text("tbTm", page.tbTm.text());
    json.text("cbBWUnit", page.cbBWUnit.text())
        .text("cbDSUnit", page.cbDSUnit.text())
        .text("cbTmUnit", page.cbTmUnit.text());
    json.optionalText("cbCommon", page.cbCommon.index() >= 0 ? std::optional(page.cbCommon.text()) : std::nullopt);
    json.text("lbBWTol", page.lbBWTol).text("lbDSTol", page.lbDSTol).text("lbTmTol", page.lbTmTol);
    json.text("Label1", page.label1Red ? "red" : "normal");
    json.text("StoredBW", bandwidth::NumberToText(page.values.StoredBW, separator))
        .text("StoredDS", bandwidth::NumberToText(page.values.StoredDS, separator))
        .text("StoredTm", bandwidth::NumberToText(page.values.StoredTm, separator));
    json.integer("TolPercent", static_cast<int64_t>(page.values.TolPercent));
    json.boolean("Beep", beeped);
    return json.close() + "\n";
}

} // namespace

int RunBandwidthCommand(const Args& args, std::ostream& out, std::ostream& err)
{
    ParsedArgs parsed;
    if (const auto done = OpenCommand(args, kOptions, kCommand, kHelp, 0, parsed, out, err))
        return *done;

    ConsolePlatform platform;
    BandwidthPageModel page(platform, ".");
    page.SetInitialUnits();
    page.seTolChange();
    Events events;
    if (const auto complaint = ReadEvents(parsed, page, events))
        return BadUsage(err, kCommand, *complaint);
    RunEvents(events, page);

    for (size_t k = 0; k < 3; ++k) {
        const std::string* text = events.texts[k];
        if (text != nullptr && !text->empty() && !bandwidth::TextToNumber(*text, page.decimalSeparator())) {
            err << "tarvelle-cli bandwidth: --" << kRows[k].quantity << " " << Quoted(*text)
                << " is not a number; like the page, the stored " << kRows[k].quantity << " stays as it was\n";
        }
    }
    const bool beeped = platform.beeps > 0;
    out << (parsed.has("--json") ? JsonResult(page, beeped) : PlainResult(page));
    if (beeped) {
        err << "tarvelle-cli bandwidth: cannot solve the " << (events.solve != nullptr ? events.solve->quantity : "")
            << ": it divides by zero or overflows (the page beeps and changes nothing)\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace tarvelle::cli
