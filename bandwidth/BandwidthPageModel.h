// The Bandwidth page without a window: one field per control property the page's logic touches, the
// calculator's record, and one public method per event handler.
//
// The Qt binding forwards user actions (tbBW.set(text) on an edit, cbBWUnit.pick(i) on a choice, seTol's
// setText/step/focusLost, the button handlers) and then copies every field back into its widget. The chains
// of updates rest on EditField::set, which runs the box's change handler synchronously when the text differs;
// setting a list's index from code runs nothing. The solve buttons hand the stored values to Solve and show its
// result in their box; only a failed solve reaches the platform, as a beep.
#pragma once

#include "BandwidthCalc.h"
#include "BandwidthSolve.h"
#include "EditField.h"
#include "Platform.h"
#include "SpinBoxModel.h"

#include <optional>
#include <string>

namespace tarvelle::bandwidth {

// The page's fixed captions, for the binding.
inline constexpr const char* kLabel1Caption = "Click a button to calculate that value after filling in other fields";
inline constexpr const char* kBtnBWCaption = "&Bandwidth";
inline constexpr const char* kBtnDSCaption = "Data &Size";
inline constexpr const char* kBtnTmCaption = "&Time";
inline constexpr const char* kLabel2Caption = "Tolerance:";
inline constexpr const char* kLabel3Caption = "%";
inline constexpr const char* kLabel17Caption
    = "(b10) values are 10^x (1k=1000) used by telecommunications and data storage companies, (b2) values are "
      "binary-based 2^x (1k=1024) used for data file sizes";

class BandwidthPageModel
{
public:
    EditField tbBW;
    EditField tbDS;
    EditField tbTm;
    PickList cbBWUnit;
    PickList cbDSUnit;
    PickList cbTmUnit;
    PickList cbCommon;
    SpinBoxModel seTol {3, 1, 100};
    std::string lbBWTol = " ";
    std::string lbDSTol = " ";
    std::string lbTmTol = " ";
    bool label1Red = false;
    TBandwidthValues values;

    /// Builds the page with empty boxes and no unit selected; wires every control to its handler.
    explicit BandwidthPageModel(Platform& platform, std::string decimalSeparator = ".");
    BandwidthPageModel(const BandwidthPageModel&) = delete;
    BandwidthPageModel& operator=(const BandwidthPageModel&) = delete;

    /// The page's start-up share: selects "Kbps (b10)", "KB (b2)" and "min".
    void SetInitialUnits();

    /// The rate box's text changed: re-reads it, rewrites the rate line, clears the common rate, colours Label1.
    void tbBWChange();
    /// The size box's text changed: re-reads it, rewrites the size line, colours Label1.
    void tbDSChange();
    /// The time box's text changed: re-reads it, rewrites the time line, colours Label1.
    void tbTmChange();

    /// A rate unit was chosen: shows the stored rate in it.
    void cbBWUnitClick();
    /// A size unit was chosen: shows the stored size in it.
    void cbDSUnitClick();
    /// A time unit was chosen: shows the stored time in it.
    void cbTmUnitClick();

    /// Solves the rate from the stored size and time and shows it; beeps when the solve fails.
    void btnBWClick();
    /// Solves the size from the stored rate and time and shows it; beeps when the solve fails.
    void btnDSClick();
    /// Solves the time from the stored size and rate and shows it; beeps when the solve fails.
    void btnTmClick();

    /// The tolerance changed: takes the spin box's value and re-reads the three boxes.
    void seTolChange();
    /// A common rate was chosen: shows it in the selected rate unit and keeps it selected.
    void cbCommonClick();

    /// The decimal separator used to read and write the boxes.
    const std::string& decimalSeparator() const { return separator_; }

private:
    // The parts that differ between the rate, size and time rows of the page.
    struct Row
    {
        Quantity quantity;
        EditField& box;
        PickList& unit;
        long double& stored;
        std::string& line;
    };

    Row rateRow();
    Row sizeRow();
    Row timeRow();
    void boxChanged(const Row& row);
    void showStored(const Row& row);
    void solve(const Row& row);
    void colourLabel1();

    Platform& platform_;
    std::string separator_;
};

} // namespace tarvelle::bandwidth
