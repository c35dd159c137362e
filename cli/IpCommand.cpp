// tarvelle-cli ip: the IP Calculator page's results for one address, or for one address per input line.
#include "CliArgs.h"
#include "Commands.h"
#include "IpPageModel.h"
#include "JsonWriter.h"
#include "SubnetCalc.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tarvelle::cli {

namespace {

constexpr std::string_view kCommand = "ip";

constexpr const char* kHelp
    = "usage: tarvelle-cli ip ADDRESS[/PREFIX] [PREFIX|MASK] [--json]\n"
      "       tarvelle-cli ip - [PREFIX|MASK] [--json] < FILE\n"
      "Shows what the IP Calculator page shows for an IPv4 address and a prefix length: class, reserved and\n"
      "broadcast addresses, address counts, usable range, binary forms and the net/subnet/node breakdown.\n"
      "  ADDRESS   four octets joined by \".\"; each octet is read as the page reads its box: a number above 255\n"
      "            counts as 255, one below 0 as 0, and an empty or non-numeric octet as 0\n"
      "  PREFIX    a prefix length from /8 to /30, written \"/24\" or \"24\" (default /24)\n"
      "  MASK      the mask of such a prefix, 255.0.0.0 to 255.255.255.252\n"
      "  -         reads one ADDRESS[/PREFIX] per line from standard input and prints one line per input\n"
      "            line; a PREFIX or MASK argument is the prefix of the lines that give none. A line that is\n"
      "            not an address gives an error line (an object with \"error\" under --json) and the others\n"
      "            go on; the exit code is then 1\n"
      "  --json    prints each result as one JSON object with the keys OctetValues, OctetCorrections,\n"
      "            PrefixLength, Mask, IPBinaryText, SNBinaryText, ReservedText, BroadcastText, RangeText,\n"
      "            AddressesText, ClassText and BreakdownText\n"
      "  --help    this text\n"
      "Plain output has one \"Caption: text\" line per result; with \"-\" the captions and texts of one address\n"
      "stand on one line, separated by tabs.\n"
      "example: tarvelle-cli ip 192.168.1.10/24\n";

constexpr KnownOption kOptions[] = {{"--json", false}};

// What one address asks for: the four octet texts as typed and the prefix list's index.
struct Query
{
    std::array<std::string, 4> octets;
    int prefixIndex = InitialPrefixIndex;
};

// "/24", "24" or one of the masks of the list, as the list index.
std::optional<int> ParsePrefix(std::string_view text)
{
    const std::string_view bare = text.starts_with('/') ? text.substr(1) : text;
    if (const std::optional<uint64_t> length = ParseWhole(bare, 8, 30))
        return static_cast<int>(*length) - 8;
    for (size_t i = 0; i < MaskItems.size(); ++i) {
        if (MaskItems[i] == bare)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

std::string PrefixComplaint(std::string_view text)
{
    return "the prefix " + Quoted(text) + " is not /8 to /30 (\"/24\" or \"24\") nor one of the masks 255.0.0.0 to "
        + "255.255.255.252";
}

// ADDRESS[/PREFIX]; a prefix in the text wins over `prefixIndex`. The complaint when the text is no address.
std::variant<Query, std::string> ParseQuery(std::string_view text, int prefixIndex)
{
    Query query;
    query.prefixIndex = prefixIndex;
    std::string_view address = text;
    if (const size_t slash = text.find('/'); slash != std::string_view::npos) {
        const std::optional<int> index = ParsePrefix(text.substr(slash + 1));
        if (!index)
            return PrefixComplaint(text.substr(slash + 1));
        query.prefixIndex = *index;
        address = text.substr(0, slash);
    }
    size_t parts = 0;
    for (size_t start = 0;; ++parts) {
        const size_t dot = address.find('.', start);
        if (parts < 4)
            query.octets[parts] = std::string(address.substr(start, dot - start));
        if (dot == std::string_view::npos) {
            ++parts;
            break;
        }
        start = dot + 1;
    }
    if (parts != 4) {
        return "the address " + Quoted(address) + " has " + std::to_string(parts) + (parts == 1 ? " part" : " parts")
            + "; an address is four octets joined by \".\"";
    }
    return query;
}

std::string Dotted(const std::array<int, 4>& octets)
{
    return std::to_string(octets[0]) + "." + std::to_string(octets[1]) + "." + std::to_string(octets[2]) + "."
        + std::to_string(octets[3]);
}

std::string ResultJson(const TSubnetResult& r, int prefixIndex)
{
    JsonArray values;
    JsonArray corrections;
    for (size_t k = 0; k < 4; ++k) {
        values.integer(r.OctetValues[k]);
        corrections.optionalText(r.OctetCorrections[k]);
    }
    return JsonObject()
        .raw("OctetValues", values.close())
        .raw("OctetCorrections", corrections.close())
        .integer("PrefixLength", PrefixLengthForIndex(prefixIndex))
        .text("Mask", MaskItems[static_cast<size_t>(prefixIndex)])
        .text("IPBinaryText", r.IPBinaryText)
        .text("SNBinaryText", r.SNBinaryText)
        .text("ReservedText", r.ReservedText)
        .text("BroadcastText", r.BroadcastText)
        .text("RangeText", r.RangeText)
        .text("AddressesText", r.AddressesText)
        .text("ClassText", r.ClassText)
        .text("BreakdownText", r.BreakdownText)
        .close();
}

// The page's captions with their texts: one line each, or all on one line separated by tabs.
std::string ResultPlain(const TSubnetResult& r, int prefixIndex, bool oneLine)
{
    const std::pair<const char*, std::string> rows[] = {
        {"IP Address", Dotted(r.OctetValues) + "/" + std::to_string(PrefixLengthForIndex(prefixIndex))},
        {"Subnet Mask", std::string(MaskItems[static_cast<size_t>(prefixIndex)])},
        {"Address Class", r.ClassText},
        {"Reserved Address", r.ReservedText},
        {"Broadcast Address", r.BroadcastText},
        {"Available Addresses", r.AddressesText},
        {"Usable Range", r.RangeText},
        {"Binary Representation", r.IPBinaryText},
        {"Decimal Breakdown", r.BreakdownText},
        {"Mask Binary Representation", r.SNBinaryText},
    };
    // Stacked lines line their texts up one column after the longest caption.
    constexpr size_t kValueColumn = 29;
    std::string text;
    for (const auto& [caption, value] : rows) {
        if (!text.empty())
            text += oneLine ? '\t' : '\n';
        std::string field = std::string(caption) + ": ";
        if (!oneLine)
            field.resize(std::max(field.size(), kValueColumn), ' ');
        text += field;
        text += value;
    }
    return text;
}

std::string Result(const Query& query, bool json, bool oneLine)
{
    const TSubnetResult r = ComputeSubnet(query.octets, query.prefixIndex);
    return json ? ResultJson(r, query.prefixIndex) : ResultPlain(r, query.prefixIndex, oneLine);
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

// One result line per input line; bad lines give an error line in their place.
int RunLines(std::istream& in, std::ostream& out, std::ostream& err, int prefixIndex, bool json)
{
    constexpr size_t kFlushSize = 1 << 16;
    std::string buffer;
    uint64_t number = 0;
    uint64_t bad = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        const std::string_view text = Trimmed(line);
        const auto query = ParseQuery(text, prefixIndex);
        if (const auto* complaint = std::get_if<std::string>(&query)) {
            ++bad;
            if (json) {
                buffer += JsonObject()
                              .integer("line", static_cast<int64_t>(number))
                              .text("input", text)
                              .text("error", *complaint)
                              .close();
            } else {
                buffer += "error: line " + std::to_string(number) + ": " + *complaint;
            }
        } else {
            buffer += Result(std::get<Query>(query), json, true);
        }
        buffer += '\n';
        if (buffer.size() >= kFlushSize) {
            out << buffer;
            buffer.clear();
        }
    }
    out << buffer;
    if (bad > 0) {
        err << "tarvelle-cli ip: " << bad << " of " << number << " input lines are not addresses\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace

int RunIpCommand(const Args& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    ParsedArgs parsed;
    if (const auto done = OpenCommand(args, kOptions, kCommand, kHelp, 2, parsed, out, err))
        return *done;
    const std::vector<std::string>& positionals = parsed.positionals;
    if (positionals.empty())
        return BadUsage(err, kCommand, "an ADDRESS (or \"-\" to read addresses from standard input) is needed");
    const bool json = parsed.has("--json");
    int prefixIndex = InitialPrefixIndex;
    if (positionals.size() == 2) {
        const std::optional<int> index = ParsePrefix(positionals[1]);
        if (!index)
            return BadUsage(err, kCommand, PrefixComplaint(positionals[1]));
        prefixIndex = *index;
    }
    if (positionals[0] == "-")
        return RunLines(in, out, err, prefixIndex, json);
    if (positionals.size() == 2 && positionals[0].find('/') != std::string::npos)
        return BadUsage(err, kCommand, "the prefix is given twice, after \"/\" and as " + Quoted(positionals[1]));
    const auto query = ParseQuery(positionals[0], prefixIndex);
    if (const auto* complaint = std::get_if<std::string>(&query))
        return BadUsage(err, kCommand, *complaint);
    out << Result(std::get<Query>(query), json, false) << '\n';
    return kExitSuccess;
}

} // namespace tarvelle::cli
