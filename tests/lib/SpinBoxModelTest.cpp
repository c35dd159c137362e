#include "SpinBoxModel.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

// One row: a box in a start state, one action, and what the user then sees.
struct SpinCase
{
    const char* name;
    std::string startText;
    int32_t minValue;
    int32_t maxValue;
    std::function<void(SpinBoxModel&)> action;
    std::string text;
    int32_t value;
    int changes;
};

class SpinBoxRules : public testing::TestWithParam<SpinCase>
{ };

TEST_P(SpinBoxRules, Apply)
{
    const SpinCase& c = GetParam();
    SpinBoxModel box(0, c.minValue, c.maxValue);
    box.setText(c.startText);
    int changes = 0;
    box.onChange = [&] { ++changes; };
    c.action(box);
    EXPECT_EQ(box.text(), c.text);
    EXPECT_EQ(box.value(), c.value);
    EXPECT_EQ(changes, c.changes);
}

const SpinCase kSpinCases[] = {
    {"ReadIsUnclamped", "150", 1, 100, [](SpinBoxModel&) {}, "150", 150, 0},
    {"EmptyReadsAsMin", "", 1, 100, [](SpinBoxModel&) {}, "", 1, 0},
    {"LoneSignReadsAsMin", "-", 5, 100, [](SpinBoxModel&) {}, "-", 5, 0},
    {"DecimalReadsAsMin", "2.5", 1, 100, [](SpinBoxModel&) {}, "2.5", 1, 0},
    {"BeyondInt32ReadsAsMin", "99999999999", 1, 100, [](SpinBoxModel&) {}, "99999999999", 1, 0},
    {"NegativeReads", "-7", -10, 100, [](SpinBoxModel&) {}, "-7", -7, 0},
    {"PlusSignReads", "+7", 1, 100, [](SpinBoxModel&) {}, "+7", 7, 0},
    {"WriteClampsHigh", "3", 1, 100, [](SpinBoxModel& b) { b.setValue(150); }, "100", 100, 1},
    {"WriteClampsLow", "3", 1, 100, [](SpinBoxModel& b) { b.setValue(-4); }, "1", 1, 1},
    {"WriteUnclampedWhenMinEqualsMax", "0", 0, 0, [](SpinBoxModel& b) { b.setValue(1); }, "1", 1, 1},
    {"LowerBoundTestedFirst", "1", 0, -5, [](SpinBoxModel& b) { b.setValue(-5); }, "0", 0, 1},
    {"EqualWriteFiresNothing", "3", 1, 100, [](SpinBoxModel& b) { b.setValue(3); }, "3", 3, 0},
    {"TypingFiresOnEachChange", "3", 1, 100,
     [](SpinBoxModel& b) {
         b.setText("");
         b.setText("1");
         b.setText("15");
     },
     "15", 15, 3},
    {"UpArrow", "3", 1, 100, [](SpinBoxModel& b) { b.step(1); }, "4", 4, 1},
    {"UpArrowAtMaxFiresNothing", "100", 1, 100, [](SpinBoxModel& b) { b.step(1); }, "100", 100, 0},
    {"DownArrowAtMin", "1", 1, 100, [](SpinBoxModel& b) { b.step(-1); }, "1", 1, 0},
    {"UpArrowFromTypedOutOfRange", "150", 1, 100, [](SpinBoxModel& b) { b.step(1); }, "100", 100, 1},
    {"UpArrowOnEmptyStartsFromMin", "", 1, 100, [](SpinBoxModel& b) { b.step(1); }, "2", 2, 1},
    {"UpArrowInZeroRange", "0", 0, 0, [](SpinBoxModel& b) { b.step(1); }, "1", 1, 1},
    {"FocusLostClampsHigh", "150", 1, 100, [](SpinBoxModel& b) { b.focusLost(); }, "100", 100, 1},
    {"FocusLostClampsLow", "-3", 1, 100, [](SpinBoxModel& b) { b.focusLost(); }, "1", 1, 1},
    {"FocusLostInRangeFiresNothing", "50", 1, 100, [](SpinBoxModel& b) { b.focusLost(); }, "50", 50, 0},
    {"FocusLostKeepsNonNumber", "abc", 1, 100, [](SpinBoxModel& b) { b.focusLost(); }, "abc", 1, 0},
    {"FocusLostKeepsEmpty", "", 1, 100, [](SpinBoxModel& b) { b.focusLost(); }, "", 1, 0},
    {"FocusLostZeroRangeDoesNotClamp", "5", 0, 0, [](SpinBoxModel& b) { b.focusLost(); }, "5", 5, 0},
    {"RangeChangeFiresNothing", "50", 1, 100,
     [](SpinBoxModel& b) {
         b.setMinValue(60);
         b.setMaxValue(70);
     },
     "50", 50, 0},
};

INSTANTIATE_TEST_SUITE_P(Rules, SpinBoxRules, testing::ValuesIn(kSpinCases), test::RowName());

struct KeyCase
{
    const char* name;
    char32_t key;
    char32_t separator;
    bool accepted;
};

class SpinBoxKeys : public testing::TestWithParam<KeyCase>
{ };

TEST_P(SpinBoxKeys, Filter)
{
    const KeyCase& c = GetParam();
    EXPECT_EQ(SpinBoxModel::acceptsKey(c.key, c.separator), c.accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SpinBoxKeys,
    testing::Values(KeyCase {"Digit", U'7', U'.', true}, KeyCase {"Plus", U'+', U'.', true},
                    KeyCase {"Minus", U'-', U'.', true}, KeyCase {"FullStopSeparator", U'.', U'.', true},
                    KeyCase {"CommaSeparator", U',', U',', true}, KeyCase {"CommaNotSeparator", U',', U'.', false},
                    KeyCase {"Backspace", U'\b', U'.', true}, KeyCase {"CtrlV", U'\x16', U'.', true},
                    KeyCase {"Enter", U'\r', U'.', false}, KeyCase {"Letter", U'a', U'.', false},
                    KeyCase {"Space", U' ', U'.', false}, KeyCase {"NonAscii", U'\u00e9', U'.', false}),
    test::RowName());

} // namespace
} // namespace tarvelle
