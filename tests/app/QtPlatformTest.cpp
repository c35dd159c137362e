#include "QtPlatform.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

namespace tarvelle {
namespace {

TEST(QtPlatformClipboard, PutsThePasswordAsPlainTextMarkedSecret)
{
    QtPlatform platform;
    platform.setClipboardText("Ab3!xy");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasText());
    EXPECT_EQ(data->text(), QStringLiteral("Ab3!xy"));
    EXPECT_TRUE(data->formats().contains(QStringLiteral("x-kde-passwordManagerHint")));
    EXPECT_EQ(data->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
}

} // namespace
} // namespace tarvelle
