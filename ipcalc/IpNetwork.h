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

/// What the registries say of an address: its entry's type text and two of the entry's columns, each
/// true, false or nullopt where the registry gives no answer ("N/A", or a deprecated entry's blank).
struct AddressKind
{
    std::string_view type;
    std::optional<bool> global; // "Globally Reachable": forwarded beyond the administrative domain
    std::optional<bool> forwardable; // a router may forward it between external interfaces

    friend bool operator==(const AddressKind&, const AddressKind&) = default;
};

/// The address's entry in the special-purpose registries, e.g. "private", "as112", the longest prefix
/// winning; outside them multicast, "global unicast" (IPv6 2000::/3) and the rest, "public" (IPv4, global
/// and forwardable) or "reserved" (IPv6, unallocated: no flags).
AddressKind AddressType(const IpAddress& address);

} // namespace tarvelle::ip
