// The pieces PasswordStrength.cpp sums over, for its two source files: a setting read as odds (each class's
// counts and characters, what the pair test sees of them), the count combinations that fit the length range,
// and the sums themselves (StrengthSums.cpp).
#pragma once

#include "KeptFillings.h"
#include "PasswordComposer.h"
#include "PasswordStrength.h"
#include "StringsComp.h"

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace tarvelle::strength {

/// One class as a run draws from it.
struct ClassOdds
{
    std::vector<std::string> characters; // each once
    std::vector<double> odds; // of each character, by its repeats in the set
    std::vector<double> countOdds; // odds of each count 0..maxLength
    bool drawsAny = false; // a count above 0 can be drawn, whatever the length
    double logSum = 0; // sum of p log2 p over the characters
    double largest = 0; // the likeliest character's odds
    uint8_t testLabel = 0; // 0: the pair test reads none of its characters (or there is no test)
};

/// A setting read as odds.
struct Model
{
    std::array<ClassOdds, 4> classes;
    uint32_t minLength = 0;
    uint32_t maxLength = 0;
    int32_t mode = 0;
    std::vector<CodeSums> testSums; // by test label; label 0 is a non-letter of odds 1
    std::vector<double> log2Factorial; // log2 n! for n = 0..maxLength
};

/// One combination of the four counts, with its odds.
struct Counts
{
    std::array<uint32_t, 4> n {};
    uint32_t length = 0;
    double odds = 0;
};

/// Which classes the shuffle's chain merges into one label: block[c] is class c's label.
struct Lumping
{
    std::array<uint8_t, 4> block {0, 1, 2, 3};
    double work = 0; // estimated steps
    double gap = 0; // odds-weighted mean log2 of the arrangements merged into one
};

/// What the sums over every kept candidate come to (before division by the acceptance).
struct Sums
{
    double acceptance = 0; // sum of the kept odds
    double oddsLog = 0; // sum of p log2 p over the kept passwords (p of each as if unmerged)
    // log2 of numbers at least and at most the largest p: logs, since a long password's odds can be below the
    // smallest double.
    double log2LargestHigh = -std::numeric_limits<double>::infinity();
    double log2LargestLow = -std::numeric_limits<double>::infinity();
    double gap = 0; // kept odds times log2 of the arrangements merged into one
    bool merged = false; // some arrangement stood for more than one
};

/// Whether a count above 0 of the class can stand in a password no longer than the maximum length.
bool Active(const ClassOdds& c);
/// The model of a setting; nullopt when a class that can be drawn from has no characters.
std::optional<Model> MakeModel(const TPasswordSettings& settings);
/// The number of count combinations whose length fits and whose odds are above 0.
double FittingCombinations(const Model& model);
/// Calls visit with each count combination whose length fits and whose odds are above 0.
void ForEachFitting(const Model& model, const std::function<void(const Counts&)>& visit);
/// log2 of the arrangements of a combination's classes, each block's classes taken as one label.
double Log2Arrangements(const Model& model, const Counts& counts, const std::array<uint8_t, 4>& block);

/// The lumping with blocks `block`, its work and its gap.
Lumping Evaluate(const Model& model, const std::array<uint8_t, 4>& block, size_t testStates);
/// The finest lumping whose work fits the limits; nullopt when none does, or the pair test's sums alone would
/// not.
std::optional<Lumping> ChooseLumping(const Model& model, size_t testStates, const StrengthLimits& limits);
/// A combination's candidate before the shuffle: each class's count of its block's label, in class order.
std::vector<uint8_t> StartOf(const Counts& counts, const std::array<uint8_t, 4>& block);
/// Adds the kept candidates of every fitting combination to sums, one chain for each start; fillings is null in
/// mode 0.
void SumAll(const Model& model, const Lumping& lumping, KeptFillings* fillings, Sums& sums);

/// Ranges for every figure that hold whatever odds the shuffle gives each arrangement (StrengthBounds.cpp),
/// for settings with a pair test whose chain is out of reach; nullopt when the test's table over the counts
/// of its labels would take more than limits.TestWork steps, and more than four times that with every letter
/// label taken as one.
std::optional<PasswordStrength> BoundWithoutShuffle(const Model& model, const PairAutomaton& test, size_t states,
                                                    bool keepFailures, double log2Preimages,
                                                    const StrengthLimits& limits);

/// When one password can arise from more than one arrangement of classes: log2 of the most arrangements one
/// password can have (infinity when the characters do not even split one way); 0 otherwise.
double Log2Preimages(const Model& model);
/// Estimated work of spelling out every password one by one.
double SpellingWork(const Model& model);
/// The odds of every kept password, each spelled out: the exact figures where classes share characters.
/// test is the mode's pair test (none in mode 0).
std::vector<double> SpellOut(const Model& model, const PairAutomaton* test);

} // namespace tarvelle::strength
