#include "IpRecord.h"

#include "CliArgs.h"
#include "IpNetwork.h"
#include "IpText.h"
#include "JsonWriter.h"
#include "SubnetCalc.h"

#include <charconv>

namespace tarvelle::cli {

namespace {

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

// A text composed here or by the engine (digits, letters, blanks and ".:-/()+"), which JSON takes as it is.
void AppendComposed(std::string& out, std::string_view key, std::string_view value)
{
    out += key;
    out += '"';
    out += value;
    out += '"';
}

// The block's members, "netmask" to "usable".
void AppendV4BlockJson(std::string& out, const ip::NetworkSummary& s)
{
    out += ", \"netmask\": \"";
    ip::AppendAddress(out, s.netmask);
    out += "\", \"wildcard\": \"";
    ip::AppendAddress(out, s.wildcard);
    out += "\", \"network\": \"";
    ip::AppendAddress(out, s.network.base);
    if (s.broadcast) {
        out += "\", \"broadcast\": \"";
        ip::AppendAddress(out, *s.broadcast);
        out += "\", \"first\": \"";
    } else {
        out += "\", \"broadcast\": null, \"first\": \"";
    }
    ip::AppendAddress(out, s.first);
    out += "\", \"last\": \"";
    ip::AppendAddress(out, s.last);
    out += "\", \"total\": ";
    ip::AppendCount(out, s.total);
    out += ", \"usable\": ";
    ip::AppendCount(out, s.usable);
}

// "breakdown" and "binary": the page's texts, the breakdowns null outside the page's prefixes.
void AppendV4BreakdownJson(std::string& out, uint32_t address, int prefix, uint32_t netmask)
{
    bool built = false;
    if (IsPagePrefix(prefix)) {
        out += ", \"breakdown\": \"";
        built = AppendBreakdown(out, address, prefix);
        out += "\", \"binary\": {\"address\": \"";
    } else {
        out += ", \"breakdown\": null, \"binary\": {\"address\": \"";
    }
    AppendBinaryGroups(out, address);
    out += "\", \"netmask\": \"";
    AppendBinaryGroups(out, netmask);
    if (built) {
        out += "\", \"breakdown\": \"";
        AppendBinaryBreakdown(out, address, prefix);
        out += "\"}";
    } else {
        out += "\", \"breakdown\": null}";
    }
}

// Starts a "Caption: " row: on its own line with the texts lined up, or after a tab on one line.
class Rows
{
public:
    Rows(std::string& out, bool oneLine) : out_(out), oneLine_(oneLine) { }

    std::string& operator()(std::string_view caption)
    {
        constexpr size_t kValueColumn = 18;
        if (!first_)
            out_ += oneLine_ ? '\t' : '\n';
        first_ = false;
        out_ += caption;
        out_ += ':';
        out_.append(oneLine_ ? 1 : kValueColumn - caption.size() - 1, ' ');
        return out_;
    }
    /// A row with a text; none when the text is empty.
    void Text(std::string_view caption, std::string_view text)
    {
        if (!text.empty())
            (*this)(caption) += text;
    }
    void End() { out_ += '\n'; }

private:
    std::string& out_;
    bool oneLine_;
    bool first_ = true;
};

// A registry flag: "true", "false" or, where the registry gives no answer, "null" (JSON), "n/a" (text).
std::string_view FlagText(std::optional<bool> flag, bool json)
{
    if (!flag)
        return json ? "null" : "n/a";
    if (json)
        return *flag ? "true" : "false";
    return *flag ? "yes" : "no";
}

void AppendKindJson(std::string& out, const ip::AddressKind& kind)
{
    AppendComposed(out, ", \"type\": ", kind.type);
    out += ", \"global\": ";
    out += FlagText(kind.global, true);
    out += ", \"forwardable\": ";
    out += FlagText(kind.forwardable, true);
}

// The type, and the registry flags together on the next row.
void AppendKindRows(Rows& row, const ip::AddressKind& kind)
{
    row("Type") += kind.type;
    std::string& out = row("Reachability");
    out += "global ";
    out += FlagText(kind.global, false);
    out += ", forwardable ";
    out += FlagText(kind.forwardable, false);
}

void AppendV6Json(std::string& out, std::string_view input, const IpQuery& query)
{
    const ip::NetworkSummary s = ip::Summarise({query.address, query.prefix});
    AppendMember(out, "{\"input\": ", input);
    out += ", \"address\": \"";
    ip::AppendAddress(out, query.address);
    if (query.zone.empty())
        out += "\", \"zone\": null";
    else
        AppendMember(out, "\", \"zone\": ", query.zone);
    out += ", \"expanded\": \"";
    ip::AppendExpanded(out, query.address);
    out += "\", \"prefix\": ";
    AppendNumber(out, static_cast<uint64_t>(query.prefix));
    out += ", \"network\": \"";
    ip::AppendAddress(out, s.network.base);
    out += "\", \"last\": \"";
    ip::AppendAddress(out, s.lastAddress);
    out += "\", \"total\": \"";
    ip::AppendCount(out, s.total);
    out += '"';
    AppendKindJson(out, ip::AddressType(query.address));
    out += ", \"reverse\": \"";
    ip::AppendReverseName(out, query.address);
    out += "\"}\n";
}

void AppendV6Plain(std::string& out, const IpQuery& query, bool oneLine)
{
    const ip::NetworkSummary s = ip::Summarise({query.address, query.prefix});
    Rows row(out, oneLine);
    ip::AppendAddress(row("Address"), query.address);
    row.Text("Zone", query.zone);
    ip::AppendExpanded(row("Expanded"), query.address);
    AppendNumber(row("Prefix"), static_cast<uint64_t>(query.prefix));
    ip::AppendAddress(row("Network"), s.network.base);
    ip::AppendAddress(row("Last"), s.lastAddress);
    ip::AppendCount(row("Total"), s.total);
    AppendKindRows(row, ip::AddressType(query.address));
    ip::AppendReverseName(row("Reverse"), query.address);
    row.End();
}

} // namespace

ip::IpResult<int> ReadPrefixText(std::string_view text, ip::IpFamily family)
{
    return ip::ParsePrefix(text.starts_with('/') ? text.substr(1) : text, family);
}

std::string PrefixComplaint(std::string_view text, ip::IpError error)
{
    return "the prefix " + QuotedShort(text) + " is not valid: " + std::string(ip::IpErrorText(error));
}

std::string AddressComplaint(std::string_view text, ip::IpError error)
{
    return "the address " + QuotedShort(text) + " is not valid: " + std::string(ip::IpErrorText(error));
}

std::optional<std::string> ReadIpQuery(std::string_view text, const DefaultPrefixes& defaults, IpQuery& query)
{
    const size_t slash = text.find('/');
    const std::string_view addressText = text.substr(0, slash);
    ip::IpResult<ip::ParsedAddress> parsed = ip::ParseAddress(addressText);
    if (!parsed)
        return AddressComplaint(addressText, parsed.Error());
    query.address = parsed->address;
    query.zone = std::move(parsed->zone);
    const ip::IpFamily family = query.address.family;
    if (slash != std::string_view::npos) {
        const std::string_view prefixText = text.substr(slash + 1);
        const ip::IpResult<int> prefix = ip::ParsePrefix(prefixText, family);
        if (!prefix)
            return PrefixComplaint(prefixText, prefix.Error());
        query.prefix = *prefix;
        return std::nullopt;
    }
    const ip::IpResult<int>& fallback = family == ip::IpFamily::V4 ? defaults.v4 : defaults.v6;
    if (!fallback)
        return "the PREFIX argument does not suit the address " + QuotedShort(addressText) + ": "
            + std::string(ip::IpErrorText(fallback.Error()));
    query.prefix = *fallback;
    return std::nullopt;
}

void IpRecordWriter::Append(std::string& out, std::string_view input, const IpQuery& query, bool json, bool oneLine)
{
    if (query.address.family == ip::IpFamily::V6) {
        if (json)
            AppendV6Json(out, input, query);
        else
            AppendV6Plain(out, query, oneLine);
        return;
    }
    if (json)
        AppendV4Json(out, input, query);
    else
        AppendV4Plain(out, query, oneLine);
}

void IpRecordWriter::AppendV4Json(std::string& out, std::string_view input, const IpQuery& query)
{
    const ip::NetworkSummary s = ip::Summarise({query.address, query.prefix});
    const auto address = static_cast<uint32_t>(query.address.value);
    AppendMember(out, "{\"input\": ", input);
    out += ", \"address\": \"";
    ip::AppendAddress(out, query.address);
    out += "\", \"prefix\": ";
    AppendNumber(out, static_cast<uint64_t>(query.prefix));
    AppendV4BlockJson(out, s);
    AppendComposed(out, ", \"class\": ", ClassifyAddress(OctetsOf(address)).ClassText);
    AppendKindJson(out, ip::AddressType(query.address));
    out += ", \"reverse\": \"";
    ip::AppendReverseName(out, query.address);
    out += '"';
    AppendV4BreakdownJson(out, address, query.prefix, static_cast<uint32_t>(s.netmask.value));
    out += "}\n";
}

void IpRecordWriter::AppendV4Plain(std::string& out, const IpQuery& query, bool oneLine)
{
    const ip::NetworkSummary s = ip::Summarise({query.address, query.prefix});
    const auto address = static_cast<uint32_t>(query.address.value);
    Rows row(out, oneLine);
    ip::AppendAddress(row("Address"), query.address);
    AppendNumber(row("Prefix"), static_cast<uint64_t>(query.prefix));
    ip::AppendAddress(row("Netmask"), s.netmask);
    ip::AppendAddress(row("Wildcard"), s.wildcard);
    ip::AppendAddress(row("Network"), s.network.base);
    if (s.broadcast)
        ip::AppendAddress(row("Broadcast"), *s.broadcast);
    AppendRange(row("Usable range"), s);
    AppendAddressCounts(row("Addresses"), s);
    row("Class") += ClassifyAddress(OctetsOf(address)).ClassText;
    AppendKindRows(row, ip::AddressType(query.address));
    ip::AppendReverseName(row("Reverse"), query.address);
    const bool built = IsPagePrefix(query.prefix) && AppendBreakdown(row("Breakdown"), address, query.prefix);
    AppendBinaryGroups(row("Binary address"), address);
    AppendBinaryGroups(row("Binary netmask"), static_cast<uint32_t>(s.netmask.value));
    if (built)
        AppendBinaryBreakdown(row("Binary breakdown"), address, query.prefix);
    row.End();
}

} // namespace tarvelle::cli
