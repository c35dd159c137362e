#include "PairTest.h"
#include "LetterPairs.h"
#include "Random.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

struct PairCase
{
    const char* name;
    const char* text;
    bool sameKind;
    bool strict;
};

class PairTable : public testing::TestWithParam<PairCase>
{ };

bool AutomatonPasses(std::string_view text, PairRule rule)
{
    const PairAutomaton& automaton = test::Pairs().Automaton(rule);
    uint8_t state = PairAutomaton::kStart;
    for (const char c : text)
        state = automaton.Next(state, LetterCode(static_cast<unsigned char>(c)));
    return state != PairAutomaton::kFailed;
}

TEST_P(PairTable, BothVariantsBothWays)
{
    const PairCase& c = GetParam();
    EXPECT_EQ(PassesPairTest(c.text, PairRule::SameKind, test::Pairs()), c.sameKind);
    EXPECT_EQ(PassesPairTest(c.text, PairRule::Strict, test::Pairs()), c.strict);
    EXPECT_EQ(AutomatonPasses(c.text, PairRule::SameKind), c.sameKind);
    EXPECT_EQ(AutomatonPasses(c.text, PairRule::Strict), c.strict);
}

INSTANTIATE_TEST_SUITE_P(Examples, PairTable,
                         testing::Values(PairCase {"Strap9", "Strap9", true, true},
                                         PairCase {"Rob", "Rob", true, false}, PairCase {"o1b", "o1b", true, false},
                                         PairCase {"a1b", "a1b", true, true}, PairCase {"eau", "eau", false, false},
                                         PairCase {"stry", "stry", false, false}, PairCase {"Xkq", "Xkq", false, false},
                                         PairCase {"NoLetters", "7#5", true, true}, PairCase {"Empty", "", true, true},
                                         PairCase {"CaseNeverMatters", "sTrAp", true, true},
                                         PairCase {"DigitBreaksTheVowelRun", "ea1u", true, true},
                                         PairCase {"ThreeConsonantsPass", "str", true, true},
                                         PairCase {"NonAsciiIsNoLetter", "\xC3\xA9\xC3\xA9\xC3\xA9", true, true}),
                         test::RowName());

TEST(PairAutomaton, AgreesWithTheWalkOnManyTexts)
{
    const char alphabet[] = "aeioubcdqstxyzAEQS1#";
    LcgRandom random(2024);
    for (int i = 0; i < 20000; ++i) {
        std::string text(random.RandomBelow(9), ' ');
        for (char& c : text)
            c = alphabet[random.RandomBelow(sizeof(alphabet) - 1)];
        for (const PairRule rule : {PairRule::Strict, PairRule::SameKind})
            ASSERT_EQ(AutomatonPasses(text, rule), PassesPairTest(text, rule, test::Pairs())) << text;
    }
}

} // namespace
} // namespace tarvelle
