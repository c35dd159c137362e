// Bounds on the shuffle's odds of any one arrangement of two labels, for candidates too long for its chain.
//
// Fix a target arrangement a and follow the candidate x as the shuffle swaps. Give each position a type: its
// label in x and its label in a (1-1, 0-0, 1-0 or 0-1). With m positions of type 1-0 there are m of type 0-1,
// n1 - m of 1-1 and n0 - m of 0-0, and x has become a when m is 0. A swap of the pointer's position with a
// partner that holds the same label changes nothing; with one that holds the other label it flips both labels,
// which turns each position's type into its flipped one (1-1 and 0-1, 0-0 and 1-0). So how the counts of types
// move depends only on the pointer's type and on how many positions of each type stand on each side of the
// pointer: those it has passed, and those it has not reached yet (its own among them).
//
// The table holds, for every step and every m and counts of the types not reached yet, the most (and the
// least) odds of ending at m = 0 over every choice of the pointer's type among those not reached. The real
// pointer's type is one of those choices, so by induction from the last step the odds of becoming a from any
// candidate lie within the table's values for its counts; the start, every position not reached yet, has some
// m from 0 to min(n0, n1), whatever a is, so the extremes over those m bound every arrangement's odds.
#include "ShuffleOdds.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tarvelle {

namespace {

enum Type : uint8_t { kOneOne, kZeroZero, kOneZero, kZeroOne };
constexpr std::array<uint8_t, 4> kLabelOf {1, 0, 1, 0};
constexpr std::array<uint8_t, 4> kFlipped {kZeroOne, kOneZero, kZeroZero, kOneOne};

/// Beyond this many cells a layer the table would need more than 64 MB.
constexpr double kMostCells = 2e6;

/// One layer of the table: the least and the most odds by m and the counts of 1-1, 0-0 and 1-0 not reached.
struct Layer
{
    size_t ones = 0;
    size_t zeros = 0;
    size_t mostM = 0;
    std::vector<double> least;
    std::vector<double> most;

    Layer(size_t o, size_t z) : ones(o), zeros(z), mostM(std::min(o, z))
    {
        const size_t cells = (mostM + 1) * (ones + 1) * (zeros + 1) * (mostM + 1);
        least.assign(cells, 0.0);
        most.assign(cells, 0.0);
    }
    size_t At(size_t m, size_t oneOne, size_t zeroZero, size_t oneZero) const
    {
        return ((m * (ones + 1) + oneOne) * (zeros + 1) + zeroZero) * (mostM + 1) + oneZero;
    }
};

} // namespace

std::optional<OddsBounds> TwoLabelOddsBounds(size_t length, size_t ones, double& budget)
{
    if (ones == 0 || ones >= length)
        return OddsBounds {}; // one arrangement
    const size_t zeros = length - ones;
    const double mostM = static_cast<double>(std::min(ones, zeros));
    const double cells = (mostM + 1) * (mostM + 1) * static_cast<double>((ones + 1) * (zeros + 1));
    if (cells > kMostCells || cells * static_cast<double>(length) > budget)
        return std::nullopt;
    budget -= cells * static_cast<double>(length);
    Layer next(ones, zeros); // after the step, by the counts then
    Layer here(ones, zeros);
    // Past the last step nothing is left to reach, and only m = 0 is a.
    next.least[next.At(0, 0, 0, 0)] = next.most[next.At(0, 0, 0, 0)] = 1.0;
    const double share = 1.0 / static_cast<double>(length);
    for (size_t pointer = length; pointer-- > 0;) {
        const size_t ahead = length - pointer; // positions not reached, the pointer's own included
        std::fill(here.least.begin(), here.least.end(), 0.0);
        std::fill(here.most.begin(), here.most.end(), 0.0);
        for (size_t m = 0; m <= here.mostM; ++m) {
            const std::array<size_t, 4> total {ones - m, zeros - m, m, m};
            for (size_t a = 0; a <= std::min(ahead, total[kOneOne]); ++a) {
                for (size_t b = 0; b <= std::min(ahead - a, total[kZeroZero]); ++b) {
                    for (size_t c = 0; c <= std::min(ahead - a - b, m); ++c) {
                        const size_t d = ahead - a - b - c;
                        if (d > m)
                            continue;
                        const std::array<size_t, 4> notReached {a, b, c, d};
                        double least = 2.0;
                        double most = 0.0;
                        for (uint8_t type = 0; type < 4; ++type) {
                            if (notReached[type] == 0)
                                continue;
                            // The counts after the step: the pointer's position passed with its type, a partner
                            // on either side flipped.
                            const auto after = [&](uint8_t pointerType, int side, uint8_t partner) {
                                std::array<size_t, 4> reached = notReached;
                                std::array<size_t, 4> all = total;
                                --reached[type];
                                --all[type];
                                ++all[pointerType];
                                if (side >= 0) {
                                    --all[partner];
                                    ++all[kFlipped[partner]];
                                    if (side == 0) {
                                        --reached[partner];
                                        ++reached[kFlipped[partner]];
                                    }
                                }
                                return next.At(all[kOneZero], reached[kOneOne], reached[kZeroZero], reached[kOneZero]);
                            };
                            double l = 0;
                            double u = 0;
                            double still = 1.0;
                            for (uint8_t partner = 0; partner < 4; ++partner) {
                                if (kLabelOf[partner] == kLabelOf[type])
                                    continue;
                                const size_t counts[2] = {notReached[partner], total[partner] - notReached[partner]};
                                for (int side = 0; side < 2; ++side) {
                                    if (counts[side] == 0)
                                        continue;
                                    const double odds = static_cast<double>(counts[side]) * share;
                                    const size_t to = after(kFlipped[type], side, partner);
                                    l += odds * next.least[to];
                                    u += odds * next.most[to];
                                    still -= odds;
                                }
                            }
                            const size_t to = after(type, -1, 0);
                            l += still * next.least[to];
                            u += still * next.most[to];
                            least = std::min(least, l);
                            most = std::max(most, u);
                        }
                        here.least[here.At(m, a, b, c)] = least;
                        here.most[here.At(m, a, b, c)] = most;
                    }
                }
            }
        }
        std::swap(here, next);
    }
    double least = 1.0;
    double most = 0.0;
    for (size_t m = 0; m <= next.mostM; ++m) {
        const size_t at = next.At(m, ones - m, zeros - m, m);
        least = std::min(least, next.least[at]);
        most = std::max(most, next.most[at]);
    }
    return OddsBounds {std::log2(least), std::log2(most)};
}

} // namespace tarvelle
