// Ranges for the figures that hold whatever odds the shuffle gives each arrangement of classes: what a setting
// gets when the shuffle's chain is out of reach (long passwords with a pair test).
//
// Write P(c) for a count combination's odds, pi(a) for an arrangement's odds after the shuffle, q(a) for the
// share of its fillings the mode keeps, P0(f) for a filling's odds and A for the acceptance. A kept spelling
// (c, a, f) has odds P(c) pi(a) P0(f) / A among the kept ones. What is known of pi without its chain:
//  - pi(a) >= (n1! n2! n3! n4!) / L^L: the sequences of swaps that draw each position's partner from the
//    positions not yet passed (the unbiased shuffle) are some of the L^L sequences and make every order of the
//    L characters once, and n1! ... n4! orders give one arrangement.
//  - Merging the classes into two labels, the merged arrangement's odds lie within TwoLabelOddsBounds
//    (ShuffleOddsBounds.cpp); an arrangement's odds are at most its merged one's.
//  - q(a) lies between the least and the most kept share over every order of the labels the pair test reads.
//    Those come from one table over (labels still to place, state of the test): choosing each next label for
//    the worst (or best) given the state reached is at least as bad (good) as any fixed order, so the table's
//    values bound every arrangement's q; they may be wider than the true least and most.
// Hence, for each combination, its kept share Z(c) = sum over a of pi(a) q(a) lies in [zLow, zHigh], and A in
// the sum of P(c) times those. The bits of a spelling, -log2 of its odds among the kept ones, are
// log2 A - log2 P(c) - log2 pi(a) - log2 P0(f): at least log2 A - log2 P(c) + the bits of the likeliest merged
// arrangement + the bits of the likeliest filling, which bounds the min-entropy; their mean over the kept
// spellings, the Shannon entropy, is at least the mean of that over the combinations weighted P(c) Z(c) / A,
// least over the Z(c) in their ranges (a linear-fractional program over a box: a threshold on the value, found
// by Dinkelbach's iteration). From above: the entropy is at most log2 of the number of kept spellings, each
// class's characters counted at their least odds; and at most log2 A plus the greatest weighted mean of
// -log2 P(c) + M(c) + the bits of the least likely filling, where M(c) bounds the mean of -log2 pi(a) over the
// kept arrangements: by the lower bounds on pi (with the test's own two labels, the merged arrangement's bound
// plus log2 of the ways to split each label between its classes, which the test cannot tell apart), or by
// log2 of the arrangements plus log2 (zHigh / zLow) (the kept arrangements' odds are pi tilted by q / Z(c),
// which adds at most that to the entropy of pi, itself at most log2 of the arrangements). The min-entropy is
// at most the Shannon entropy. Spellings that share a password widen the bottoms by log2 of the most
// spellings one password can have, as in PasswordStrength.cpp.
#include "ShuffleOdds.h"
#include "StrengthModel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>
#include <utility>

namespace tarvelle::strength {

namespace {

constexpr double kNone = -std::numeric_limits<double>::infinity();

/// Over every count of each label still to place (mixed radix, label 0 fastest) and state of the test: the least
/// and the most kept share of any order of those labels, and the sum of the kept shares of all. Its labels are
/// the test's, or, where that table would be too large, two: the non-letters and every letter label as one,
/// each letter then drawn from whichever of their spreads over the letter codes is worst (or best) at that
/// point, which still bounds every order; the sums are then not known.
struct OrderTable
{
    std::vector<size_t> group; // the table's label of each test label
    std::vector<size_t> stride; // of each table label's count; the last entry is the number of count vectors
    size_t states = 0;
    bool sumsKnown = true;
    std::vector<double> least;
    std::vector<double> most;
    std::vector<double> sum;

    size_t Index(const std::array<uint32_t, 4>& n) const
    {
        size_t index = 0;
        for (size_t t = 0; t < group.size(); ++t)
            index += n[t] * stride[group[t]];
        return index * states + PairAutomaton::kStart;
    }
};

std::optional<OrderTable> MakeOrderTable(const Model& model, const PairAutomaton& test, size_t states,
                                         bool keepFailures, bool mergeLetters, uint64_t workLimit)
{
    OrderTable table;
    table.states = states;
    const size_t labels = model.testSums.size();
    for (size_t t = 0; t < labels; ++t)
        table.group.push_back(mergeLetters ? std::min<size_t>(t, 1) : t);
    const size_t groups = table.group.back() + 1;
    // The largest count of each table label over the fitting combinations.
    std::vector<uint32_t> most(groups, 0);
    ForEachFitting(model, [&](const Counts& counts) {
        std::vector<uint32_t> n(groups, 0);
        for (size_t k = 0; k < 4; ++k)
            n[table.group[model.classes[k].testLabel]] += counts.n[k];
        for (size_t g = 0; g < groups; ++g)
            most[g] = std::max(most[g], n[g]);
    });
    table.stride.assign(1, 1);
    for (const uint32_t m : most)
        table.stride.push_back(table.stride.back() * (m + size_t {1}));
    // Each table label's spreads over the letter codes: each code with its odds.
    using Spread = std::vector<std::pair<uint8_t, double>>;
    std::vector<std::vector<Spread>> spreads(groups);
    double edges = 0;
    for (size_t t = 0; t < labels; ++t) {
        Spread& spread = spreads[table.group[t]].emplace_back();
        for (uint8_t code = 0; code <= kNonLetterCode; ++code) {
            if (model.testSums[t][code].odds > 0)
                spread.emplace_back(code, model.testSums[t][code].odds);
        }
        edges += static_cast<double>(spread.size());
    }
    table.sumsKnown = !mergeLetters || labels <= 2;
    const size_t vectors = table.stride.back();
    if (static_cast<double>(vectors) * static_cast<double>(states) * edges > static_cast<double>(workLimit))
        return std::nullopt;
    table.least.assign(vectors * states, 0.0);
    table.most.assign(vectors * states, 0.0);
    table.sum.assign(vectors * states, 0.0);
    for (size_t s = 0; s < states; ++s) {
        const double kept = (s == PairAutomaton::kFailed) == keepFailures ? 1.0 : 0.0;
        table.least[s] = table.most[s] = table.sum[s] = kept;
    }
    // A vector less one label has a smaller index, so one pass in index order finds each before it is read.
    for (size_t v = 1; v < vectors; ++v) {
        for (size_t s = 0; s < states; ++s) {
            double least = std::numeric_limits<double>::infinity();
            double mostKept = 0;
            double sum = 0;
            for (size_t g = 0; g < groups; ++g) {
                if ((v / table.stride[g]) % (most[g] + size_t {1}) == 0)
                    continue;
                const size_t before = (v - table.stride[g]) * states;
                for (const Spread& spread : spreads[g]) {
                    double l = 0;
                    double m = 0;
                    double u = 0;
                    for (const auto& [code, odds] : spread) {
                        const size_t to = before + test.Next(static_cast<uint8_t>(s), code);
                        l += odds * table.least[to];
                        m += odds * table.most[to];
                        u += odds * table.sum[to];
                    }
                    least = std::min(least, l);
                    mostKept = std::max(mostKept, m);
                    sum += u; // read only where each label has one spread
                }
            }
            table.least[v * states + s] = least;
            table.most[v * states + s] = mostKept;
            table.sum[v * states + s] = sum;
        }
    }
    return table;
}

/// Bounds on the shuffle's odds of the arrangements of a combination's classes merged into two labels (the
/// classes in `subset` and the rest), each start worked out once while the budget lasts.
class ArrangementOdds
{
public:
    explicit ArrangementOdds(uint64_t budget) : budget_(static_cast<double>(budget)) { }

    std::optional<OddsBounds> Of(const Counts& counts, uint32_t subset)
    {
        // The start as runs of one label (classes stand in order before the shuffle): up to four run lengths,
        // 15 bits each, and the first run's label.
        uint64_t runs = 0;
        int first = -1;
        int last = -1;
        for (size_t k = 0; k < 4; ++k) {
            if (counts.n[k] == 0)
                continue;
            const int label = static_cast<int>((subset >> k) & 1u);
            first = first < 0 ? label : first;
            runs = label == last ? runs + counts.n[k] : (runs << 15) | counts.n[k];
            last = label;
        }
        const uint64_t key = (runs << 1) | static_cast<uint64_t>(first);
        const auto [at, added] = known_.try_emplace(key);
        if (added) {
            std::vector<uint8_t> start;
            for (size_t k = 0; k < 4; ++k)
                start.insert(start.end(), counts.n[k], static_cast<uint8_t>((subset >> k) & 1u));
            at->second = TwoLabelOddsBounds(start, budget_);
        }
        return at->second;
    }

private:
    double budget_;
    std::unordered_map<uint64_t, std::optional<OddsBounds>> known_;
};

/// The subset of the classes whose total count is nearest half the length.
uint32_t HalfSplit(const Counts& counts)
{
    uint32_t best = 0;
    const auto off = [&](uint32_t subset) {
        int64_t total = 0;
        for (size_t k = 0; k < 4; ++k)
            total += (subset >> k) & 1u ? counts.n[k] : 0;
        return std::abs(2 * total - counts.length);
    };
    for (uint32_t subset = 1; subset < 16; ++subset) {
        if (off(subset) < off(best))
            best = subset;
    }
    return best;
}

/// Each combination's weight range by its bits: the least and the most sum of P(c) Z(c) of the combinations
/// whose bits round to each 1/1024 bit, down for a bottom and up for a top (so the mean stays a bound), which
/// keeps millions of combinations in little memory.
class WeightsByBits
{
public:
    explicit WeightsByBits(bool roundUp) : roundUp_(roundUp) { }

    void Add(double bits, double low, double high)
    {
        const double scaled = bits * kSteps;
        const auto step = static_cast<int64_t>(roundUp_ ? std::ceil(scaled) : std::floor(scaled));
        if (weights_.empty())
            first_ = step;
        if (step < first_) {
            weights_.insert(weights_.begin(), static_cast<size_t>(first_ - step), {0.0, 0.0});
            first_ = step;
        }
        if (static_cast<size_t>(step - first_) >= weights_.size())
            weights_.resize(static_cast<size_t>(step - first_) + 1, {0.0, 0.0});
        auto& [l, h] = weights_[static_cast<size_t>(step - first_)];
        l += low;
        h += high;
    }

    /// The least (or, rounding up, the most) of sum x g / sum x, each combination's x within its range.
    double Mean() const
    {
        const double sign = roundUp_ ? -1.0 : 1.0;
        // Dinkelbach: weight up every combination below the current value, down every other, until the value
        // stops falling; then no choice of weights does better.
        double value = std::numeric_limits<double>::infinity();
        for (;;) {
            double top = 0;
            double bottom = 0;
            for (size_t at = 0; at < weights_.size(); ++at) {
                const std::pair<double, double>& weights = weights_[at];
                const double g = sign * static_cast<double>(first_ + static_cast<int64_t>(at)) / kSteps;
                const double x = g < value ? weights.second : weights.first;
                top += x * g;
                bottom += x;
            }
            const double next = bottom > 0 ? top / bottom : value;
            if (!(next < value))
                return sign * value;
            value = next;
        }
    }

private:
    static constexpr double kSteps = 1024;
    bool roundUp_;
    int64_t first_ = 0; // the step of weights_[0]
    std::vector<std::pair<double, double>> weights_; // by step from first_
};

} // namespace

std::optional<PasswordStrength> BoundWithoutShuffle(const Model& model, const PairAutomaton& test, size_t states,
                                                    bool keepFailures, double log2Preimages,
                                                    const StrengthLimits& limits)
{
    std::optional<OrderTable> table = MakeOrderTable(model, test, states, keepFailures, false, limits.TestWork);
    if (!table) // small in memory however long the passwords (below 20 MB at 99 characters): more steps allowed
        table = MakeOrderTable(model, test, states, keepFailures, true, 4 * limits.TestWork);
    if (!table)
        return std::nullopt;
    std::array<double, 4> bitsOfLikeliest {};
    std::array<double, 4> bitsOfLeastLikely {};
    for (size_t k = 0; k < 4; ++k) {
        const std::vector<double>& odds = model.classes[k].odds;
        if (!odds.empty()) {
            bitsOfLikeliest[k] = -std::log2(*std::max_element(odds.begin(), odds.end()));
            bitsOfLeastLikely[k] = -std::log2(*std::min_element(odds.begin(), odds.end()));
        }
    }
    ArrangementOdds odds {limits.ShuffleBounds};
    uint32_t letters = 0; // the classes the pair test reads
    for (size_t k = 0; k < 4; ++k)
        letters |= model.classes[k].testLabel != 0 ? 1u << k : 0u;
    WeightsByBits floors(false); // -log2 P(c) + the bits of the likeliest arrangement and filling
    WeightsByBits ceilings(true); // -log2 P(c) + M(c) + the bits of the least likely filling
    bool any = false;
    double acceptanceLow = 0;
    double acceptanceHigh = 0;
    double log2Spellings = kNone;
    double fewestBits = std::numeric_limits<double>::infinity();
    ForEachFitting(model, [&](const Counts& counts) {
        std::array<uint32_t, 4> n {};
        double log2Orders = 0; // n1! ... n4!
        double likeliestBits = 0; // of the likeliest filling
        double leastLikelyBits = 0;
        for (size_t k = 0; k < 4; ++k) {
            n[model.classes[k].testLabel] += counts.n[k];
            log2Orders += model.log2Factorial[counts.n[k]];
            likeliestBits += counts.n[k] * bitsOfLikeliest[k];
            leastLikelyBits += counts.n[k] * bitsOfLeastLikely[k];
        }
        double log2Splits = -log2Orders; // ways to give each test label's positions to its classes
        for (const uint32_t m : n)
            log2Splits += model.log2Factorial[m];
        const size_t at = table->Index(n);
        if (table->most[at] == 0 || (table->sumsKnown && table->sum[at] == 0)) // no arrangement keeps anything
            return;
        const double length = counts.length;
        const double log2LeastPi = log2Orders - length * std::log2(length);
        const double log2Arrangements = model.log2Factorial[counts.length] - log2Orders;
        // The sum of q over the arrangements: exact, or at most every arrangement at the most.
        const double log2Kept
            = table->sumsKnown ? std::log2(table->sum[at]) + log2Splits : log2Arrangements + std::log2(table->most[at]);
        double zLow = table->least[at];
        if (table->sumsKnown)
            zLow = std::max(zLow, std::exp2(log2LeastPi + log2Kept));
        double zHigh = std::min(table->most[at], 1.0);
        double arrangementBits = -log2LeastPi; // at most: bounds the mean of -log2 pi over the kept arrangements
        double likeliestPiBits = 0; // -log2 of a bound on the likeliest arrangement's odds
        // Two labels from any split of the classes bound every arrangement's odds from above; the split
        // nearest halves, the lowest.
        if (const auto bounds = odds.Of(counts, HalfSplit(counts))) {
            likeliestPiBits = -bounds->log2Most;
            zHigh = std::min(zHigh, std::exp2(bounds->log2Most + log2Kept));
        }
        // With the test's two labels (letters and the rest) the same bounds hold for its arrangements, which
        // carry the kept shares; the split of each label between its classes adds at most log2Splits.
        if (model.testSums.size() == 2) {
            if (const auto bounds = odds.Of(counts, letters)) {
                const double sum = std::log2(table->sum[at]);
                zLow = std::max(zLow, std::exp2(bounds->log2Least + sum));
                zHigh = std::min(zHigh, std::exp2(bounds->log2Most + sum));
                arrangementBits = std::min(arrangementBits, -bounds->log2Least + log2Splits);
                likeliestPiBits = std::max(likeliestPiBits, -bounds->log2Most);
            }
        }
        arrangementBits = std::min(arrangementBits, log2Arrangements + std::log2(zHigh / zLow));
        const double low = counts.odds * zLow;
        const double high = counts.odds * zHigh;
        const double floorBits = -std::log2(counts.odds) + likeliestPiBits + likeliestBits;
        floors.Add(floorBits, low, high);
        ceilings.Add(-std::log2(counts.odds) + arrangementBits + leastLikelyBits, low, high);
        const double spellings = log2Kept + leastLikelyBits;
        acceptanceLow += low;
        acceptanceHigh += high;
        log2Spellings
            = std::max(log2Spellings, spellings) + std::log2(1.0 + std::exp2(-std::abs(log2Spellings - spellings)));
        fewestBits = std::min(fewestBits, floorBits);
        any = true;
    });
    if (!any)
        return PasswordStrength {StrengthEnd::NoPassword};
    PasswordStrength s;
    s.AcceptanceLow = acceptanceLow;
    s.AcceptanceHigh = acceptanceHigh;
    s.MinEntropyLow = std::max(0.0, std::log2(acceptanceLow) + fewestBits - log2Preimages);
    s.ShannonLow = std::max(s.MinEntropyLow, std::log2(acceptanceLow) + floors.Mean() - log2Preimages);
    s.ShannonHigh = std::min(log2Spellings, std::log2(acceptanceHigh) + ceilings.Mean());
    s.ShannonLow = std::min(s.ShannonLow, s.ShannonHigh);
    s.MinEntropyLow = std::min(s.MinEntropyLow, s.ShannonHigh);
    s.MinEntropyHigh = s.ShannonHigh;
    // One arrangement and one order of labels to each combination leave nothing to bound.
    s.Exact = s.BoundBits() < 1e-9 && acceptanceHigh - acceptanceLow <= 1e-12 * acceptanceHigh;
    return s;
}

} // namespace tarvelle::strength
