// The texts of addresses, networks and counts, written without streams or locale.
//
// Each text comes in two forms: an Append function that adds it to the end of a caller's string (so a batch
// writer can reuse one buffer) and a function returning a new string. IPv6 addresses follow RFC 5952 (lower
// case, the longest run of two or more zero groups shortened to "::", the first such run on a tie, an
// IPv4-mapped address as ::ffff:a.b.c.d); the expanded form has eight groups of four digits. Counts are exact
// decimal numbers up to 2^128. A zone is never part of these texts: the caller adds "%zone" where it wants.
#pragma once

#include "IpAddress.h"

#include <cstdint>
#include <string>

namespace tarvelle::ip {

/// Appends the dotted quad of an IPv4 value, e.g. "192.0.2.1".
void AppendIpv4(std::string& out, uint32_t value);

/// Appends the address: dotted for IPv4, RFC 5952 for IPv6.
void AppendAddress(std::string& out, const IpAddress& address);

/// The address: dotted for IPv4, RFC 5952 for IPv6.
std::string AddressText(const IpAddress& address);

/// Appends the expanded form: eight groups of four hex digits for IPv6, dotted for IPv4.
void AppendExpanded(std::string& out, const IpAddress& address);

/// The expanded form: eight groups of four hex digits for IPv6, dotted for IPv4.
std::string ExpandedText(const IpAddress& address);

/// Appends the reverse DNS name: "4.3.2.1.in-addr.arpa" or 32 nibbles, lowest first, then "ip6.arpa".
void AppendReverseName(std::string& out, const IpAddress& address);

/// The reverse DNS name of the address, without a final dot.
std::string ReverseName(const IpAddress& address);

/// Appends "base/prefix", the base as AppendAddress writes it.
void AppendNetwork(std::string& out, const IpNetwork& network);

/// "base/prefix", the base as AppendAddress writes it.
std::string NetworkText(const IpNetwork& network);

/// Appends the exact decimal digits of a 128-bit value.
void AppendDecimal(std::string& out, Uint128 value);

/// The exact decimal digits of a 128-bit value.
std::string DecimalText(Uint128 value);

/// Appends the exact decimal digits of a count, 2^128 included.
void AppendCount(std::string& out, AddressCount count);

/// The exact decimal digits of a count, 2^128 included.
std::string CountText(AddressCount count);

} // namespace tarvelle::ip
