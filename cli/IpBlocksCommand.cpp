#include "IpBlocksCommand.h"

#include "CliArgs.h"
#include "IpBlocks.h"
#include "IpNetwork.h"
#include "IpRecord.h"
#include "IpText.h"

#include <limits>
#include <optional>
#include <vector>

namespace tarvelle::cli {

namespace {

// Without --limit or --all a split prints at most this many subnets, so a typo cannot print 2^64 lines.
constexpr uint64_t kSplitUnasked = 65536;

constexpr const char* kSplitHelp
    = "usage: tarvelle-cli ip split [-j] NETWORK (--prefix N | --count N) [--limit N | --all]\n"
      "Lists the subnets of a network, in address order, one per line, as they are worked out.\n"
      "  NETWORK          ADDRESS/PREFIX, IPv4 or IPv6 (10.0.0.0/16, 2001:db8::/48); host bits set in it are\n"
      "                   cleared; an ADDRESS alone is a single address (/32 or /128)\n"
      "  -p, --prefix N   the subnets' prefix length (\"24\" or \"/24\", an IPv4 mask too), not shorter than\n"
      "                   the network's\n"
      "  -c, --count N    the shortest prefix that gives at least N subnets\n"
      "  -l, --limit N    prints the first N subnets only\n"
      "  -a, --all        prints every subnet; without --limit or --all a split into more than 65536 subnets\n"
      "                   is refused, so that a typo cannot print billions of lines\n"
      "  -j, --json       one JSON object per subnet, on one line\n"
      "  -h, --help       this text\n"
      "Each subnet: network (its first address), prefix (a number), first and last (the first and last usable\n"
      "address; for IPv4 /0 to /30 the network and broadcast addresses are left out, /31 and /32 keep all),\n"
      "usable (the count: a number for IPv4, a string of digits for IPv6).\n"
      "Without --json one line per subnet: NETWORK/PREFIX, FIRST, LAST and USABLE separated by tabs.\n"
      "Exit codes: 0 success; 1 a failed write; 2 bad usage.\n"
      "examples:\n"
      "  tarvelle-cli ip split 10.0.0.0/16 --prefix 24\n"
      "  tarvelle-cli ip split 192.168.0.0/24 --count 6 -j\n"
      "  tarvelle-cli ip split 2001:db8::/32 --prefix 48 --limit 10\n";

constexpr const char* kRangeHelp
    = "usage: tarvelle-cli ip range [-j] FIRST-LAST\n"
      "       tarvelle-cli ip range [-j] FIRST LAST\n"
      "Prints the fewest CIDR blocks that cover exactly the addresses FIRST to LAST, both included, in\n"
      "address order. FIRST and LAST are both IPv4 or both IPv6 addresses, without a zone, LAST not below\n"
      "FIRST.\n"
      "  -j, --json    one JSON object per block, on one line: network (its first address), prefix (a number)\n"
      "  -h, --help    this text\n"
      "Without --json one NETWORK/PREFIX per line.\n"
      "Exit codes: 0 success; 1 a failed write; 2 bad usage.\n"
      "examples:\n"
      "  tarvelle-cli ip range 10.0.0.5-10.0.0.77\n"
      "  tarvelle-cli ip range 2001:db8::1 2001:db8::ff -j\n";

constexpr const char* kMergeHelp
    = "usage: tarvelle-cli ip merge [-j] - < FILE\n"
      "       tarvelle-cli ip merge [-j] NETWORK...\n"
      "Prints the fewest CIDR blocks that cover exactly the union of the networks (route summarisation):\n"
      "the IPv4 blocks first, then the IPv6 ones, each in address order.\n"
      "  NETWORK       ADDRESS/PREFIX or ADDRESS (a single address), IPv4 or IPv6, without a zone; host bits\n"
      "                set in it are cleared (10.0.0.5/24 counts as 10.0.0.0/24)\n"
      "  -             reads one NETWORK per line from standard input (lines up to 4096 bytes; blanks around\n"
      "                a line are ignored). A bad line is told as \"line N: ...\" on stderr, the other lines\n"
      "                are merged, and the exit code is then 1\n"
      "  -j, --json    one JSON object per block, on one line: network (its first address), prefix (a number)\n"
      "  -h, --help    this text\n"
      "Without --json one NETWORK/PREFIX per line.\n"
      "Exit codes: 0 success; 1 a bad input line or a failed read or write; 2 bad usage.\n"
      "examples:\n"
      "  tarvelle-cli ip merge 10.0.0.0/25 10.0.0.128/25 10.0.1.0/24\n"
      "  tarvelle-cli ip merge -j - < routes.txt\n";

constexpr KnownOption kSplitOptions[]
    = {{"json", 'j', false}, {"prefix", 'p', true}, {"count", 'c', true}, {"limit", 'l', true}, {"all", 'a', false}};
constexpr KnownOption kJsonOnly[] = {{"json", 'j', false}};

// The network a text names: its prefix, or a single address; the complaint otherwise.
std::optional<std::string> ReadNetwork(std::string_view text, ip::IpNetwork& network)
{
    IpQuery query;
    if (auto complaint = ReadIpQuery(text, DefaultPrefixes {32, 128}, query))
        return complaint;
    if (!query.zone.empty())
        return "the network " + QuotedShort(text) + " has a zone; a network takes none";
    network = ip::NetworkOf(query.address, query.prefix);
    return std::nullopt;
}

// A count: a number for IPv4, a string of digits for IPv6 (whose counts pass what JSON readers keep exact).
void AppendUsable(std::string& out, ip::AddressCount usable, ip::IpFamily family, bool json)
{
    const bool quoted = json && family == ip::IpFamily::V6;
    if (quoted)
        out += '"';
    ip::AppendCount(out, usable);
    if (quoted)
        out += '"';
}

void AppendSubnet(std::string& out, const ip::IpNetwork& subnet, bool json)
{
    const ip::NetworkSummary s = ip::Summarise(subnet);
    if (json) {
        out += "{\"network\": \"";
        ip::AppendAddress(out, s.network.base);
        out += "\", \"prefix\": " + std::to_string(s.network.prefix) + ", \"first\": \"";
        ip::AppendAddress(out, s.first);
        out += "\", \"last\": \"";
        ip::AppendAddress(out, s.last);
        out += "\", \"usable\": ";
        AppendUsable(out, s.usable, s.network.base.family, true);
        out += "}\n";
        return;
    }
    ip::AppendNetwork(out, s.network);
    out += '\t';
    ip::AppendAddress(out, s.first);
    out += '\t';
    ip::AppendAddress(out, s.last);
    out += '\t';
    AppendUsable(out, s.usable, s.network.base.family, false);
    out += '\n';
}

void AppendBlock(std::string& out, const ip::IpNetwork& block, bool json)
{
    if (!json) {
        ip::AppendNetwork(out, block);
        out += '\n';
        return;
    }
    out += "{\"network\": \"";
    ip::AppendAddress(out, block.base);
    out += "\", \"prefix\": " + std::to_string(block.prefix) + "}\n";
}

void PrintBlocks(const std::vector<ip::IpNetwork>& blocks, bool json, Console& console)
{
    for (const ip::IpNetwork& block : blocks) {
        if (console.out.failed())
            return;
        AppendBlock(console.out.buffer(), block, json);
        console.out.wrote();
    }
}

// The subnet prefix from --prefix or --count; the exit code of bad usage otherwise.
std::optional<int> SplitPrefix(const ParsedArgs& parsed, const ip::IpNetwork& network, Console& console, int& prefix)
{
    const std::string* prefixText = parsed.value("prefix");
    const std::string* countText = parsed.value("count");
    if ((prefixText == nullptr) == (countText == nullptr))
        return BadUsage(console.err, "ip split", "give either --prefix or --count");
    if (prefixText != nullptr) {
        const ip::IpResult<int> length = ReadPrefixText(*prefixText, network.base.family);
        if (!length)
            return BadUsage(console.err, "ip split", PrefixComplaint(*prefixText, length.Error()));
        prefix = *length;
        return std::nullopt;
    }
    const std::optional<uint64_t> count = ParseWhole(*countText, 1, std::numeric_limits<uint64_t>::max());
    if (!count)
        return BadUsage(console.err, "ip split",
                        "--count " + QuotedShort(*countText) + " is not a whole number from 1");
    const ip::IpResult<int> length = ip::PrefixForCount(network, *count);
    if (!length)
        return BadUsage(console.err, "ip split",
                        "--count " + *countText + ": " + std::string(ip::IpErrorText(length.Error())));
    prefix = *length;
    return std::nullopt;
}

} // namespace

std::string_view TrimmedLine(std::string_view line)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!line.empty() && blank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && blank(line.back()))
        line.remove_suffix(1);
    return line;
}

std::string LongLineComplaint(std::string_view start)
{
    return "the line is longer than " + std::to_string(LineReader::kLongestLine) + " bytes; it begins "
        + QuotedShort(start);
}

int RunIpSplit(const Args& args, Console& console)
{
    constexpr std::string_view kName = "ip split";
    ParsedArgs parsed;
    if (const auto done = OpenCommand(args, kSplitOptions, kName, kSplitHelp, 1, parsed, console))
        return *done;
    if (parsed.positionals.empty())
        return BadUsage(console.err, kName, "a NETWORK to split is needed");
    ip::IpNetwork network;
    if (const auto complaint = ReadNetwork(parsed.positionals[0], network))
        return BadUsage(console.err, kName, *complaint);
    int prefix = 0;
    if (const auto done = SplitPrefix(parsed, network, console, prefix))
        return *done;
    const std::string* limitText = parsed.value("limit");
    if (limitText != nullptr && parsed.has("all"))
        return BadUsage(console.err, kName, "give --limit or --all, not both");
    std::optional<uint64_t> limit;
    if (limitText != nullptr && !(limit = ParseWhole(*limitText, 1, std::numeric_limits<uint64_t>::max())))
        return BadUsage(console.err, kName, "--limit " + QuotedShort(*limitText) + " is not a whole number from 1");
    ip::IpResult<ip::SubnetWalker> walker = ip::SplitNetwork(network, prefix);
    if (!walker)
        return BadUsage(console.err, kName,
                        "--prefix " + std::to_string(prefix) + ": " + std::string(ip::IpErrorText(walker.Error())));
    if (!limit && !parsed.has("all") && walker->Count().minusOne >= kSplitUnasked)
        return BadUsage(console.err, kName,
                        "the split gives " + ip::CountText(walker->Count()) + " subnets, more than "
                            + std::to_string(kSplitUnasked) + "; add --limit N or --all");
    const bool json = parsed.has("json");
    uint64_t shown = 0;
    for (ip::IpNetwork subnet; (!limit || shown < *limit) && !console.out.failed() && walker->Next(subnet); ++shown) {
        AppendSubnet(console.out.buffer(), subnet, json);
        console.out.wrote();
    }
    return kExitSuccess;
}

int RunIpRange(const Args& args, Console& console)
{
    constexpr std::string_view kName = "ip range";
    ParsedArgs parsed;
    if (const auto done = OpenCommand(args, kJsonOnly, kName, kRangeHelp, 2, parsed, console))
        return *done;
    const std::vector<std::string>& operands = parsed.positionals;
    if (operands.empty())
        return BadUsage(console.err, kName, "a range FIRST-LAST (or FIRST LAST) is needed");
    const ip::IpResult<ip::AddressRange> range
        = operands.size() == 1 ? ip::ParseRange(operands[0]) : ip::ParseRange(operands[0], operands[1]);
    const std::string written = operands.size() == 1 ? operands[0] : operands[0] + " " + operands[1];
    if (!range)
        return BadUsage(console.err, kName,
                        "the range " + QuotedShort(written, 80)
                            + " is not valid: " + std::string(ip::IpErrorText(range.Error())));
    const ip::IpResult<std::vector<ip::IpNetwork>> blocks = ip::RangeToBlocks(range->first, range->last);
    if (!blocks)
        return BadUsage(console.err, kName, std::string(ip::IpErrorText(blocks.Error())));
    PrintBlocks(*blocks, parsed.has("json"), console);
    return kExitSuccess;
}

// The networks of standard input, one per line; a bad line is told on stderr and left out.
std::optional<int> ReadNetworkLines(Console& console, std::vector<ip::IpNetwork>& networks, uint64_t& bad)
{
    LineReader reader(console.in);
    uint64_t number = 0;
    for (InputLine line = reader.next(); line.kind != InputLine::Kind::End; line = reader.next()) {
        if (line.kind == InputLine::Kind::Error) {
            console.err << "tarvelle-cli ip merge: cannot read standard input: " << line.error << '\n';
            return kExitFailure;
        }
        ++number;
        std::optional<std::string> complaint;
        ip::IpNetwork network;
        if (line.kind == InputLine::Kind::TooLong)
            complaint = LongLineComplaint(line.text);
        else
            complaint = ReadNetwork(TrimmedLine(line.text), network);
        if (complaint) {
            ++bad;
            console.err << "tarvelle-cli ip merge: line " << std::to_string(number) << ": " << *complaint << '\n';
        } else {
            networks.push_back(network);
        }
    }
    return std::nullopt;
}

int RunIpMerge(const Args& args, Console& console)
{
    constexpr std::string_view kName = "ip merge";
    ParsedArgs parsed;
    if (const auto done = OpenCommand(args, kJsonOnly, kName, kMergeHelp, args.size(), parsed, console))
        return *done;
    const std::vector<std::string>& operands = parsed.positionals;
    if (operands.empty())
        return BadUsage(console.err, kName, "NETWORKs (or \"-\" to read them from standard input) are needed");
    std::vector<ip::IpNetwork> networks;
    uint64_t bad = 0;
    if (operands.size() == 1 && operands[0] == "-") {
        if (const auto failed = ReadNetworkLines(console, networks, bad))
            return *failed;
    } else {
        for (const std::string& operand : operands) {
            ip::IpNetwork network;
            if (const auto complaint = ReadNetwork(operand, network))
                return BadUsage(console.err, kName, *complaint);
            networks.push_back(network);
        }
    }
    PrintBlocks(ip::MergeNetworks(std::move(networks)), parsed.has("json"), console);
    if (bad > 0 && !console.out.failed()) {
        console.err << "tarvelle-cli ip merge: " << std::to_string(bad) << " input lines are not networks\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace tarvelle::cli
