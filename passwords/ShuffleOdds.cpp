#include "ShuffleOdds.h"

#include <array>
#include <bit>

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

} // namespace

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
