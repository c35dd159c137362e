// The Password page from the keyboard and the clipboard: Enter and Ctrl+C on the list, and the Other set's
// refusal of control characters, typed or pasted.
#include "PasswordPageFixture.h"
#include "RowName.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRegularExpression>

#include <string>
#include <vector>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

using test::PasswordPageTest;

TEST_F(PasswordPageTest, EnterCopiesTheCurrentPasswordAsADoubleClickDoes)
{
    Click("btnGo");
    ASSERT_EQ(List()->count(), 9);
    // Tabbing into the list puts the focus frame on the first password without selecting it.
    List()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(List(), Qt::Key_Return);
    QTest::keyClick(List(), Qt::Key_Down);
    QTest::keyClick(List(), Qt::Key_Enter, Qt::KeypadModifier);
    const std::string first = List()->item(0)->text().toStdString();
    const std::string second = List()->item(1)->text().toStdString();
    EXPECT_EQ(platform.clipboard, (std::vector<std::string> {first, second}));
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text, "\"" + second + "\" has been copied to the clipboard.");
}

TEST_F(PasswordPageTest, CtrlCCopiesTheSelectedPasswordWithoutAMessage)
{
    Click("btnGo");
    ASSERT_EQ(List()->count(), 9);
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualItemRect(List()->item(3)).center());
    QTest::keyClick(List(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard, std::vector<std::string> {List()->item(3)->text().toStdString()});
    EXPECT_TRUE(platform.messages.empty());
}

struct OtherKeyRow
{
    const char* name;
    Qt::Key key;
    const char* typed; // the key's text
    Qt::KeyboardModifiers modifiers;
    int beeps;
    const char* after; // tbOther's text after the key, the cursor at its end before it
};

class OtherKeys : public PasswordPageTest, public testing::WithParamInterface<OtherKeyRow>
{ };

TEST_P(OtherKeys, ControlCharactersAreRefusedWithTheBeep)
{
    const OtherKeyRow& row = GetParam();
    auto* other = Find<QLineEdit>("tbOther");
    other->setFocus();
    other->end(false);
    QTest::sendKeyEvent(QTest::Click, other, row.key, QString::fromLatin1(row.typed), row.modifiers);
    EXPECT_EQ(platform.beeps, row.beeps);
    EXPECT_EQ(other->text(), QLatin1String(row.after));
}

INSTANTIATE_TEST_SUITE_P(
    Typed, OtherKeys,
    testing::Values(OtherKeyRow {"Enter", Qt::Key_Return, "\r", Qt::NoModifier, 1, "!@#$%^*"},
                    OtherKeyRow {"EscapeIsACommand", Qt::Key_Escape, "\x1b", Qt::NoModifier, 0, "!@#$%^*"},
                    OtherKeyRow {"CtrlJ", Qt::Key_J, "\n", Qt::ControlModifier, 1, "!@#$%^*"},
                    OtherKeyRow {"CtrlI", Qt::Key_I, "\t", Qt::ControlModifier, 1, "!@#$%^*"},
                    OtherKeyRow {"Backspace", Qt::Key_Backspace, "\b", Qt::NoModifier, 0, "!@#$%^"},
                    OtherKeyRow {"Printable", Qt::Key_Ampersand, "&", Qt::NoModifier, 0, "!@#$%^*&"}),
    test::RowName());

TEST_F(PasswordPageTest, PastedControlCharactersAreRemoved)
{
    auto* other = Find<QLineEdit>("tbOther");
    other->setFocus();
    other->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("a\nb\tc"));
    QTest::keyClick(other, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(other->text(), QStringLiteral("abc"));
    // Pasted inside the text, the cursor stays after what was pasted.
    other->setCursorPosition(1);
    QGuiApplication::clipboard()->setText(QStringLiteral("\r\n!\x7f"));
    QTest::keyClick(other, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(other->text(), QStringLiteral("a!bc"));
    EXPECT_EQ(other->cursorPosition(), 2);
    EXPECT_EQ(platform.beeps, 0);

    // What the run draws from is the box's text: the only class left is the pasted characters.
    for (const char* box : {"ckbUpper", "ckbLower", "ckbNumeric"})
        Click(box);
    Type("seOther2", "99");
    Type("seOther1", "12");
    QComboBox* mode = Find<QComboBox>("cbWordMode");
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Home);
    Click("btnGo");
    ASSERT_EQ(List()->count(), 9);
    for (const QString& password : Items())
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[a!bc]{12}$")).match(password).hasMatch())
            << password.toStdString();
}

} // namespace
} // namespace tarvelle
