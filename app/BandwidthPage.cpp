#include "BandwidthPage.h"

#include "Binding.h"
#include "Fonts.h"
#include "ResultLabel.h"
#include "SpinBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <iterator>

namespace tarvelle {

namespace {

constexpr int kButtonLeft = 8;
constexpr int kBoxLeft = 80;
constexpr int kUnitLeft = 200;
// Each row's tolerance line sits this far below the top of its edit box.
constexpr int kLineOffset = 24;

// The decimal separator the user's locale gives for numbers, read once when the page is made.
std::string LocaleDecimalSeparator()
{
    return QLocale::system().decimalPoint().toStdString();
}

// A number written by the page shows from its first digit, as a freshly set edit box does on the desktop the
// layout was drawn for; long results such as 0.00138888888888889 would otherwise show only their tail.
void ShowNumberText(QLineEdit* edit, const std::string& text)
{
    if (edit->text() == QString::fromStdString(text))
        return;
    ShowText(edit, text);
    edit->setCursorPosition(0);
}

// A tolerance line grows to the right with its text.
void ShowGrowingCaption(QLabel* label, const std::string& caption)
{
    ShowCaption(label, caption);
    label->adjustSize();
}

// A pick list whose text may run on into the free left part of the arrow button. The layout's narrow lists
// were drawn for a desktop whose arrow button takes less room than this toolkit's styles leave beside it, and
// items such as "GBps (b10)" or "1024 Kbps" would otherwise lose their last letters.
class PickListBox : public QComboBox
{
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QStylePainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        painter.drawComplexControl(QStyle::CC_ComboBox, opt);
        // The label's room follows the option's rectangle; the arrow glyph, drawn above, stays in place.
        opt.rect.adjust(-kTextLeftGain, 0, kTextRightGain, 0);
        painter.drawControl(QStyle::CE_ComboBoxLabel, opt);
    }

private:
    static constexpr int kTextLeftGain = 2;
    static constexpr int kTextRightGain = 7;
};

} // namespace

BandwidthPage::BandwidthPage(Platform& platform, QWidget* parent)
    : QWidget(parent), model_(platform, LocaleDecimalSeparator())
{
    setObjectName(QStringLiteral("tsBandwidth"));
    // The page is made before the window adopts it: its labels size themselves to its own font.
    setFont(ArialFont(11));
    CreateLayout();
    CreateToleranceBox(platform);
    CreateCaptions();
    SetTabOrder();
    Bind();
    Show();
}

void BandwidthPage::CreateLayout()
{
    Label1 = AddLabel("Label1", QString::fromUtf8(bandwidth::kLabel1Caption), {6, 8});
    CreateRow(btnBW, "btnBW", bandwidth::kBtnBWCaption, tbBW, "tbBW", cbBWUnit, "cbBWUnit", 32);
    CreateRow(btnDS, "btnDS", bandwidth::kBtnDSCaption, tbDS, "tbDS", cbDSUnit, "cbDSUnit", 80);
    CreateRow(btnTm, "btnTm", bandwidth::kBtnTmCaption, tbTm, "tbTm", cbTmUnit, "cbTmUnit", 132);
    // A pick list is named by its current item; these have no caption beside them, so the description says
    // what they choose.
    tbBW->setAccessibleName(QStringLiteral("Bandwidth"));
    cbBWUnit->setAccessibleDescription(QStringLiteral("Rate unit"));
    tbDS->setAccessibleName(QStringLiteral("Data size"));
    cbDSUnit->setAccessibleDescription(QStringLiteral("Size unit"));
    tbTm->setAccessibleName(QStringLiteral("Time"));
    cbTmUnit->setAccessibleDescription(QStringLiteral("Time unit"));

    cbCommon = new PickListBox(this);
    cbCommon->setObjectName(QStringLiteral("cbCommon"));
    cbCommon->setGeometry(288, 32, 73, 22);
    cbCommon->setAccessibleDescription(QStringLiteral("Common rates"));
    FillCombo(cbCommon, model_.cbCommon);

    lbBWTol = AddLabel("lbBWTol", QString(), {kBoxLeft, 32 + kLineOffset}, "Bandwidth tolerance");
    lbDSTol = AddLabel("lbDSTol", QString(), {kBoxLeft, 80 + kLineOffset}, "Data size tolerance");
    lbTmTol = AddLabel("lbTmTol", QString(), {kBoxLeft, 132 + kLineOffset}, "Time tolerance");
}

void BandwidthPage::CreateRow(QPushButton*& button, const char* buttonName, const char* caption, QLineEdit*& box,
                              const char* boxName, QComboBox*& unit, const char* unitName, int top)
{
    button = new QPushButton(QString::fromUtf8(caption), this);
    button->setObjectName(QLatin1String(buttonName));
    button->setGeometry(kButtonLeft, top, 65, 21);
    button->setAutoDefault(false);
    box = new QLineEdit(this);
    box->setObjectName(QLatin1String(boxName));
    box->setGeometry(kBoxLeft, top, 113, 22);
    unit = new PickListBox(this);
    unit->setObjectName(QLatin1String(unitName));
    unit->setGeometry(kUnitLeft, top, 81, 22);
}

void BandwidthPage::CreateToleranceBox(Platform& platform)
{
    seTol = new SpinBox(model_.seTol, platform, this);
    seTol->setObjectName(QStringLiteral("seTol"));
    seTol->setGeometry(297, 220, 49, 23);
    seTol->setAccessibleName(QStringLiteral("Tolerance in percent"));
    const QString point = QString::fromStdString(model_.decimalSeparator());
    seTol->setDecimalSeparator(point.isEmpty() ? QLatin1Char('.') : point.front());
}

void BandwidthPage::CreateCaptions()
{
    auto* label17 = new QLabel(QString::fromUtf8(bandwidth::kLabel17Caption), this);
    label17->setObjectName(QStringLiteral("Label17"));
    label17->setFont(ArialFont(9));
    label17->setWordWrap(true);
    label17->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label17->setGeometry(8, 204, 217, 49);
    // The caption before the tolerance box and the unit after it both label it.
    AddLabel("Label2", QString::fromUtf8(bandwidth::kLabel2Caption), {241, 224})->setBuddy(seTol);
    AddLabel("Label3", QString::fromUtf8(bandwidth::kLabel3Caption), {349, 224})->setBuddy(seTol);
}

QLabel* BandwidthPage::AddLabel(const char* name, const QString& text, QPoint pos, const char* resultCaption)
{
    // A tolerance line is a result, read as its text; with no caption beside it, its description says which.
    QLabel* label = resultCaption ? new ResultLabel(text, this) : new QLabel(text, this);
    if (resultCaption)
        label->setAccessibleDescription(QLatin1String(resultCaption));
    label->setObjectName(QLatin1String(name));
    // The captions and lines hold no markup; "&" and "<" stay as written.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->move(pos);
    label->adjustSize();
    return label;
}

void BandwidthPage::SetTabOrder()
{
    QWidget* const order[] = {btnBW, tbBW, cbBWUnit, cbCommon, btnDS, tbDS, cbDSUnit, btnTm, tbTm, cbTmUnit, seTol};
    for (size_t k = 1; k < std::size(order); ++k)
        setTabOrder(order[k - 1], order[k]);
}

void BandwidthPage::Bind()
{
    FillCombo(cbBWUnit, model_.cbBWUnit);
    FillCombo(cbDSUnit, model_.cbDSUnit);
    FillCombo(cbTmUnit, model_.cbTmUnit);
    // tbBWChange and its siblings run inside the model on every user edit; the unit and common-rate picks
    // (activated is raised by the user's choices only) run cbBWUnitClick and the others.
    BindEdit(tbBW, model_.tbBW, [this] { Show(); });
    BindEdit(tbDS, model_.tbDS, [this] { Show(); });
    BindEdit(tbTm, model_.tbTm, [this] { Show(); });
    BindPick(cbBWUnit, model_.cbBWUnit, [this] { Show(); });
    BindPick(cbDSUnit, model_.cbDSUnit, [this] { Show(); });
    BindPick(cbTmUnit, model_.cbTmUnit, [this] { Show(); });
    BindPick(cbCommon, model_.cbCommon, [this] { Show(); });
    connect(btnBW, &QPushButton::clicked, this, &BandwidthPage::btnBWClick);
    connect(btnDS, &QPushButton::clicked, this, &BandwidthPage::btnDSClick);
    connect(btnTm, &QPushButton::clicked, this, &BandwidthPage::btnTmClick);
    // The spin box has already passed the typing, arrows or clamp to its model, whose onChange ran seTolChange.
    connect(seTol, &SpinBox::edited, this, &BandwidthPage::seTolChange);
}

void BandwidthPage::SetInitialUnits()
{
    model_.SetInitialUnits();
    Show();
}

void BandwidthPage::RunToleranceChange()
{
    model_.seTolChange();
    Show();
}

void BandwidthPage::btnBWClick()
{
    model_.btnBWClick();
    Show();
}

void BandwidthPage::btnDSClick()
{
    model_.btnDSClick();
    Show();
}

void BandwidthPage::btnTmClick()
{
    model_.btnTmClick();
    Show();
}

void BandwidthPage::seTolChange()
{
    Show();
}

void BandwidthPage::Show()
{
    ShowNumberText(tbBW, model_.tbBW.text());
    ShowNumberText(tbDS, model_.tbDS.text());
    ShowNumberText(tbTm, model_.tbTm.text());
    ShowIndex(cbBWUnit, model_.cbBWUnit.index());
    ShowIndex(cbDSUnit, model_.cbDSUnit.index());
    ShowIndex(cbTmUnit, model_.cbTmUnit.index());
    ShowIndex(cbCommon, model_.cbCommon.index());
    seTol->sync();
    ShowGrowingCaption(lbBWTol, model_.lbBWTol);
    ShowGrowingCaption(lbDSTol, model_.lbDSTol);
    ShowGrowingCaption(lbTmTol, model_.lbTmTol);
    ShowLabel1Colour();
}

void BandwidthPage::ShowLabel1Colour()
{
    if (model_.label1Red) {
        SetTextColor(Label1, QColor(255, 0, 0));
    } else {
        // An empty palette resolves nothing of its own: the label takes the page's colours again.
        Label1->setPalette(QPalette());
    }
}

} // namespace tarvelle
