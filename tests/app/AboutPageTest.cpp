#include "AboutPage.h"
#include "FakePlatform.h"
#include "HembryTabs.h"
#include "RowName.h"
#include "Tarvelle01.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

class AboutPageTest : public testing::Test
{
protected:
    test::FakePlatform platform;
    TfrmBandwidthCalc window {platform};
    QWidget* page = window.findChild<QWidget*>(QStringLiteral("tsAbout"));

    QLabel* label(const char* name) const { return page->findChild<QLabel*>(QLatin1String(name)); }
};

// ---- Texts, fonts and places ----

enum class Ink {
    Page, // the window's black, which is also the text colour of the light window whatever the desktop
    Link, // pure blue
};

struct LabelRow
{
    const char* name;
    const char* text;
    int pixelSize;
    bool bold;
    bool underline;
    Ink ink;
    QPoint pos;
    QSize fixedSize; // empty: sized to its text
    bool wrapped;
};

const LabelRow kLabels[] = {
    {"Label4", "Tarvelle v1.0a", 13, true, false, Ink::Page, {104, 13}, {}, false},
    {"Label5", "\u00A9 2026", 11, false, false, Ink::Page, {101, 33}, {}, false},
    {"Label6", "Quenfield Software", 11, false, true, Ink::Link, {140, 33}, {}, false},
    {"Label38", "Why is this program free?  ", 11, true, false, Ink::Page, {12, 60}, {}, false},
    {"Label39",
     "We wanted to develop an easy-to-use, yet functional program for assisting with networking issues.  We decided "
     "to make it free in hopes that you would take a look at the other software that we offer on our web site.  Our "
     "most popular titles are:",
     11,
     false,
     false,
     Ink::Page,
     {12, 80},
     {345, 61},
     true},
    {"Label40", "Ostrelin", 11, false, true, Ink::Link, {12, 149}, {}, false},
    {"Label41",
     "Network inventory and change tracking for offices",
     11,
     false,
     false,
     Ink::Page,
     {80, 149},
     {269, 14},
     false},
    {"Label42", "Vantrix", 11, false, true, Ink::Link, {12, 177}, {}, false},
    {"Label43",
     "Remote desktop help over any network connection",
     11,
     false,
     false,
     Ink::Page,
     {80, 177},
     {269, 14},
     false},
    {"Label44",
     "Please take a few minutes to examine what we have to offer, and spread the word about this and our other "
     "products!  Just click on the blue links above for more information.",
     11,
     false,
     false,
     Ink::Page,
     {12, 204},
     {341, 41},
     true},
};

class AboutLabels : public AboutPageTest, public testing::WithParamInterface<LabelRow>
{ };

QColor Expected(Ink ink)
{
    switch (ink) {
    case Ink::Page:
        return Qt::black;
    case Ink::Link:
        return QColor(0, 0, 255);
    }
    return {};
}

TEST_P(AboutLabels, ShowsItsTextInItsFontAtItsPlace)
{
    const LabelRow& row = GetParam();
    const QLabel* l = label(row.name);
    ASSERT_NE(l, nullptr);
    // Plain text: rich text would fold the double blanks between sentences into one.
    EXPECT_EQ(l->textFormat(), Qt::PlainText);
    EXPECT_EQ(l->text(), QString::fromUtf8(row.text));
    EXPECT_EQ(l->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(l->font().pixelSize(), row.pixelSize);
    EXPECT_EQ(l->font().bold(), row.bold);
    EXPECT_EQ(l->font().underline(), row.underline);
    EXPECT_EQ(l->palette().color(QPalette::WindowText), Expected(row.ink));
    EXPECT_EQ(l->pos(), row.pos);
    EXPECT_EQ(l->wordWrap(), row.wrapped);
    EXPECT_TRUE(l->alignment() & Qt::AlignTop);
    if (row.fixedSize.isEmpty())
        EXPECT_EQ(l->size(), l->sizeHint());
    else
        EXPECT_EQ(l->size(), row.fixedSize);
}

TEST_P(AboutLabels, TextIsNotCut)
{
    const LabelRow& row = GetParam();
    const QLabel* l = label(row.name);
    ASSERT_NE(l, nullptr);
    const QFontMetrics metrics(l->font());
    const int flags = row.wrapped ? Qt::TextWordWrap : 0;
    const QRect needed = metrics.boundingRect(QRect(0, 0, l->width(), INT_MAX / 2), flags, l->text());
    EXPECT_LE(needed.width(), l->width());
    EXPECT_LE(needed.height(), l->height());
}

INSTANTIATE_TEST_SUITE_P(Page, AboutLabels, testing::ValuesIn(kLabels), test::RowName());

TEST_F(AboutPageTest, TitleIsCentred)
{
    EXPECT_TRUE(label("Label4")->alignment() & Qt::AlignHCenter);
}

TEST_F(AboutPageTest, ControlsLieInsideThePageWithoutOverlapping)
{
    window.show();
    QApplication::processEvents();
    const QList<QLabel*> labels = page->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), static_cast<qsizetype>(std::size(kLabels)) + 1); // and Image1
    for (qsizetype i = 0; i < labels.size(); ++i) {
        EXPECT_TRUE(page->rect().contains(labels[i]->geometry())) << labels[i]->objectName().toStdString();
        for (qsizetype j = i + 1; j < labels.size(); ++j)
            EXPECT_FALSE(labels[i]->geometry().intersects(labels[j]->geometry()))
                << labels[i]->objectName().toStdString() << " and " << labels[j]->objectName().toStdString();
    }
}

// ---- Clicks ----

struct LinkRow
{
    const char* name;
    const char* label;
    const char* address;
    bool opens; // what the platform answers
};

const LinkRow kLinks[] = {
    {"Maker", "Label6", "https://quenfield.example/", true},
    {"MakerBrowserFails", "Label6", "https://quenfield.example/", false},
    {"Ostrelin", "Label40", "https://ostrelin.example/", true},
    {"OstrelinBrowserFails", "Label40", "https://ostrelin.example/", false},
    {"Vantrix", "Label42", "https://vantrix.example/", true},
    {"VantrixBrowserFails", "Label42", "https://vantrix.example/", false},
};

class AboutLinkClicks : public AboutPageTest, public testing::WithParamInterface<LinkRow>
{ };

TEST_P(AboutLinkClicks, OpensItsAddressWithTheWindowDisabledMeanwhile)
{
    const LinkRow& row = GetParam();
    platform.openUrlResult = row.opens;
    QTest::mouseClick(label(row.label), Qt::LeftButton);
    EXPECT_EQ(platform.openedUrls, std::vector<std::string> {row.address});
    EXPECT_FALSE(platform.mainWindowEnabledDuringOpen);
    EXPECT_EQ(platform.enabledChanges, (std::vector<bool> {false, true}));
    EXPECT_TRUE(platform.mainWindowEnabled);
    EXPECT_TRUE(platform.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Page, AboutLinkClicks, testing::ValuesIn(kLinks), test::RowName());

struct QuietRow
{
    const char* name;
    const char* control;
};

const QuietRow kQuiet[] = {
    {"Title", "Label4"},         {"Notice", "Label5"},       {"Heading", "Label38"}, {"WhyFree", "Label39"},
    {"OstrelinText", "Label41"}, {"VantrixText", "Label43"}, {"Closing", "Label44"}, {"Icon", "Image1"},
};

class AboutQuietClicks : public AboutPageTest, public testing::WithParamInterface<QuietRow>
{ };

TEST_P(AboutQuietClicks, ClickDoesNothing)
{
    QLabel* l = label(GetParam().control);
    ASSERT_NE(l, nullptr);
    QTest::mouseClick(l, Qt::LeftButton);
    QTest::mouseDClick(l, Qt::LeftButton);
    EXPECT_TRUE(platform.openedUrls.empty());
    EXPECT_TRUE(platform.enabledChanges.empty());
}

INSTANTIATE_TEST_SUITE_P(Page, AboutQuietClicks, testing::ValuesIn(kQuiet), test::RowName());

struct GestureRow
{
    const char* name;
    std::function<void(QLabel*)> gesture;
    size_t opens;
};

const GestureRow kGestures[] = {
    {"RightClick", [](QLabel* l) { QTest::mouseClick(l, Qt::RightButton); }, 0},
    {"MiddleClick", [](QLabel* l) { QTest::mouseClick(l, Qt::MiddleButton); }, 0},
    {"ReleasedOutsideTheLabel",
     [](QLabel* l) {
         QTest::mousePress(l, Qt::LeftButton);
         QTest::mouseRelease(l, Qt::LeftButton, {}, QPoint(l->width() + 5, l->height() / 2));
     },
     0},
    {"DoubleClickOpensOnce",
     [](QLabel* l) {
         // What a widget receives from a double click: press, release, double click, release.
         QTest::mouseClick(l, Qt::LeftButton);
         QTest::mouseDClick(l, Qt::LeftButton);
         QTest::mouseRelease(l, Qt::LeftButton);
     },
     1},
    {"TwoClicksOpenTwice",
     [](QLabel* l) {
         QTest::mouseClick(l, Qt::LeftButton);
         QTest::mouseClick(l, Qt::LeftButton, {}, QPoint(), 1000);
     },
     2},
};

class AboutLinkGestures : public AboutPageTest, public testing::WithParamInterface<GestureRow>
{ };

TEST_P(AboutLinkGestures, OnlyALeftClickOnTheLabelOpens)
{
    GetParam().gesture(label("Label40"));
    EXPECT_EQ(platform.openedUrls.size(), GetParam().opens);
}

INSTANTIATE_TEST_SUITE_P(Page, AboutLinkGestures, testing::ValuesIn(kGestures), test::RowName());

TEST_F(AboutPageTest, LinksHaveNoHoverLook)
{
    window.show();
    QApplication::processEvents();
    for (const char* name : {"Label6", "Label40", "Label42"}) {
        QLabel* link = label(name);
        EXPECT_EQ(link->cursor().shape(), Qt::ArrowCursor) << name;
        const QImage before = link->grab().toImage();
        QEnterEvent enter(QPointF(2, 2), link->mapTo(&window, QPointF(2, 2)), link->mapToGlobal(QPointF(2, 2)));
        QApplication::sendEvent(link, &enter);
        QTest::mouseMove(link, QPoint(3, 3));
        EXPECT_EQ(link->grab().toImage(), before) << name;
        EXPECT_EQ(link->cursor().shape(), Qt::ArrowCursor) << name;
    }
}

// ---- The icon ----

TEST_F(AboutPageTest, ShowsTheProgramIconAtThirtyTwoPixels)
{
    const QLabel* image = label("Image1");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->geometry(), QRect(20, 12, 32, 32));
    const QImage shown = image->pixmap().toImage();
    ASSERT_EQ(shown.size(), QSize(32, 32));
    // The icon fills its square: the middle is opaque, a corner of the rounded tile transparent.
    EXPECT_EQ(qAlpha(shown.pixel(16, 16)), 255);
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
}

TEST_F(AboutPageTest, WindowCarriesTheProgramIconInEverySize)
{
    const QList<QSize> sizes = window.windowIcon().availableSizes();
    for (const int n : {16, 32, 48, 96, 256})
        EXPECT_TRUE(sizes.contains(QSize(n, n))) << n;
}

TEST(ProgramIcon, RawImagesHoldTheSamePixelsAsThePngs)
{
    // The raw images are generated from the PNGs; a stale one would show a different icon.
    for (const int n : kIconSizes) {
        const QImage png
            = QImage(QStringLiteral(":/icons/tarvelle-%1.png").arg(n)).convertToFormat(QImage::Format_RGBA8888);
        ASSERT_EQ(png.size(), QSize(n, n)) << n;
        EXPECT_EQ(IconImage(n), png) << n;
        // The icon holds premultiplied pixels: compare with the PNG made into a pixmap the same way.
        EXPECT_EQ(ProgramIcon().pixmap(n, n).toImage(), QPixmap::fromImage(png).toImage()) << n;
    }
}

uint32_t Le(const QByteArray& bytes, qsizetype at, int width)
{
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

uint32_t Be32(const QByteArray& bytes, qsizetype at)
{
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

struct IcoImage
{
    uint32_t size;
    uint32_t bits;
};

// The directory entry of an .ico and the image it points to must agree: a BMP entry carries its own header
// (height doubled for the mask), a PNG entry its IHDR chunk.
void ExpectEntry(const QByteArray& ico, int index, IcoImage want)
{
    const qsizetype at = 6 + 16 * index;
    SCOPED_TRACE("image " + std::to_string(index));
    EXPECT_EQ(Le(ico, at, 1), want.size % 256); // 0 stands for 256
    EXPECT_EQ(Le(ico, at + 1, 1), want.size % 256);
    EXPECT_EQ(Le(ico, at + 2, 1), want.bits == 4 ? 16u : 0u);
    EXPECT_EQ(Le(ico, at + 4, 2), 1u);
    EXPECT_EQ(Le(ico, at + 6, 2), want.bits);
    const uint32_t length = Le(ico, at + 8, 4);
    const uint32_t offset = Le(ico, at + 12, 4);
    ASSERT_LE(uint64_t {offset} + length, static_cast<uint64_t>(ico.size()));
    if (ico.mid(offset, 8) == QByteArray("\x89PNG\r\n\x1a\n", 8)) {
        EXPECT_EQ(Be32(ico, offset + 16), want.size);
        EXPECT_EQ(Be32(ico, offset + 20), want.size);
        EXPECT_EQ(Le(ico, offset + 24, 1), 8u); // 8 bits per channel
        EXPECT_EQ(Le(ico, offset + 25, 1), 6u); // RGBA
        return;
    }
    EXPECT_EQ(Le(ico, offset, 4), 40u);
    EXPECT_EQ(Le(ico, offset + 4, 4), want.size);
    EXPECT_EQ(Le(ico, offset + 8, 4), 2 * want.size);
    EXPECT_EQ(Le(ico, offset + 14, 2), want.bits);
    const uint32_t palette = want.bits <= 8 ? 4u << want.bits : 0u;
    const uint32_t colourRow = (want.size * want.bits + 31) / 32 * 4;
    const uint32_t maskRow = (want.size + 31) / 32 * 4;
    EXPECT_EQ(length, 40 + palette + want.size * (colourRow + maskRow));
}

TEST(ProgramIcon, IcoHoldsElevenImagesInSizeAndDepth)
{
    QFile file(QStringLiteral(":/tarvelle.ico"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray ico = file.readAll();
    const IcoImage images[]
        = {{48, 4}, {32, 4}, {16, 4}, {48, 8}, {32, 8}, {16, 8}, {256, 32}, {96, 32}, {48, 32}, {32, 32}, {16, 32}};
    ASSERT_GE(ico.size(), 6 + 16 * 11);
    EXPECT_EQ(Le(ico, 0, 2), 0u);
    EXPECT_EQ(Le(ico, 2, 2), 1u); // an icon, not a cursor
    ASSERT_EQ(Le(ico, 4, 2), 11u);
    for (int i = 0; i < 11; ++i)
        ExpectEntry(ico, i, images[i]);
}

} // namespace
} // namespace tarvelle
