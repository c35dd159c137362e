#include "IpPageModel.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

using KeyAction = IpPageModel::KeyAction;

// A page after the window's start-up step, counting CalcSubnet runs and the box texts each run starts from.
struct Page
{
    IpPageModel model;
    std::vector<std::string> runs; // "t1|t2|t3|t4" at the start of each run

    Page()
    {
        model.SetInitialLists();
        model.onCalc = [this] {
            runs.push_back(model.tbIP1.text() + "|" + model.tbIP2.text() + "|" + model.tbIP3.text() + "|"
                           + model.tbIP4.text());
        };
    }
};

// Plays the role of the edit widgets: asks the key filter, moves the focus it asks for (the box entered has its
// whole text selected), and otherwise edits the focused box the way a line edit would.
struct Keyboard
{
    IpPageModel& model;
    int focus = 1;
    bool selected = false;

    void type(const std::u32string& keys)
    {
        for (const char32_t key : keys)
            press(key);
    }

    void press(char32_t key)
    {
        switch (model.tbIP1KeyPress(focus, key)) {
        case KeyAction::FocusNext:
            ++focus;
            selected = true;
            return;
        case KeyAction::FocusPrevious:
            --focus;
            selected = true;
            return;
        case KeyAction::Swallow:
            return;
        case KeyAction::Pass:
            break;
        }
        EditField& box = model.octetBox(focus);
        std::string text = selected ? std::string() : box.text();
        if (key == 8 && !selected && !text.empty())
            text.pop_back();
        else if (key >= 32)
            text += static_cast<char>(key);
        selected = false;
        box.set(text);
    }
};

void ExpectAllLabels(const IpPageModel& m, const std::string& text)
{
    for (const std::string* label : {&m.lbIPBinary, &m.lbBreakdown, &m.lbSNBinary, &m.lbClass, &m.lbReserved,
                                     &m.lbBroadcast, &m.lbAddresses, &m.lbSubnet})
        EXPECT_EQ(*label, text);
}

// ---- Start state and lists ----

TEST(IpPageStart, LabelsBlankAndListsAt24WithoutComputing)
{
    IpPageModel m;
    EXPECT_EQ(m.cbSlash.index(), -1);
    EXPECT_EQ(m.cbMask.index(), -1);
    int runs = 0;
    m.onCalc = [&] { ++runs; };
    m.SetInitialLists();
    EXPECT_EQ(m.cbSlash.text(), "/ 24");
    EXPECT_EQ(m.cbMask.text(), "255.255.255.0");
    EXPECT_EQ(runs, 0);
    ExpectAllLabels(m, " ");
    for (int box = 1; box <= 4; ++box)
        EXPECT_EQ(m.octetBox(box).text(), "");
}

std::string DottedOf(uint32_t a)
{
    return std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 255) + "." + std::to_string((a >> 8) & 255) + "."
        + std::to_string(a & 255);
}

// Index i of both lists stands for prefix length i + 8.
TEST(IpPageLists, ItemsStandForTheSamePrefix)
{
    IpPageModel m;
    ASSERT_EQ(m.cbSlash.items().size(), 23U);
    ASSERT_EQ(m.cbMask.items().size(), 23U);
    for (int i = 0; i < 23; ++i) {
        const auto index = static_cast<size_t>(i);
        EXPECT_EQ(m.cbSlash.items()[index], "/ " + std::to_string(i + 8));
        EXPECT_EQ(m.cbMask.items()[index], DottedOf(~uint32_t {0} << (24 - i)));
    }
}

// ---- Key filter ----

struct KeyCase
{
    const char* name;
    int box;
    const char* boxText;
    char32_t key;
    KeyAction action;
};

class KeyFilter : public testing::TestWithParam<KeyCase>
{ };

TEST_P(KeyFilter, Decides)
{
    const KeyCase& c = GetParam();
    Page page;
    page.model.octetBox(c.box).set(c.boxText);
    page.runs.clear();
    EXPECT_EQ(page.model.tbIP1KeyPress(c.box, c.key), c.action);
    EXPECT_EQ(page.model.octetBox(c.box).text(), c.boxText) << "the filter itself never edits";
    EXPECT_TRUE(page.runs.empty());
}

const KeyCase kKeyCases[] = {
    {"DotMovesFromBox1", 1, "192", U'.', KeyAction::FocusNext},
    {"DotMovesFromBox2", 2, "1", U'.', KeyAction::FocusNext},
    {"DotMovesFromBox3", 3, "0", U'.', KeyAction::FocusNext},
    {"DotStaysInBox4", 4, "10", U'.', KeyAction::Swallow},
    {"DotStaysInEmptyBox1", 1, "", U'.', KeyAction::Swallow},
    {"DotStaysInEmptyBox2", 2, "", U'.', KeyAction::Swallow},
    {"BackspaceMovesFromEmptyBox2", 2, "", 8, KeyAction::FocusPrevious},
    {"BackspaceMovesFromEmptyBox3", 3, "", 8, KeyAction::FocusPrevious},
    {"BackspaceMovesFromEmptyBox4", 4, "", 8, KeyAction::FocusPrevious},
    {"BackspaceReachesEmptyBox1", 1, "", 8, KeyAction::Pass},
    {"BackspaceReachesFilledBox3", 3, "16", 8, KeyAction::Pass},
    {"CtrlCPasses", 2, "", 3, KeyAction::Pass},
    {"CtrlVPasses", 1, "5", 22, KeyAction::Pass},
    {"CtrlXPasses", 4, "5", 24, KeyAction::Pass},
    {"EnterPasses", 1, "", 13, KeyAction::Pass},
    {"TabPasses", 3, "", 9, KeyAction::Pass},
    {"DigitZeroPasses", 1, "", U'0', KeyAction::Pass},
    {"DigitNinePasses", 4, "255", U'9', KeyAction::Pass},
    {"SlashSwallowed", 1, "1", U'/', KeyAction::Swallow},
    {"ColonSwallowed", 1, "1", U':', KeyAction::Swallow},
    {"LetterSwallowed", 2, "", U'a', KeyAction::Swallow},
    {"BlankSwallowed", 1, "", U' ', KeyAction::Swallow},
    {"MinusSwallowed", 1, "", U'-', KeyAction::Swallow},
    {"PlusSwallowed", 1, "", U'+', KeyAction::Swallow},
    {"CommaSwallowed", 2, "1", U',', KeyAction::Swallow},
    {"DeleteCharSwallowed", 1, "1", 127, KeyAction::Swallow},
    {"AccentedLetterSwallowed", 1, "", U'\u00e9', KeyAction::Swallow},
    {"ArabicDigitSwallowed", 1, "", U'\u0663', KeyAction::Swallow},
};

INSTANTIATE_TEST_SUITE_P(Keys, KeyFilter, testing::ValuesIn(kKeyCases), test::RowName());

// ---- Typing ----

TEST(IpPageTyping, FirstDigitComputesOnce)
{
    Page page;
    Keyboard keys {page.model};
    keys.type(U"1");
    EXPECT_EQ(page.runs.size(), 1U);
    EXPECT_EQ(page.model.lbClass, "Class A (/8 Network)");
    EXPECT_EQ(page.model.lbReserved, "1.0.0.0");
}

TEST(IpPageTyping, AddressWithFullStopsEndsInBox4)
{
    Page page;
    Keyboard keys {page.model};
    keys.type(U"192.168.1.10");
    EXPECT_EQ(keys.focus, 4);
    EXPECT_EQ(page.model.tbIP1.text(), "192");
    EXPECT_EQ(page.model.tbIP2.text(), "168");
    EXPECT_EQ(page.model.tbIP3.text(), "1");
    EXPECT_EQ(page.model.tbIP4.text(), "10");
    EXPECT_EQ(page.runs.size(), 9U) << "one run per digit, none per full stop";
    EXPECT_EQ(page.model.lbClass, "Local (/16 Network)");
    EXPECT_EQ(page.model.lbBreakdown, "Local Subnet 1 of 256 Node 10 of 254");
    EXPECT_EQ(page.model.lbIPBinary, "Subnet 00000001 Node 00001010");
    EXPECT_EQ(page.model.lbSubnet, "192.168.1.1 - 192.168.1.254");
}

TEST(IpPageTyping, StrayKeysChangeNothing)
{
    Page page;
    Keyboard keys {page.model};
    keys.type(U".");
    EXPECT_EQ(keys.focus, 1) << "full stop in an empty box";
    keys.type(U"1a 2-.3.4.5.");
    EXPECT_EQ(keys.focus, 4) << "full stop in box 4";
    EXPECT_EQ(page.model.tbIP1.text(), "12");
    EXPECT_EQ(page.model.tbIP4.text(), "5");
    EXPECT_EQ(page.runs.size(), 5U);
    EXPECT_EQ(page.model.lbReserved, "12.3.4.0");
}

TEST(IpPageTyping, BackspaceInEmptyBoxMovesBackWithoutDeleting)
{
    Page page;
    Keyboard keys {page.model};
    keys.type(U"192.168.");
    ASSERT_EQ(keys.focus, 3);
    const size_t runs = page.runs.size();
    keys.press(8);
    EXPECT_EQ(keys.focus, 2);
    EXPECT_EQ(page.model.tbIP2.text(), "168");
    EXPECT_EQ(page.runs.size(), runs);
    keys.press(8); // the whole text is selected after the move, so this clears it
    EXPECT_EQ(page.model.tbIP2.text(), "");
    keys.press(8);
    EXPECT_EQ(keys.focus, 1);
}

TEST(IpPageTyping, BackspaceInEmptyBox1StaysAndComputesNothing)
{
    Page page;
    Keyboard keys {page.model};
    keys.press(8);
    EXPECT_EQ(keys.focus, 1);
    EXPECT_TRUE(page.runs.empty());
    ExpectAllLabels(page.model, " ");
}

// ---- Corrections ----

TEST(IpPageCorrections, TypingAbove255LeavesCorrectionWithNestedRun)
{
    Page page;
    Keyboard keys {page.model};
    keys.type(U"300.1.1.1");
    EXPECT_EQ(page.model.tbIP1.text(), "255");
    EXPECT_EQ(page.runs[2], "300|||");
    EXPECT_EQ(page.runs[3], "255|||") << "the correction recomputes inside the run that wrote it";
    EXPECT_EQ(page.runs.size(), 7U);
    EXPECT_EQ(page.model.lbClass, "Class E (Experimental)");
    EXPECT_EQ(page.model.lbReserved, "255.1.1.0");
    EXPECT_EQ(page.model.lbBreakdown, "Net 0 Subnet 16711937 of 16777216 Node 1 of 254");
}

TEST(IpPageCorrections, PastedNegativeBecomesZero)
{
    Page page;
    page.model.tbIP2.set("1");
    page.model.tbIP3.set("1");
    page.model.tbIP4.set("1");
    page.runs.clear();
    page.model.tbIP1.set("-5");
    EXPECT_EQ(page.model.tbIP1.text(), "0");
    EXPECT_EQ((std::vector<std::string> {"-5|1|1|1", "0|1|1|1"}), page.runs);
    EXPECT_EQ(page.model.lbClass, "Invalid Address");
    EXPECT_EQ(page.model.lbReserved, "0.1.1.0");
}

TEST(IpPageCorrections, PastedLettersStayAndCountAsZero)
{
    Page page;
    page.model.tbIP1.set("10");
    page.model.tbIP2.set("x7");
    EXPECT_EQ(page.model.tbIP2.text(), "x7");
    EXPECT_EQ(page.runs.size(), 2U);
    EXPECT_EQ(page.model.lbReserved, "10.0.0.0");
}

// Two boxes out of range at once: the nested run corrects the later box, so the outer run's write of that
// correction finds the text already there and fires nothing.
TEST(IpPageCorrections, LaterCorrectionMadeByNestedRunIsNotRepeated)
{
    Page page;
    page.model.tbIP4.set("9");
    page.model.tbIP3.onChange = nullptr; // let a bad text sit in box 3 without a run
    page.model.tbIP3.set("-7");
    page.model.tbIP3.onChange = [&page] { page.model.tbIP1Change(); };
    page.runs.clear();
    page.model.tbIP1.set("999");
    EXPECT_EQ(page.model.tbIP1.text(), "255");
    EXPECT_EQ(page.model.tbIP3.text(), "0");
    EXPECT_EQ((std::vector<std::string> {"999||-7|9", "255||-7|9", "255||0|9"}), page.runs);
    EXPECT_EQ(page.model.lbReserved, "255.0.0.0");
    EXPECT_EQ(page.model.lbBroadcast, "255.0.0.255");
}

// ---- Picks in the two lists ----

TEST(IpPagePicks, SlashPickMovesMaskAndComputesOnce)
{
    Page page;
    page.model.cbSlash.pick(8);
    EXPECT_EQ(page.model.cbMask.text(), "255.255.0.0");
    EXPECT_EQ(page.runs.size(), 1U);
    EXPECT_EQ(page.model.lbAddresses, "65536 Total, 65534 Usable (65533 + Gateway)");
}

TEST(IpPagePicks, MaskPickMovesSlashAndComputesOnce)
{
    Page page;
    page.model.cbMask.pick(22);
    EXPECT_EQ(page.model.cbSlash.text(), "/ 30");
    EXPECT_EQ(page.runs.size(), 1U);
    EXPECT_EQ(page.model.lbAddresses, "4 Total, 2 Usable (1 + Gateway)");
}

TEST(IpPagePicks, ShortPrefixOnClassCShowsInvalidCombination)
{
    Page page;
    Keyboard keys {page.model};
    keys.type(U"200.1.2.3");
    page.model.cbSlash.pick(8);
    EXPECT_EQ(page.model.lbBreakdown, "Invalid Class / Subnet Combination");
    EXPECT_EQ(page.model.lbIPBinary, "11001000 00000001 00000010 00000011");
    EXPECT_EQ(page.model.lbClass, "Class C (/24 Network)");
    EXPECT_EQ(page.model.lbReserved, "200.1.0.0");
}

// Every label gets its own result text.
TEST(IpPagePicks, EveryLabelShowsItsResult)
{
    Page page;
    Keyboard keys {page.model};
    keys.type(U"130.5.1.1");
    page.model.cbMask.pick(22);
    const IpPageModel& m = page.model;
    EXPECT_EQ(m.lbIPBinary, "Net 1000001000000101 Subnet 00000001000000 Node 01");
    EXPECT_EQ(m.lbBreakdown, "Net 33285 Subnet 64 of 16384 Node 1 of 2");
    EXPECT_EQ(m.lbSNBinary, "11111111 11111111 11111111 11111100");
    EXPECT_EQ(m.lbClass, "Class B (/16 Network)");
    EXPECT_EQ(m.lbReserved, "130.5.1.0");
    EXPECT_EQ(m.lbBroadcast, "130.5.1.3");
    EXPECT_EQ(m.lbAddresses, "4 Total, 2 Usable (1 + Gateway)");
    EXPECT_EQ(m.lbSubnet, "130.5.1.1 - 130.5.1.2");
}

} // namespace
} // namespace tarvelle
