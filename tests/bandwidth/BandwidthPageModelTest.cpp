#include "BandwidthPageModel.h"
#include "FakePlatform.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace tarvelle::bandwidth {
namespace {

using tarvelle::test::PrintTo;

const std::string kPm = "\u00B1";

constexpr int kBps = 0;
constexpr int kMbps10 = 4;
constexpr int kGbps10 = 6;
constexpr int kMBps2 = 11;
constexpr int kT1 = 11;

// The page after the window's creation handler: start units set, the tolerance handler run once.
class BandwidthPage : public testing::Test
{
protected:
    test::FakePlatform platform;
    BandwidthPageModel page {platform};

    void SetUp() override
    {
        page.SetInitialUnits();
        page.seTolChange();
    }

    // Types text one character at a time, as keystrokes would.
    static void Type(EditField& box, const std::string& text)
    {
        for (size_t n = 1; n <= text.size(); ++n)
            box.set(box.text() + text[n - 1]);
    }

    // Rate 1 Kbps (b10), size 100 KB (b2), time 2 min.
    void FillWorkedExample()
    {
        Type(page.tbBW, "1");
        Type(page.tbDS, "100");
        Type(page.tbTm, "2");
    }
};

TEST_F(BandwidthPage, StartsEmptyWithTheDefaultUnits)
{
    EXPECT_EQ(page.tbBW.text(), "");
    EXPECT_EQ(page.tbDS.text(), "");
    EXPECT_EQ(page.tbTm.text(), "");
    EXPECT_EQ(page.lbBWTol, " ");
    EXPECT_EQ(page.lbDSTol, " ");
    EXPECT_EQ(page.lbTmTol, " ");
    EXPECT_FALSE(page.label1Red);
    EXPECT_EQ(page.cbBWUnit.text(), "Kbps (b10)");
    EXPECT_EQ(page.cbDSUnit.text(), "KB (b2)");
    EXPECT_EQ(page.cbTmUnit.text(), "min");
    EXPECT_EQ(page.cbCommon.index(), -1);
    EXPECT_EQ(page.seTol.text(), "3");
    EXPECT_EQ(page.values.TolPercent, 3);
    EXPECT_EQ(page.values.StoredBW, 0);
    ASSERT_EQ(page.cbDSUnit.items().size(), 14U);
    EXPECT_EQ(page.cbDSUnit.items()[10], "Mb (b)");
    EXPECT_EQ(page.cbCommon.items().size(), 19U);
}

TEST(BandwidthPageBeforeStart, TypingWithoutUnitsChangesNothing)
{
    test::FakePlatform platform;
    BandwidthPageModel page(platform);
    EXPECT_EQ(page.cbBWUnit.index(), -1);
    page.tbBW.set("5");
    page.btnDSClick();
    EXPECT_EQ(page.values.StoredBW, 0);
    EXPECT_EQ(page.lbBWTol, " ");
    EXPECT_EQ(platform.beeps, 1);
}

TEST_F(BandwidthPage, TypingARateStoresItAndWritesItsLine)
{
    Type(page.tbBW, "1");
    EXPECT_EQ(page.values.StoredBW, 1000);
    EXPECT_EQ(page.lbBWTol, kPm + " 3%: 0.97 - 1.03 Kbps (b10)");
    EXPECT_FALSE(page.label1Red);
}

TEST_F(BandwidthPage, OneGigabitIsTenToTheNineBitsPerSecond)
{
    page.cbBWUnit.setIndex(kGbps10);
    page.tbBW.set("1");
    EXPECT_EQ(page.values.StoredBW, 1e9L);
    page.cbBWUnit.setIndex(kGbps10 + 1);
    page.tbBW.set("1.0");
    EXPECT_EQ(page.values.StoredBW, 8e9L);
}

TEST_F(BandwidthPage, SolvingTheRateMakesTheValuesAgree)
{
    FillWorkedExample();
    EXPECT_EQ(page.lbBWTol, kPm + " 3%: 0.97 - 1.03 Kbps (b10)");
    EXPECT_EQ(page.lbDSTol, kPm + " 3%: 97 - 103 KB (b2)");
    EXPECT_EQ(page.lbTmTol, kPm + " 3%: 1.94 - 2.06 min");
    EXPECT_TRUE(page.label1Red);

    page.btnBWClick();
    EXPECT_EQ(page.tbBW.text(), "6.82666666666667");
    // The box's own change handler re-read the 15-digit text.
    EXPECT_EQ(page.values.StoredBW, *TextToNumber("6.82666666666667") * 1000);
    EXPECT_EQ(page.lbBWTol, kPm + " 3%: 6.62 - 7.03 Kbps (b10)");
    EXPECT_FALSE(page.label1Red);
    EXPECT_EQ(platform.beeps, 0);
}

TEST_F(BandwidthPage, SolvingSizeAndTimeShowFifteenDigits)
{
    page.cbBWUnit.setIndex(kMbps10);
    page.cbDSUnit.setIndex(kMBps2);
    page.tbBW.set("10");
    page.tbTm.set("5");
    page.btnDSClick();
    EXPECT_EQ(page.tbDS.text(), "357.627868652344");
    EXPECT_FALSE(page.label1Red);

    page.cbDSUnit.setIndex(7);
    page.tbDS.set("4.7");
    page.tbBW.set("8");
    page.btnTmClick();
    EXPECT_EQ(page.tbTm.text(), "78.3333333333333");
    EXPECT_EQ(platform.beeps, 0);
}

TEST_F(BandwidthPage, FailedSolvesBeepAndChangeNothing)
{
    Type(page.tbDS, "100");
    page.btnBWClick();
    EXPECT_EQ(platform.beeps, 1);
    EXPECT_EQ(page.tbBW.text(), "");
    EXPECT_EQ(page.values.StoredBW, 0);
    EXPECT_EQ(page.lbBWTol, " ");

    page.btnTmClick();
    EXPECT_EQ(platform.beeps, 2);
    EXPECT_EQ(page.tbTm.text(), "");
    EXPECT_EQ(page.values.StoredTm, 0);
}

TEST_F(BandwidthPage, SolvingTheSizeFromNothingShowsZero)
{
    page.btnDSClick();
    EXPECT_EQ(page.tbDS.text(), "0");
    EXPECT_EQ(page.lbDSTol, kPm + " 3%: 0 - 0 KB (b2)");
    EXPECT_EQ(platform.beeps, 0);
}

TEST_F(BandwidthPage, DeletingTheWholeTextKeepsTheStoredValue)
{
    FillWorkedExample();
    page.tbDS.set("");
    EXPECT_EQ(page.values.StoredDS, 100 * 8192);
    EXPECT_EQ(page.lbDSTol, kPm + " 3%: 97 - 103 KB (b2)");
    page.btnBWClick();
    EXPECT_EQ(page.tbBW.text(), "6.82666666666667");
}

TEST_F(BandwidthPage, DeletingDigitsOneByOneStoresTheRemainingTexts)
{
    Type(page.tbDS, "100");
    page.tbDS.set("10");
    EXPECT_EQ(page.values.StoredDS, 10 * 8192);
    page.tbDS.set("1");
    EXPECT_EQ(page.values.StoredDS, 8192);
    page.tbDS.set("");
    EXPECT_EQ(page.values.StoredDS, 8192);
    EXPECT_EQ(page.lbDSTol, kPm + " 3%: 0.97 - 1.03 KB (b2)");
}

TEST_F(BandwidthPage, LettersClearTheCommonRateAndKeepTheValues)
{
    FillWorkedExample();
    page.cbCommon.pick(2);
    const long double rate = page.values.StoredBW;
    const std::string line = page.lbBWTol;
    ASSERT_EQ(page.cbCommon.index(), 2);
    page.label1Red = false; // the colouring step must run again and restore red
    page.tbBW.set("56x");
    EXPECT_EQ(page.cbCommon.index(), -1);
    EXPECT_EQ(page.values.StoredBW, rate);
    EXPECT_EQ(page.lbBWTol, line);
    EXPECT_TRUE(page.label1Red);
}

TEST_F(BandwidthPage, CommonRateShowsInTheSelectedUnitAndStaysChosen)
{
    page.cbBWUnit.pick(kMbps10);
    EXPECT_EQ(page.tbBW.text(), "0"); // nothing stored yet: the unit click writes 0
    page.cbCommon.pick(kT1);
    EXPECT_EQ(page.tbBW.text(), "1.544");
    EXPECT_EQ(page.lbBWTol, kPm + " 3%: 1.5 - 1.59 Mbps (b10)");
    EXPECT_EQ(page.cbCommon.index(), kT1);
    EXPECT_EQ(page.cbCommon.text(), "T-1 / DS-1");
    EXPECT_EQ(page.values.StoredBW, 1544000);

    page.cbCommon.pick(kT1);
    EXPECT_EQ(page.values.StoredBW, 1544000);
    EXPECT_EQ(page.cbCommon.index(), kT1);
}

TEST_F(BandwidthPage, ChangingTheUnitAfterACommonRateConvertsAndClearsIt)
{
    page.cbCommon.pick(kT1);
    EXPECT_EQ(page.tbBW.text(), "1544");
    page.cbBWUnit.pick(kMbps10);
    EXPECT_EQ(page.tbBW.text(), "1.544");
    EXPECT_EQ(page.lbBWTol, kPm + " 3%: 1.5 - 1.59 Mbps (b10)");
    EXPECT_EQ(page.cbCommon.index(), -1);
}

TEST_F(BandwidthPage, UnitChangeConvertsWithoutTheTwoDecimalRounding)
{
    page.tbDS.set("1");
    page.cbDSUnit.pick(kMbps10); // "Mb (b10)": 8192 bits
    EXPECT_EQ(page.tbDS.text(), "0.008192");
    EXPECT_EQ(page.lbDSTol, kPm + " 3%: 0.01 - 0.01 Mb (b10)");
    EXPECT_EQ(page.values.StoredDS, 8192);
}

TEST_F(BandwidthPage, UnchangedTextAfterAUnitChangeKeepsTheOldLine)
{
    page.tbBW.set("0");
    EXPECT_EQ(page.lbBWTol, kPm + " 3%: 0 - 0 Kbps (b10)");
    page.cbBWUnit.pick(kBps);
    EXPECT_EQ(page.tbBW.text(), "0");
    EXPECT_EQ(page.lbBWTol, kPm + " 3%: 0 - 0 Kbps (b10)");
}

TEST_F(BandwidthPage, ToleranceFollowsTheSpinBox)
{
    page.tbBW.set("10");
    page.seTol.setText("150");
    EXPECT_EQ(page.lbBWTol, kPm + " 150%: -4.99 - 25 Kbps (b10)");
    page.seTol.focusLost();
    EXPECT_EQ(page.seTol.text(), "100");
    EXPECT_EQ(page.lbBWTol, kPm + " 100%: 0 - 20 Kbps (b10)");
    page.seTol.setText("");
    EXPECT_EQ(page.lbBWTol, kPm + " 1%: 9.9 - 10.1 Kbps (b10)");
    page.seTol.step(+1);
    EXPECT_EQ(page.lbBWTol, kPm + " 2%: 9.8 - 10.2 Kbps (b10)");
}

TEST_F(BandwidthPage, ToleranceSkipsEmptyBoxesAndKeepsUnreadableOnes)
{
    page.tbDS.set("100");
    page.tbDS.set("");
    page.tbTm.set("2");
    page.tbTm.set("2 min");
    page.seTol.setText("10");
    EXPECT_EQ(page.lbBWTol, " ");
    EXPECT_EQ(page.lbDSTol, kPm + " 3%: 97 - 103 KB (b2)");
    EXPECT_EQ(page.lbTmTol, kPm + " 3%: 1.94 - 2.06 min");
    EXPECT_EQ(page.values.StoredTm, 120);
    EXPECT_EQ(page.values.TolPercent, 10);
}

TEST_F(BandwidthPage, NegativeRateGivesAnInvertedBand)
{
    page.tbBW.set("-10");
    EXPECT_EQ(page.values.StoredBW, -10000);
    EXPECT_EQ(page.lbBWTol, kPm + " 3%: -9.69 - -10.29 Kbps (b10)");
}

TEST_F(BandwidthPage, HugeRateIsStoredButItsLineStays)
{
    Type(page.tbBW, "1");
    page.tbBW.set("1e17");
    EXPECT_EQ(page.values.StoredBW, 1e20L);
    EXPECT_EQ(page.lbBWTol, kPm + " 3%: 0.97 - 1.03 Kbps (b10)");
}

TEST_F(BandwidthPage, ExtremeValuesNeverBreakThePage)
{
    page.cbTmUnit.setIndex(0);
    page.tbBW.set("1e4000");
    page.tbTm.set("1e4000");
    page.btnDSClick(); // the product overflows
    EXPECT_EQ(platform.beeps, 1);
    EXPECT_EQ(page.tbDS.text(), "");
    EXPECT_EQ(page.values.StoredDS, 0);

    page.tbDS.set("1e4932"); // times 8192 overflows: not stored
    EXPECT_EQ(page.values.StoredDS, 0);
    page.tbDS.set("1e4000");
    page.tbTm.set("1e-4000");
    page.label1Red = true;
    page.btnBWClick(); // the quotient overflows; the colouring gave no verdict
    EXPECT_EQ(platform.beeps, 2);
    EXPECT_TRUE(page.label1Red);
}

TEST_F(BandwidthPage, ColouringOutOfRangeGivesNoVerdictInsteadOfABeep)
{
    page.cbTmUnit.setIndex(0);
    page.tbDS.set("1e-4000");
    page.tbTm.set("1e4000");
    page.label1Red = true;
    page.btnBWClick(); // the rate underflows to 0; size ÷ time does too, so no verdict
    EXPECT_EQ(platform.beeps, 0);
    EXPECT_EQ(page.tbBW.text(), "0");
    EXPECT_TRUE(page.label1Red);
}

TEST(BandwidthPageComma, ReadsAndWritesWithTheLocaleSeparator)
{
    test::FakePlatform platform;
    BandwidthPageModel page(platform, ",");
    page.SetInitialUnits();
    page.seTolChange();
    page.cbDSUnit.setIndex(kMBps2);
    page.tbDS.set("1.234");
    EXPECT_EQ(page.values.StoredDS, 0);
    page.tbDS.set("1,234");
    page.seTol.setText("10");
    EXPECT_EQ(page.lbDSTol, kPm + " 10%: 1,11 - 1,36 MB (b2)");
    page.cbBWUnit.setIndex(kMbps10);
    page.cbCommon.pick(kT1);
    EXPECT_EQ(page.tbBW.text(), "1,544");
}

// Random events with texts good and bad: the stored values stay finite, an unreadable text never moves
// its stored value, and every line is either untouched or a tolerance line.
TEST_F(BandwidthPage, RandomEventSequencesKeepThePageSound)
{
    const char* texts[] = {"",
                           "1",
                           "-3.5",
                           "1e4000",
                           "1e-4000",
                           "1e4932",
                           "abc",
                           "0",
                           ".",
                           "1e17",
                           "2.5e3",
                           "0x10",
                           "inf",
                           "nan",
                           " 12 ",
                           "1,5",
                           "1e5000",
                           "-0",
                           "999999999999999999999",
                           "1e-4950",
                           "+.5",
                           "\xC3\xA9",
                           "100"};
    std::mt19937_64 rng(42);
    std::uniform_int_distribution<int> event(0, 11);
    std::uniform_int_distribution<size_t> text(0, std::size(texts) - 1);
    std::uniform_int_distribution<int> rateUnit(0, 13);
    std::uniform_int_distribution<int> timeUnit(0, 3);
    std::uniform_int_distribution<int> common(0, 18);
    EditField* boxes[] = {&page.tbBW, &page.tbDS, &page.tbTm};
    long double TBandwidthValues::*stored[]
        = {&TBandwidthValues::StoredBW, &TBandwidthValues::StoredDS, &TBandwidthValues::StoredTm};
    for (int i = 0; i < 20000; ++i) {
        const int e = event(rng);
        if (e < 3) {
            const std::string t = texts[text(rng)];
            const long double before = page.values.*stored[e];
            boxes[e]->set(t);
            if (!TextToNumber(t)) {
                ASSERT_EQ(page.values.*stored[e], before) << t;
            }
        } else if (e == 3) {
            page.cbBWUnit.pick(rateUnit(rng));
        } else if (e == 4) {
            page.cbDSUnit.pick(rateUnit(rng));
        } else if (e == 5) {
            page.cbTmUnit.pick(timeUnit(rng));
        } else if (e == 6) {
            page.btnBWClick();
        } else if (e == 7) {
            page.btnDSClick();
        } else if (e == 8) {
            page.btnTmClick();
        } else if (e == 9) {
            page.cbCommon.pick(common(rng));
        } else if (e == 10) {
            page.seTol.setText(std::to_string(static_cast<int>(rng() % 300) - 100));
        } else {
            page.seTol.focusLost();
        }
        ASSERT_TRUE(std::isfinite(page.values.StoredBW));
        ASSERT_TRUE(std::isfinite(page.values.StoredDS));
        ASSERT_TRUE(std::isfinite(page.values.StoredTm));
        for (const std::string* line : {&page.lbBWTol, &page.lbDSTol, &page.lbTmTol})
            ASSERT_TRUE(*line == " " || line->starts_with(kPm + " ")) << *line;
    }
}

} // namespace
} // namespace tarvelle::bandwidth
