// The odds of the composer's shuffle over arrangements of character classes.
//
// A candidate's characters stand grouped by class before the shuffle; the shuffle then swaps each position in
// turn with a position drawn from the whole candidate. That walk is not uniform over the arrangements, and the
// strength of a setting (PasswordStrength.h) hangs on its exact odds, so ShuffledArrangements runs it as a
// Markov chain over every arrangement of the class labels: one step per position, each step moving a state's
// odds in equal parts to the L arrangements its swaps lead to. Labels may stand for single classes or for
// classes merged; merging labels before or after the walk gives the same odds, since a swap does not look at
// what it moves. With two labels (letters and the rest, as the pair test sees them) a shorter walk gives the
// same odds: the positions the pointer has not reached yet that started alike are interchangeable, so it keeps
// only how many of them hold each label (ShuffleOdds.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarvelle {

/// One arrangement of labels (0..3, two bits a position, position 0 in the highest bits used) and its odds.
struct Arrangement
{
    uint64_t code = 0;
    double odds = 0;
};

/// The longest candidate the chain takes: two bits a position in a 64-bit code.
inline constexpr size_t kMostChainPositions = 32;

/// The longest candidate of two labels whose chain runs on bits (below 64 MB of odds); longer ones take the
/// general chain.
inline constexpr size_t kMostTwoLabelPositions = 22;

/// Packs labels (each 0..3) into an arrangement code.
uint64_t ArrangementCode(const std::vector<uint8_t>& labels);
/// The label at position `at` of a code for `length` positions.
inline uint8_t LabelAt(uint64_t code, size_t length, size_t at)
{
    return static_cast<uint8_t>((code >> (2 * (length - 1 - at))) & 3u);
}

/// The work of ShuffledArrangements on a start of `length` positions, `labels` labels and `arrangements`
/// arrangements of them, in steps of a few nanoseconds: the cheaper of its two walks.
double ShuffleWork(size_t length, size_t labels, double arrangements);

/// Every arrangement of the labels of `start` with its odds after the shuffle, from `start` as it stands.
/// At most kMostChainPositions labels; the odds sum to 1.
std::vector<Arrangement> ShuffledArrangements(const std::vector<uint8_t>& start);

/// log2 of bounds on the odds the shuffle gives any one arrangement of two labels.
struct OddsBounds
{
    double log2Least = 0;
    double log2Most = 0;
};

/// Bounds on the odds after the shuffle of every arrangement of the two labels (0 and 1) of `start`, without
/// its chain (ShuffleOddsBounds.cpp); nullopt when their table would take more steps than are left in
/// `budget` (from which it takes its steps) or too much memory.
std::optional<OddsBounds> TwoLabelOddsBounds(const std::vector<uint8_t>& start, double& budget);

} // namespace tarvelle
