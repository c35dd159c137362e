// tarvelle-cli ip: what a network holds, for one IPv4 or IPv6 address or one per input line; split, range and
// merge are handed to IpBlocksCommand.
#include "CliArgs.h"
#include "Commands.h"
#include "IpBlocksCommand.h"
#include "IpRecord.h"
#include "JsonWriter.h"

#include <optional>
#include <string>
#include <string_view>

namespace tarvelle::cli {

namespace {

constexpr std::string_view kCommand = "ip";

constexpr const char* kHelp
    = "usage: tarvelle-cli ip [-j] ADDRESS[/PREFIX] [PREFIX]\n"
      "       tarvelle-cli ip [-j] - [PREFIX] < FILE\n"
      "       tarvelle-cli ip split | range | merge ...   (see tarvelle-cli ip split --help, and so on)\n"
      "Shows what a network holds, for an IPv4 or an IPv6 address and a prefix length. For IPv4: netmask,\n"
      "network and broadcast addresses, usable range, address counts, class, address type and its registry\n"
      "flags, reverse DNS name, and for /8 to /30 the IP Calculator page's breakdown into net, subnet and\n"
      "node parts. For IPv6: the address in its short (RFC 5952) and full forms, network, last address,\n"
      "address count, type and registry flags, and reverse DNS name.\n"
      "  ADDRESS    IPv4: four numbers 0 to 255 joined by \".\", digits only, no leading zeros (192.168.1.10);\n"
      "             IPv6 (any text with a colon): every standard form, such as 2001:db8::1, the full eight\n"
      "             groups, ::ffff:192.0.2.1, and a zone such as fe80::1%eth0\n"
      "  PREFIX     a prefix length, written \"/24\" or \"24\": IPv4 /0 to /32, or the netmask (255.255.255.0,\n"
      "             ones then zeros only); IPv6 /0 to /128. After ADDRESS as \"/24\" or as its own argument.\n"
      "             The default is /24 for IPv4 and /64 for IPv6. /31 is a point-to-point link (RFC 3021):\n"
      "             both addresses usable, no broadcast; /32 is a single host\n"
      "  -          reads one ADDRESS[/PREFIX] per line from standard input, IPv4 and IPv6 mixed as they come\n"
      "             (lines up to 4096 bytes; blanks around a line are ignored), and prints one result per\n"
      "             line, in input order; a PREFIX argument is the prefix of the lines that give none. A bad\n"
      "             line gives an error in its place, the other lines go on, and the exit code is then 1\n"
      "  -j, --json one JSON object per result, on one line (keys below)\n"
      "  -h, --help this text\n"
      "JSON keys of an IPv4 result:\n"
      "  input      the argument or input line as given\n"
      "  address    the address, dotted          prefix     the prefix length, a number\n"
      "  netmask    the mask, dotted             wildcard   the mask's complement (0.0.0.255 for /24)\n"
      "  network    the network (reserved) address, its host bits clear\n"
      "  broadcast  the broadcast address, its host bits set; null for /31 and /32\n"
      "  first      the first usable address     last       the last usable address\n"
      "  total      the number of addresses      usable     total less network and broadcast (numbers)\n"
      "  class      the address class, such as \"Class C (/24 Network)\" or \"Local (/16 Network)\"\n"
      "  type       the address's entry in the IANA special-purpose registry, the most specific winning:\n"
      "             \"this network\", \"this host on this network\", \"private\", \"shared\", \"loopback\",\n"
      "             \"link-local\", \"ietf protocol assignments\", \"ipv4 service continuity prefix\",\n"
      "             \"ipv4 dummy address\", \"pcp anycast\", \"turn anycast\", \"nat64/dns64 discovery\",\n"
      "             \"documentation\", \"as112\", \"amt\", \"deprecated 6to4 relay anycast\",\n"
      "             \"6a44 relay anycast\", \"as112 direct delegation\", \"benchmarking\", \"reserved\",\n"
      "             \"limited broadcast\"; outside them \"multicast\" or \"public\"\n"
      "  global     the entry's Globally Reachable column: true, false, or null where the registry gives no\n"
      "             answer (N/A, a deprecated entry, multicast); a public address is true\n"
      "  forwardable\n"
      "             the entry's Forwardable column (a router may forward the address between external\n"
      "             interfaces): true, false or null, as for global\n"
      "  reverse    the reverse DNS name, such as \"10.1.168.192.in-addr.arpa\"\n"
      "  breakdown  the decimal breakdown, such as \"Net 13107458 Node 3 of 254\", or a message when the\n"
      "             prefix is shorter than the class's network (\"Invalid Class / Subnet Combination\");\n"
      "             null outside /8 to /30\n"
      "  binary     an object: address and netmask in binary (four groups of eight digits), and breakdown,\n"
      "             the binary breakdown (null when there is none)\n"
      "JSON keys of an IPv6 result:\n"
      "  input, prefix, network, last (the block's last address), global, forwardable and reverse (the\n"
      "  ip6.arpa name) as above;\n"
      "  address    the address in its short form (RFC 5952), without the zone\n"
      "  zone       the zone after \"%\", or null        expanded   eight groups of four hex digits\n"
      "  total      the number of addresses, exact, as a string of digits (\"18446744073709551616\" for /64)\n"
      "  type       the registry entry: \"unspecified\", \"loopback\", \"ipv4-mapped\",\n"
      "             \"nat64 well-known prefix\", \"local-use translation prefix\", \"discard-only\",\n"
      "             \"dummy ipv6 prefix\", \"ietf protocol assignments\", \"teredo\", \"pcp anycast\",\n"
      "             \"turn anycast\", \"dns-sd srp anycast\", \"benchmarking\", \"amt\", \"as112\",\n"
      "             \"deprecated orchid\", \"orchidv2\", \"drone remote id\", \"documentation\", \"6to4\",\n"
      "             \"as112 direct delegation\", \"srv6 sids\", \"unique local\", \"link-local\"; outside them\n"
      "             \"multicast\", \"global unicast\" (2000::/3: global and forwardable true) or \"reserved\"\n"
      "             (not allocated: both null)\n"
      "  A bad input line gives {\"input\": LINE, \"error\": MESSAGE}.\n"
      "Without --json: one \"Caption: text\" line per result (a caption without a value is left out), the\n"
      "two flags on one line, such as \"Reachability: global no, forwardable yes\" (\"n/a\" for null); with\n"
      "\"-\" the results of one line stand on one line, separated by tabs, and a bad line reads \"error:\n"
      "line N: MESSAGE\".\n"
      "Exit codes: 0 success; 1 a bad input line or a failed read or write; 2 bad usage.\n"
      "examples:\n"
      "  tarvelle-cli ip 192.168.1.10/24\n"
      "  tarvelle-cli ip 10.0.0.1 255.255.0.0 --json\n"
      "  tarvelle-cli ip 2001:db8::1/48\n"
      "  tarvelle-cli ip -j - 16 < addresses.txt\n";

constexpr KnownOption kOptions[] = {{"json", 'j', false}};

void AppendCount(std::string& out, uint64_t value)
{
    out += std::to_string(value);
}

void AppendError(std::string& out, uint64_t number, std::string_view input, std::string_view complaint, bool json)
{
    if (json) {
        out += "{\"input\": ";
        AppendJsonString(out, input);
        out += ", \"error\": ";
        AppendJsonString(out, complaint);
        out += "}\n";
    } else {
        out += "error: line ";
        AppendCount(out, number);
        out += ": ";
        out += complaint;
        out += '\n';
    }
}

// One result per input line; bad lines give an error in their place. Stops at the first failed write.
int RunLines(Console& console, const DefaultPrefixes& defaults, bool json)
{
    LineReader reader(console.in);
    IpRecordWriter writer;
    IpQuery query;
    uint64_t number = 0;
    uint64_t bad = 0;
    for (InputLine line = reader.next(); !console.out.failed(); line = reader.next()) {
        if (line.kind == InputLine::Kind::End)
            break;
        if (line.kind == InputLine::Kind::Error) {
            console.err << "tarvelle-cli ip: cannot read standard input: " << line.error << '\n';
            return kExitFailure;
        }
        ++number;
        std::string& out = console.out.buffer();
        if (line.kind == InputLine::Kind::TooLong) {
            ++bad;
            AppendError(out, number, std::string(line.text) + "...", LongLineComplaint(line.text), json);
        } else {
            const std::string_view text = TrimmedLine(line.text);
            if (const auto complaint = ReadIpQuery(text, defaults, query)) {
                ++bad;
                AppendError(out, number, text, *complaint, json);
            } else {
                writer.Append(out, text, query, json, true);
            }
        }
        console.out.wrote();
    }
    if (bad > 0 && !console.out.failed()) {
        console.err << "tarvelle-cli ip: " << std::to_string(bad) << " of " << std::to_string(number)
                    << " input lines are not addresses\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

// The PREFIX argument read for each family; bad usage (exit code) when it suits neither.
std::optional<int> ReadDefaultPrefixes(const std::string& text, DefaultPrefixes& defaults, Console& console)
{
    defaults.v4 = ReadPrefixText(text, ip::IpFamily::V4);
    defaults.v6 = ReadPrefixText(text, ip::IpFamily::V6);
    if (!defaults.v4 && !defaults.v6)
        return BadUsage(console.err, kCommand, PrefixComplaint(text, defaults.v4.Error()));
    return std::nullopt;
}

// The subcommand named by the first operand (options such as -j may stand before it), or none.
IpSubcommand FindSubcommand(const Args& args, Args& rest)
{
    for (size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (arg == "--")
            break;
        if (arg.size() > 1 && arg[0] == '-')
            continue;
        const IpSubcommand sub = arg == "split" ? RunIpSplit
            : arg == "range"                    ? RunIpRange
            : arg == "merge"                    ? RunIpMerge
                                                : nullptr;
        if (sub != nullptr) {
            rest = args;
            rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(k));
        }
        return sub;
    }
    return nullptr;
}

} // namespace

int RunIpCommand(const Args& args, Console& console)
{
    Args rest;
    if (const IpSubcommand sub = FindSubcommand(args, rest))
        return sub(rest, console);
    ParsedArgs parsed;
    if (const auto done = OpenCommand(args, kOptions, kCommand, kHelp, 2, parsed, console))
        return *done;
    const std::vector<std::string>& operands = parsed.positionals;
    if (operands.empty())
        return BadUsage(console.err, kCommand, "an ADDRESS (or \"-\" to read addresses from standard input) is needed");
    const bool json = parsed.has("json");
    DefaultPrefixes defaults;
    if (operands.size() == 2) {
        if (const auto done = ReadDefaultPrefixes(operands[1], defaults, console))
            return *done;
    }
    if (operands[0] == "-")
        return RunLines(console, defaults, json);
    if (operands.size() == 2 && operands[0].find('/') != std::string::npos)
        return BadUsage(console.err, kCommand, "the prefix is given twice, after \"/\" and as " + Quoted(operands[1]));
    IpQuery query;
    if (const auto complaint = ReadIpQuery(operands[0], defaults, query))
        return BadUsage(console.err, kCommand, *complaint);
    IpRecordWriter writer;
    writer.Append(console.out.buffer(), operands[0], query, json, false);
    console.out.wrote();
    return kExitSuccess;
}

} // namespace tarvelle::cli
