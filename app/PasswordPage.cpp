#include "PasswordPage.h"

#include "Binding.h"
#include "Fonts.h"
#include "HembryTabs.h"
#include "PasswordList.h"
#include "PasswordStrength.h"
#include "PrintableEdit.h"
#include "SpinBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QThreadPool>

#include <algorithm>
#include <array>
#include <iterator>

namespace tarvelle {

namespace {

constexpr int kMinLabelLeft = 188;
constexpr int kMinBoxLeft = 212;
constexpr int kMaxLabelLeft = 260;
constexpr int kMaxBoxLeft = 284;
constexpr QSize kSpinBoxSize {45, 23};
// The left edge of the class check boxes, and of the captions beside the uncaptioned ones.
constexpr int kCheckBoxLeft = 12;
constexpr int kClassLabelLeft = 28;

// "Courier New" resolves to its metric twin Liberation Mono where the original is not installed.
QFont ListFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(11);
    return font;
}

// A caption whose accelerator only moves the focus to its control: a check box beside it is not ticked.
class FocusLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::Shortcut && buddy()) {
            buddy()->setFocus(Qt::ShortcutFocusReason);
            return true;
        }
        return QLabel::event(event);
    }
};

// A check box whose caption starts at a given distance from its left edge, so that it lines up with the
// captions of the uncaptioned check boxes below, which are labels of their own beside the box.
class AlignedCheckBox : public QCheckBox
{
public:
    AlignedCheckBox(const QString& caption, int captionLeft, QWidget* parent)
        : QCheckBox(caption, parent), captionLeft_(captionLeft)
    { }

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        QStyleOptionButton part = option;
        part.rect = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
        painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, part);
        part.rect = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
        const int shift = captionLeft_ - part.rect.left();
        part.rect.setLeft(captionLeft_);
        painter.drawControl(QStyle::CE_CheckBoxLabel, part);
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.rect = style()->subElementRect(QStyle::SE_CheckBoxFocusRect, &option, this).translated(shift, 0);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }

private:
    int captionLeft_;
};

// The pronounceability list shows its items 14 pixels high.
class FixedHeightDelegate : public QStyledItemDelegate
{
public:
    FixedHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) { }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), height_};
    }

private:
    int height_;
};

} // namespace

PasswordPage::PasswordPage(Platform& platform, EntropyPool& entropy, LcgRandom& generator, QWidget* parent)
    : QWidget(parent), model_(platform, entropy, generator, draws_), platform_(platform)
{
    setObjectName(QStringLiteral("tsPasswords"));
    // The page's own font, so that its labels measure their captions in it however the page is created.
    setFont(ArialFont(11));
    CreateLengthRow();
    CreateClassRows();
    CreateGenerateControls();
    SetTabOrder();
    Bind();
    Show();
}

void PasswordPage::CreateLengthRow()
{
    seMinLen = AddSpinBox(model_.seMinLen, "seMinLen", {{kMinBoxLeft, 8}, kSpinBoxSize}, "Minimum password length");
    seMaxLen = AddSpinBox(model_.seMaxLen, "seMaxLen", {{kMaxBoxLeft, 8}, kSpinBoxSize}, "Maximum password length");
    AddLabel("Label27", QString::fromUtf8(kLabel27Caption), {8, 12}, seMinLen);
    AddMinMaxLabels("Label36", "Label37", 12, seMinLen, seMaxLen);
}

void PasswordPage::CreateClassRows()
{
    // Its caption starts where Label46, Label45 and Label47 start below it.
    ckbUpper = new AlignedCheckBox(QString::fromUtf8(kCkbUpperCaption), kClassLabelLeft - kCheckBoxLeft, this);
    SetUpCheckBox(ckbUpper, "ckbUpper", {kCheckBoxLeft, 36, 133, 17}, kUpperColor, "UPPERCASE Alphabetic");
    // This toolkit's styles leave more room beside the box than the layout was drawn for; the caption keeps
    // all its letters, and the row has room up to the "Min." label.
    ckbUpper->resize(std::max(ckbUpper->width(), ckbUpper->sizeHint().width()), ckbUpper->height());
    seUpper1 = AddSpinBox(model_.seUpper1, "seUpper1", {{kMinBoxLeft, 32}, kSpinBoxSize}, "Minimum uppercase letters");
    seUpper2 = AddSpinBox(model_.seUpper2, "seUpper2", {{kMaxBoxLeft, 32}, kSpinBoxSize}, "Maximum uppercase letters");
    AddMinMaxLabels("Label25", "Label26", 36, seUpper1, seUpper2);

    ckbLower = AddCheckBox("ckbLower", QString(), {kCheckBoxLeft, 60, 15, 17}, kLowerColor, "lowercase Alphabetic");
    SetTextColor(AddLabel("Label46", QString::fromUtf8(kLabel46Caption), {kClassLabelLeft, 62}, ckbLower),
                 ColorFromBgr(kLowerColor));
    seLower1 = AddSpinBox(model_.seLower1, "seLower1", {{kMinBoxLeft, 56}, kSpinBoxSize}, "Minimum lowercase letters");
    seLower2 = AddSpinBox(model_.seLower2, "seLower2", {{kMaxBoxLeft, 56}, kSpinBoxSize}, "Maximum lowercase letters");
    AddMinMaxLabels("Label28", "Label29", 60, seLower1, seLower2);

    ckbNumeric = AddCheckBox("ckbNumeric", QString(), {kCheckBoxLeft, 84, 15, 17}, kNumericColor, "Numeric");
    SetTextColor(AddLabel("Label45", QString::fromUtf8(kLabel45Caption), {kClassLabelLeft, 86}, ckbNumeric),
                 ColorFromBgr(kNumericColor));
    seNum1 = AddSpinBox(model_.seNum1, "seNum1", {{kMinBoxLeft, 80}, kSpinBoxSize}, "Minimum digits");
    seNum2 = AddSpinBox(model_.seNum2, "seNum2", {{kMaxBoxLeft, 80}, kSpinBoxSize}, "Maximum digits");
    AddMinMaxLabels("Label30", "Label31", 84, seNum1, seNum2);

    ckbOther = AddCheckBox("ckbOther", QString(), {kCheckBoxLeft, 108, 15, 17}, kOtherColor, "Other");
    SetTextColor(AddLabel("Label47", QString::fromUtf8(kLabel47Caption), {kClassLabelLeft, 109}, ckbOther),
                 ColorFromBgr(kOtherColor));
    tbOther = new PrintableEdit(platform_, this);
    tbOther->setObjectName(QStringLiteral("tbOther"));
    tbOther->setGeometry(64, 106, 109, 22);
    tbOther->setAccessibleName(QStringLiteral("Other characters"));
    SetTextColor(tbOther, ColorFromBgr(kOtherColor), QPalette::Text);
    seOther1 = AddSpinBox(model_.seOther1, "seOther1", {{kMinBoxLeft, 104}, kSpinBoxSize}, "Minimum other characters");
    seOther2 = AddSpinBox(model_.seOther2, "seOther2", {{kMaxBoxLeft, 104}, kSpinBoxSize}, "Maximum other characters");
    AddMinMaxLabels("Label32", "Label33", 108, seOther1, seOther2);
}

void PasswordPage::CreateGenerateControls()
{
    cbWordMode = new QComboBox(this);
    cbWordMode->setObjectName(QStringLiteral("cbWordMode"));
    cbWordMode->setGeometry(92, 136, 269, 22);
    cbWordMode->setItemDelegate(new FixedHeightDelegate(14, cbWordMode));
    FillCombo(cbWordMode, model_.cbWordMode);
    QLabel* label35 = AddLabel("Label35", QString::fromUtf8(kLabel35Caption), {8, 140}, cbWordMode);
    // The caption's measured width runs one pixel into the list, the colon's empty right side; the label ends
    // where the list begins.
    label35->resize(std::min(label35->width(), cbWordMode->x() - label35->x()), label35->height());

    btnGo = new QPushButton(QString::fromUtf8(kBtnGoCaption), this);
    btnGo->setObjectName(QStringLiteral("btnGo"));
    btnGo->setGeometry(8, 168, 69, 21);
    btnGo->setAutoDefault(false);
    seGenerate = AddSpinBox(model_.seGenerate, "seGenerate", {{26, 195}, kSpinBoxSize}, "Number of passwords");
    AddLabel("Label34", QStringLiteral("#"), {16, 198}, seGenerate);
    btnSave = new QPushButton(QString::fromUtf8(kBtnSaveCaption), this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnSave->setGeometry(8, 224, 69, 21);
    btnSave->setAutoDefault(false);

    lbPasswords = new PasswordListBox(this);
    lbPasswords->setObjectName(QStringLiteral("lbPasswords"));
    lbPasswords->setFont(ListFont());
    lbPasswords->setGeometry(84, 168, 277, 81);
    lbPasswords->setAccessibleName(QStringLiteral("Passwords"));
}

SpinBox* PasswordPage::AddSpinBox(SpinBoxModel& box, const char* name, const QRect& geometry,
                                  const char* accessibleName)
{
    auto* spin = new SpinBox(box, platform_, this);
    spin->setObjectName(QLatin1String(name));
    spin->setGeometry(geometry);
    spin->setAccessibleName(QLatin1String(accessibleName));
    return spin;
}

QLabel* PasswordPage::AddLabel(const char* name, const QString& text, QPoint pos, QWidget* buddy)
{
    auto* label = new FocusLabel(text, this);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (buddy)
        label->setBuddy(buddy);
    label->move(pos);
    label->adjustSize();
    return label;
}

QCheckBox* PasswordPage::AddCheckBox(const char* name, const QString& caption, const QRect& geometry, uint32_t color,
                                     const char* accessibleName)
{
    auto* box = new QCheckBox(caption, this);
    SetUpCheckBox(box, name, geometry, color, accessibleName);
    return box;
}

void PasswordPage::SetUpCheckBox(QCheckBox* box, const char* name, const QRect& geometry, uint32_t color,
                                 const char* accessibleName)
{
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    box->setAccessibleName(QLatin1String(accessibleName));
    SetTextColor(box, ColorFromBgr(color));
}

void PasswordPage::AddMinMaxLabels(const char* minName, const char* maxName, int top, QWidget* minBox, QWidget* maxBox)
{
    // Each labels the spin box beside it for assistive technology; with no accelerator, they move no focus.
    AddLabel(minName, QStringLiteral("Min."), {kMinLabelLeft, top}, minBox);
    AddLabel(maxName, QStringLiteral("Max."), {kMaxLabelLeft, top}, maxBox);
}

std::array<SpinBox*, 11> PasswordPage::SpinBoxes() const
{
    return {seMinLen, seMaxLen, seUpper1, seUpper2, seLower1, seLower2, seNum1, seNum2, seOther1, seOther2, seGenerate};
}

void PasswordPage::SetTabOrder()
{
    QWidget* const order[]
        = {seMinLen, seMaxLen, ckbUpper, seUpper1, seUpper2, ckbLower,   seLower1, seLower2,   ckbNumeric, seNum1,
           seNum2,   ckbOther, tbOther,  seOther1, seOther2, cbWordMode, btnGo,    seGenerate, btnSave,    lbPasswords};
    for (size_t k = 1; k < std::size(order); ++k)
        setTabOrder(order[k - 1], order[k]);
}

void PasswordPage::Bind()
{
    // The boxes have already passed typing, arrows or the clamp on leaving to their models, whose onChange
    // ran the coupling handlers; the page only shows the result.
    for (SpinBox* box : SpinBoxes())
        connect(box, &SpinBox::edited, this, &PasswordPage::seChange);
    connect(ckbUpper, &QCheckBox::toggled, this, [this](bool on) { model_.ckbUpper = on; });
    connect(ckbLower, &QCheckBox::toggled, this, [this](bool on) { model_.ckbLower = on; });
    connect(ckbNumeric, &QCheckBox::toggled, this, [this](bool on) { model_.ckbNumeric = on; });
    connect(ckbOther, &QCheckBox::clicked, this, &PasswordPage::ckbOtherClick);
    BindEdit(tbOther, model_.tbOther, [this] { Show(); });
    BindPick(cbWordMode, model_.cbWordMode, [this] { Show(); });
    connect(btnGo, &QPushButton::clicked, this, &PasswordPage::btnGoClick);
    connect(btnSave, &QPushButton::clicked, this, &PasswordPage::btnSaveClick);
    connect(lbPasswords, &QListWidget::itemSelectionChanged, this,
            [this] { model_.lbPasswordsIndex = lbPasswords->selectedRow(); });
    connect(lbPasswords, &PasswordListBox::dblClicked, this, &PasswordPage::lbPasswordsDblClick);
    connect(lbPasswords, &PasswordListBox::copyRequested, this, [this] { model_.lbPasswordsCopy(); });
    // The emptied list is shown, and drawn, before the run composes, not only once it has ended.
    model_.onListCleared = [this] {
        ShowList();
        lbPasswords->viewport()->repaint();
    };
}

void PasswordPage::SetInitialMode()
{
    model_.SetInitialMode();
    Show();
}

void PasswordPage::seChange()
{
    Show();
}

void PasswordPage::ckbOtherClick()
{
    model_.ckbOther = ckbOther->isChecked();
    model_.ckbOtherClick();
    Show();
}

void PasswordPage::btnGoClick()
{
    model_.btnGoClick();
    Show();
    ShowStrength();
}

void PasswordPage::ShowStrength()
{
    const uint64_t run = ++strengthRuns_;
    TPasswordSettings settings = model_.ReadSettings();
    settings.Count = 0; // how many passwords a run makes changes nothing in their strength
    measureNext_.reset();
    if (strength_ && strength_->first == settings) {
        ShowStrengthTip(run, strength_->second);
        return;
    }
    ShowStrengthTip(run, QString()); // no tip of other settings meanwhile
    // The sums can take a second or more: one at a time, and of the Generates pressed meanwhile only the last
    // waits for its turn.
    if (measuring_)
        measureNext_ = settings;
    else
        MeasureOffThread(run, settings);
}

void PasswordPage::MeasureOffThread(uint64_t run, const TPasswordSettings& settings)
{
    measuring_ = true;
    // A pool thread works the sums out from its own copies. The result goes through the application object,
    // which outlives the pool, and reaches the page only if it still stands.
    QThreadPool::globalInstance()->start([page = QPointer<PasswordPage>(this), run, settings, pairs = model_.slcConst] {
        const QString tip = QString::fromStdString(StrengthTip(MeasureStrength(settings, pairs)));
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [page, run, settings, tip] {
                if (!page)
                    return;
                page->measuring_ = false;
                page->strength_.emplace(settings, tip);
                page->ShowStrengthTip(run, tip);
                if (page->measureNext_) {
                    const TPasswordSettings next = *page->measureNext_;
                    page->measureNext_.reset();
                    if (next == settings)
                        page->ShowStrengthTip(page->strengthRuns_, tip);
                    else
                        page->MeasureOffThread(page->strengthRuns_, next);
                }
            },
            Qt::QueuedConnection);
    });
}

void PasswordPage::ShowStrengthTip(uint64_t run, const QString& tip)
{
    if (run != strengthRuns_)
        return;
    lbPasswords->setToolTip(tip);
    lbPasswords->setAccessibleDescription(tip);
}

void PasswordPage::lbPasswordsDblClick()
{
    model_.lbPasswordsDblClick();
}

void PasswordPage::btnSaveClick()
{
    model_.btnSaveClick();
}

void PasswordPage::Show()
{
    for (SpinBox* box : SpinBoxes())
        box->sync();
    const std::pair<QCheckBox*, bool> ticks[] = {{ckbUpper, model_.ckbUpper},
                                                 {ckbLower, model_.ckbLower},
                                                 {ckbNumeric, model_.ckbNumeric},
                                                 {ckbOther, model_.ckbOther}};
    for (const auto& [box, ticked] : ticks) {
        const QSignalBlocker blocker(box);
        box->setChecked(ticked);
    }
    ShowText(tbOther, model_.tbOther.text());
    tbOther->setEnabled(model_.tbOtherEnabled);
    ShowIndex(cbWordMode, model_.cbWordMode.index());
    btnSave->setEnabled(model_.btnSaveEnabled);
    ShowList();
}

void PasswordPage::ShowList()
{
    lbPasswords->setColumns(model_.lbPasswordsColumns);
    bool same = lbPasswords->count() == static_cast<int>(model_.lbPasswords.size());
    for (int row = 0; same && row < lbPasswords->count(); ++row)
        same = lbPasswords->item(row)->text() == QString::fromStdString(model_.lbPasswords[static_cast<size_t>(row)]);
    if (!same) {
        const QSignalBlocker blocker(lbPasswords);
        lbPasswords->clear();
        for (const std::string& password : model_.lbPasswords)
            lbPasswords->addItem(QString::fromStdString(password));
        // Lay the columns out now rather than on a later pass, so the scroll bar is there with the items.
        lbPasswords->doItemsLayout();
    }
    lbPasswords->showSelectedRow(model_.lbPasswordsIndex);
}

} // namespace tarvelle
