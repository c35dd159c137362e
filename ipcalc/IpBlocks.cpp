#include "IpBlocks.h"

#include <algorithm>
#include <bit>
#include <tuple>

namespace tarvelle::ip {
namespace {

// Index of the highest set bit; value must not be zero.
int HighestBit(Uint128 value)
{
    const auto high = static_cast<uint64_t>(value >> 64);
    if (high != 0)
        return 127 - std::countl_zero(high);
    return 63 - std::countl_zero(static_cast<uint64_t>(value));
}

// Number of zero bits below the lowest set bit; value must not be zero.
int LowestBit(Uint128 value)
{
    const auto low = static_cast<uint64_t>(value);
    if (low != 0)
        return std::countr_zero(low);
    return 64 + std::countr_zero(static_cast<uint64_t>(value >> 64));
}

// Appends the fewest aligned blocks covering first..last (first <= last), largest possible block first.
void AppendRangeBlocks(std::vector<IpNetwork>& out, IpFamily family, Uint128 first, Uint128 last)
{
    const int bits = AddressBits(family);
    Uint128 current = first;
    while (true) {
        const Uint128 spanMinusOne = last - current;
        // The block may be no larger than what is left of the range, and must start on its own size.
        const int fits = spanMinusOne == Uint128Max ? 128 : HighestBit(spanMinusOne + 1);
        const int aligned = current == 0 ? bits : LowestBit(current);
        const int hostBits = std::min({fits, aligned, bits});
        out.push_back({{current, family}, bits - hostBits});
        const Uint128 blockLast = current + HostMask(family, bits - hostBits);
        if (blockLast == last)
            return;
        current = blockLast + 1;
    }
}

} // namespace

SubnetWalker::SubnetWalker(const IpNetwork& network, int prefix)
    : next_ {network.base, prefix}
    , stepMinusOne_(HostMask(network.base.family, prefix))
    , count_(PowerOfTwoCount(prefix - network.prefix))
{ }

bool SubnetWalker::Next(IpNetwork& out)
{
    if (done_)
        return false;
    out = next_;
    // Stopping on the count, not on reaching the end, keeps the last step from overflowing at the top.
    if (given_ == count_.minusOne) {
        done_ = true;
    } else {
        ++given_;
        next_.base.value += stepMinusOne_ + 1;
    }
    return true;
}

IpResult<SubnetWalker> SplitNetwork(const IpNetwork& network, int prefix)
{
    if (prefix < 0 || prefix > AddressBits(network.base.family))
        return IpError::PrefixRange;
    if (prefix < network.prefix)
        return IpError::SplitPrefixShorter;
    return SubnetWalker(NetworkOf(network.base, network.prefix), prefix);
}

IpResult<int> PrefixForCount(const IpNetwork& network, Uint128 count)
{
    if (count == 0)
        return IpError::SplitCountZero;
    const int extraBits = count == 1 ? 0 : HighestBit(count - 1) + 1;
    if (extraBits > AddressBits(network.base.family) - network.prefix)
        return IpError::SplitCountTooLarge;
    return network.prefix + extraBits;
}

IpResult<std::vector<IpNetwork>> RangeToBlocks(const IpAddress& first, const IpAddress& last)
{
    if (first.family != last.family)
        return IpError::MixedFamilies;
    if (last.value < first.value)
        return IpError::RangeReversed;
    std::vector<IpNetwork> blocks;
    AppendRangeBlocks(blocks, first.family, first.value, last.value);
    return blocks;
}

std::vector<IpNetwork> MergeNetworks(std::vector<IpNetwork> networks)
{
    for (IpNetwork& network : networks)
        network = NetworkOf(network.base, network.prefix);
    std::sort(networks.begin(), networks.end(), [](const IpNetwork& a, const IpNetwork& b) {
        return std::tie(a.base.family, a.base.value, a.prefix) < std::tie(b.base.family, b.base.value, b.prefix);
    });
    std::vector<IpNetwork> merged;
    size_t k = 0;
    while (k < networks.size()) {
        // Grow one run of overlapping or touching blocks of one family, then cover it.
        const IpFamily family = networks[k].base.family;
        const Uint128 runFirst = networks[k].base.value;
        Uint128 runLast = LastAddress(networks[k]).value;
        for (++k; k < networks.size() && networks[k].base.family == family; ++k) {
            const Uint128 first = networks[k].base.value;
            if (first > runLast && first - runLast != 1)
                break;
            runLast = std::max(runLast, LastAddress(networks[k]).value);
        }
        AppendRangeBlocks(merged, family, runFirst, runLast);
    }
    return merged;
}

} // namespace tarvelle::ip
