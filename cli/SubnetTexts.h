// The IP Calculator's result texts for one address and prefix, composed without a heap allocation per text.
//
// ComposeSubnetTexts gives the same texts as the subnet computation (ComputeSubnet in SubnetCalc.h) for the
// same address and prefix, and takes the class rules from it (ClassifyAddress); it exists because `ip -`
// answers hundreds of thousands of lines a second, and ComputeSubnet builds some thirty strings per call. The
// CLI tests hold the two equal over every prefix and every class. The command line also answers the prefixes
// the page lacks, /0 to /7, /31 and /32: the same texts without a breakdown, and for /31 (RFC 3021) and /32
// without a broadcast address, both addresses (or the one) usable. The ip command is the only caller.
#pragma once

#include <cstdint>
#include <string_view>

namespace tarvelle::cli {

/// Every text of one result. The views point into the object's own storage: it is neither copied nor moved.
struct SubnetTexts
{
    SubnetTexts() = default;
    SubnetTexts(const SubnetTexts&) = delete;
    SubnetTexts& operator=(const SubnetTexts&) = delete;

    int prefix = 0;
    uint64_t total = 0; // addresses in the network
    uint64_t usable = 0; // total less the network and broadcast addresses (all of them for /31 and /32)
    std::string_view address; // dotted
    std::string_view netmask;
    std::string_view wildcard; // the mask's complement, dotted
    std::string_view network; // the reserved address
    std::string_view broadcast; // empty for /31 and /32
    std::string_view first; // the usable range's ends
    std::string_view last;
    std::string_view range; // "first - last", as the page shows it
    std::string_view addresses; // "T Total, U Usable (G + Gateway)", as the page shows it ("T Total, U Usable"
                                // for /31 and /32)
    std::string_view classText;
    std::string_view breakdown; // the decimal breakdown, or a message; empty outside /8 to /30
    std::string_view binaryAddress; // four groups of eight binary digits
    std::string_view binaryNetmask;
    std::string_view binaryBreakdown; // the binary breakdown; empty when the page shows none

    char storage[640];
    size_t used = 0;
};

/// Whether the page offers the prefix length, and so a breakdown: /8 to /30.
constexpr bool IsPagePrefix(int prefix)
{
    return prefix >= 8 && prefix <= 30;
}

/// Fills texts for an address (first octet in the top byte) and a prefix length from 0 to 32.
void ComposeSubnetTexts(uint32_t address, int prefix, SubnetTexts& texts);

} // namespace tarvelle::cli
