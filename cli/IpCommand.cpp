// tarvelle-cli ip: the IP Calculator page's results for one address, or for one address per input line.
#include "CliArgs.h"
#include "Commands.h"
#include "Ipv4Text.h"
#include "JsonWriter.h"
#include "SubnetTexts.h"

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tarvelle::cli {

namespace {

constexpr std::string_view kCommand = "ip";

constexpr const char* kHelp
    = "usage: tarvelle-cli ip [-j] ADDRESS[/PREFIX] [PREFIX]\n"
      "       tarvelle-cli ip [-j] - [PREFIX] < FILE\n"
      "Shows a network's addresses for an IPv4 address and a prefix length, with the IP Calculator page's\n"
      "texts: netmask, network and broadcast addresses, usable range, address counts, class, and how the\n"
      "address breaks down into net, subnet and node parts (in decimal and in binary).\n"
      "  ADDRESS    four numbers 0 to 255 joined by \".\", digits only, no leading zeros (192.168.1.10)\n"
      "  PREFIX     a prefix length from /8 to /30, written \"/24\" or \"24\", or its netmask (255.255.255.0);\n"
      "             after ADDRESS as \"/24\" or as its own argument; the default is /24\n"
      "  -          reads one ADDRESS[/PREFIX] per line from standard input (lines up to 4096 bytes; blanks\n"
      "             around a line are ignored) and prints one result per line, in input order; a PREFIX\n"
      "             argument is the prefix of the lines that give none. A bad line gives an error in its place,\n"
      "             the other lines go on, and the exit code is then 1\n"
      "  -j, --json one JSON object per result, on one line (keys below)\n"
      "  -h, --help this text\n"
      "JSON keys:\n"
      "  input      the argument or input line as given\n"
      "  address    the address, dotted          prefix     the prefix length, a number\n"
      "  netmask    the mask, dotted             wildcard   the mask's complement (0.0.0.255 for /24)\n"
      "  network    the network (reserved) address, its host bits clear\n"
      "  broadcast  the broadcast address, its host bits set\n"
      "  first      the first usable address     last       the last usable address\n"
      "  total      the number of addresses      usable     total less network and broadcast\n"
      "  class      the address class, such as \"Class C (/24 Network)\" or \"Local (/16 Network)\"\n"
      "  breakdown  the decimal breakdown, such as \"Net 13107458 Node 3 of 254\", or a message when the\n"
      "             prefix is shorter than the class's network (\"Invalid Class / Subnet Combination\")\n"
      "  binary     an object: address and netmask in binary (four groups of eight digits), and breakdown,\n"
      "             the binary breakdown (null when there is none)\n"
      "  A bad input line gives {\"input\": LINE, \"error\": MESSAGE}.\n"
      "Without --json: one \"Caption: text\" line per result; with \"-\" the results of one line stand on one\n"
      "line, separated by tabs, and a bad line reads \"error: line N: MESSAGE\".\n"
      "Exit codes: 0 success; 1 a bad input line or a failed read or write; 2 bad usage.\n"
      "examples:\n"
      "  tarvelle-cli ip 192.168.1.10/24\n"
      "  tarvelle-cli ip 10.0.0.1 255.255.0.0 --json\n"
      "  tarvelle-cli ip -j - 16 < addresses.txt\n";

constexpr KnownOption kOptions[] = {{"json", 'j', false}};

struct Query
{
    uint32_t address = 0;
    int prefix = 24;
};

std::string PrefixComplaint(std::string_view text)
{
    return "the prefix " + QuotedShort(text) + " is not " + std::string(kPrefixExpected);
}

// ADDRESS[/PREFIX]; a prefix in the text wins over `prefix`. The complaint when the text is no address.
std::variant<Query, std::string> ParseQuery(std::string_view text, int prefix)
{
    Query query;
    query.prefix = prefix;
    std::string_view address = text;
    if (const size_t slash = text.find('/'); slash != std::string_view::npos) {
        const std::optional<int> length = ParsePrefix(text.substr(slash + 1));
        if (!length)
            return PrefixComplaint(text.substr(slash + 1));
        query.prefix = *length;
        address = text.substr(0, slash);
    }
    const std::optional<uint32_t> value = ParseIpv4(address);
    if (!value)
        return "the address " + QuotedShort(address) + " is not " + std::string(kAddressExpected);
    query.address = *value;
    return query;
}

void AppendNumber(std::string& out, uint64_t value)
{
    char digits[24];
    out.append(digits, static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits));
}

void AppendMember(std::string& out, std::string_view key, std::string_view value)
{
    out += key;
    AppendJsonString(out, value);
}

// A text of SubnetTexts: digits, letters, blanks and ".-/()+" only, which JSON takes as they are.
void AppendComposed(std::string& out, std::string_view key, std::string_view value)
{
    out += key;
    out += '"';
    out += value;
    out += '"';
}

void AppendJson(std::string& out, std::string_view input, const SubnetTexts& t)
{
    AppendMember(out, "{\"input\": ", input);
    AppendComposed(out, ", \"address\": ", t.address);
    out += ", \"prefix\": ";
    AppendNumber(out, static_cast<uint64_t>(t.prefix));
    AppendComposed(out, ", \"netmask\": ", t.netmask);
    AppendComposed(out, ", \"wildcard\": ", t.wildcard);
    AppendComposed(out, ", \"network\": ", t.network);
    AppendComposed(out, ", \"broadcast\": ", t.broadcast);
    AppendComposed(out, ", \"first\": ", t.first);
    AppendComposed(out, ", \"last\": ", t.last);
    out += ", \"total\": ";
    AppendNumber(out, t.total);
    out += ", \"usable\": ";
    AppendNumber(out, t.usable);
    AppendComposed(out, ", \"class\": ", t.classText);
    AppendComposed(out, ", \"breakdown\": ", t.breakdown);
    AppendComposed(out, ", \"binary\": {\"address\": ", t.binaryAddress);
    AppendComposed(out, ", \"netmask\": ", t.binaryNetmask);
    if (t.binaryBreakdown.empty())
        out += ", \"breakdown\": null";
    else
        AppendComposed(out, ", \"breakdown\": ", t.binaryBreakdown);
    out += "}}\n";
}

// The captions and texts of one result: each on its own line, texts lined up, or all on one line with tabs.
void AppendPlain(std::string& out, const SubnetTexts& t, bool oneLine)
{
    const std::string_view rows[][2] = {
        {"Address", t.address},
        {"Prefix", {}},
        {"Netmask", t.netmask},
        {"Wildcard", t.wildcard},
        {"Network", t.network},
        {"Broadcast", t.broadcast},
        {"Usable range", t.range},
        {"Addresses", t.addresses},
        {"Class", t.classText},
        {"Breakdown", t.breakdown},
        {"Binary address", t.binaryAddress},
        {"Binary netmask", t.binaryNetmask},
        {"Binary breakdown", t.binaryBreakdown},
    };
    constexpr size_t kValueColumn = 18;
    bool firstRow = true;
    for (const auto& [caption, value] : rows) {
        if (caption == "Binary breakdown" && value.empty())
            continue;
        if (!firstRow)
            out += oneLine ? '\t' : '\n';
        firstRow = false;
        out += caption;
        out += ':';
        out.append(oneLine ? 1 : kValueColumn - caption.size() - 1, ' ');
        if (caption == "Prefix")
            AppendNumber(out, static_cast<uint64_t>(t.prefix));
        else
            out += value;
    }
    out += '\n';
}

std::string_view Trimmed(std::string_view line)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!line.empty() && blank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && blank(line.back()))
        line.remove_suffix(1);
    return line;
}

void AppendError(std::string& out, uint64_t number, std::string_view input, std::string_view complaint, bool json)
{
    if (json) {
        AppendMember(out, "{\"input\": ", input);
        AppendMember(out, ", \"error\": ", complaint);
        out += "}\n";
    } else {
        out += "error: line ";
        AppendNumber(out, number);
        out += ": ";
        out += complaint;
        out += '\n';
    }
}

// One result per input line; bad lines give an error in their place. Stops at the first failed write.
int RunLines(Console& console, int prefix, bool json)
{
    LineReader reader(console.in);
    SubnetTexts texts;
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
            const std::string complaint = "the line is longer than " + std::to_string(LineReader::kLongestLine)
                + " bytes; it begins " + QuotedShort(line.text);
            AppendError(out, number, std::string(line.text) + "...", complaint, json);
        } else {
            const std::string_view text = Trimmed(line.text);
            const auto query = ParseQuery(text, prefix);
            if (const auto* complaint = std::get_if<std::string>(&query)) {
                ++bad;
                AppendError(out, number, text, *complaint, json);
            } else {
                ComposeSubnetTexts(std::get<Query>(query).address, std::get<Query>(query).prefix, texts);
                if (json)
                    AppendJson(out, text, texts);
                else
                    AppendPlain(out, texts, true);
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

} // namespace

int RunIpCommand(const Args& args, Console& console)
{
    ParsedArgs parsed;
    if (const auto done = OpenCommand(args, kOptions, kCommand, kHelp, 2, parsed, console))
        return *done;
    const std::vector<std::string>& operands = parsed.positionals;
    if (operands.empty())
        return BadUsage(console.err, kCommand, "an ADDRESS (or \"-\" to read addresses from standard input) is needed");
    const bool json = parsed.has("json");
    int prefix = 24;
    if (operands.size() == 2) {
        const std::optional<int> length = ParsePrefix(operands[1]);
        if (!length)
            return BadUsage(console.err, kCommand, PrefixComplaint(operands[1]));
        prefix = *length;
    }
    if (operands[0] == "-")
        return RunLines(console, prefix, json);
    if (operands.size() == 2 && operands[0].find('/') != std::string::npos)
        return BadUsage(console.err, kCommand, "the prefix is given twice, after \"/\" and as " + Quoted(operands[1]));
    const auto query = ParseQuery(operands[0], prefix);
    if (const auto* complaint = std::get_if<std::string>(&query))
        return BadUsage(console.err, kCommand, *complaint);
    SubnetTexts texts;
    ComposeSubnetTexts(std::get<Query>(query).address, std::get<Query>(query).prefix, texts);
    if (json)
        AppendJson(console.out.buffer(), operands[0], texts);
    else
        AppendPlain(console.out.buffer(), texts, false);
    console.out.wrote();
    return kExitSuccess;
}

} // namespace tarvelle::cli
