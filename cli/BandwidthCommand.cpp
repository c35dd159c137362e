// tarvelle-cli bandwidth: fills the Bandwidth page model as a user would and presses one solve button.
#include "BandwidthPageModel.h"
#include "Commands.h"

#include <map>
#include <optional>

namespace tarvelle::cli {

namespace {

// The page model needs a platform only for the beep of a failed solve; the command counts it.
class BeepCounter : public Platform
{
public:
    int beeps = 0;

    void beep() override { ++beeps; }
    uint32_t tickCount() override { return 0; }
    bool queryPerformanceFrequency(int64_t& frequency) override { return (frequency = 0) != 0; }
    bool queryPerformanceCounter(int64_t& count) override { return (count = 0) != 0; }
    void sleepMilliseconds(uint32_t) override { }
    ScreenPoint cursorPos() override { return {}; }
    void showInformation(const std::string&, const std::string&) override { }
    void showWarning(const std::string&, const std::string&) override { }
    void showError(const std::string&) override { }
    void setClipboardText(const std::string&) override { }
    std::optional<std::string> askSaveFileName() override { return std::nullopt; }
    std::optional<std::string> writeFile(const std::string&, const std::string&) override { return "unsupported"; }
    bool openUrl(const std::string&) override { return false; }
    void setMainWindowEnabled(bool) override { }
    void setBusyCursor(bool) override { }
    void processEvents() override { }
};

const char* const kUsage
    = "usage: tarvelle-cli bandwidth --solve rate|size|time [options]\n"
      "  --rate X  --rate-unit U    rate and its unit (default \"Kbps (b10)\")\n"
      "  --size X  --size-unit U    data size and its unit (default \"KB (b2)\")\n"
      "  --time X  --time-unit U    transfer time and its unit (default \"min\")\n"
      "  --tol N                    tolerance percent, 1..100 (default 3)\n"
      "Give the two quantities that are not solved. Units are the page's list texts, e.g. \"Mbps (b10)\",\n"
      "\"MB (b2)\", \"sec\". Prints the solved value in its unit, then the three tolerance lines.\n";

int BadUsage(std::ostream& err, const std::string& complaint)
{
    err << "tarvelle-cli bandwidth: " << complaint << "\n" << kUsage;
    return 2;
}

// One quantity as given on the command line, with the page controls it goes into.
struct Quantity
{
    const char* name;
    EditField& box;
    PickList& unit;
    void (bandwidth::BandwidthPageModel::*solve)();
    std::optional<std::string> value;
    std::optional<std::string> unitText;
};

int IndexOf(const PickList& list, const std::string& text)
{
    for (size_t i = 0; i < list.items().size(); ++i) {
        if (list.items()[i] == text)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

int RunBandwidthCommand(const Args& args, std::ostream& out, std::ostream& err)
{
    BeepCounter platform;
    bandwidth::BandwidthPageModel page(platform);
    page.SetInitialUnits();
    page.seTolChange();
    Quantity quantities[] = {
        {"rate", page.tbBW, page.cbBWUnit, &bandwidth::BandwidthPageModel::btnBWClick, {}, {}},
        {"size", page.tbDS, page.cbDSUnit, &bandwidth::BandwidthPageModel::btnDSClick, {}, {}},
        {"time", page.tbTm, page.cbTmUnit, &bandwidth::BandwidthPageModel::btnTmClick, {}, {}},
    };
    std::optional<std::string> solve;
    std::optional<std::string> tol;
    std::map<std::string, std::optional<std::string>*> options {{"--solve", &solve}, {"--tol", &tol}};
    for (Quantity& q : quantities) {
        options["--" + std::string(q.name)] = &q.value;
        options["--" + std::string(q.name) + "-unit"] = &q.unitText;
    }

    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            out << kUsage;
            return 0;
        }
        const auto option = options.find(args[i]);
        if (option == options.end())
            return BadUsage(err, "unknown option '" + args[i] + "'");
        if (i + 1 == args.size())
            return BadUsage(err, "missing value after " + args[i]);
        *option->second = args[++i];
    }
    if (!solve)
        return BadUsage(err, "--solve is required");

    int32_t percent = 0;
    if (tol && !SpinBoxModel::parseInteger(*tol, percent))
        return BadUsage(err, "--tol needs a whole number");
    Quantity* target = nullptr;
    for (Quantity& q : quantities) {
        if (q.unitText) {
            const int index = IndexOf(q.unit, *q.unitText);
            if (index < 0)
                return BadUsage(err, "unknown " + std::string(q.name) + " unit '" + *q.unitText + "'");
            q.unit.setIndex(index);
        }
        if (*solve == q.name) {
            target = &q;
        } else if (!q.value) {
            return BadUsage(err, "--" + std::string(q.name) + " is required to solve the " + *solve);
        }
    }
    if (!target)
        return BadUsage(err, "--solve takes rate, size or time");

    if (tol) {
        // As a user types the number and leaves the box, which clamps it into 1..100.
        page.seTol.setText(*tol);
        page.seTol.focusLost();
    }
    for (Quantity& q : quantities) {
        if (&q == target)
            continue;
        const std::optional<long double> shown = bandwidth::TextToNumber(*q.value);
        const auto factor
            = &q == &quantities[2] ? bandwidth::TimeFactor(q.unit.index()) : bandwidth::RateSizeFactor(q.unit.index());
        if (!shown || !bandwidth::ShownToStored(*factor, *shown))
            return BadUsage(err, "the " + std::string(q.name) + " '" + *q.value + "' is not a usable number");
        q.box.set(*q.value);
    }

    (page.*target->solve)();
    if (platform.beeps > 0) {
        err << "tarvelle-cli bandwidth: cannot solve the " << target->name << " (division by zero or overflow)\n";
        return 1;
    }
    out << target->box.text() << " " << target->unit.text() << "\n"
        << "rate: " << page.lbBWTol << "\n"
        << "size: " << page.lbDSTol << "\n"
        << "time: " << page.lbTmTol << "\n";
    return 0;
}

} // namespace tarvelle::cli
