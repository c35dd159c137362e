// Reading IPv4 addresses and prefixes as tarvelle-cli's ip command takes them.
//
// An address is four decimal octets 0 to 255 joined by ".", digits only: no sign, no blanks and no leading
// zeros (elsewhere "010" reads as octal 8, so it is refused rather than guessed). A prefix is a length from
// kShortestPrefix to kLongestPrefix, written "/24" or "24", or the equivalent contiguous mask
// ("255.255.255.0"). Each reader is one small function over a string_view, so that a wider address family or
// prefix range replaces it in one place.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tarvelle::cli {

/// The prefix lengths the subnet computation handles.
inline constexpr int kShortestPrefix = 8;
inline constexpr int kLongestPrefix = 30;

/// The address as a 32-bit number (first octet in the top byte); nothing for any other text.
std::optional<uint32_t> ParseIpv4(std::string_view text);

/// A prefix length: "/N" or "N" for N in kShortestPrefix..kLongestPrefix (no leading zeros), or a mask of such
/// a length; nothing for any other text.
std::optional<int> ParsePrefix(std::string_view text);

/// What a prefix must look like, for complaints.
inline constexpr std::string_view kPrefixExpected
    = "a prefix length /8 to /30 (\"/24\" or \"24\") or its mask (255.0.0.0 to 255.255.255.252)";
/// What an address must look like, for complaints.
inline constexpr std::string_view kAddressExpected
    = "an IPv4 address: four numbers 0 to 255 joined by \".\", digits only, without leading zeros";

} // namespace tarvelle::cli
