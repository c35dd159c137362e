#include "FakePlatform.h"
#include "FormCreate.h"
#include "HembryLib.h"
#include "HembryTabs.h"
#include "Tarvelle01.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTabBar>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvelle {
namespace {

class MainWindowTest : public testing::Test
{
protected:
    test::FakePlatform platform;
    TfrmBandwidthCalc window {platform};
};

TEST_F(MainWindowTest, FixedClientAreaAndCaption)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tarvelle"));
    EXPECT_EQ(window.size(), QSize(393, 305));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(208, 208, 208));
    EXPECT_EQ(window.font().pixelSize(), 11);
    EXPECT_EQ(window.font().family(), QStringLiteral("Arial"));
}

TEST_F(MainWindowTest, PageControlHoldsTheFourPagesInOrder)
{
    EXPECT_EQ(window.pcMain->geometry(), QRect(8, 8, 377, 289));
    const std::vector<std::pair<QString, QString>> pages = {{"tsAbout", "About"},
                                                            {"tsBandwidth", "Bandwidth Calculator"},
                                                            {"tsIP", "IP Calculator"},
                                                            {"tsPasswords", "Password Generator"}};
    ASSERT_EQ(window.pcMain->count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(window.pcMain->widget(i)->objectName(), pages[static_cast<size_t>(i)].first);
        EXPECT_EQ(window.pcMain->tabText(i), pages[static_cast<size_t>(i)].second);
    }
}

TEST_F(MainWindowTest, OpensOnAboutThoughTheLayoutWasStoredOnPasswords)
{
    EXPECT_EQ(window.pcMain->currentWidget(), window.findChild<QWidget*>(QStringLiteral("tsAbout")));
}

TEST_F(MainWindowTest, AllTabsShowSideBySideWithoutScrollArrows)
{
    window.show();
    QApplication::processEvents();
    const QTabBar* bar = window.pcMain->tabBar();
    EXPECT_FALSE(bar->usesScrollButtons());
    const QFontMetrics fm(window.font());
    int right = 0;
    for (int i = 0; i < bar->count(); ++i) {
        const QRect r = bar->tabRect(i);
        EXPECT_GE(r.left(), right) << i;
        EXPECT_GE(r.width(), fm.horizontalAdvance(bar->tabText(i))) << i;
        right = r.right();
    }
    EXPECT_LE(right, window.pcMain->width());
}

TEST(MainWindowEntropy, CreationTakesTheFirstWordFromTickAndTwoCursorReads)
{
    test::FakePlatform platform;
    platform.tick = 0x00ABCDEF;
    platform.cursorReads = {{100, 200}, {300, 400}};
    TfrmBandwidthCalc window(platform);
    // The one draw from the fresh generator is 0 and leaves the seed at 1.
    EXPECT_EQ(window.generator().GeneratorSeed, 1U);
    EXPECT_EQ(window.entropy().FEntropy, 0x00ABCDEFU ^ 100U ^ 400U);
}

TEST_F(MainWindowTest, MouseOverTheMarginStirsTheEntropyWord)
{
    platform.tick = 0x12345678;
    const uint32_t before = window.entropy().FEntropy;
    const uint32_t seed = window.generator().GeneratorSeed;
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 4), window.mapToGlobal(QPointF(3, 4)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&window, &move);

    LcgRandom expectedDraw(seed);
    const int32_t rotation = static_cast<int32_t>(expectedDraw.RandomBelow(31));
    const QPoint screen = window.mapToGlobal(QPoint(3, 4));
    EXPECT_EQ(window.generator().GeneratorSeed, expectedDraw.GeneratorSeed);
    EXPECT_EQ(window.entropy().FEntropy,
              before ^ static_cast<uint32_t>(screen.x()) ^ static_cast<uint32_t>(screen.y())
                  ^ RotateLeft32(0x12345678, rotation));
}

TEST_F(MainWindowTest, MouseOverThePageControlDoesNotStir)
{
    const uint32_t before = window.entropy().FEntropy;
    const uint32_t seed = window.generator().GeneratorSeed;
    for (QWidget* target : {static_cast<QWidget*>(window.pcMain), window.pcMain->currentWidget(),
                            static_cast<QWidget*>(window.pcMain->tabBar())}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
    }
    EXPECT_EQ(window.entropy().FEntropy, before);
    EXPECT_EQ(window.generator().GeneratorSeed, seed);
}

class Recorder : public FormCreateSteps
{
public:
    std::vector<std::string> calls;
    void SetBandwidthUnits() override { calls.emplace_back("bandwidth units"); }
    void SetIpLists() override { calls.emplace_back("ip lists"); }
    void SetPasswordMode() override { calls.emplace_back("password mode"); }
    void ShowAboutPage() override { calls.emplace_back("about page"); }
    void TakeFirstEntropyWord() override { calls.emplace_back("entropy"); }
    void RunToleranceChange() override { calls.emplace_back("tolerance"); }
};

TEST(FormCreate, RunsItsStepsInOrder)
{
    Recorder recorder;
    RunFormCreate(recorder);
    EXPECT_EQ(recorder.calls,
              (std::vector<std::string> {"bandwidth units", "ip lists", "password mode", "about page", "entropy",
                                         "tolerance"}));
}

struct PlacementCase
{
    const char* name;
    QRect frame;
    QRect available;
    QPoint expected;
};

class Placement : public testing::TestWithParam<PlacementCase>
{ };

TEST_P(Placement, KeepsTheWindowOnScreen)
{
    EXPECT_EQ(PlaceInside(GetParam().frame, GetParam().available), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, Placement,
    testing::Values(
        PlacementCase {"LargeScreenKeepsLayout", QRect(881, 489, 399, 330), QRect(0, 0, 1920, 1040), QPoint(881, 489)},
        PlacementCase {"SmallScreenMovesLeftAndUp", QRect(881, 489, 399, 330), QRect(0, 0, 1024, 740),
                       QPoint(625, 410)},
        PlacementCase {"OnlyTooFarRight", QRect(881, 100, 399, 330), QRect(0, 0, 1024, 740), QPoint(625, 100)},
        PlacementCase {"OffsetAvailableArea", QRect(881, 489, 399, 330), QRect(50, 30, 800, 600), QPoint(451, 300)},
        PlacementCase {"TinyScreenShowsTopLeft", QRect(881, 489, 399, 330), QRect(0, 0, 320, 240), QPoint(0, 0)}),
    [](const testing::TestParamInfo<PlacementCase>& row) { return std::string(row.param.name); });

} // namespace
} // namespace tarvelle
