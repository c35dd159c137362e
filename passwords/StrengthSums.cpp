// The sums behind MeasureStrength: which classes the shuffle's chain may merge, one count combination's kept
// candidates, and the password-by-password sum for classes that share characters.
#include "ShuffleOdds.h"
#include "StrengthModel.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace tarvelle::strength {

namespace {

constexpr double kNever = std::numeric_limits<double>::infinity();

/// How many label sequences of `length` positions hold at most most[t] of each label t.
double Sequences(const Model& model, const std::vector<uint32_t>& most, size_t label, uint32_t length, double log2Ways)
{
    if (label + 1 == most.size())
        return length <= most[label] ? std::exp2(log2Ways - model.log2Factorial[length]) : 0.0;
    double total = 0;
    for (uint32_t n = 0; n <= std::min(most[label], length); ++n)
        total += Sequences(model, most, label + 1, length - n, log2Ways - model.log2Factorial[n]);
    return total;
}

/// The work of the pair test's sums over every half pattern: each half at most once, one step a state and
/// letter code.
double HalfWork(const Model& model, size_t testStates)
{
    std::vector<uint32_t> most(model.testSums.size(), 0);
    std::set<uint32_t> halves;
    ForEachFitting(model, [&](const Counts& counts) {
        std::vector<uint32_t> n(most.size(), 0);
        for (size_t k = 0; k < 4; ++k)
            n[model.classes[k].testLabel] += counts.n[k];
        for (size_t t = 0; t < most.size(); ++t)
            most[t] = std::max(most[t], n[t]);
        halves.insert(counts.length / 2);
        halves.insert(counts.length - counts.length / 2);
    });
    double work = 0;
    for (const uint32_t half : halves) {
        for (uint32_t h = 1; h <= half; ++h) // the shorter heads are kept on the way
            work += Sequences(model, most, 0, h, model.log2Factorial[h]);
    }
    return 2 * work * static_cast<double>(testStates) * (kNonLetterCode + 1);
}

/// Whether classes c and d may share a label: the pair test must not tell them apart.
bool Mergeable(const Model& model, const std::array<uint8_t, 4>& block)
{
    for (size_t c = 0; c < 4; ++c) {
        for (size_t d = c + 1; d < 4; ++d) {
            const ClassOdds& x = model.classes[c];
            const ClassOdds& y = model.classes[d];
            if (block[c] == block[d] && Active(x) && Active(y) && x.testLabel != y.testLabel)
                return false;
        }
    }
    return true;
}

/// A number for a combination's start (its runs of labels and their lengths) and the number of labels in it.
std::pair<uint64_t, int> StartKey(const Counts& counts, const std::array<uint8_t, 4>& block)
{
    uint64_t key = 0;
    uint32_t used = 0;
    int last = -1;
    for (size_t k = 0; k < 4; ++k) {
        if (counts.n[k] == 0)
            continue;
        used |= 1u << block[k];
        if (block[k] == last)
            key += counts.n[k]; // one run with the class before; a run's length fits in 13 bits
        else
            key = (key << 16) | (uint64_t {block[k]} << 13) | counts.n[k];
        last = block[k];
    }
    return {key, std::popcount(used)};
}

} // namespace

Lumping Evaluate(const Model& model, const std::array<uint8_t, 4>& block, size_t testStates)
{
    Lumping lumping {block};
    double odds = 0;
    std::unordered_set<uint64_t> starts; // combinations with one start share its chain and its test sums
    ForEachFitting(model, [&](const Counts& counts) {
        const double log2Lumped = Log2Arrangements(model, counts, block);
        lumping.gap += counts.odds * (Log2Arrangements(model, counts, {0, 1, 2, 3}) - log2Lumped);
        odds += counts.odds;
        const auto [key, labels] = StartKey(counts, block);
        // Arrangement codes hold kMostChainPositions labels; mode 0 with one label needs none.
        if ((labels > 1 || model.mode != kModeRandom) && counts.length > kMostChainPositions)
            lumping.work = kNever;
        if (lumping.work == kNever || (labels < 2 && testStates == 0))
            return;
        const double arrangements = std::exp2(log2Lumped);
        if (starts.insert(key).second)
            lumping.work += (labels > 1 ? ShuffleWork(counts.length, static_cast<size_t>(labels), arrangements) : 0)
                + arrangements * double(testStates);
        lumping.work += arrangements;
    });
    lumping.gap = odds > 0 ? lumping.gap / odds : 0;
    return lumping;
}

std::optional<Lumping> ChooseLumping(const Model& model, size_t testStates, const StrengthLimits& limits)
{
    if (testStates > 0 && HalfWork(model, testStates) > static_cast<double>(limits.TestWork))
        return std::nullopt;
    std::optional<Lumping> best;
    // Every partition of the four classes, as block numbers in order of first use.
    for (uint8_t b1 = 0; b1 <= 1; ++b1) {
        for (uint8_t b2 = 0; b2 <= b1 + 1; ++b2) {
            for (uint8_t b3 = 0; b3 <= std::max(b1, b2) + 1; ++b3) {
                const std::array<uint8_t, 4> block {0, b1, b2, b3};
                if (!Mergeable(model, block))
                    continue;
                const Lumping lumping = Evaluate(model, block, testStates);
                if (lumping.work > static_cast<double>(limits.Work))
                    continue;
                if (!best || lumping.gap < best->gap - 1e-12
                    || (lumping.gap <= best->gap + 1e-12 && lumping.work < best->work))
                    best = lumping;
            }
        }
    }
    return best;
}

namespace {

/// What one combination adds to each kept arrangement's sums, beyond the arrangement's own.
struct Share
{
    double odds = 0; // the combination's
    double log2Fiber = 0; // log2 of the fine arrangements each merged one stands for
    double logExtra = 0; // sum of p log2 p of the characters of the classes the test does not read
    double log2LargestExtra = 0; // log2 of their likeliest characters' odds, multiplied
};

Share ShareOf(const Model& model, const Counts& counts, const Lumping& lumping, bool& merged)
{
    Share share {counts.odds};
    uint32_t used = 0;
    int classes = 0;
    double log2Largest = 0;
    for (size_t k = 0; k < 4; ++k) {
        const ClassOdds& c = model.classes[k];
        if (counts.n[k] == 0)
            continue;
        used |= 1u << lumping.block[k];
        ++classes;
        if (c.testLabel == 0) {
            share.logExtra += counts.n[k] * c.logSum;
            log2Largest += counts.n[k] * std::log2(c.largest);
        }
    }
    share.log2LargestExtra = log2Largest;
    if (std::popcount(used) < classes) {
        merged = true;
        share.log2Fiber
            = Log2Arrangements(model, counts, {0, 1, 2, 3}) - Log2Arrangements(model, counts, lumping.block);
    }
    return share;
}

} // namespace

std::vector<uint8_t> StartOf(const Counts& counts, const std::array<uint8_t, 4>& block)
{
    std::vector<uint8_t> start;
    for (size_t k = 0; k < 4; ++k)
        start.insert(start.end(), counts.n[k], block[k]);
    return start;
}

namespace {

/// Adds the kept candidates of the arrangements, for each combination's share, to sums.
void SumArrangements(const Model& model, const std::vector<Arrangement>& arrangements, size_t length,
                     std::span<const Share> shares, const Lumping& lumping, KeptFillings* fillings, Sums& sums)
{
    std::array<uint8_t, 4> testOfBlock {};
    for (size_t k = 0; k < 4; ++k) {
        if (Active(model.classes[k]))
            testOfBlock[lumping.block[k]] = model.classes[k].testLabel;
    }
    for (const Arrangement& a : arrangements) {
        FillingSums t {1.0, 0.0, 1.0};
        if (fillings != nullptr) {
            uint64_t testCode = 0;
            for (size_t at = 0; at < length; ++at)
                testCode = (testCode << 2) | testOfBlock[LabelAt(a.code, length, at)];
            t = fillings->Sums(testCode, length);
        }
        if (t.largest == 0)
            continue;
        for (const Share& share : shares) {
            // Each of the fine arrangements merged into this one is taken as equally likely: log2 of its odds.
            const double kept = share.odds * a.odds;
            const double log2Odds = std::log2(kept) - share.log2Fiber;
            const double log2Largest = std::log2(kept) + std::log2(t.largest) + share.log2LargestExtra;
            sums.acceptance += kept * t.odds;
            sums.oddsLog += kept * (t.odds * log2Odds + t.oddsLog + t.odds * share.logExtra);
            sums.log2LargestHigh = std::max(sums.log2LargestHigh, log2Largest);
            sums.log2LargestLow = std::max(sums.log2LargestLow, log2Largest - share.log2Fiber);
            sums.gap += kept * t.odds * share.log2Fiber;
        }
    }
}

} // namespace

void SumAll(const Model& model, const Lumping& lumping, KeptFillings* fillings, Sums& sums)
{
    const bool oneLabel = std::all_of(lumping.block.begin(), lumping.block.end(), [](uint8_t b) { return b == 0; });
    if (oneLabel) {
        // No chain to share, and perhaps millions of combinations: each on its own as it comes.
        const std::vector<Arrangement> alone {{0, 1.0}};
        ForEachFitting(model, [&](const Counts& counts) {
            const Share share = ShareOf(model, counts, lumping, sums.merged);
            SumArrangements(model, alone, counts.length, {&share, 1}, lumping, fillings, sums);
        });
        return;
    }
    std::map<std::vector<uint8_t>, std::vector<Share>> groups;
    ForEachFitting(model, [&](const Counts& counts) {
        groups[StartOf(counts, lumping.block)].push_back(ShareOf(model, counts, lumping, sums.merged));
    });
    for (const auto& [start, shares] : groups) {
        const bool chain = std::adjacent_find(start.begin(), start.end(), std::not_equal_to<>()) != start.end();
        const std::vector<Arrangement> arrangements
            = chain ? ShuffledArrangements(start) : std::vector<Arrangement> {{ArrangementCode(start), 1.0}};
        SumArrangements(model, arrangements, start.size(), shares, lumping, fillings, sums);
    }
}

namespace {

/// Spells every filling of one arrangement, keeping the odds of those the mode keeps, by password.
struct Speller
{
    const Model& model;
    const PairAutomaton* test;
    std::unordered_map<std::string, double>& odds;
    uint64_t code = 0;
    size_t length = 0;
    std::string text;

    void Fill(size_t at, uint8_t state, double p)
    {
        if (at == length) {
            if (test == nullptr || (state == PairAutomaton::kFailed) == (model.mode == kModeUnpronounceable))
                odds[text] += p;
            return;
        }
        const ClassOdds& c = model.classes[LabelAt(code, length, at)];
        for (size_t n = 0; n < c.characters.size(); ++n) {
            const std::string& character = c.characters[n];
            const size_t before = text.size();
            text += character;
            const uint8_t letter
                = character.size() == 1 ? LetterCode(static_cast<unsigned char>(character[0])) : kNonLetterCode;
            Fill(at + 1, test != nullptr ? test->Next(state, letter) : state, p * c.odds[n]);
            text.resize(before);
        }
    }
};

} // namespace

std::vector<double> SpellOut(const Model& model, const PairAutomaton* test)
{
    std::unordered_map<std::string, double> odds;
    Speller speller {model, test, odds, 0, 0, {}};
    ForEachFitting(model, [&](const Counts& counts) {
        for (const Arrangement& a : ShuffledArrangements(StartOf(counts, {0, 1, 2, 3}))) {
            speller.code = a.code;
            speller.length = counts.length;
            speller.Fill(0, PairAutomaton::kStart, counts.odds * a.odds);
        }
    });
    std::vector<double> out;
    out.reserve(odds.size());
    for (const auto& [password, p] : odds)
        out.push_back(p);
    return out;
}

} // namespace tarvelle::strength
