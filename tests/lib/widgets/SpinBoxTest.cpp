#include "SpinBox.h"
#include "FakePlatform.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
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

TEST_F(SpinBoxWidgetTest, PageKeysAndTheWheelStepThroughTheModel)
{
    // Beyond the arrows: Page Up/Down step by ten and the wheel by one, clamped and announced like any step.
    QTest::keyClick(&box, Qt::Key_PageUp);
    EXPECT_EQ(model.text(), "13");
    model.setText("95");
    changes = 0;
    QTest::keyClick(&box, Qt::Key_PageUp);
    EXPECT_EQ(model.text(), "100");
    QTest::keyClick(&box, Qt::Key_PageDown);
    EXPECT_EQ(model.text(), "90");
    const QPointF at = box.rect().center();
    QWheelEvent wheel(at, box.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&box, &wheel);
    EXPECT_EQ(model.text(), "91");
    EXPECT_EQ(box.text(), QStringLiteral("91"));
    EXPECT_EQ(changes, 3);
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
