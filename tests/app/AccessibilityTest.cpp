// The About page's links by keyboard. What a screen reader reads of every control is checked through the real
// accessibility bus, by screen_reader_bus.py.
#include "AboutPage.h"
#include "FakePlatform.h"
#include "HembryTabs.h"
#include "RowName.h"
#include "Tarvelle01.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

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
