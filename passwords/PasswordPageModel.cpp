#include "PasswordPageModel.h"

#include <optional>
#include <string>
#include <utility>

namespace tarvelle {

namespace {

// The order the page's boxes are left in when Generate settles them: their tab order.
constexpr SpinBoxModel PasswordPageModel::*kSpinBoxes[] = {
    &PasswordPageModel::seMinLen, &PasswordPageModel::seMaxLen,   &PasswordPageModel::seUpper1,
    &PasswordPageModel::seUpper2, &PasswordPageModel::seLower1,   &PasswordPageModel::seLower2,
    &PasswordPageModel::seNum1,   &PasswordPageModel::seNum2,     &PasswordPageModel::seOther1,
    &PasswordPageModel::seOther2, &PasswordPageModel::seGenerate,
};

std::optional<CountRange> ClassRange(bool ticked, const SpinBoxModel& minBox, const SpinBoxModel& maxBox)
{
    return ticked ? std::optional<CountRange>({minBox.value(), maxBox.value()}) : std::nullopt;
}

// Leaving a box re-clamps it, except when its range is a single value; a run must not see a typed number
// outside even such a range, so that one is written back to the range's value here.
void Settle(SpinBoxModel& box)
{
    box.focusLost();
    const int32_t v = box.value();
    if (v < box.minValue())
        box.setText(std::to_string(box.minValue()));
    else if (v > box.maxValue())
        box.setText(std::to_string(box.maxValue()));
}

} // namespace

uint32_t CharacterColor(char32_t ch)
{
    if (ch >= U'A' && ch <= U'Z')
        return kUpperColor;
    if (ch >= U'a' && ch <= U'z')
        return kLowerColor;
    if (ch >= U'0' && ch <= U'9')
        return kNumericColor;
    return kOtherColor;
}

PasswordPageModel::PasswordPageModel(Platform& platform, EntropyPool& entropy, LcgRandom& generator,
                                     ComposeFunction compose)
    : cbWordMode({"Make passwords completely random", "Show passwords more easily pronounced",
                  "Show passwords which can be pronounced", "Exclude passwords which can be pronounced"})
    , slcConst(LetterPairList())
    , platform_(platform)
    , entropy_(entropy)
    , generator_(generator)
    , compose_(std::move(compose))
    , clock_(platform)
{
    tbOther.set(kOtherCharacters);
    seMinLen.onChange = [this] { seMinLenChange(); };
    seMaxLen.onChange = [this] { seMaxLenChange(); };
    seUpper1.onChange = [this] { seUpper1Change(); };
    seUpper2.onChange = [this] { seUpper2Change(); };
    seLower1.onChange = [this] { seLower1Change(); };
    seLower2.onChange = [this] { seLower2Change(); };
    seNum1.onChange = [this] { seNum1Change(); };
    seNum2.onChange = [this] { seNum2Change(); };
    seOther1.onChange = [this] { seOther1Change(); };
    seOther2.onChange = [this] { seOther2Change(); };
}

void PasswordPageModel::SetInitialMode()
{
    cbWordMode.setIndex(kModeEasilyPronounced);
}

void PasswordPageModel::MinChanged(SpinBoxModel& minBox, SpinBoxModel& maxBox)
{
    if (minBox.text().empty())
        return;
    maxBox.setMinValue(minBox.value());
    if (maxBox.value() < maxBox.minValue())
        maxBox.setValue(maxBox.minValue());
}

void PasswordPageModel::MaxChanged(SpinBoxModel& minBox, SpinBoxModel& maxBox)
{
    if (maxBox.text().empty())
        return;
    minBox.setMaxValue(maxBox.value());
    if (minBox.value() > minBox.maxValue())
        minBox.setValue(minBox.maxValue());
}

void PasswordPageModel::ckbOtherClick()
{
    tbOtherEnabled = ckbOther;
}

void PasswordPageModel::SettleSpinBoxes()
{
    // A coupling run while one box is settled can move its partner; a second pass finds nothing left to do
    // once every box lies in its range, and the loop is bounded all the same.
    for (int pass = 0; pass < 4; ++pass) {
        bool changed = false;
        for (const auto box : kSpinBoxes) {
            const std::string before = (this->*box).text();
            Settle(this->*box);
            changed = changed || (this->*box).text() != before;
        }
        if (!changed)
            return;
    }
}

TPasswordSettings PasswordPageModel::ReadSettings() const
{
    AskedSettings asked;
    asked.Length = {seMinLen.value(), seMaxLen.value()};
    asked.Upper = ClassRange(ckbUpper, seUpper1, seUpper2);
    asked.Lower = ClassRange(ckbLower, seLower1, seLower2);
    asked.Numeric = ClassRange(ckbNumeric, seNum1, seNum2);
    asked.Other = ClassRange(ckbOther, seOther1, seOther2);
    asked.OtherCharacters = tbOther.text();
    asked.Mode = cbWordMode.index();
    asked.Count = seGenerate.value();
    return ResolveSettings(asked);
}

ComposeEnd PasswordPageModel::btnGoClick()
{
    entropy_.GeneratePrologue(generator_, clock_, platform_);
    platform_.setBusyCursor(true);
    platform_.processEvents();
    // The focused box may still hold a typed number outside its range; the run reads the settled values.
    SettleSpinBoxes();
    lbPasswords.clear();
    lbPasswordsIndex = -1;
    lbPasswordsColumns = seMaxLen.value() <= 10 ? 3 : 2;
    if (onListCleared)
        onListCleared();
    const TPasswordSettings settings = ReadSettings();
    const ComposeEnd end = compose_(settings, platform_, slcConst, lbPasswords, nullptr);
    platform_.setBusyCursor(false);
    platform_.processEvents();
    btnSaveEnabled = !lbPasswords.empty();
    return end;
}

void PasswordPageModel::lbPasswordsDblClick()
{
    if (lbPasswordsIndex < 0 || lbPasswordsIndex >= static_cast<int>(lbPasswords.size()))
        return;
    const std::string& password = lbPasswords[static_cast<size_t>(lbPasswordsIndex)];
    platform_.setClipboardText(password);
    platform_.showInformation(std::string(kCopiedTitle), "\"" + password + "\"" + std::string(kCopiedText));
}

void PasswordPageModel::lbPasswordsCopy()
{
    if (lbPasswordsIndex >= 0 && lbPasswordsIndex < static_cast<int>(lbPasswords.size()))
        platform_.setClipboardText(lbPasswords[static_cast<size_t>(lbPasswordsIndex)]);
}

std::string PasswordPageModel::SaveBytes() const
{
    std::string bytes;
    for (const std::string& password : lbPasswords)
        bytes.append(password).append("\r\n");
    return bytes;
}

void PasswordPageModel::btnSaveClick()
{
    const std::optional<std::string> path = platform_.askSaveFileName();
    if (!path)
        return;
    if (const std::optional<std::string> error = platform_.writeFile(*path, SaveBytes()))
        platform_.showError(*error);
}

} // namespace tarvelle
