#include "ShuffleOdds.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace tarvelle {

namespace {

/// Arrangement codes numbered 0..n-1 by open addressing; the chain asks for the number of each swap's result.
class CodeIndex
{
public:
    explicit CodeIndex(const std::vector<uint64_t>& codes)
        : mask_(std::bit_ceil(codes.size() * 2 + 1) - 1), slots_(mask_ + 1)
    {
        for (uint32_t n = 0; n < codes.size(); ++n) {
            size_t at = Home(codes[n]);
            while (slots_[at].number != kEmpty)
                at = (at + 1) & mask_;
            slots_[at] = Slot {codes[n], n};
        }
    }

    /// The number of a code that was given.
    uint32_t operator[](uint64_t code) const
    {
        size_t at = Home(code);
        while (slots_[at].code != code)
            at = (at + 1) & mask_;
        return slots_[at].number;
    }

private:
    static constexpr uint32_t kEmpty = UINT32_MAX;
    struct Slot
    {
        uint64_t code = 0;
        uint32_t number = kEmpty;
    };
    size_t Home(uint64_t code) const { return static_cast<size_t>((code * 0x9E3779B97F4A7C15ull) >> 20) & mask_; }

    size_t mask_;
    std::vector<Slot> slots_;
};

/// Every code with the given label counts, in increasing order.
void ListCodes(std::array<uint32_t, 4>& left, size_t positions, uint64_t prefix, std::vector<uint64_t>& out)
{
    if (positions == 0) {
        out.push_back(prefix);
        return;
    }
    for (uint32_t label = 0; label < 4; ++label) {
        if (left[label] == 0)
            continue;
        --left[label];
        ListCodes(left, positions - 1, (prefix << 2) | label, out);
        ++left[label];
    }
}

/// One step of the walk: position i swapped with each position r of the candidate, each with odds 1/length.
void Step(const std::vector<uint64_t>& codes, const CodeIndex& index, const std::array<uint32_t, 4>& counts,
          size_t length, size_t i, const std::vector<double>& from, std::vector<double>& to)
{
    std::fill(to.begin(), to.end(), 0.0);
    const double share = 1.0 / static_cast<double>(length);
    const unsigned shiftI = static_cast<unsigned>(2 * (length - 1 - i));
    for (size_t n = 0; n < codes.size(); ++n) {
        if (from[n] == 0)
            continue;
        const uint64_t code = codes[n];
        const uint64_t label = (code >> shiftI) & 3u;
        // A swap with a position of the same label leaves the arrangement as it is.
        to[n] += from[n] * share * counts[label];
        const double part = from[n] * share;
        for (size_t r = 0; r < length; ++r) {
            const unsigned shiftR = static_cast<unsigned>(2 * (length - 1 - r));
            const uint64_t differ = label ^ ((code >> shiftR) & 3u);
            if (differ != 0)
                to[index[code ^ (differ << shiftI) ^ (differ << shiftR)]] += part;
        }
    }
}

// Work in steps of about 4 ns on this machine's kind: the general chain visits each arrangement once a step
// and looks up each swap's result; the walk on bits clears and scans every prefix and moves each state a few
// times a step.
double GeneralWork(size_t length, double arrangements)
{
    return arrangements * static_cast<double>(length * length);
}
double TwoLabelWork(size_t length, double arrangements)
{
    return 3 * std::exp2(static_cast<double>(length)) + 2 * arrangements * static_cast<double>(length);
}

/// The walk when the start holds two labels, on bits: `one` marks the positions that hold the label of position
/// 0 at the start. Before step p reaches a position it has been moved only as a swap's target, and targets are
/// drawn alike from the whole candidate, so the positions from p on that started alike hold what they hold in
/// every order with the same odds. A state therefore keeps the positions before p bit by bit (prefix, position
/// 0 highest) and, of the later positions that started as `one`, only how many hold a 1 (ones); the later
/// positions that started as 0 hold the rest. Step p finds what stands at p, then swaps it with a position
/// before it, itself, or one of the later ones of either start.
std::vector<double> TwoLabelWalk(const std::vector<bool>& one)
{
    const size_t length = one.size();
    const auto total = static_cast<uint32_t>(std::count(one.begin(), one.end(), true));
    // later[g][p]: the positions from p on that started as g.
    std::array<std::vector<uint32_t>, 2> later {std::vector<uint32_t>(length + 1, 0),
                                                std::vector<uint32_t>(length + 1, 0)};
    for (size_t p = length; p-- > 0;) {
        later[0][p] = later[0][p + 1] + (one[p] ? 0 : 1);
        later[1][p] = later[1][p + 1] + (one[p] ? 1 : 0);
    }
    const double share = 1.0 / static_cast<double>(length);
    std::vector<double> odds(later[1][0] + 1, 0.0); // by prefix * width + ones
    odds[total] = 1.0;
    std::vector<double> next;
    for (size_t p = 0; p < length; ++p) {
        const uint32_t width = later[1][p] + 1;
        const uint32_t nextWidth = later[1][p + 1] + 1;
        next.assign((size_t {1} << (p + 1)) * nextWidth, 0.0);
        const size_t g = one[p] ? 1 : 0;
        const uint64_t prefixes = uint64_t {1} << p;
        const uint64_t all = prefixes - 1;
        for (uint64_t prefix = 0; prefix < prefixes; ++prefix) {
            const auto set = static_cast<uint32_t>(std::popcount(prefix));
            for (uint32_t ones1 = 0; ones1 < width; ++ones1) {
                const double w = odds[prefix * width + ones1];
                if (w == 0)
                    continue;
                const std::array<uint32_t, 2> ones {total - set - ones1, ones1}; // by start, from p on
                for (uint32_t b = 0; b < 2; ++b) {
                    // What stands at p: one of the later positions that started as g.
                    const uint32_t alike = b != 0 ? ones[g] : later[g][p] - ones[g];
                    if (alike == 0)
                        continue;
                    const double part = w * alike / later[g][p] * share;
                    std::array<uint32_t, 2> rest = ones;
                    rest[g] -= b;
                    const auto add
                        = [&](uint64_t to, uint32_t toOnes, double value) { next[to * nextWidth + toOnes] += value; };
                    // p itself, and the earlier positions holding b: nothing moves.
                    const uint32_t same = 1 + (b != 0 ? set : static_cast<uint32_t>(p) - set);
                    add((prefix << 1) | b, rest[1], part * same);
                    // An earlier position holding the other bit: the two trade.
                    for (uint64_t differ = (b != 0 ? ~prefix : prefix) & all; differ != 0; differ &= differ - 1) {
                        const uint64_t bit = differ & (~differ + 1);
                        add(((prefix ^ bit) << 1) | (b != 0 ? 0 : 1), rest[1], part);
                    }
                    // A later position of either start, holding a 1 or a 0.
                    for (size_t h = 0; h < 2; ++h) {
                        const uint32_t laterH = later[h][p + 1];
                        for (uint32_t m = 0; m < 2; ++m) {
                            const uint32_t holding = m != 0 ? rest[h] : laterH - rest[h];
                            if (holding == 0)
                                continue;
                            std::array<uint32_t, 2> after = rest;
                            after[h] = after[h] - m + b;
                            add((prefix << 1) | m, after[1], part * holding);
                        }
                    }
                }
            }
        }
        odds.swap(next);
    }
    return odds; // by arrangement: every later count is 0 at the end
}

/// ShuffledArrangements by the walk on bits.
std::vector<Arrangement> TwoLabelArrangements(const std::vector<uint8_t>& start)
{
    const size_t length = start.size();
    const uint8_t first = start[0] & 3u;
    const uint8_t other = static_cast<uint8_t>(
        *std::find_if(start.begin(), start.end(), [first](uint8_t l) { return (l & 3u) != first; }) & 3u);
    std::vector<bool> one(length);
    for (size_t at = 0; at < length; ++at)
        one[at] = (start[at] & 3u) == first;
    const std::vector<double> odds = TwoLabelWalk(one);
    std::vector<Arrangement> out;
    for (uint64_t bits = 0; bits < odds.size(); ++bits) {
        if (odds[bits] == 0)
            continue;
        uint64_t code = 0;
        for (size_t at = length; at-- > 0;)
            code = (code << 2) | (((bits >> at) & 1u) != 0 ? first : other);
        out.push_back({code, odds[bits]});
    }
    std::sort(out.begin(), out.end(), [](const Arrangement& a, const Arrangement& b) { return a.code < b.code; });
    return out;
}

} // namespace

double ShuffleWork(size_t length, size_t labels, double arrangements)
{
    const double general = GeneralWork(length, arrangements);
    return labels == 2 && length <= kMostTwoLabelPositions ? std::min(general, TwoLabelWork(length, arrangements))
                                                           : general;
}

uint64_t ArrangementCode(const std::vector<uint8_t>& labels)
{
    uint64_t code = 0;
    for (const uint8_t label : labels)
        code = (code << 2) | (label & 3u);
    return code;
}

std::vector<Arrangement> ShuffledArrangements(const std::vector<uint8_t>& start)
{
    const size_t length = start.size();
    std::array<uint32_t, 4> counts {};
    for (const uint8_t label : start)
        ++counts[label & 3u];
    if (4 - std::count(counts.begin(), counts.end(), 0u) == 2) {
        double arrangements = 1; // length choose the count of either label
        for (uint32_t n = 1; n <= counts[start[0] & 3u]; ++n)
            arrangements = arrangements * static_cast<double>(length - counts[start[0] & 3u] + n) / n;
        if (ShuffleWork(length, 2, arrangements) < GeneralWork(length, arrangements))
            return TwoLabelArrangements(start);
    }
    std::vector<uint64_t> codes;
    std::array<uint32_t, 4> left = counts;
    ListCodes(left, length, 0, codes);
    const CodeIndex index(codes);
    std::vector<double> odds(codes.size(), 0.0);
    std::vector<double> next(codes.size(), 0.0);
    odds[index[ArrangementCode(start)]] = 1.0;
    for (size_t i = 0; i < length; ++i) {
        Step(codes, index, counts, length, i, odds, next);
        odds.swap(next);
    }
    std::vector<Arrangement> out(codes.size());
    for (size_t n = 0; n < codes.size(); ++n)
        out[n] = {codes[n], odds[n]};
    return out;
}

} // namespace tarvelle
