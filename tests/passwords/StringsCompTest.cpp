#include "StringsComp.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace tarvelle {
namespace {

bool IsVowel(char c)
{
    return std::string_view("aeiou").find(c) != std::string_view::npos;
}

std::string KindOf(const std::string& pair)
{
    return std::string(IsVowel(pair[0]) ? "V" : "C") + (IsVowel(pair[1]) ? "V" : "C");
}

TEST(LetterPairList, HoldsTheStoredListWithItsRepeats)
{
    const std::vector<std::string>& list = LetterPairList();
    ASSERT_EQ(list.size(), 230u);
    const std::set<std::string> distinct(list.begin(), list.end());
    EXPECT_EQ(distinct.size(), 215u);
    EXPECT_EQ(list.front(), "bl");
    EXPECT_EQ(list.back(), "zu");

    std::map<std::string, int> kinds;
    for (const std::string& pair : distinct)
        ++kinds[KindOf(pair)];
    EXPECT_EQ(kinds["CC"], 56);
    EXPECT_EQ(kinds["VV"], 19);
    EXPECT_EQ(kinds["CV"], 99);
    EXPECT_EQ(kinds["VC"], 41);
    for (size_t i = 0; i < 56; ++i)
        EXPECT_EQ(KindOf(list[i]), "CC") << list[i];

    std::map<std::string, int> times;
    for (const std::string& pair : list)
        ++times[pair];
    std::set<std::string> twice;
    for (const auto& [pair, count] : times) {
        EXPECT_LE(count, 2) << pair;
        if (count == 2)
            twice.insert(pair);
    }
    EXPECT_EQ(twice,
              (std::set<std::string> {"au", "ea", "ee", "ei", "ia", "ie", "io", "iu", "oa", "oe", "oi", "oo", "ou",
                                      "ua", "ui"}));
}

TEST(LetterPairList, QOAndUStartOnlyTheirFewPairs)
{
    std::map<char, std::set<std::string>> byFirst;
    for (const std::string& pair : LetterPairList())
        byFirst[pair[0]].insert(pair);
    EXPECT_EQ(byFirst['q'], (std::set<std::string> {"qu"}));
    EXPECT_EQ(byFirst['o'], (std::set<std::string> {"oa", "oe", "oi", "oo", "ou"}));
    EXPECT_EQ(byFirst['u'], (std::set<std::string> {"ua", "ub", "ue", "ui"}));
}

TEST(TStringListComp, IndexOfFindsTheFirstEntry)
{
    const TStringListComp holder(LetterPairList());
    EXPECT_EQ(holder.IndexOf("bl"), 0);
    EXPECT_EQ(holder.IndexOf("au"), 57); // stored again at 88
    EXPECT_EQ(holder.IndexOf("zu"), 229);
    EXPECT_EQ(holder.IndexOf("ob"), -1);
    EXPECT_EQ(holder.IndexOf("ST"), -1); // entries are lowercase
    EXPECT_EQ(holder.IndexOf(""), -1);
}

TEST(TStringListComp, PairTableAgreesWithTheList)
{
    const TStringListComp holder(LetterPairList());
    for (uint32_t first = 0; first < 26; ++first) {
        for (uint32_t second = 0; second < 26; ++second) {
            const std::string text {static_cast<char>('a' + first), static_cast<char>('a' + second)};
            EXPECT_EQ(holder.HasPair(first, second), holder.IndexOf(text) >= 0) << text;
        }
    }
}

TEST(TStringListComp, AssignCopiesAndReindexes)
{
    std::vector<std::string> source {"xk", "ab", "Q", "abc"};
    TStringListComp holder(LetterPairList());
    holder.SetStrings(source);
    source[0] = "zz";
    EXPECT_EQ(holder.Strings(), (std::vector<std::string> {"xk", "ab", "Q", "abc"}));
    EXPECT_TRUE(holder.HasPair('x' - 'a', 'k' - 'a'));
    EXPECT_TRUE(holder.HasPair(0, 1));
    EXPECT_FALSE(holder.HasPair('b' - 'a', 'l' - 'a')); // the old list is gone
    EXPECT_FALSE(holder.HasPair('z' - 'a', 'z' - 'a'));
    const PairAutomaton& strict = holder.Automaton(PairRule::Strict); // rebuilt from the new list too
    EXPECT_NE(strict.Next(strict.Next(PairAutomaton::kStart, 'x' - 'a'), 'k' - 'a'), PairAutomaton::kFailed);
    EXPECT_EQ(strict.Next(strict.Next(PairAutomaton::kStart, 'b' - 'a'), 'l' - 'a'), PairAutomaton::kFailed);
    EXPECT_EQ(holder.IndexOf("abc"), 3);
}

} // namespace
} // namespace tarvelle
