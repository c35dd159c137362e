#include "HembryTabs.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <optional>

namespace tarvelle {
namespace {

constexpr uint32_t kGrey = 0x00D0D0D0;
constexpr uint32_t kBlueBgr = 0x00FF0000; // pure blue in 0x00BBGGRR

struct Ink
{
    int top = -1;
    int bottom = -1;
    int left = -1;
    int right = -1;
};

// The bounding box of the pixels that are neither the fill nor the untouched background.
Ink FindInk(const QImage& image, QColor fill)
{
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c == fill || c == Qt::white)
                continue;
            if (ink.top < 0)
                ink.top = y;
            ink.bottom = y;
            ink.left = ink.left < 0 ? x : std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
        }
    }
    return ink;
}

class DrawColoredTabTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(11);
        pages.setFont(font);
        for (const char* caption : {"About", "Bandwidth Calculator", "IP Calculator", "Password Generator"})
            pages.addTab(new QWidget, QString::fromLatin1(caption));
    }

    QImage Draw(const QRect& rect, int tabIndex, bool active, const QString& caption = {}, uint32_t color = kGrey)
    {
        QImage image(140, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        DrawColoredTab(painter, pages, color, rect, tabIndex, active, caption);
        return image;
    }

    QTabWidget pages;
};

TEST_F(DrawColoredTabTest, FillsTheWholeRectangleInTheColour)
{
    const QRect rect(10, 5, 100, 20);
    const QImage image = Draw(rect, 0, true, {}, kBlueBgr);
    EXPECT_EQ(image.pixelColor(rect.topLeft()), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(rect.bottomRight()), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(rect.left() - 1, rect.top()), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(rect.right() + 1, rect.bottom()), QColor(Qt::white));
}

TEST_F(DrawColoredTabTest, SelectedAndOtherTabsDifferOnlyByOnePixelOfCaptionHeight)
{
    const QRect rect(0, 0, 120, 20);
    const Ink active = FindInk(Draw(rect, 1, true), ColorFromBgr(kGrey));
    const Ink other = FindInk(Draw(rect, 1, false), ColorFromBgr(kGrey));
    ASSERT_GE(active.top, 0);
    EXPECT_EQ(other.top, active.top + 1);
    EXPECT_EQ(other.left, active.left);
    EXPECT_EQ(other.right, active.right);
}

TEST_F(DrawColoredTabTest, BottomTabsMoveTheCaptionTwoPixelsApart)
{
    pages.setTabPosition(QTabWidget::South);
    const QRect rect(0, 5, 120, 20);
    const Ink active = FindInk(Draw(rect, 0, true), ColorFromBgr(kGrey));
    const Ink other = FindInk(Draw(rect, 0, false), ColorFromBgr(kGrey));
    ASSERT_GE(active.top, 0);
    EXPECT_EQ(other.top, active.top - 2);
}

TEST_F(DrawColoredTabTest, NarrowTabCutsTheCaptionOnOneLine)
{
    const QRect rect(10, 5, 40, 20);
    const QImage image = Draw(rect, 3, true);
    const Ink ink = FindInk(image, ColorFromBgr(kGrey));
    ASSERT_GE(ink.top, 0);
    EXPECT_GE(ink.left, rect.left());
    EXPECT_LE(ink.right, rect.right());
    EXPECT_LE(ink.bottom - ink.top, pages.fontMetrics().height());
    // The cut caption ends in an ellipsis rather than in a clipped letter.
    const QString shown = pages.fontMetrics().elidedText(QStringLiteral("Password Generator"), Qt::ElideRight, 40);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
    EXPECT_EQ(image, Draw(rect, 0, true, shown));
}

TEST_F(DrawColoredTabTest, IndexCountsVisibleTabsOnly)
{
    pages.setTabVisible(1, false);
    const QRect rect(0, 0, 130, 20);
    EXPECT_EQ(Draw(rect, 1, true), Draw(rect, 0, true, QStringLiteral("IP Calculator")));
    EXPECT_EQ(Draw(rect, 2, false), Draw(rect, 0, false, QStringLiteral("Password Generator")));
}

TEST_F(DrawColoredTabTest, CaptionArgumentReplacesThePageCaption)
{
    const QRect rect(0, 0, 130, 20);
    EXPECT_NE(Draw(rect, 0, true, QStringLiteral("Other")), Draw(rect, 0, true));
    EXPECT_EQ(Draw(rect, 0, true, QStringLiteral("About")), Draw(rect, 0, true));
}

TEST(PageControl, EveryPageHasItsFinalSizeBeforeTheFirstShow)
{
    QWidget window;
    window.resize(400, 300);
    auto* pages = new PageControl(&window);
    pages->setGeometry(8, 8, 377, 289);
    auto* first = new QWidget(&window);
    auto* second = new QWidget(&window);
    pages->addTab(first, QStringLiteral("One"));
    pages->addTab(second, QStringLiteral("Two"));
    const QSize expected = pages->pageArea().size();
    EXPECT_EQ(first->size(), expected);
    EXPECT_EQ(second->size(), expected);
    window.show();
    pages->setCurrentWidget(second);
    QApplication::processEvents();
    EXPECT_EQ(second->size(), expected) << "the shown page keeps the size it was given";
}

TEST(ColorFromBgr, RedIsTheLowByte)
{
    EXPECT_EQ(ColorFromBgr(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(ColorFromBgr(0x00FF0000), QColor(0, 0, 255));
    EXPECT_EQ(ColorFromBgr(13684944), QColor(208, 208, 208));
}

} // namespace
} // namespace tarvelle
