#include "IpPage.h"

#include "Binding.h"
#include "Fonts.h"
#include "ResultLabel.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <iterator>
#include <utility>

namespace tarvelle {

namespace {

constexpr int kBoxHeight = 22;
constexpr int kSmallPixelSize = 9;
// The captions of the result labels end just before this column.
constexpr int kCaptionRight = 112;

// The small grey texts: the binary lines, their captions and the local address blocks.
QFont SmallFont()
{
    return ArialFont(kSmallPixelSize);
}

// The grey-text colour of the light window: dark enough to keep 4.5:1 against the window's grey, which the
// classic 128 grey (2.6:1) does not; the toolkit's own disabled text colour varies with the style.
QColor GrayTextColor()
{
    return {85, 85, 85};
}

// The smallest text size a result is drawn at when it is too long for the page at its own size.
constexpr int kMinPixelSize = 8;

// A result label grows to the right with its text. A text that would run past the page's right edge is drawn
// smaller instead, so that it is never cut: the address counts of the short prefixes are too long for the
// window's font. `nominal` is the label's own font: the small font, or none of its own for the window's font.
void ShowGrowingCaption(QLabel* label, const std::string& caption, const QFont& nominal)
{
    ShowCaption(label, caption);
    const QFont full = nominal.resolve(label->parentWidget()->font());
    // Until the page is given its size (when it joins the page control) there is no room to measure against.
    const bool sized = label->parentWidget()->testAttribute(Qt::WA_Resized);
    const int room = label->parentWidget()->width() - label->x();
    QFont font = full;
    while (sized && font.pixelSize() > kMinPixelSize && QFontMetrics(font).horizontalAdvance(label->text()) > room)
        font.setPixelSize(font.pixelSize() - 1);
    if (font != full)
        label->setFont(font);
    else if (label->font() != full)
        label->setFont(nominal);
    label->adjustSize();
    // A smaller text keeps close to the line of its caption: the label keeps its height, the text sits at its foot.
    label->resize(label->width(), QFontMetrics(full).height());
}

} // namespace

IpPage::IpPage(Platform& /*platform*/, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tsIP"));
    CreateLayout();
    Bind();
    Show();
}

void IpPage::CreateLayout()
{
    CreateInputs();
    CreateResultLabels();
    CreateCaptions();
    setTabOrder(tbIP_[0], tbIP_[1]);
    setTabOrder(tbIP_[1], tbIP_[2]);
    setTabOrder(tbIP_[2], tbIP_[3]);
    setTabOrder(tbIP_[3], cbSlash);
    setTabOrder(cbSlash, cbMask);
}

void IpPage::CreateInputs()
{
    const char* names[] = {"tbIP1", "tbIP2", "tbIP3", "tbIP4"};
    for (int k = 0; k < 4; ++k) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(names[k]));
        box->setGeometry(116 + 40 * k, 12, 33, kBoxHeight);
        box->setAccessibleName(QStringLiteral("IP address, octet %1").arg(k + 1));
        box->installEventFilter(this);
        tbIP_[static_cast<size_t>(k)] = box;
    }
    cbSlash = new QComboBox(this);
    cbSlash->setObjectName(QStringLiteral("cbSlash"));
    cbSlash->setGeometry(280, 12, 49, kBoxHeight);
    // Named by its current item; no caption stands beside it, so the description says what it chooses.
    cbSlash->setAccessibleDescription(QStringLiteral("Prefix length"));
    cbMask = new QComboBox(this);
    cbMask->setObjectName(QStringLiteral("cbMask"));
    cbMask->setGeometry(116, 72, 141, kBoxHeight);
    FillCombo(cbSlash, model_.cbSlash);
    FillCombo(cbMask, model_.cbMask);
}

void IpPage::CreateResultLabels()
{
    lbIPBinary = AddResult("lbIPBinary", {116, 40}, true);
    lbBreakdown = AddResult("lbBreakdown", {116, 53}, true);
    lbSNBinary = AddResult("lbSNBinary", {116, 96}, true);
    lbClass = AddResult("lbClass", {120, 116}, false);
    lbReserved = AddResult("lbReserved", {120, 134}, false);
    lbBroadcast = AddResult("lbBroadcast", {120, 152}, false);
    lbAddresses = AddResult("lbAddresses", {120, 170}, false);
    lbSubnet = AddResult("lbSubnet", {120, 188}, false);
}

ResultLabel* IpPage::AddResult(const char* name, QPoint pos, bool small)
{
    auto* result = new ResultLabel(this);
    SetUpLabel(result, name, QStringLiteral(" "), pos, small);
    result->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    return result;
}

void IpPage::CreateCaptions()
{
    AddLabel("Label7", QStringLiteral("IP Address"), {54, 16}, false)->setBuddy(tbIP_[0]);
    AddLabel("Label8", QStringLiteral("."), {151, 16}, false);
    AddLabel("Label9", QStringLiteral("."), {191, 16}, false);
    AddLabel("Label10", QStringLiteral("."), {231, 16}, false);
    TieCaption(AddLabel("Label22", QStringLiteral("Binary Representation"), {16, 40}, true), lbIPBinary);
    QLabel* label23 = AddLabel("Label23", QStringLiteral("Decimal Breakdown"), {26, 53}, true);
    label23->resize(82, label23->height());
    label23->setAlignment(Qt::AlignRight | Qt::AlignTop);
    TieCaption(label23, lbBreakdown);
    AddLabel("Label11", QStringLiteral("Subnet Mask"), {48, 76}, false)->setBuddy(cbMask);
    TieCaption(AddLabel("Label24", QStringLiteral("Binary Representation"), {16, 96}, true), lbSNBinary);
    const std::pair<const char*, const char*> captions[] = {{"Label21", "Address Class"},
                                                            {"Label13", "Reserved Address"},
                                                            {"Label15", "Broadcast Address"},
                                                            {"Label14", "Available Addresses"},
                                                            {"Label12", "Usable Range"}};
    ResultLabel* const results[] = {lbClass, lbReserved, lbBroadcast, lbAddresses, lbSubnet};
    for (size_t k = 0; k < std::size(results); ++k)
        TieCaption(AddRightAlignedLabel(captions[k].first, QLatin1String(captions[k].second), results[k]->y(),
                                        kCaptionRight, false),
                   results[k]);
    AddLabel("Label16", QStringLiteral("Local Address Blocks"), {54, 216}, true);
    AddLabel("Label18", QStringLiteral("A: 10.0.0.0 - 10.255.255.255  (/8)"), {150, 216}, true);
    AddLabel("Label19", QStringLiteral("B: 172.16.0.0 - 172.31.255.255  (/12)"), {150, 228}, true);
    AddLabel("Label20", QStringLiteral("C: 192.168.0.0 - 192.168.255.255  (/16)"), {150, 240}, true);
}

QLabel* IpPage::AddLabel(const char* name, const QString& text, QPoint pos, bool small)
{
    auto* label = new QLabel(this);
    SetUpLabel(label, name, text, pos, small);
    return label;
}

void IpPage::SetUpLabel(QLabel* label, const char* name, const QString& text, QPoint pos, bool small)
{
    label->setObjectName(QLatin1String(name));
    // Plain text keeps the double blanks before the block lines' parentheses.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (small) {
        label->setFont(SmallFont());
        SetTextColor(label, GrayTextColor());
    }
    label->move(pos);
    label->adjustSize();
}

QLabel* IpPage::AddRightAlignedLabel(const char* name, const QString& text, int top, int right, bool small)
{
    QLabel* label = AddLabel(name, text, {0, top}, small);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->move(right - label->width(), top);
    return label;
}

void IpPage::Bind()
{
    // tbIP1Change serves all four boxes: every user edit, pastes included, goes into the model, which
    // recomputes the page and corrects out-of-range octets.
    for (int k = 1; k <= 4; ++k)
        BindEdit(tbIP_[static_cast<size_t>(k - 1)], model_.octetBox(k), [this] { Show(); });
    // cbSlashClick / cbMaskClick: activated is raised by the user's picks only.
    BindPick(cbSlash, model_.cbSlash, [this] { Show(); });
    BindPick(cbMask, model_.cbMask, [this] { Show(); });
}

void IpPage::SetInitialLists()
{
    model_.SetInitialLists();
    Show();
}

void IpPage::Show()
{
    for (int k = 1; k <= 4; ++k)
        ShowText(tbIP_[static_cast<size_t>(k - 1)], model_.octetBox(k).text());
    ShowIndex(cbSlash, model_.cbSlash.index());
    ShowIndex(cbMask, model_.cbMask.index());
    ShowGrowingCaption(lbSNBinary, model_.lbSNBinary, SmallFont());
    ShowGrowingCaption(lbReserved, model_.lbReserved, QFont());
    ShowGrowingCaption(lbBroadcast, model_.lbBroadcast, QFont());
    ShowGrowingCaption(lbSubnet, model_.lbSubnet, QFont());
    ShowGrowingCaption(lbAddresses, model_.lbAddresses, QFont());
    ShowGrowingCaption(lbClass, model_.lbClass, QFont());
    ShowGrowingCaption(lbBreakdown, model_.lbBreakdown, SmallFont());
    ShowGrowingCaption(lbIPBinary, model_.lbIPBinary, SmallFont());
}

bool IpPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        for (int k = 1; k <= 4; ++k) {
            if (watched == tbIP_[static_cast<size_t>(k - 1)])
                return tbIP1KeyPress(k, static_cast<const QKeyEvent&>(*event));
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool IpPage::tbIP1KeyPress(int box, const QKeyEvent& event)
{
    const std::optional<char32_t> key = TypedCharacter(event);
    if (!key)
        return false;
    // A box entered by a focus move has its whole text selected; the line edit does that for tab reasons.
    switch (model_.tbIP1KeyPress(box, *key)) {
    case IpPageModel::KeyAction::Pass:
        return false;
    case IpPageModel::KeyAction::Swallow:
        return true;
    case IpPageModel::KeyAction::FocusNext:
        tbIP_[static_cast<size_t>(box)]->setFocus(Qt::TabFocusReason);
        return true;
    case IpPageModel::KeyAction::FocusPrevious:
        tbIP_[static_cast<size_t>(box - 2)]->setFocus(Qt::BacktabFocusReason);
        return true;
    }
    return true;
}

std::optional<char32_t> IpPage::TypedCharacter(const QKeyEvent& event)
{
    // Platforms disagree on the texts of these two keys (none, BS or DEL); Delete types no character.
    if (event.key() == Qt::Key_Backspace)
        return 8;
    if (event.key() == Qt::Key_Delete)
        return std::nullopt;
    const QString text = event.text();
    if (text.isEmpty())
        return std::nullopt;
    const char32_t first = text.toUcs4().value(0);
    if (first < 32)
        return first;
    // Ctrl + letter types that letter's control character (Ctrl+V is 22), as some platforms already report it;
    // other Ctrl chords type nothing. Alt and Ctrl+Alt (AltGr) chords reach the box with their text, so they are
    // filtered like plain keys.
    const Qt::KeyboardModifiers chord = event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (chord == Qt::ControlModifier || chord == Qt::MetaModifier) {
        const char32_t upper = first >= U'a' && first <= U'z' ? first - 32 : first;
        return upper >= U'A' && upper <= U'Z' ? std::optional<char32_t>(upper - 64) : std::nullopt;
    }
    return first;
}

} // namespace tarvelle
