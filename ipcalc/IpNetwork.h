// What a network block holds, and what kind of address an address is.
//
// Summarise gives a block's masks, bounds and counts for every prefix of both families: IPv4 /0 to /30
// reserve the network and broadcast addresses, /31 is a point-to-point pair with both addresses usable
// (RFC 3021) and /32 a single host; IPv6 reserves no address. AddressType names the address's entry in the
// IANA special-purpose registries (RFC 6890 and its updates), the most specific block winning. The command
// line calls both for each address it answers and for each subnet a split lists; the IP page's subnet
// computation takes its blocks from Summarise.
#pragma once

#include "IpAddress.h"

#include <optional>
#include <string_view>

namespace tarvelle::ip {

/// A block's masks, bounds and counts.
struct NetworkSummary
{
    IpNetwork network;
    IpAddress netmask; // the prefix's ones, in the family's width
    IpAddress wildcard; // the bits below the prefix
    IpAddress lastAddress; // the block's last address, whether usable or not
    std::optional<IpAddress> broadcast; // IPv4 /0 to /30 only
    IpAddress first; // the first usable address
    IpAddress last; // the last usable address
    AddressCount total;
    AddressCount usable;
};

/// Masks, bounds and counts of the block; bits of its base below the prefix are ignored.
NetworkSummary Summarise(const IpNetwork& block);

/// The address's type text from the special-purpose registries, e.g. "private", "documentation",
/// "global unicast"; "public" (IPv4) or "reserved" (IPv6) outside every listed block.
std::string_view AddressType(const IpAddress& address);

} // namespace tarvelle::ip
