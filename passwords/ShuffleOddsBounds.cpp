// Bounds on the shuffle's odds of any one arrangement of two labels, for candidates too long for its chain.
//
// Fix a target arrangement a and follow the candidate x as the shuffle swaps. Before the pointer reaches
// position p, the positions from p on have only been drawn as partners, and partners are drawn alike from the
// whole candidate, so those that started with the same label are interchangeable: given how many of each start
// label hold a 1, each arrangement of them is equally likely. The positions already passed matter only through
// how many hold each pair (label in x, label in a), since a partner is drawn alike among them too. So the odds
// that x ends as a follow from a table over those counts, step by step from the last: at position p the
// pointer holds a 1 with the share of 1s among the positions of its start label not reached yet, swaps with a
// partner drawn from the whole candidate, and joins the passed positions with a's label there.
//
// That table gives one arrangement's odds exactly. For bounds on every arrangement at once, a's label at each
// position is instead chosen as the table is built, for the most (or the least) odds from the counts reached:
// every fixed a is one way of choosing, so its odds lie between the two. Against the chain: from a start with
// each label in one run, within 0.2 bits of the likeliest arrangement and 0.8 of the least likely at 22
// positions; from scattered starts within a bit and two (tests, up to 14 positions).
#include "ShuffleOdds.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tarvelle {

namespace {

/// Beyond this many cells a layer the table would need more than 64 MB.
constexpr double kMostCells = 2e6;

/// The counts before the pointer reaches a position: of the positions passed, how many hold 1 where a holds 1
/// (oneOne), 0 where a holds 0 (zeroZero) and 1 where a holds 0 (oneZero); of those not reached that started
/// with a 1, how many hold one. The rest follow from the position and the labels' totals.
struct Layer
{
    size_t ones;
    size_t zeros;
    std::vector<double> least;
    std::vector<double> most;

    /// The cells of a layer for these totals of the two labels.
    static size_t Cells(size_t ones, size_t zeros)
    {
        return (ones + 1) * (zeros + 1) * (std::min(ones, zeros) + 1) * (ones + 1);
    }
    Layer(size_t o, size_t z) : ones(o), zeros(z), least(Cells(o, z), 0.0), most(least.size(), 0.0) { }
    size_t At(size_t oneOne, size_t zeroZero, size_t oneZero, size_t startOnesHoldingOne) const
    {
        return ((oneOne * (zeros + 1) + zeroZero) * (std::min(ones, zeros) + 1) + oneZero) * (ones + 1)
            + startOnesHoldingOne;
    }
    void Clear()
    {
        std::fill(least.begin(), least.end(), 0.0);
        std::fill(most.begin(), most.end(), 0.0);
    }
};

} // namespace

std::optional<OddsBounds> TwoLabelOddsBounds(const std::vector<uint8_t>& start, double& budget)
{
    const size_t length = start.size();
    const size_t ones = static_cast<size_t>(std::count(start.begin(), start.end(), uint8_t {1}));
    const size_t zeros = length - ones;
    if (ones == 0 || zeros == 0)
        return OddsBounds {}; // one arrangement
    const auto cells = static_cast<double>(Layer::Cells(ones, zeros));
    if (cells > kMostCells || cells * static_cast<double>(length) > budget)
        return std::nullopt;
    budget -= cells * static_cast<double>(length);
    // Positions from each one on that started with a 1.
    std::vector<size_t> startOnesFrom(length + 1, 0);
    for (size_t p = length; p-- > 0;)
        startOnesFrom[p] = startOnesFrom[p + 1] + start[p];
    Layer next(ones, zeros);
    Layer here(ones, zeros);
    // Past the last position x is a when every position holds a's label.
    next.least[next.At(ones, zeros, 0, 0)] = next.most[next.At(ones, zeros, 0, 0)] = 1.0;
    const double share = 1.0 / static_cast<double>(length);
    for (size_t p = length; p-- > 0;) {
        here.Clear();
        const size_t aheadOnes = startOnesFrom[p]; // not reached, started with a 1 (the pointer's own included)
        const size_t aheadZeros = length - p - aheadOnes;
        for (size_t oneOne = 0; oneOne <= std::min(p, ones); ++oneOne) {
            for (size_t zeroZero = 0; zeroZero <= std::min(p - oneOne, zeros); ++zeroZero) {
                for (size_t oneZero = 0; oneZero <= std::min(p - oneOne - zeroZero, std::min(ones, zeros)); ++oneZero) {
                    const size_t zeroOne = p - oneOne - zeroZero - oneZero;
                    if (zeroOne > zeros || oneOne + zeroOne > ones)
                        continue;
                    const size_t aOnesLeft = ones - oneOne - zeroOne; // a's 1s at the positions not reached
                    if (aOnesLeft > length - p)
                        continue;
                    for (size_t h1 = 0; h1 <= aheadOnes; ++h1) {
                        if (oneOne + oneZero + h1 > ones || ones - oneOne - oneZero - h1 > aheadZeros)
                            continue;
                        const size_t h0 = ones - oneOne - oneZero - h1; // 1s among those that started with a 0
                        const std::array<size_t, 4> passed {oneOne, zeroZero, oneZero, zeroOne};
                        const bool pointerStartedOne = start[p] == 1;
                        const size_t group = pointerStartedOne ? aheadOnes : aheadZeros;
                        const size_t holdingOne = pointerStartedOne ? h1 : h0;
                        double least = 2.0;
                        double most = -1.0;
                        for (uint8_t target = 0; target < 2; ++target) {
                            if ((target == 1 && aOnesLeft == 0) || (target == 0 && aOnesLeft == length - p))
                                continue;
                            double l = 0;
                            double u = 0;
                            for (uint8_t held = 0; held < 2; ++held) {
                                const double odds = static_cast<double>(held == 1 ? holdingOne : group - holdingOne)
                                    / static_cast<double>(group);
                                if (odds == 0)
                                    continue;
                                // The counts once the pointer has passed holding `now`, after a partner on the
                                // passed side changed from pair `from` to `to`, or one not reached started with
                                // `partnerStart` gave its label.
                                const auto after = [&](uint8_t now, int from, int to, int partnerStart) {
                                    std::array<size_t, 4> counts = passed;
                                    if (from >= 0) {
                                        --counts[static_cast<size_t>(from)];
                                        ++counts[static_cast<size_t>(to)];
                                    }
                                    // Pairs in passed: 0 one-one, 1 zero-zero, 2 one-zero, 3 zero-one.
                                    ++counts[now == 1 ? (target == 1 ? 0 : 2) : (target == 0 ? 1 : 3)];
                                    size_t h = h1 - (pointerStartedOne ? held : 0);
                                    if (partnerStart == 1)
                                        h = held == 1 ? h + 1 : h - 1;
                                    return next.At(counts[0], counts[1], counts[2], h);
                                };
                                double sl = 0;
                                double su = 0;
                                double still = 1.0;
                                // `count` partners, each with the odds of one position, all leading to `to`.
                                const auto add = [&](size_t count, const auto& to) {
                                    if (count == 0)
                                        return;
                                    const double odds2 = static_cast<double>(count) * share;
                                    const size_t at = to();
                                    sl += odds2 * next.least[at];
                                    su += odds2 * next.most[at];
                                    still -= odds2;
                                };
                                // Partners that hold the other label swap with the pointer; on the passed side
                                // their x flips (one-one and zero-one, zero-zero and one-zero).
                                if (held == 0) {
                                    add(oneOne, [&] { return after(1, 0, 3, -1); });
                                    add(oneZero, [&] { return after(1, 2, 1, -1); });
                                } else {
                                    add(zeroZero, [&] { return after(0, 1, 2, -1); });
                                    add(zeroOne, [&] { return after(0, 3, 0, -1); });
                                }
                                const size_t h0After = pointerStartedOne ? h0 : h0 - held;
                                const size_t h1After = pointerStartedOne ? h1 - held : h1;
                                const size_t groupOnes = aheadOnes - (pointerStartedOne ? 1 : 0);
                                const size_t groupZeros = aheadZeros - (pointerStartedOne ? 0 : 1);
                                add(held == 1 ? groupOnes - h1After : h1After,
                                    [&] { return after(1 - held, -1, -1, 1); });
                                add(held == 1 ? groupZeros - h0After : h0After,
                                    [&] { return after(1 - held, -1, -1, 0); });
                                const size_t to = after(held, -1, -1, -1);
                                l += odds * (sl + still * next.least[to]);
                                u += odds * (su + still * next.most[to]);
                            }
                            least = std::min(least, l);
                            most = std::max(most, u);
                        }
                        const size_t at = here.At(oneOne, zeroZero, oneZero, h1);
                        here.least[at] = most < 0 ? 0.0 : least;
                        here.most[at] = std::max(most, 0.0);
                    }
                }
            }
        }
        std::swap(here, next);
    }
    const size_t at = next.At(0, 0, 0, ones);
    return OddsBounds {std::log2(next.least[at]), std::log2(next.most[at])};
}

} // namespace tarvelle
