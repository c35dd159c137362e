// The main window's creation handler, as an ordered list of steps.
//
// TfrmBandwidthCalc implements the steps; RunFormCreate fixes their order, which the pages rely on (the
// tolerance handler of step 6 reads the unit lists that step 1 selects).
#pragma once

namespace tarvelle {

class FormCreateSteps
{
public:
    virtual ~FormCreateSteps() = default;

    /// 1. Start items of the Bandwidth page's unit lists cbBWUnit, cbDSUnit, cbTmUnit.
    virtual void SetBandwidthUnits() = 0;
    /// 2. Start items of the IP page's cbSlash, then cbMask.
    virtual void SetIpLists() = 0;
    /// 3. Start item of the Password page's cbWordMode.
    virtual void SetPasswordMode() = 0;
    /// 4. Makes tsAbout the active page.
    virtual void ShowAboutPage() = 0;
    /// 5. Takes the first entropy word.
    virtual void TakeFirstEntropyWord() = 0;
    /// 6. Runs the Bandwidth page's seTolChange once.
    virtual void RunToleranceChange() = 0;
};

/// Runs the six creation steps in their order.
inline void RunFormCreate(FormCreateSteps& steps)
{
    steps.SetBandwidthUnits();
    steps.SetIpLists();
    steps.SetPasswordMode();
    steps.ShowAboutPage();
    steps.TakeFirstEntropyWord();
    steps.RunToleranceChange();
}

} // namespace tarvelle
