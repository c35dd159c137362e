#include "SpinBox.h"
#include "FakePlatform.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace tarvelle {
namespace {

class SpinBoxWidgetTest : public testing::Test
{
protected:
    SpinBoxWidgetTest() : box(model, platform, &window)
    {
        model.onChange = [this] { ++changes; };
        other = new QLineEdit(&window);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        box.setFocus();
        box.selectAll();
    }

    test::FakePlatform platform;
    SpinBoxModel model {3, 1, 100};
    QWidget window;
    SpinBox box;
    QLineEdit* other = nullptr;
    int changes = 0;
};

TEST_F(SpinBoxWidgetTest, TypingReachesTheModelUnclamped)
{
    QTest::keyClicks(&box, "150");
    EXPECT_EQ(model.text(), "150");
    EXPECT_EQ(model.value(), 150);
    EXPECT_EQ(changes, 3); // "1", "15", "150"
    EXPECT_EQ(platform.beeps, 0);
}

TEST_F(SpinBoxWidgetTest, RefusedKeysBeepAndChangeNothing)
{
    QTest::keyClicks(&box, "a");
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_EQ(platform.beeps, 3);
    EXPECT_EQ(model.text(), "3");
    EXPECT_EQ(changes, 0);
}

TEST_F(SpinBoxWidgetTest, ArrowKeysStepAndClamp)
{
    QTest::keyClick(&box, Qt::Key_Up);
    EXPECT_EQ(model.text(), "4");
    model.setText("100");
    QTest::keyClick(&box, Qt::Key_Up);
    EXPECT_EQ(box.text(), QStringLiteral("100"));
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(box.text(), QStringLiteral("99"));
}

TEST_F(SpinBoxWidgetTest, LeavingTheBoxClampsATypedValue)
{
    QTest::keyClicks(&box, "150");
    other->setFocus();
    EXPECT_EQ(model.text(), "100");
    EXPECT_EQ(box.text(), QStringLiteral("100"));
}

TEST_F(SpinBoxWidgetTest, SyncShowsTheModelWithoutEchoingIntoIt)
{
    model.setText("42");
    const int before = changes;
    box.sync();
    EXPECT_EQ(box.text(), QStringLiteral("42"));
    EXPECT_EQ(changes, before);
}

} // namespace
} // namespace tarvelle
