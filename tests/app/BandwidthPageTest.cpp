#include "BandwidthPage.h"
#include "FakePlatform.h"
#include "HembryTabs.h"
#include "RowName.h"
#include "SpinBox.h"
#include "Tarvelle01.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

// A number or tolerance line as the page writes it under the user's locale (the examples use the full stop;
// the unit texts hold none).
QString Localised(const char* text)
{
    QString s = QString::fromUtf8(text);
    s.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
    return s;
}

const QColor kRed(255, 0, 0);

class BandwidthPageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        window.pcMain->setCurrentWidget(window.tsBandwidth);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    template <class W> W* Find(const char* name)
    {
        W* w = window.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    // Types into a box as the user does, at the end of its text.
    void Type(const char* box, const char* text)
    {
        QLineEdit* edit = Find<QLineEdit>(box);
        edit->setFocus();
        edit->end(false);
        QTest::keyClicks(edit, Localised(text));
    }

    // Moves the keyboard focus to a list and presses keys there, as the user picks an item.
    void PickByKeys(const char* list, const std::vector<Qt::Key>& keys)
    {
        QComboBox* combo = Find<QComboBox>(list);
        combo->setFocus();
        for (const Qt::Key key : keys)
            QTest::keyClick(combo, key);
    }

    QString Text(const char* box) { return Find<QLineEdit>(box)->text(); }
    QString Caption(const char* label) { return Find<QLabel>(label)->text(); }
    QColor Label1Colour() { return Find<QLabel>("Label1")->palette().color(QPalette::WindowText); }

    test::FakePlatform platform;
    TfrmBandwidthCalc window {platform};
};

TEST_F(BandwidthPageTest, StartsEmptyWithTheDefaultUnits)
{
    for (const char* box : {"tbBW", "tbDS", "tbTm"})
        EXPECT_EQ(Text(box), QString()) << box;
    for (const char* line : {"lbBWTol", "lbDSTol", "lbTmTol"})
        EXPECT_EQ(Caption(line), QStringLiteral(" ")) << line;
    EXPECT_EQ(Find<QComboBox>("cbBWUnit")->currentText(), QStringLiteral("Kbps (b10)"));
    EXPECT_EQ(Find<QComboBox>("cbDSUnit")->currentText(), QStringLiteral("KB (b2)"));
    EXPECT_EQ(Find<QComboBox>("cbTmUnit")->currentText(), QStringLiteral("min"));
    EXPECT_EQ(Find<QComboBox>("cbCommon")->currentIndex(), -1);
    EXPECT_EQ(Find<QComboBox>("cbCommon")->currentText(), QString());
    EXPECT_EQ(Find<SpinBox>("seTol")->text(), QStringLiteral("3"));
    EXPECT_EQ(Label1Colour(), QColor(Qt::black));
    for (const char* list : {"cbBWUnit", "cbDSUnit", "cbTmUnit", "cbCommon"})
        EXPECT_FALSE(Find<QComboBox>(list)->isEditable()) << list;
}

TEST_F(BandwidthPageTest, TypingARateWritesItsToleranceLine)
{
    Type("tbBW", "1");
    EXPECT_EQ(Caption("lbBWTol"), Localised("± 3%: 0.97 - 1.03 Kbps (b10)"));
    EXPECT_EQ(Label1Colour(), QColor(Qt::black));
}

TEST_F(BandwidthPageTest, DisagreeingValuesTurnLabel1RedUntilTheRateIsSolved)
{
    Type("tbBW", "1");
    Type("tbDS", "100");
    Type("tbTm", "2");
    EXPECT_EQ(Caption("lbDSTol"), Localised("± 3%: 97 - 103 KB (b2)"));
    EXPECT_EQ(Caption("lbTmTol"), Localised("± 3%: 1.94 - 2.06 min"));
    EXPECT_EQ(Label1Colour(), kRed);

    QTest::mouseClick(Find<QPushButton>("btnBW"), Qt::LeftButton);
    EXPECT_EQ(Text("tbBW"), Localised("6.82666666666667"));
    EXPECT_EQ(Find<QLineEdit>("tbBW")->cursorPosition(), 0) << "a written number shows from its first digit";
    EXPECT_EQ(Caption("lbBWTol"), Localised("± 3%: 6.62 - 7.03 Kbps (b10)"));
    EXPECT_EQ(Label1Colour(), QColor(Qt::black));
    EXPECT_EQ(platform.beeps, 0);
}

TEST_F(BandwidthPageTest, SolvingWithoutATimeBeepsAndChangesNothing)
{
    Type("tbDS", "100");
    const QString sizeLine = Caption("lbDSTol");
    QTest::mouseClick(Find<QPushButton>("btnBW"), Qt::LeftButton);
    EXPECT_EQ(platform.beeps, 1);
    EXPECT_EQ(Text("tbBW"), QString());
    EXPECT_EQ(Caption("lbBWTol"), QStringLiteral(" "));
    EXPECT_EQ(Text("tbDS"), QStringLiteral("100"));
    EXPECT_EQ(Caption("lbDSTol"), sizeLine);
}

TEST_F(BandwidthPageTest, ACommonRateShowsInTheSelectedUnitAndStaysChosen)
{
    PickByKeys("cbBWUnit", {Qt::Key_Down, Qt::Key_Down});
    ASSERT_EQ(Find<QComboBox>("cbBWUnit")->currentText(), QStringLiteral("Mbps (b10)"));
    PickByKeys("cbCommon", {Qt::Key_T});
    EXPECT_EQ(Text("tbBW"), Localised("1.544"));
    EXPECT_EQ(Caption("lbBWTol"), Localised("± 3%: 1.5 - 1.59 Mbps (b10)"));
    EXPECT_EQ(Find<QComboBox>("cbCommon")->currentText(), QStringLiteral("T-1 / DS-1"));

    // Another rate unit converts the rate and lets go of the common rate.
    PickByKeys("cbBWUnit", {Qt::Key_Down});
    EXPECT_EQ(Text("tbBW"), Localised("0.193"));
    EXPECT_EQ(Caption("lbBWTol"), Localised("± 3%: 0.19 - 0.2 MBps (b10)"));
    EXPECT_EQ(Find<QComboBox>("cbCommon")->currentIndex(), -1);
}

TEST_F(BandwidthPageTest, LettersInTheRateBoxOnlyClearTheCommonRate)
{
    PickByKeys("cbCommon", {Qt::Key_T});
    ASSERT_EQ(Text("tbBW"), QStringLiteral("1544"));
    const QString rateLine = Caption("lbBWTol");
    Type("tbBW", "x");
    EXPECT_EQ(Text("tbBW"), QStringLiteral("1544x"));
    EXPECT_EQ(Caption("lbBWTol"), rateLine);
    EXPECT_EQ(Find<QComboBox>("cbCommon")->currentIndex(), -1);
    EXPECT_EQ(Find<QComboBox>("cbCommon")->currentText(), QString());

    // The stored rate is still 1544 Kbps: with a time of 1 min the size comes out as its product.
    Type("tbTm", "1");
    QTest::mouseClick(Find<QPushButton>("btnDS"), Qt::LeftButton);
    EXPECT_EQ(Text("tbDS"), Localised("11308.59375"));
}

TEST_F(BandwidthPageTest, TypedToleranceIsUsedUnclampedUntilTheBoxIsLeft)
{
    Type("tbBW", "10");
    SpinBox* seTol = Find<SpinBox>("seTol");
    seTol->setFocus();
    QTest::keyClick(seTol, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(seTol, QStringLiteral("150"));
    EXPECT_EQ(seTol->text(), QStringLiteral("150"));
    EXPECT_EQ(Caption("lbBWTol"), Localised("± 150%: -4.99 - 25 Kbps (b10)"));

    Find<QLineEdit>("tbBW")->setFocus();
    EXPECT_EQ(seTol->text(), QStringLiteral("100"));
    EXPECT_EQ(Caption("lbBWTol"), Localised("± 100%: 0 - 20 Kbps (b10)"));

    seTol->setFocus();
    QTest::keyClick(seTol, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(seTol, Qt::Key_Backspace);
    EXPECT_EQ(seTol->text(), QString());
    EXPECT_EQ(Caption("lbBWTol"), Localised("± 1%: 9.9 - 10.1 Kbps (b10)"));
    EXPECT_EQ(platform.beeps, 0);
}

TEST_F(BandwidthPageTest, TabVisitsTheControlsInPageOrder)
{
    const std::vector<const char*> order
        = {"btnBW", "tbBW", "cbBWUnit", "cbCommon", "btnDS", "tbDS", "cbDSUnit", "btnTm", "tbTm", "cbTmUnit", "seTol"};
    Find<QPushButton>("btnBW")->setFocus();
    for (size_t k = 1; k < order.size(); ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QLatin1String(order[k])) << "after " << order[k - 1];
    }
}

TEST_F(BandwidthPageTest, AcceleratorsPressTheSolveButtons)
{
    // Alt+S solves the size from nothing stored: 0. Alt+B and Alt+T divide by zero and beep.
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Text("tbDS") == QStringLiteral("0"); }));

    QTest::keyClick(&window, Qt::Key_B, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return platform.beeps == 1; }));
    QTest::keyClick(&window, Qt::Key_T, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return platform.beeps == 2; }));
}

// The window as created, not shown, for the tables of places and captions.
template <class Row> class BandwidthPageTable : public testing::TestWithParam<Row>
{
protected:
    test::FakePlatform platform;
    TfrmBandwidthCalc window {platform};
};

struct GeometryRow
{
    const char* name;
    QRect rect;
};

const GeometryRow kGeometryRows[] = {
    {"btnBW", {8, 32, 65, 21}},       {"tbBW", {80, 32, 113, 22}},   {"cbBWUnit", {200, 32, 81, 22}},
    {"cbCommon", {288, 32, 73, 22}},  {"btnDS", {8, 80, 65, 21}},    {"tbDS", {80, 80, 113, 22}},
    {"cbDSUnit", {200, 80, 81, 22}},  {"btnTm", {8, 132, 65, 21}},   {"tbTm", {80, 132, 113, 22}},
    {"cbTmUnit", {200, 132, 81, 22}}, {"seTol", {297, 220, 49, 23}}, {"Label17", {8, 204, 217, 49}},
};

using BandwidthPageGeometry = BandwidthPageTable<GeometryRow>;

TEST_P(BandwidthPageGeometry, ControlSitsAtItsPlace)
{
    const QWidget* control = window.findChild<QWidget*>(QLatin1String(GetParam().name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->geometry(), GetParam().rect);
    EXPECT_EQ(control->parentWidget(), window.tsBandwidth);
}

INSTANTIATE_TEST_SUITE_P(Controls, BandwidthPageGeometry, testing::ValuesIn(kGeometryRows), test::RowName());

struct CaptionRow
{
    const char* name;
    QPoint pos;
    const char* text;
};

const CaptionRow kCaptionRows[] = {
    {"Label1", {6, 8}, "Click a button to calculate that value after filling in other fields"},
    {"Label2", {241, 224}, "Tolerance:"},
    {"Label3", {349, 224}, "%"},
    {"lbBWTol", {80, 56}, " "},
    {"lbDSTol", {80, 104}, " "},
    {"lbTmTol", {80, 156}, " "},
};

using BandwidthPageCaptions = BandwidthPageTable<CaptionRow>;

TEST_P(BandwidthPageCaptions, LabelShowsItsWholeTextAtItsPlace)
{
    const QLabel* label = window.findChild<QLabel*>(QLatin1String(GetParam().name));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->pos(), GetParam().pos);
    EXPECT_EQ(label->text(), QString::fromUtf8(GetParam().text));
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    EXPECT_EQ(label->size(), label->sizeHint()) << "sized to its text in the page's font";
    EXPECT_LE(label->geometry().right(), window.tsBandwidth->width()) << "beyond the page";
}

INSTANTIATE_TEST_SUITE_P(Labels, BandwidthPageCaptions, testing::ValuesIn(kCaptionRows), test::RowName());

TEST(BandwidthPageLook, SmallPrintFitsItsBoxAndButtonsCarryTheirAccelerators)
{
    test::FakePlatform platform;
    TfrmBandwidthCalc window(platform);
    const QLabel* label17 = window.findChild<QLabel*>(QStringLiteral("Label17"));
    ASSERT_NE(label17, nullptr);
    EXPECT_TRUE(label17->wordWrap());
    EXPECT_LT(label17->font().pixelSize(), window.font().pixelSize());
    EXPECT_LE(label17->heightForWidth(label17->width()), label17->height());
    EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("btnBW"))->text(), QStringLiteral("&Bandwidth"));
    EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("btnDS"))->text(), QStringLiteral("Data &Size"));
    EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("btnTm"))->text(), QStringLiteral("&Time"));
}

} // namespace
} // namespace tarvelle
