#include "PasswordPageModel.h"
#include "FakePlatform.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

/// The page as the window holds it: its own entropy word and generator, the generator also drawing the
/// passwords so that a seed gives exact results.
struct Page
{
    Page() { model.SetInitialMode(); }

    test::FakePlatform platform;
    EntropyPool entropy;
    LcgRandom generator;
    PasswordPageModel model {platform, entropy, generator, generator};
};

// ---- The coupled pairs ---------------------------------------------------------------------------------------

struct BoxState
{
    const char* text;
    int32_t min;
    int32_t max;
};

enum class Pair { Length, Upper, Lower, Other };

struct CouplingCase
{
    const char* name;
    Pair pair;
    void (*act)(PasswordPageModel&);
    BoxState minAfter;
    BoxState maxAfter;
};

class Coupling : public testing::TestWithParam<CouplingCase>
{ };

TEST_P(Coupling, LeavesBothBoxesAsExpected)
{
    const CouplingCase& c = GetParam();
    Page page;
    c.act(page.model);
    PasswordPageModel& m = page.model;
    const SpinBoxModel* boxes[][2] = {
        {&m.seMinLen, &m.seMaxLen}, {&m.seUpper1, &m.seUpper2}, {&m.seLower1, &m.seLower2}, {&m.seOther1, &m.seOther2}};
    const SpinBoxModel& minBox = *boxes[static_cast<int>(c.pair)][0];
    const SpinBoxModel& maxBox = *boxes[static_cast<int>(c.pair)][1];
    EXPECT_EQ(minBox.text(), c.minAfter.text);
    EXPECT_EQ(minBox.minValue(), c.minAfter.min);
    EXPECT_EQ(minBox.maxValue(), c.minAfter.max);
    EXPECT_EQ(maxBox.text(), c.maxAfter.text);
    EXPECT_EQ(maxBox.minValue(), c.maxAfter.min);
    EXPECT_EQ(maxBox.maxValue(), c.maxAfter.max);
}

// Typing replaces the box's text keystroke by keystroke, as the edit shows it.
void Type(SpinBoxModel& box, const std::string& text)
{
    for (size_t n = 1; n <= text.size(); ++n)
        box.setText(text.substr(0, n));
}

using M = PasswordPageModel;

const CouplingCase kCouplingCases[] = {
    {"UpArrowOnUpper2RaisesUpper1sMaximum", Pair::Upper, [](M& m) { m.seUpper2.step(1); }, {"1", 0, 5}, {"5", 1, 99}},
    {"SixTypedInUpper1PullsUpper2Along", Pair::Upper, [](M& m) { Type(m.seUpper1, "6"); }, {"6", 0, 6}, {"6", 6, 99}},
    {"ZeroInUpper2AfterZeroInUpper1",
     Pair::Upper,
     [](M& m) {
         Type(m.seUpper1, "0");
         Type(m.seUpper2, "0");
     },
     {"0", 0, 0},
     {"0", 0, 99}},
    {"UpArrowInARangeOfZeroToZeroGivesOne",
     Pair::Upper,
     [](M& m) {
         Type(m.seUpper1, "0");
         Type(m.seUpper2, "0");
         m.seUpper1.step(1);
     },
     {"1", 0, 1},
     {"1", 1, 99}},
    {"MaxLenArrowsDownToSevenPullingMinLen",
     Pair::Length,
     [](M& m) {
         for (int i = 0; i < 6; ++i)
             m.seMaxLen.step(-1);
     },
     {"7", 1, 7},
     {"7", 7, 99}},
    {"NegativeNumberInUpper2EndsWithBothAtZero",
     Pair::Upper,
     [](M& m) { Type(m.seUpper2, "-3"); },
     {"0", 0, 0},
     {"0", 0, 99}},
    {"DeletingAllTextDoesNothing", Pair::Upper, [](M& m) { m.seUpper2.setText(""); }, {"1", 0, 4}, {"", 1, 99}},
    {"TypingAfterDeletingCouplesAgain",
     Pair::Upper,
     [](M& m) {
         m.seUpper2.setText("");
         Type(m.seUpper2, "2");
     },
     {"1", 0, 2},
     {"2", 1, 99}},
    {"MinLenAboveTheMaximumRaisesIt",
     Pair::Length,
     [](M& m) { Type(m.seMinLen, "20"); },
     {"20", 1, 20},
     {"20", 20, 99}},
    {"MaxLenBelowMinLensFloorStopsThere",
     Pair::Length,
     [](M& m) {
         m.seMaxLen.setText("");
         Type(m.seMaxLen, "0");
     },
     {"1", 1, 1},
     {"1", 1, 99}},
    {"LowerMinimumTypedPastAHundred",
     Pair::Lower,
     [](M& m) { Type(m.seLower1, "150"); },
     {"99", 0, 99},
     {"99", 99, 99}},
    {"OtherMinimumArrowedUp", Pair::Other, [](M& m) { m.seOther1.step(1); }, {"1", 0, 1}, {"1", 1, 99}},
};

INSTANTIATE_TEST_SUITE_P(Actions, Coupling, testing::ValuesIn(kCouplingCases), test::RowName());

TEST(PasswordPageModel, StartsWithThePagesDefaults)
{
    test::FakePlatform platform;
    EntropyPool entropy;
    LcgRandom generator;
    PasswordPageModel model(platform, entropy, generator, generator);
    EXPECT_EQ(model.cbWordMode.index(), -1);
    ASSERT_EQ(model.cbWordMode.items().size(), 4u);
    EXPECT_EQ(model.cbWordMode.items()[3], "Exclude passwords which can be pronounced");
    model.SetInitialMode();
    EXPECT_EQ(model.cbWordMode.text(), "Show passwords more easily pronounced");
    EXPECT_EQ(model.tbOther.text(), "!@#$%^*");
    EXPECT_TRUE(model.tbOtherEnabled);
    EXPECT_FALSE(model.btnSaveEnabled);
    EXPECT_EQ(model.lbPasswordsColumns, 3);
    EXPECT_EQ(model.slcConst.Strings().size(), 230u);
    // Nothing of this reached the platform: building the page draws nothing and shows nothing.
    EXPECT_EQ(generator.GeneratorSeed, 0u);
    EXPECT_TRUE(platform.messages.empty());
}

TEST(PasswordPageModel, OtherCheckBoxEnablesOnlyTheOtherCharacters)
{
    Page page;
    PasswordPageModel& m = page.model;
    m.ckbOther = false;
    m.ckbOtherClick();
    EXPECT_FALSE(m.tbOtherEnabled);
    EXPECT_EQ(m.tbOther.text(), "!@#$%^*");
    EXPECT_EQ(m.seOther1.text(), "0");
    EXPECT_EQ(m.seOther2.text(), "1");
    m.ckbOther = true;
    m.ckbOtherClick();
    EXPECT_TRUE(m.tbOtherEnabled);
}

// ---- What Generate reads and does ------------------------------------------------------------------------------

TEST(PasswordPageModel, UntickedClassesCountZeroAndOtherCharactersNeedTheirBox)
{
    Page page;
    PasswordPageModel& m = page.model;
    m.ckbUpper = false;
    m.ckbOther = false;
    const TPasswordSettings s = m.ReadSettings();
    EXPECT_EQ(s.Upper.Min, 0);
    EXPECT_EQ(s.Upper.Max, 0);
    EXPECT_EQ(s.Lower.Min, 1);
    EXPECT_EQ(s.Lower.Max, 8);
    EXPECT_EQ(s.Numeric.Max, 1);
    EXPECT_EQ(s.Other.Max, 0);
    EXPECT_EQ(s.OtherCharacters, "");
    EXPECT_EQ(s.Mode, 1);
    EXPECT_EQ(s.Count, 9);
}

// From a seed of 1 the defaults in mode 1 give these passwords (pinned in the composer's tests).
const std::vector<std::string> kSeedOneMode1 = {"FIAv6^aS", "raDA@7bue", "e#NeKEkU", "W9aGEw%iA"};

TEST(PasswordPageModel, GenerateSeedsFromTheEntropyWordAndListsExactPasswords)
{
    Page page;
    // No high-resolution counter: the prologue folds in only the tick count rotated by 16, which is 1 here.
    page.platform.tick = 0x10000;
    Type(page.model.seGenerate, "4");
    EXPECT_EQ(page.model.btnGoClick(), ComposeEnd::Filled);
    EXPECT_EQ(page.entropy.FEntropy, 1u);
    EXPECT_EQ(page.model.lbPasswords, kSeedOneMode1);
    EXPECT_EQ(page.generator.GeneratorSeed, 3843456544u);
    EXPECT_EQ(page.platform.sleeps, std::vector<uint32_t> {1});
    EXPECT_EQ(page.platform.busyCursor, (std::vector<bool> {true, false}));
    EXPECT_EQ(page.platform.eventPasses, 2);
    EXPECT_TRUE(page.model.btnSaveEnabled);
    EXPECT_EQ(page.model.lbPasswordsColumns, 2);
    EXPECT_TRUE(page.platform.messages.empty());
}

TEST(PasswordPageModel, AMouseStirInTheMessagePassComesBeforeTheFirstDraw)
{
    Page page;
    page.platform.tick = 0x10000;
    page.model.cbWordMode.setIndex(kModeRandom);
    Type(page.model.seGenerate, "4");
    std::vector<uint32_t> seedsAtPasses;
    page.platform.onProcessEvents = [&] {
        seedsAtPasses.push_back(page.generator.GeneratorSeed);
        if (seedsAtPasses.size() == 1)
            page.entropy.MouseStir({5, 5}, page.generator, page.platform);
    };
    page.model.btnGoClick();
    ASSERT_EQ(seedsAtPasses.size(), 2u);
    EXPECT_EQ(seedsAtPasses[0], 1u); // already seeded when the pass runs
    // The stir took one step from seed 1, so the run started from the seed after it.
    TPasswordSettings settings;
    settings.Mode = kModeRandom;
    settings.Count = 4;
    LcgRandom stirred(1u * LcgRandom::kMultiplier + LcgRandom::kIncrement);
    std::vector<std::string> expected;
    test::FakePlatform quiet;
    ComposePasswords(settings, stirred, quiet, page.model.slcConst, expected);
    EXPECT_EQ(page.model.lbPasswords, expected);
    EXPECT_EQ(seedsAtPasses[1], stirred.GeneratorSeed);
    LcgRandom unstirred(1);
    std::vector<std::string> withoutStir;
    ComposePasswords(settings, unstirred, quiet, page.model.slcConst, withoutStir);
    EXPECT_NE(page.model.lbPasswords, withoutStir);
}

struct ColumnCase
{
    const char* name;
    const char* maxLength;
    int columns;
};

class Columns : public testing::TestWithParam<ColumnCase>
{ };

TEST_P(Columns, FollowTheMaximumLengthSetting)
{
    Page page;
    page.model.cbWordMode.setIndex(kModeRandom);
    page.model.seMaxLen.setText(GetParam().maxLength);
    page.model.btnGoClick();
    EXPECT_EQ(page.model.lbPasswordsColumns, GetParam().columns);
    EXPECT_EQ(page.model.lbPasswords.size(), 9u);
}

INSTANTIATE_TEST_SUITE_P(MaxLen, Columns,
                         testing::Values(ColumnCase {"Eight", "8", 3}, ColumnCase {"Ten", "10", 3},
                                         ColumnCase {"Eleven", "11", 2}, ColumnCase {"Twelve", "12", 2}),
                         test::RowName());

// Mode 3 with only digits whose count always meets the length range: every candidate is turned down.
void OnlyDigitsUnpronounceable(PasswordPageModel& m)
{
    m.ckbUpper = false;
    m.ckbLower = false;
    m.ckbOther = false;
    Type(m.seNum2, "12");
    Type(m.seNum1, "8");
    m.cbWordMode.setIndex(kModeUnpronounceable);
}

TEST(PasswordPageModel, GenerateThatFindsNothingWarnsAndLeavesSaveDisabled)
{
    Page page;
    PasswordPageModel& m = page.model;
    m.cbWordMode.setIndex(kModeRandom);
    m.btnGoClick();
    ASSERT_TRUE(m.btnSaveEnabled);
    m.lbPasswordsIndex = 3;

    OnlyDigitsUnpronounceable(m);
    page.platform.tickStep = 50;
    EXPECT_EQ(m.btnGoClick(), ComposeEnd::TimedOut);
    EXPECT_TRUE(m.lbPasswords.empty());
    EXPECT_EQ(m.lbPasswordsIndex, -1);
    EXPECT_FALSE(m.btnSaveEnabled);
    ASSERT_EQ(page.platform.messages.size(), 1u);
    EXPECT_EQ(page.platform.messages[0].kind, "warning");
    EXPECT_EQ(page.platform.messages[0].title, "Warning");
    EXPECT_EQ(page.platform.messages[0].text,
              "The current combination of options does not produce any possible results.");
    // The cursor is back to normal after the run, as after every run.
    EXPECT_EQ(page.platform.busyCursor, (std::vector<bool> {true, false, true, false}));
}

TEST(PasswordPageModel, GenerateSettlesEveryBoxBeforeReadingIt)
{
    Page page;
    PasswordPageModel& m = page.model;
    m.cbWordMode.setIndex(kModeRandom);
    Type(m.seUpper2, "150"); // above its range, not yet clamped
    Type(m.seLower2, "0");
    Type(m.seLower1, "-5"); // a range of 0 to 0 keeps any number when the box is left
    Type(m.seMaxLen, "120");
    Type(m.seGenerate, "0");
    ASSERT_EQ(m.seUpper1.maxValue(), 150);
    ASSERT_EQ(m.seLower1.value(), -5);

    m.btnGoClick();
    EXPECT_EQ(m.seUpper2.text(), "99");
    EXPECT_EQ(m.seUpper1.maxValue(), 99);
    EXPECT_EQ(m.seLower1.text(), "0");
    EXPECT_EQ(m.seLower2.minValue(), 0);
    EXPECT_EQ(m.seMaxLen.text(), "99");
    EXPECT_EQ(m.seMinLen.maxValue(), 99);
    EXPECT_EQ(m.seGenerate.text(), "1");
    EXPECT_EQ(m.lbPasswords.size(), 1u);
    EXPECT_EQ(m.lbPasswordsColumns, 2);
    const TPasswordSettings s = m.ReadSettings();
    EXPECT_EQ(s.Upper.Max, 99);
    EXPECT_EQ(s.Lower.Min, 0);
    EXPECT_EQ(s.Lower.Max, 0);
    EXPECT_EQ(s.MaxLength, 99);
}

TEST(PasswordPageModel, SettlingKeepsEveryMinimumAtOrBelowItsMaximum)
{
    Page page;
    PasswordPageModel& m = page.model;
    Type(m.seUpper1, "300");
    Type(m.seNum2, "-7");
    Type(m.seOther2, "0");
    Type(m.seOther1, "-2");
    Type(m.seMinLen, "0");
    m.SettleSpinBoxes();
    const TPasswordSettings s = m.ReadSettings();
    for (const CountRange r : {s.Upper, s.Lower, s.Numeric, s.Other}) {
        EXPECT_GE(r.Min, 0);
        EXPECT_LE(r.Min, r.Max);
        EXPECT_LE(r.Max, 99);
    }
    EXPECT_EQ(s.Upper.Min, 99);
    EXPECT_GE(s.MinLength, 1);
    EXPECT_LE(s.MinLength, s.MaxLength);
}

// ---- Copy and save -------------------------------------------------------------------------------------------

TEST(PasswordPageModel, DoubleClickCopiesTheSelectedPasswordAndSaysSo)
{
    Page page;
    page.platform.tick = 0x10000;
    Type(page.model.seGenerate, "4");
    page.model.btnGoClick();
    page.model.lbPasswordsIndex = 1;
    page.model.lbPasswordsDblClick();
    EXPECT_EQ(page.platform.clipboard, std::vector<std::string> {"raDA@7bue"});
    ASSERT_EQ(page.platform.messages.size(), 1u);
    EXPECT_EQ(page.platform.messages[0].kind, "information");
    EXPECT_EQ(page.platform.messages[0].title, "Information");
    EXPECT_EQ(page.platform.messages[0].text, "\"raDA@7bue\" has been copied to the clipboard.");
}

TEST(PasswordPageModel, DoubleClickWithoutASelectionDoesNothing)
{
    Page page;
    page.model.lbPasswordsDblClick();
    page.model.cbWordMode.setIndex(kModeRandom);
    page.model.btnGoClick();
    ASSERT_EQ(page.model.lbPasswordsIndex, -1);
    page.model.lbPasswordsDblClick();
    EXPECT_TRUE(page.platform.clipboard.empty());
    EXPECT_TRUE(page.platform.messages.empty());
}

// Nine passwords of exactly 8 characters, in mode 0.
void NineOfEight(Page& page)
{
    page.model.cbWordMode.setIndex(kModeRandom);
    Type(page.model.seMaxLen, "8");
    page.model.btnGoClick();
    ASSERT_EQ(page.model.lbPasswords.size(), 9u);
}

TEST(PasswordPageModel, SaveWritesEveryPasswordWithCrLf)
{
    Page page;
    NineOfEight(page);
    page.platform.saveFileName = "/tmp/list.txt";
    page.model.btnSaveClick();
    ASSERT_EQ(page.platform.writes.size(), 1u);
    EXPECT_EQ(page.platform.writes[0].first, "/tmp/list.txt");
    const std::string& bytes = page.platform.writes[0].second;
    EXPECT_EQ(bytes.size(), 90u);
    for (size_t line = 0; line < 9; ++line) {
        EXPECT_EQ(bytes.substr(line * 10, 8), page.model.lbPasswords[line]);
        EXPECT_EQ(bytes.substr(line * 10 + 8, 2), "\r\n");
    }
    EXPECT_TRUE(page.platform.messages.empty());
}

TEST(PasswordPageModel, CancelledSaveWritesNothing)
{
    Page page;
    NineOfEight(page);
    page.model.btnSaveClick();
    EXPECT_EQ(page.platform.saveDialogs, 1);
    EXPECT_TRUE(page.platform.writes.empty());
    EXPECT_TRUE(page.platform.messages.empty());
}

TEST(PasswordPageModel, FailedSaveShowsTheSystemsTextAndKeepsTheList)
{
    Page page;
    NineOfEight(page);
    const std::vector<std::string> list = page.model.lbPasswords;
    page.platform.saveFileName = "/full/list.txt";
    page.platform.writeError = "No space left on device";
    page.model.btnSaveClick();
    ASSERT_EQ(page.platform.messages.size(), 1u);
    EXPECT_EQ(page.platform.messages[0].kind, "error");
    EXPECT_EQ(page.platform.messages[0].text, "No space left on device");
    EXPECT_EQ(page.model.lbPasswords, list);
    EXPECT_TRUE(page.model.btnSaveEnabled);
}

TEST(PasswordPageModel, NonAsciiOtherCharactersAreSavedAsUtf8)
{
    Page page;
    PasswordPageModel& m = page.model;
    m.ckbUpper = false;
    m.ckbLower = false;
    m.ckbNumeric = false;
    m.tbOther.set("\xC3\xA9"); // é
    Type(m.seOther2, "8");
    Type(m.seOther1, "8");
    Type(m.seMaxLen, "8");
    Type(m.seGenerate, "1");
    m.cbWordMode.setIndex(kModeRandom);
    m.btnGoClick();
    page.platform.saveFileName = "/tmp/e.txt";
    m.btnSaveClick();
    ASSERT_EQ(page.platform.writes.size(), 1u);
    std::string expected;
    for (int i = 0; i < 8; ++i)
        expected += "\xC3\xA9";
    EXPECT_EQ(page.platform.writes[0].second, expected + "\r\n");
}

// ---- Character colours ---------------------------------------------------------------------------------------

struct ColorCase
{
    const char* name;
    char32_t ch;
    uint32_t color;
};

class CharacterColors : public testing::TestWithParam<ColorCase>
{ };

TEST_P(CharacterColors, FollowTheClass)
{
    EXPECT_EQ(CharacterColor(GetParam().ch), GetParam().color);
}

INSTANTIATE_TEST_SUITE_P(Characters, CharacterColors,
                         testing::Values(ColorCase {"UpperA", U'A', 0x000000}, ColorCase {"UpperZ", U'Z', 0x000000},
                                         ColorCase {"LowerA", U'a', 11141120}, ColorCase {"LowerZ", U'z', 11141120},
                                         ColorCase {"Zero", U'0', 43520}, ColorCase {"Nine", U'9', 43520},
                                         ColorCase {"At", U'@', 170}, ColorCase {"Bracket", U'[', 170},
                                         ColorCase {"Backtick", U'`', 170}, ColorCase {"Brace", U'{', 170},
                                         ColorCase {"Slash", U'/', 170}, ColorCase {"Colon", U':', 170},
                                         ColorCase {"Space", U' ', 170}, ColorCase {"EAcute", U'\u00E9', 170}),
                         test::RowName());

} // namespace
} // namespace tarvelle
