// Splitting a network into subnets, turning an address range into CIDR blocks, and merging blocks.
//
// SplitNetwork gives a walker that hands out the subnets one at a time in address order, in constant memory,
// so the command line can stream any number of them and stop at its own limit; PrefixForCount picks the
// subnet prefix for a wanted number of subnets. RangeToBlocks and MergeNetworks give the fewest blocks that
// cover exactly a range or a union of blocks (route summarisation), IPv4 and IPv6 alike, families kept
// apart. All arithmetic stays inside 128 bits, the whole ::/0 included.
#pragma once

#include "IpAddress.h"

#include <vector>

namespace tarvelle::ip {

/// The subnets of a network at a longer prefix, in address order, one at a time.
class SubnetWalker
{
public:
    /// Writes the next subnet to `out`; false, leaving `out` alone, once every subnet has been given.
    bool Next(IpNetwork& out);

    /// How many subnets the walk gives in all, 1 to 2^128.
    AddressCount Count() const { return count_; }

private:
    friend IpResult<SubnetWalker> SplitNetwork(const IpNetwork& network, int prefix);
    SubnetWalker(const IpNetwork& network, int prefix);

    IpNetwork next_;
    Uint128 stepMinusOne_ = 0; // a subnet's size less one
    AddressCount count_;
    Uint128 given_ = 0;
    bool done_ = false;
};

/// A walk over the subnets of `network` at `prefix`; refuses a prefix shorter than the network's or too long.
IpResult<SubnetWalker> SplitNetwork(const IpNetwork& network, int prefix);

/// The shortest subnet prefix at which `network` splits into at least `count` subnets.
IpResult<int> PrefixForCount(const IpNetwork& network, Uint128 count);

/// The fewest blocks covering exactly first..last, in address order; refuses mixed families or last < first.
IpResult<std::vector<IpNetwork>> RangeToBlocks(const IpAddress& first, const IpAddress& last);

/// The fewest blocks covering exactly the union of the networks: IPv4 blocks first, each family in address
/// order. A single address is passed as a /32 or /128 network.
std::vector<IpNetwork> MergeNetworks(std::vector<IpNetwork> networks);

} // namespace tarvelle::ip
