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

// The page with the command line's choices, checked before anything is typed into it.
class BandwidthRun
{
public:
    explicit BandwidthRun(BeepCounter& platform) : platform_(platform), page_(platform)
    {
        page_.SetInitialUnits();
        page_.seTolChange();
    }

    /// Reads the options; returns the complaint for bad usage, or "" when the run can go on.
    std::string parse(const Args& args)
    {
        std::map<std::string, std::optional<std::string>*> options {{"--solve", &solve_}, {"--tol", &tol_}};
        for (Quantity& q : quantities_) {
            options["--" + std::string(q.name)] = &q.value;
            options["--" + std::string(q.name) + "-unit"] = &q.unitText;
        }
        for (size_t i = 0; i < args.size(); ++i) {
            const auto option = options.find(args[i]);
            if (option == options.end())
                return "unknown option '" + args[i] + "'";
            if (i + 1 == args.size())
                return "missing value after " + args[i];
            *option->second = args[++i];
        }
        if (!solve_)
            return "--solve is required";
        int32_t percent = 0;
        if (tol_ && !SpinBoxModel::parseInteger(*tol_, percent))
            return "--tol needs a whole number";
        return selectUnits();
    }

    /// Types the tolerance and the two given quantities, presses the solve button and prints the result;
    /// false when the solve failed.
    bool run(std::ostream& out)
    {
        if (tol_) {
            // As a user types the number and leaves the box, which clamps it into 1..100.
            page_.seTol.setText(*tol_);
            page_.seTol.focusLost();
        }
        for (Quantity& q : quantities_) {
            if (&q != target_)
                q.box.set(*q.value);
        }
        (page_.*target_->solve)();
        if (platform_.beeps > 0)
            return false;
        out << target_->box.text() << " " << target_->unit.text() << "\n"
            << "rate: " << page_.lbBWTol << "\n"
            << "size: " << page_.lbDSTol << "\n"
            << "time: " << page_.lbTmTol << "\n";
        return true;
    }

    const char* target() const { return target_->name; }

private:
    std::string selectUnits()
    {
        for (Quantity& q : quantities_) {
            if (q.unitText) {
                const int index = IndexOf(q.unit, *q.unitText);
                if (index < 0)
                    return "unknown " + std::string(q.name) + " unit '" + *q.unitText + "'";
                q.unit.setIndex(index);
            }
            if (*solve_ == q.name)
                target_ = &q;
            else if (const std::string complaint = checkGiven(q); !complaint.empty())
                return complaint;
        }
        return target_ != nullptr ? "" : "--solve takes rate, size or time";
    }

    // A given quantity must read as a number that its unit can hold.
    std::string checkGiven(const Quantity& q) const
    {
        if (!q.value)
            return "--" + std::string(q.name) + " is required to solve the " + *solve_;
        const std::optional<long double> shown = bandwidth::TextToNumber(*q.value);
        const std::optional<long double> factor = &q.unit == &page_.cbTmUnit
            ? bandwidth::TimeFactor(q.unit.index())
            : bandwidth::RateSizeFactor(q.unit.index());
        if (!shown || !factor || !bandwidth::ShownToStored(*factor, *shown))
            return "the " + std::string(q.name) + " '" + *q.value + "' is not a usable number";
        return "";
    }

    using Page = bandwidth::BandwidthPageModel;
    BeepCounter& platform_;
    Page page_;
    Quantity quantities_[3] = {
        {"rate", page_.tbBW, page_.cbBWUnit, &Page::btnBWClick, {}, {}},
        {"size", page_.tbDS, page_.cbDSUnit, &Page::btnDSClick, {}, {}},
        {"time", page_.tbTm, page_.cbTmUnit, &Page::btnTmClick, {}, {}},
    };
    std::optional<std::string> solve_;
    std::optional<std::string> tol_;
    Quantity* target_ = nullptr;
};

} // namespace

int RunBandwidthCommand(const Args& args, std::ostream& out, std::ostream& err)
{
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return 0;
        }
    }
    BeepCounter platform;
    BandwidthRun run(platform);
    if (const std::string complaint = run.parse(args); !complaint.empty())
        return BadUsage(err, complaint);
    if (!run.run(out)) {
        err << "tarvelle-cli bandwidth: cannot solve the " << run.target() << " (division by zero or overflow)\n";
        return 1;
    }
    return 0;
}

} // namespace tarvelle::cli
