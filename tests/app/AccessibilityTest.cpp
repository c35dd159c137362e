// What a screen reader is told about every control of the four pages, and the About links by keyboard.
#include "AboutPage.h"
#include "BandwidthPage.h"
#include "FakePlatform.h"
#include "HembryTabs.h"
#include "IpPage.h"
#include "LinkLabel.h"
#include "ResultLabel.h"
#include "RowName.h"
#include "Tarvelle01.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

struct SpokenRow
{
    const char* name; // the control's objectName
    QAccessible::Role role;
    const char* spoken; // its accessible name
    const char* caption = nullptr; // a result label's caption label, which labels it
};

const SpokenRow kSpoken[] = {
    {"Label6", QAccessible::Link, "Quenfield Software"},
    {"Label40", QAccessible::Link, "Ostrelin"},
    {"Label42", QAccessible::Link, "Vantrix"},
    {"btnBW", QAccessible::Button, "Bandwidth"},
    {"tbBW", QAccessible::EditableText, "Bandwidth"},
    {"cbBWUnit", QAccessible::ComboBox, "Rate unit"},
    {"cbCommon", QAccessible::ComboBox, "Common rates"},
    {"lbBWTol", QAccessible::StaticText, "Bandwidth tolerance"},
    {"btnDS", QAccessible::Button, "Data Size"},
    {"tbDS", QAccessible::EditableText, "Data size"},
    {"cbDSUnit", QAccessible::ComboBox, "Size unit"},
    {"lbDSTol", QAccessible::StaticText, "Data size tolerance"},
    {"btnTm", QAccessible::Button, "Time"},
    {"tbTm", QAccessible::EditableText, "Time"},
    {"cbTmUnit", QAccessible::ComboBox, "Time unit"},
    {"lbTmTol", QAccessible::StaticText, "Time tolerance"},
    {"seTol", QAccessible::SpinBox, "Tolerance in percent"},
    {"tbIP1", QAccessible::EditableText, "IP address, octet 1"},
    {"tbIP2", QAccessible::EditableText, "IP address, octet 2"},
    {"tbIP3", QAccessible::EditableText, "IP address, octet 3"},
    {"tbIP4", QAccessible::EditableText, "IP address, octet 4"},
    {"cbSlash", QAccessible::ComboBox, "Prefix length"},
    {"cbMask", QAccessible::ComboBox, "Subnet mask"},
    {"lbIPBinary", QAccessible::StaticText, "Binary Representation", "Label22"},
    {"lbBreakdown", QAccessible::StaticText, "Decimal Breakdown", "Label23"},
    {"lbSNBinary", QAccessible::StaticText, "Binary Representation", "Label24"},
    {"lbClass", QAccessible::StaticText, "Address Class", "Label21"},
    {"lbReserved", QAccessible::StaticText, "Reserved Address", "Label13"},
    {"lbBroadcast", QAccessible::StaticText, "Broadcast Address", "Label15"},
    {"lbAddresses", QAccessible::StaticText, "Available Addresses", "Label14"},
    {"lbSubnet", QAccessible::StaticText, "Usable Range", "Label12"},
    {"seMinLen", QAccessible::SpinBox, "Minimum password length"},
    {"seMaxLen", QAccessible::SpinBox, "Maximum password length"},
    {"ckbUpper", QAccessible::CheckBox, "UPPERCASE Alphabetic"},
    {"seUpper1", QAccessible::SpinBox, "Minimum uppercase letters"},
    {"seUpper2", QAccessible::SpinBox, "Maximum uppercase letters"},
    {"ckbLower", QAccessible::CheckBox, "lowercase Alphabetic"},
    {"seLower1", QAccessible::SpinBox, "Minimum lowercase letters"},
    {"seLower2", QAccessible::SpinBox, "Maximum lowercase letters"},
    {"ckbNumeric", QAccessible::CheckBox, "Numeric"},
    {"seNum1", QAccessible::SpinBox, "Minimum digits"},
    {"seNum2", QAccessible::SpinBox, "Maximum digits"},
    {"ckbOther", QAccessible::CheckBox, "Other"},
    {"tbOther", QAccessible::EditableText, "Other characters"},
    {"seOther1", QAccessible::SpinBox, "Minimum other characters"},
    {"seOther2", QAccessible::SpinBox, "Maximum other characters"},
    {"cbWordMode", QAccessible::ComboBox, "Pronounceability"},
    {"btnGo", QAccessible::Button, "Generate ->"},
    {"seGenerate", QAccessible::SpinBox, "Number of passwords"},
    {"btnSave", QAccessible::Button, "Save List"},
    {"lbPasswords", QAccessible::List, "Passwords"},
};

class SpokenControls : public testing::TestWithParam<SpokenRow>
{
protected:
    SpokenControls()
    {
        // Results to speak: an address and a rate with its tolerance line.
        window.pcMain->setCurrentWidget(window.tsIP);
        QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("tbIP1")), QStringLiteral("192"));
        window.pcMain->setCurrentWidget(window.tsBandwidth);
        QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("tbBW")), QStringLiteral("1"));
    }

    test::FakePlatform platform;
    TfrmBandwidthCalc window {platform};
};

// A widget's own text as the user sees it: the value a screen reader speaks after the name.
QString ShownText(QWidget* w)
{
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    return {};
}

TEST_P(SpokenControls, HasItsRoleAndNameAndShowsItsTextAsTheValue)
{
    const SpokenRow& row = GetParam();
    auto* w = window.findChild<QWidget*>(QLatin1String(row.name));
    ASSERT_NE(w, nullptr);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), row.role);
    EXPECT_EQ(face->text(QAccessible::Name), QLatin1String(row.spoken));
    if (row.role == QAccessible::ComboBox || row.role == QAccessible::StaticText) {
        EXPECT_EQ(face->text(QAccessible::Value), ShownText(w));
    }
    if (row.caption) {
        bool labelled = false;
        for (const auto& [other, relation] : face->relations(QAccessible::Label))
            labelled = labelled || other->object()->objectName() == QLatin1String(row.caption);
        EXPECT_TRUE(labelled) << "not labelled by " << row.caption;
    }
}

INSTANTIATE_TEST_SUITE_P(Window, SpokenControls, testing::ValuesIn(kSpoken), test::RowName());

TEST(SpokenControlsTable, ListsEveryInputAndResultOfThePages)
{
    test::FakePlatform platform;
    TfrmBandwidthCalc window(platform);
    QStringList listed;
    for (const SpokenRow& row : kSpoken)
        listed << QLatin1String(row.name);
    QStringList found;
    QList<QWidget*> widgets;
    for (int page = 0; page < window.pcMain->count(); ++page)
        widgets += window.pcMain->widget(page)->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)
            || qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QAbstractButton*>(w)
            || qobject_cast<QAbstractItemView*>(w) || qobject_cast<LinkLabel*>(w) || qobject_cast<ResultLabel*>(w);
        // Parts of a compound control (a spin box's editor, a list's scroll bars) are not controls of their own.
        if (control && !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            found << w->objectName();
    }
    listed.sort();
    found.sort();
    EXPECT_EQ(found.join(' ').toStdString(), listed.join(' ').toStdString());
}

// ---- The About page's links by keyboard ----

struct KeyRow
{
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

class AboutLinkKeys : public testing::TestWithParam<KeyRow>
{
protected:
    QLabel* label(const char* name) const { return window.tsAbout->findChild<QLabel*>(QLatin1String(name)); }

    test::FakePlatform platform;
    TfrmBandwidthCalc window {platform};
};

TEST_P(AboutLinkKeys, TabReachesEachLinkAfterTheTabBarAndTheKeyOpensIt)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.pcMain->tabBar()->setFocus(Qt::OtherFocusReason);
    const std::pair<const char*, std::string> links[] = {{"Label6", "https://quenfield.example/"},
                                                         {"Label40", "https://ostrelin.example/"},
                                                         {"Label42", "https://vantrix.example/"}};
    for (const auto& [name, address] : links) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QLabel* focused = label(name);
        ASSERT_TRUE(focused->hasFocus()) << name;
        // The focus shows as a frame: the link looks different with the focus than without.
        const QImage withFocus = focused->grab().toImage();
        focused->clearFocus();
        EXPECT_NE(focused->grab().toImage(), withFocus) << name;
        focused->setFocus(Qt::TabFocusReason);

        platform.openedUrls.clear();
        platform.enabledChanges.clear();
        QTest::keyClick(focused, GetParam().key, GetParam().modifiers);
        EXPECT_EQ(platform.openedUrls, std::vector<std::string> {address});
        EXPECT_EQ(platform.enabledChanges, (std::vector<bool> {false, true}));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.pcMain->tabBar());
}

INSTANTIATE_TEST_SUITE_P(Page, AboutLinkKeys,
                         testing::Values(KeyRow {"Enter", Qt::Key_Return, Qt::NoModifier},
                                         KeyRow {"KeypadEnter", Qt::Key_Enter, Qt::KeypadModifier},
                                         KeyRow {"Space", Qt::Key_Space, Qt::NoModifier}),
                         test::RowName());

TEST(AboutLinkKeyboard, OtherKeysOnALinkOpenNothing)
{
    test::FakePlatform platform;
    TfrmBandwidthCalc window(platform);
    auto* link = window.tsAbout->findChild<QLabel*>(QStringLiteral("Label40"));
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_Escape, Qt::Key_Down})
        QTest::keyClick(link, key);
    QTest::keyClick(link, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(platform.openedUrls.empty());
}

} // namespace
} // namespace tarvelle
