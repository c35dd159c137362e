// TStringListComp: the holder of one string list, used for the letter pairs of the pronounceability test.
//
// The main window owns one instance, slcConst, filled once with LetterPairList(). The composer asks it whether
// two letters form a listed pair; that question is answered from a 26 x 26 table built when the list is
// assigned, so the stored list keeps its order and repeats while a lookup costs one load. The pair test's two
// state tables (PairTest.h) are built then too, once rather than on every Generate.
#pragma once

#include "PairTest.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelle {

/// The 230 letter pairs of the pronounceability test, in their stored order, repeats included.
const std::vector<std::string>& LetterPairList();

class TStringListComp
{
public:
    TStringListComp() { SetStrings({}); }
    /// A holder whose list is a copy of strings.
    explicit TStringListComp(const std::vector<std::string>& strings) { SetStrings(strings); }

    /// The stored list.
    const std::vector<std::string>& Strings() const { return strings_; }
    /// Copies the contents of strings into the stored list and re-indexes the pairs.
    void SetStrings(const std::vector<std::string>& strings);

    /// Position of the first entry equal to text, or -1.
    int IndexOf(std::string_view text) const;
    /// Whether the lowercase pair of letters first, second (0 = a ... 25 = z) is an entry of the list.
    bool HasPair(uint32_t first, uint32_t second) const { return ((pairs_[first] >> second) & 1u) != 0; }
    /// The pair test by rule as a state table, built with the pair table.
    const PairAutomaton& Automaton(PairRule rule) const { return rule == PairRule::Strict ? strict_ : sameKind_; }

private:
    std::vector<std::string> strings_;
    std::array<uint32_t, 26> pairs_ {}; // bit s of pairs_[f]: letters f, s form a listed pair
    PairAutomaton strict_;
    PairAutomaton sameKind_;
};

} // namespace tarvelle
