#include "FakePlatform.h"
#include "Tarvelle01.h"

#include <gtest/gtest.h>

namespace tarvelle {
namespace {

TEST(PasswordPage, IsAPageOfTheMainWindow)
{
    test::FakePlatform platform;
    TfrmBandwidthCalc window(platform);
    EXPECT_NE(window.findChild<QWidget*>(QStringLiteral("tsPasswords")), nullptr);
}

} // namespace
} // namespace tarvelle
