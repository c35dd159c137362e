#include "FakePlatform.h"
#include "Tarvelle01.h"

#include <gtest/gtest.h>

namespace tarvelle {
namespace {

TEST(IpPage, IsAPageOfTheMainWindow)
{
    test::FakePlatform platform;
    TfrmBandwidthCalc window(platform);
    EXPECT_NE(window.findChild<QWidget*>(QStringLiteral("tsIP")), nullptr);
}

} // namespace
} // namespace tarvelle
