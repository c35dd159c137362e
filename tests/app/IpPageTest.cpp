#include "IpPage.h"
#include "FakePlatform.h"
#include "HembryTabs.h"
#include "RowName.h"
#include "Tarvelle01.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <optional>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

constexpr const char* kResultLabels[]
    = {"lbIPBinary", "lbBreakdown", "lbSNBinary", "lbClass", "lbReserved", "lbBroadcast", "lbAddresses", "lbSubnet"};

class IpPageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        window.pcMain->setCurrentWidget(window.tsIP);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QLineEdit* box(int k) const { return window.findChild<QLineEdit*>(QStringLiteral("tbIP%1").arg(k)); }
    QComboBox* combo(const char* name) const { return window.findChild<QComboBox*>(QLatin1String(name)); }
    QLabel* label(const char* name) const { return window.findChild<QLabel*>(QLatin1String(name)); }
    QString shown(const char* name) const { return label(name)->text(); }

    /// Types each character into whichever widget has the focus at that moment, as a user would.
    static void type(const QString& keys)
    {
        for (const QChar c : keys)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    /// Clicks into box k (caret at the end, nothing selected) and types from there on.
    void typeInto(int k, const QString& keys)
    {
        box(k)->setFocus(Qt::MouseFocusReason);
        type(keys);
    }
    void pressOn(const char* comboName, Qt::Key key, int times = 1)
    {
        combo(comboName)->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < times; ++i)
            QTest::keyClick(combo(comboName), key);
    }

    test::FakePlatform platform;
    TfrmBandwidthCalc window {platform};
};

TEST_F(IpPageTest, StartsWithBlankResultsAndTheSlash24Lists)
{
    for (const char* name : kResultLabels)
        EXPECT_EQ(shown(name), QStringLiteral(" ")) << name;
    for (int k = 1; k <= 4; ++k)
        EXPECT_TRUE(box(k)->text().isEmpty()) << k;
    EXPECT_EQ(combo("cbSlash")->currentText(), QStringLiteral("/ 24"));
    EXPECT_EQ(combo("cbMask")->currentText(), QStringLiteral("255.255.255.0"));
    ASSERT_EQ(combo("cbSlash")->count(), 23);
    ASSERT_EQ(combo("cbMask")->count(), 23);
    EXPECT_EQ(combo("cbSlash")->itemText(0), QStringLiteral("/ 8"));
    EXPECT_EQ(combo("cbMask")->itemText(22), QStringLiteral("255.255.255.252"));
    EXPECT_FALSE(combo("cbSlash")->isEditable());
}

TEST_F(IpPageTest, TypingAnAddressWithFullStopsFillsTheFourBoxes)
{
    typeInto(1, QStringLiteral("192.168.1.10"));

    EXPECT_EQ(QApplication::focusWidget(), box(4));
    const std::array<QString, 4> octets = {"192", "168", "1", "10"};
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(box(k)->text(), octets[static_cast<size_t>(k - 1)]) << k;
    EXPECT_EQ(shown("lbClass"), QStringLiteral("Local (/16 Network)"));
    EXPECT_EQ(shown("lbBreakdown"), QStringLiteral("Local Subnet 1 of 256 Node 10 of 254"));
    EXPECT_EQ(shown("lbIPBinary"), QStringLiteral("Subnet 00000001 Node 00001010"));
    EXPECT_EQ(shown("lbSNBinary"), QStringLiteral("11111111 11111111 11111111 00000000"));
    EXPECT_EQ(shown("lbReserved"), QStringLiteral("192.168.1.0"));
    EXPECT_EQ(shown("lbBroadcast"), QStringLiteral("192.168.1.255"));
    EXPECT_EQ(shown("lbSubnet"), QStringLiteral("192.168.1.1 - 192.168.1.254"));
    EXPECT_EQ(shown("lbAddresses"), QStringLiteral("256 Total, 254 Usable (253 + Gateway)"));
}

// One user action in an octet box: earlier typing in the boxes, then keys typed from a start box.
struct KeyRow
{
    const char* name;
    std::array<const char*, 4> before;
    int start;
    const char* keys;
    std::array<const char*, 4> after;
    int focus;
    const char* selected;
};

const KeyRow kKeyRows[] = {
    {"FullStopInEmptyBoxDoesNothing", {"1", "", "", ""}, 2, ".", {"1", "", "", ""}, 2, ""},
    {"FullStopInLastBoxDoesNothing", {"1", "2", "3", "4"}, 4, ".", {"1", "2", "3", "4"}, 4, ""},
    {"FullStopMovesOnAndSelectsTheNextBox", {"1", "22", "", ""}, 1, ".", {"1", "22", "", ""}, 2, "22"},
    {"BackspaceInEmptyBoxMovesBackAndSelects", {"1", "22", "", ""}, 3, "\b", {"1", "22", "", ""}, 2, "22"},
    {"BackspaceInEmptyFirstBoxStays", {"", "5", "", ""}, 1, "\b", {"", "5", "", ""}, 1, ""},
    {"BackspaceInBoxWithTextDeletes", {"1", "22", "", ""}, 2, "\b", {"1", "2", "", ""}, 2, ""},
    {"LettersBlanksAndSignsAreDropped", {"", "", "", ""}, 1, "a1 b-2+,", {"12", "", "", ""}, 1, ""},
    {"OctetAbove255BecomesIt", {"", "", "", ""}, 3, "300", {"", "", "255", ""}, 3, ""},
    {"NoAdvanceAfterThreeDigits", {"", "", "", ""}, 1, "0001", {"0001", "", "", ""}, 1, ""},
};

class IpPageKeys : public IpPageTest, public testing::WithParamInterface<KeyRow>
{ };

TEST_P(IpPageKeys, FilterMovesFocusOrEditsTheBox)
{
    const KeyRow& row = GetParam();
    for (int k = 1; k <= 4; ++k)
        typeInto(k, QLatin1String(row.before[static_cast<size_t>(k - 1)]));
    typeInto(row.start, QLatin1String(row.keys));

    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(box(k)->text(), QLatin1String(row.after[static_cast<size_t>(k - 1)])) << k;
    EXPECT_EQ(QApplication::focusWidget(), box(row.focus));
    EXPECT_EQ(box(row.focus)->selectedText(), QLatin1String(row.selected));
}

INSTANTIATE_TEST_SUITE_P(Rows, IpPageKeys, testing::ValuesIn(kKeyRows), test::RowName());

TEST_F(IpPageTest, CorrectedOctetIsComputedAsItsCorrection)
{
    typeInto(1, QStringLiteral("10.300"));
    EXPECT_EQ(box(2)->text(), QStringLiteral("255"));
    EXPECT_EQ(shown("lbReserved"), QStringLiteral("10.255.0.0"));
    EXPECT_EQ(shown("lbIPBinary"), QStringLiteral("Subnet 1111111100000000 Node 00000000"));
}

TEST_F(IpPageTest, ClipboardShortcutsWorkAndPastesAreCorrected)
{
    QApplication::clipboard()->setText(QStringLiteral("-5"));
    typeInto(2, QString());
    QTest::keyClick(box(2), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box(2)->text(), QStringLiteral("0"));

    QApplication::clipboard()->setText(QStringLiteral("x7"));
    typeInto(1, QStringLiteral("12"));
    QTest::keyClick(box(1), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box(1)->text(), QStringLiteral("12x7"));
    EXPECT_EQ(shown("lbClass"), QStringLiteral("Invalid Address")) << "text that is no number counts as 0";

    QTest::keyClick(box(1), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box(1), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("12x7"));
    EXPECT_TRUE(box(1)->text().isEmpty());
    QTest::keyClick(box(1), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(box(1)->text(), QStringLiteral("12x7"));
    QTest::keyClick(box(1), Qt::Key_A, Qt::ControlModifier);
    type(QStringLiteral("8"));
    EXPECT_EQ(shown("lbClass"), QStringLiteral("Class A (/8 Network)"));
}

TEST_F(IpPageTest, PickingAPrefixOrAMaskBringsTheOtherListAlong)
{
    typeInto(1, QStringLiteral("200.1.2.3"));
    EXPECT_EQ(shown("lbBreakdown"), QStringLiteral("Net 13107458 Node 3 of 254"));

    pressOn("cbSlash", Qt::Key_Up, 8);
    EXPECT_EQ(combo("cbSlash")->currentText(), QStringLiteral("/ 16"));
    EXPECT_EQ(combo("cbMask")->currentText(), QStringLiteral("255.255.0.0"));
    EXPECT_EQ(shown("lbBreakdown"), QStringLiteral("Invalid Class / Subnet Combination"));
    EXPECT_EQ(shown("lbIPBinary"), QStringLiteral("11001000 00000001 00000010 00000011"));
    EXPECT_EQ(shown("lbReserved"), QStringLiteral("200.1.0.0"));

    pressOn("cbMask", Qt::Key_End);
    EXPECT_EQ(combo("cbMask")->currentText(), QStringLiteral("255.255.255.252"));
    EXPECT_EQ(combo("cbSlash")->currentText(), QStringLiteral("/ 30"));
    EXPECT_EQ(shown("lbAddresses"), QStringLiteral("4 Total, 2 Usable (1 + Gateway)"));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(IpPageTest, TabOrderRunsThroughBoxesThenLists)
{
    box(1)->setFocus(Qt::MouseFocusReason);
    QStringList order {QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(order.join(' '), QStringLiteral("tbIP1 tbIP2 tbIP3 tbIP4 cbSlash cbMask"));
}

TEST_F(IpPageTest, SmallGreyTextsAndWindowFontTexts)
{
    const char* small[] = {"lbIPBinary", "lbBreakdown", "lbSNBinary", "Label22", "Label23",
                           "Label24",    "Label16",     "Label18",    "Label19", "Label20"};
    for (const char* name : small) {
        EXPECT_EQ(label(name)->font().pixelSize(), 9) << name;
        EXPECT_EQ(label(name)->font().family(), QStringLiteral("Arial")) << name;
        EXPECT_EQ(label(name)->palette().color(QPalette::WindowText), QColor(85, 85, 85)) << name;
    }
    const char* normal[] = {"Label7", "Label8", "Label11", "Label21", "Label12", "lbClass", "lbSubnet"};
    for (const char* name : normal) {
        EXPECT_EQ(label(name)->font().pixelSize(), 11) << name;
        EXPECT_EQ(label(name)->palette().color(QPalette::WindowText), QColor(Qt::black)) << name;
    }
}

TEST_F(IpPageTest, ControlsStandAtTheirPlaces)
{
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(box(k)->geometry(), QRect(116 + 40 * (k - 1), 12, 33, 22)) << k;
    EXPECT_EQ(combo("cbSlash")->geometry(), QRect(280, 12, 49, 22));
    EXPECT_EQ(combo("cbMask")->geometry(), QRect(116, 72, 141, 22));
    EXPECT_EQ(label("lbIPBinary")->pos(), QPoint(116, 40));
    EXPECT_EQ(label("lbSubnet")->pos(), QPoint(120, 188));
    EXPECT_EQ(label("Label20")->pos(), QPoint(150, 240));
    EXPECT_EQ(label("Label23")->geometry().right(), 26 + 82 - 1);
    for (const char* caption : {"Label21", "Label13", "Label15", "Label14", "Label12"})
        EXPECT_EQ(label(caption)->geometry().right(), 111) << caption;
    EXPECT_EQ(label("Label7")->buddy(), box(1));
    EXPECT_EQ(label("Label11")->buddy(), combo("cbMask"));
}

// The longest texts each label can get must stay whole inside the page.
TEST_F(IpPageTest, LongestResultsFitThePage)
{
    const int pageWidth = window.tsIP->width();
    const auto checkFit = [&](const QString& when) {
        for (const char* name : kResultLabels) {
            const QLabel* l = label(name);
            EXPECT_GE(l->width(), l->sizeHint().width()) << name << " " << when.toStdString();
            EXPECT_LE(l->geometry().right(), pageWidth - 1) << name << " " << when.toStdString();
        }
    };
    typeInto(1, QStringLiteral("192.168.1.10"));
    checkFit(QStringLiteral("192.168.1.10/24"));
    pressOn("cbSlash", Qt::Key_End);
    box(1)->setFocus(Qt::TabFocusReason);
    type(QStringLiteral("239.255.255.254"));
    checkFit(QStringLiteral("239.255.255.254/30"));
    pressOn("cbSlash", Qt::Key_Home);
    checkFit(QStringLiteral("239.255.255.254/8"));
    EXPECT_EQ(shown("lbAddresses"), QStringLiteral("16777216 Total, 16777214 Usable (16777213 + Gateway)"));
    EXPECT_LT(label("lbAddresses")->font().pixelSize(), 11) << "too long for the window's font";

    pressOn("cbSlash", Qt::Key_End);
    EXPECT_EQ(label("lbAddresses")->font(), window.tsIP->font());
    EXPECT_EQ(label("lbIPBinary")->font().pixelSize(), 9);
}

struct TypedRow
{
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;
    std::optional<char32_t> typed;
};

const TypedRow kTypedRows[] = {
    {"Digit", Qt::Key_7, Qt::NoModifier, "7", U'7'},
    {"KeypadDigit", Qt::Key_7, Qt::KeypadModifier, "7", U'7'},
    {"BackspaceWithText", Qt::Key_Backspace, Qt::NoModifier, "\b", 8},
    {"BackspaceWithoutText", Qt::Key_Backspace, Qt::NoModifier, "", 8},
    {"BackspaceWithDelText", Qt::Key_Backspace, Qt::NoModifier, "\x7f", 8},
    {"DeleteTypesNothing", Qt::Key_Delete, Qt::NoModifier, "\x7f", std::nullopt},
    {"ShiftAloneTypesNothing", Qt::Key_Shift, Qt::ShiftModifier, "", std::nullopt},
    {"CtrlVAsLetter", Qt::Key_V, Qt::ControlModifier, "v", 22},
    {"CtrlVAsControlCode", Qt::Key_V, Qt::ControlModifier, "\x16", 22},
    {"CtrlShiftZ", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "Z", 26},
    {"CtrlDigitTypesNothing", Qt::Key_1, Qt::ControlModifier, "1", std::nullopt},
    {"AltLetterIsFiltered", Qt::Key_A, Qt::AltModifier, "a", U'a'},
    {"AltGrSign", Qt::Key_At, Qt::ControlModifier | Qt::AltModifier, "@", U'@'},
};

class IpPageTypedCharacter : public testing::TestWithParam<TypedRow>
{ };

TEST_P(IpPageTypedCharacter, MapsKeyPressToTheCharacterTheFilterSees)
{
    const TypedRow& row = GetParam();
    const QKeyEvent event(QEvent::KeyPress, row.key, row.modifiers, QString::fromLatin1(row.text));
    EXPECT_EQ(IpPage::TypedCharacter(event), row.typed);
}

INSTANTIATE_TEST_SUITE_P(Rows, IpPageTypedCharacter, testing::ValuesIn(kTypedRows), test::RowName());

} // namespace
} // namespace tarvelle
