// The Password Generator page as a model that runs without a window.
//
// It owns the page's state under the controls' names: the eleven spin boxes with their coupled ranges, the
// four class check boxes, the Other characters, the pronounceability list, the password list with its
// selection and column count, the Save button's enabled state and the letter-pair holder slcConst. The Qt
// binding forwards typing, arrows and focus loss to the spin boxes (whose onChange runs the coupling handlers
// at once), ticks and clicks to the fields and handlers below, and then copies every field back into its
// widget. Generate seeds the program's generator from the entropy word (Entropy.h), turns the settled boxes into
// run settings with ResolveSettings (ResolveSettings.h) and composes with ComposePasswords (PasswordComposer.h)
// drawing from the source it was given; the clock, cursor, message boxes, clipboard and file saving come through
// the Platform.
#pragma once

#include "EditField.h"
#include "Entropy.h"
#include "HembryLib.h"
#include "PasswordComposer.h"
#include "Platform.h"
#include "Random.h"
#include "ResolveSettings.h"
#include "SpinBoxModel.h"
#include "StringsComp.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelle {

// The page's fixed captions and texts, for the binding.
inline constexpr const char* kCkbUpperCaption = "&UPPERCASE Alphabetic";
inline constexpr const char* kLabel46Caption = "&lowercase Alphabetic";
inline constexpr const char* kLabel45Caption = "&Numeric";
inline constexpr const char* kLabel47Caption = "&Other:";
inline constexpr const char* kLabel27Caption = "Pass&word Length:";
inline constexpr const char* kLabel35Caption = "&Pronounceability:";
inline constexpr const char* kBtnGoCaption = "&Generate ->";
inline constexpr const char* kBtnSaveCaption = "&Save List";
inline constexpr const char* kOtherCharacters = "!@#$%^*";
inline constexpr std::string_view kCopiedTitle = "Information";
inline constexpr std::string_view kCopiedText = " has been copied to the clipboard.";

/// Colours of the character classes in the list and of the class labels, 0x00BBGGRR.
inline constexpr uint32_t kUpperColor = 0x000000; // black
inline constexpr uint32_t kLowerColor = 0xAA0000; // RGB 0, 0, 170
inline constexpr uint32_t kNumericColor = 0x00AA00; // RGB 0, 170, 0
inline constexpr uint32_t kOtherColor = 0x0000AA; // RGB 170, 0, 0

/// The colour (0x00BBGGRR) a password character is drawn in: by its class A-Z, a-z, 0-9 or anything else.
uint32_t CharacterColor(char32_t ch);

class PasswordPageModel
{
public:
    SpinBoxModel seMinLen {8, 1, 12};
    SpinBoxModel seMaxLen {12, 7, 99};
    SpinBoxModel seUpper1 {1, 0, 4};
    SpinBoxModel seUpper2 {4, 1, 99};
    SpinBoxModel seLower1 {1, 0, 8};
    SpinBoxModel seLower2 {8, 1, 99};
    SpinBoxModel seNum1 {0, 0, 1};
    SpinBoxModel seNum2 {1, 0, 99};
    SpinBoxModel seOther1 {0, 0, 1};
    SpinBoxModel seOther2 {1, 0, 99};
    SpinBoxModel seGenerate {9, 1, 999};
    bool ckbUpper = true;
    bool ckbLower = true;
    bool ckbNumeric = true;
    bool ckbOther = true;
    EditField tbOther;
    bool tbOtherEnabled = true;
    PickList cbWordMode;
    bool btnSaveEnabled = false;
    std::vector<std::string> lbPasswords;
    int lbPasswordsIndex = -1;
    int lbPasswordsColumns = 3;
    TStringListComp slcConst;
    /// Runs when Generate has emptied the list, before it composes: the window shows the empty list meanwhile.
    std::function<void()> onListCleared;

    /// Builds the page at its start values (no mode selected yet) and wires the spin boxes' change events.
    /// Generate folds clocks into `entropy`, seeds `generator` from it and makes the passwords through `compose`,
    /// or from `draws`, bound to it with ComposeFrom.
    PasswordPageModel(Platform& platform, EntropyPool& entropy, LcgRandom& generator, ComposeFunction compose);
    template <class Draws>
    PasswordPageModel(Platform& platform, EntropyPool& entropy, LcgRandom& generator, Draws& draws)
        : PasswordPageModel(platform, entropy, generator, ComposeFrom(draws))
    { }
    // The change handlers hold this object's address.
    PasswordPageModel(const PasswordPageModel&) = delete;
    PasswordPageModel& operator=(const PasswordPageModel&) = delete;

    /// The window's start-up step for this page: selects "Show passwords more easily pronounced".
    void SetInitialMode();

    /// Change events of the minimum boxes: raise the partner's MinValue (and value) to this box's value.
    void seMinLenChange() { MinChanged(seMinLen, seMaxLen); }
    void seUpper1Change() { MinChanged(seUpper1, seUpper2); }
    void seLower1Change() { MinChanged(seLower1, seLower2); }
    void seNum1Change() { MinChanged(seNum1, seNum2); }
    void seOther1Change() { MinChanged(seOther1, seOther2); }
    /// Change events of the maximum boxes: lower the partner's MaxValue (and value) to this box's value.
    void seMaxLenChange() { MaxChanged(seMinLen, seMaxLen); }
    void seUpper2Change() { MaxChanged(seUpper1, seUpper2); }
    void seLower2Change() { MaxChanged(seLower1, seLower2); }
    void seNum2Change() { MaxChanged(seNum1, seNum2); }
    void seOther2Change() { MaxChanged(seOther1, seOther2); }

    /// ckbOther was clicked: tbOther is enabled exactly when it is ticked.
    void ckbOtherClick();
    /// Generate: seeds, settles the boxes, fills the list from the settings; returns how the run ended.
    ComposeEnd btnGoClick();
    /// Double-click on the list (or Enter): copies the selected password and says so; nothing when none is selected.
    void lbPasswordsDblClick();
    /// Ctrl+C on the list: copies the selected password without a message; nothing when none is selected.
    void lbPasswordsCopy();
    /// Save List: asks for a file and writes every password followed by CR LF; reports a failed write.
    void btnSaveClick();

    /// Leaves every spin box in turn, as the focus moving away would, so each value lies in its range.
    void SettleSpinBoxes();
    /// The run settings as the boxes stand, through ResolveSettings: an unticked class is off.
    TPasswordSettings ReadSettings() const;
    /// The saved file's contents: each password followed by CR LF.
    std::string SaveBytes() const;

private:
    void MinChanged(SpinBoxModel& minBox, SpinBoxModel& maxBox);
    void MaxChanged(SpinBoxModel& minBox, SpinBoxModel& maxBox);

    Platform& platform_;
    EntropyPool& entropy_;
    LcgRandom& generator_;
    ComposeFunction compose_; // draws the passwords
    HighResClock clock_;
};

} // namespace tarvelle
