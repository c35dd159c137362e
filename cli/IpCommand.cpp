// tarvelle-cli ip: the IP Calculator page's results for one address and prefix length or mask.
#include "Commands.h"

#include "IpPageModel.h"
#include "SubnetCalc.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace tarvelle::cli {
namespace {

constexpr const char* kUsage = "usage: tarvelle-cli ip ADDRESS/PREFIX\n"
                               "       tarvelle-cli ip ADDRESS MASK\n"
                               "Shows the class, reserved and broadcast addresses, usable range, address counts,\n"
                               "binary forms and breakdown of an IPv4 address. PREFIX is 8 to 30; MASK is the\n"
                               "matching dotted mask (255.0.0.0 to 255.255.255.252).\n"
                               "example: tarvelle-cli ip 192.168.1.10/24\n";

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Four dot-separated decimal octets 0..255; the command does not correct an address, it refuses it.
std::optional<std::array<std::string, 4>> ParseAddress(std::string_view text)
{
    std::array<std::string, 4> octets;
    for (size_t k = 0; k < 4; ++k) {
        const size_t dot = k < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos)
            return std::nullopt;
        const std::string_view part = text.substr(0, dot);
        if (!AllDigits(part) || part.size() > 3 || std::stoi(std::string(part)) > 255)
            return std::nullopt;
        octets[k] = std::string(part);
        text.remove_prefix(k < 3 ? dot + 1 : dot);
    }
    return octets;
}

// Prefix index 0..22 for a prefix length text "8".."30".
std::optional<int> ParsePrefix(std::string_view text)
{
    if (!AllDigits(text) || text.size() > 2)
        return std::nullopt;
    const int length = std::stoi(std::string(text));
    if (length < 8 || length > 30)
        return std::nullopt;
    return length - 8;
}

std::optional<int> ParseMask(std::string_view text)
{
    const auto* it = std::find(MaskItems.begin(), MaskItems.end(), text);
    if (it == MaskItems.end())
        return std::nullopt;
    return static_cast<int>(it - MaskItems.begin());
}

void PrintResult(const std::array<std::string, 4>& octets, int prefixIndex, std::ostream& out)
{
    const TSubnetResult r = ComputeSubnet(octets, prefixIndex);
    const auto index = static_cast<size_t>(prefixIndex);
    out << "Address:                " << octets[0] << '.' << octets[1] << '.' << octets[2] << '.' << octets[3] << " /"
        << prefixIndex + 8 << '\n'
        << "Subnet Mask:            " << MaskItems[index] << '\n'
        << "Address Class:          " << r.ClassText << '\n'
        << "Reserved Address:       " << r.ReservedText << '\n'
        << "Broadcast Address:      " << r.BroadcastText << '\n'
        << "Usable Range:           " << r.RangeText << '\n'
        << "Available Addresses:    " << r.AddressesText << '\n'
        << "Decimal Breakdown:      " << r.BreakdownText << '\n'
        << "Binary Representation:  " << r.IPBinaryText << '\n'
        << "Subnet Mask Binary:     " << r.SNBinaryText << '\n';
}

} // namespace

int RunIpCommand(const Args& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    if (args.empty() || args.size() > 2) {
        err << kUsage;
        return 2;
    }
    std::string_view address = args[0];
    std::optional<int> prefixIndex;
    if (args.size() == 1) {
        const size_t slash = address.find('/');
        if (slash == std::string_view::npos) {
            err << "tarvelle-cli ip: give a prefix length (ADDRESS/PREFIX) or a mask (ADDRESS MASK)\n" << kUsage;
            return 2;
        }
        prefixIndex = ParsePrefix(address.substr(slash + 1));
        if (!prefixIndex) {
            err << "tarvelle-cli ip: prefix length must be a number from 8 to 30: '" << address.substr(slash + 1)
                << "'\n";
            return 2;
        }
        address = address.substr(0, slash);
    } else {
        prefixIndex = ParseMask(args[1]);
        if (!prefixIndex) {
            err << "tarvelle-cli ip: mask must be one of 255.0.0.0 to 255.255.255.252 with 8 to 30 leading one bits: '"
                << args[1] << "'\n";
            return 2;
        }
    }
    const auto octets = ParseAddress(address);
    if (!octets) {
        err << "tarvelle-cli ip: not an IPv4 address (four numbers 0 to 255 joined by dots): '" << address << "'\n";
        return 2;
    }
    PrintResult(*octets, *prefixIndex, out);
    return 0;
}

} // namespace tarvelle::cli
