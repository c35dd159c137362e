// tsPasswords: the Password Generator page, bound to its page model.
//
// The page creates the length row, the four class rows (check box, label, minimum and maximum spin boxes),
// the Other characters, the pronounceability list, Generate with its count, Save List and the password list
// at their pixel positions. Spin box input goes into the model's boxes, whose change events run the coupling
// handlers there; ticks, picks, edits, clicks and the list's selection go into the model too, and Show() then
// copies every model field back into the widgets. Generate draws the passwords from the operating system's
// random generator (SystemRandom) owned here, after seeding the program's generator from the entropy word;
// then the strength of the settings it used (PasswordStrength.h) is worked out on a pool thread and shown as
// the list's tool tip and accessible description.
#pragma once

#include "Entropy.h"
#include "PasswordPageModel.h"
#include "Platform.h"
#include "Random.h"

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvelle {

class PasswordListBox;
class SpinBox;

class PasswordPage : public QWidget
{
    Q_OBJECT
public:
    PasswordPage(Platform& platform, EntropyPool& entropy, LcgRandom& generator, QWidget* parent = nullptr);

    /// The window's creation step: start item of cbWordMode.
    void SetInitialMode();

private Q_SLOTS:
    void seChange();
    void ckbOtherClick();
    void btnGoClick();
    void lbPasswordsDblClick();
    void btnSaveClick();

private:
    void CreateLengthRow();
    void CreateClassRows();
    void CreateGenerateControls();
    SpinBox* AddSpinBox(SpinBoxModel& box, const char* name, const QRect& geometry, const char* accessibleName);
    QLabel* AddLabel(const char* name, const QString& text, QPoint pos, QWidget* buddy = nullptr);
    QCheckBox* AddCheckBox(const char* name, const QString& caption, const QRect& geometry, uint32_t color,
                           const char* accessibleName);
    void SetUpCheckBox(QCheckBox* box, const char* name, const QRect& geometry, uint32_t color,
                       const char* accessibleName);
    void AddMinMaxLabels(const char* minName, const char* maxName, int top, QWidget* minBox, QWidget* maxBox);
    /// Every spin box of the page.
    std::array<SpinBox*, 11> SpinBoxes() const;
    void SetTabOrder();
    void Bind();

    /// Copies every model field into its widget.
    void Show();
    void ShowList();
    /// Starts working out the strength of the settings Generate used, off the GUI thread.
    void ShowStrength();
    /// Works out the strength of Generate number `run`'s settings on a pool thread, then shows it.
    void MeasureOffThread(uint64_t run, const TPasswordSettings& settings);
    /// Shows the strength tip of Generate number `run`, unless a later Generate has begun.
    void ShowStrengthTip(uint64_t run, const QString& tip);

    SystemRandom draws_;
    PasswordPageModel model_;

    SpinBox* seMinLen = nullptr;
    SpinBox* seMaxLen = nullptr;
    QCheckBox* ckbUpper = nullptr;
    SpinBox* seUpper1 = nullptr;
    SpinBox* seUpper2 = nullptr;
    QCheckBox* ckbLower = nullptr;
    SpinBox* seLower1 = nullptr;
    SpinBox* seLower2 = nullptr;
    QCheckBox* ckbNumeric = nullptr;
    SpinBox* seNum1 = nullptr;
    SpinBox* seNum2 = nullptr;
    QCheckBox* ckbOther = nullptr;
    QLineEdit* tbOther = nullptr;
    SpinBox* seOther1 = nullptr;
    SpinBox* seOther2 = nullptr;
    QComboBox* cbWordMode = nullptr;
    QPushButton* btnGo = nullptr;
    SpinBox* seGenerate = nullptr;
    QPushButton* btnSave = nullptr;
    PasswordListBox* lbPasswords = nullptr;
    Platform& platform_;
    uint64_t strengthRuns_ = 0; // Generates whose strength was asked for
    std::optional<std::pair<TPasswordSettings, QString>> strength_; // the last settings measured (count 0), their tip
    bool measuring_ = false; // a pool thread works on a strength
    std::optional<TPasswordSettings> measureNext_; // the latest Generate's settings, waiting for it
};

} // namespace tarvelle
