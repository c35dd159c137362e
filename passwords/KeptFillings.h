// The pair test summed over every way of filling a pattern of character classes.
//
// Once the shuffle has fixed which class stands at each position, the characters are drawn independently, each
// class's from its own set. KeptFillings walks the pair test's state table (PairTest.h) along such a pattern,
// carrying for each state the sums over the fillings that reach it: their odds, their odds times log2 of their
// odds, and the largest odds. The last two give a setting's Shannon and min-entropy (PasswordStrength.h)
// without listing a single password. A pattern is cut in two halves: the sums of every first half seen, by
// state reached, and of every second half, by state started from, are kept, so that a pattern costs one pass
// over the states however many patterns share its halves.
#pragma once

#include "PairTest.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace tarvelle {

/// Sums over a set of fillings, each of odds p: the sum of p, of p log2 p, and the largest p.
struct FillingSums
{
    double odds = 0;
    double oddsLog = 0;
    double largest = 0;

    /// The sums over this set and another, disjoint one.
    void Add(const FillingSums& other);
    /// The sums over every filling of this set followed by one of `then`.
    FillingSums Then(const FillingSums& then) const;
};

/// A class's characters as the pair test sees them: the sums over its characters of each letter code 0..26.
using CodeSums = std::array<FillingSums, 27>;

/// The CodeSums of characters drawn with the given odds (a character of more than one byte is no letter).
CodeSums SumByCode(const std::vector<std::string>& characters, const std::vector<double>& odds);

class KeptFillings
{
public:
    /// The test's table; the sums of each label's characters (at most four labels); whether the mode keeps
    /// the candidates that fail rather than those that pass.
    KeptFillings(const PairAutomaton& test, const std::vector<CodeSums>& labels, bool keepFailures);

    /// The sums over the kept fillings of a pattern of labels (an arrangement code, ShuffleOdds.h), at most
    /// 32 positions.
    FillingSums Sums(uint64_t code, size_t length);

    /// The number of states of the test's table.
    size_t States() const { return states_; }

private:
    struct Edge
    {
        uint8_t to = 0;
        FillingSums weight;
    };
    using Layer = std::vector<FillingSums>; // by state

    /// By state reached: the sums over the fillings of a first half that get there from the start.
    const Layer& Forward(uint64_t code, size_t length);
    /// By state started from: the sums over the fillings of a second half that end in a kept state.
    const Layer& Backward(uint64_t code, size_t length);

    size_t states_ = 0;
    std::vector<std::vector<Edge>> edges_; // edges_[label * states_ + state]
    Layer start_; // the start state alone
    Layer end_; // the kept states
    std::unordered_map<uint64_t, Layer> forward_; // by code with a 1 bit above its labels
    std::unordered_map<uint64_t, Layer> backward_;
};

} // namespace tarvelle
