#include "IpRecord.h"

#include "CliArgs.h"
#include "IpNetwork.h"
#include "IpText.h"
#include "JsonWriter.h"

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

// The value, or null when there is none.
void AppendOptional(std::string& out, std::string_view key, std::string_view value)
{
    if (value.empty()) {
        out += key;
        out += "null";
    } else {
        AppendComposed(out, key, value);
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
    ComposeSubnetTexts(static_cast<uint32_t>(query.address.value), query.prefix, texts_);
    if (json)
        AppendV4Json(out, input, query);
    else
        AppendV4Plain(out, query, oneLine);
}

void IpRecordWriter::AppendV4Json(std::string& out, std::string_view input, const IpQuery& query)
{
    const SubnetTexts& t = texts_;
    AppendMember(out, "{\"input\": ", input);
    AppendComposed(out, ", \"address\": ", t.address);
    out += ", \"prefix\": ";
    AppendNumber(out, static_cast<uint64_t>(t.prefix));
    AppendComposed(out, ", \"netmask\": ", t.netmask);
    AppendComposed(out, ", \"wildcard\": ", t.wildcard);
    AppendComposed(out, ", \"network\": ", t.network);
    AppendOptional(out, ", \"broadcast\": ", t.broadcast);
    AppendComposed(out, ", \"first\": ", t.first);
    AppendComposed(out, ", \"last\": ", t.last);
    out += ", \"total\": ";
    AppendNumber(out, t.total);
    out += ", \"usable\": ";
    AppendNumber(out, t.usable);
    AppendComposed(out, ", \"class\": ", t.classText);
    AppendKindJson(out, ip::AddressType(query.address));
    out += ", \"reverse\": \"";
    ip::AppendReverseName(out, query.address);
    out += '"';
    AppendOptional(out, ", \"breakdown\": ", t.breakdown);
    AppendComposed(out, ", \"binary\": {\"address\": ", t.binaryAddress);
    AppendComposed(out, ", \"netmask\": ", t.binaryNetmask);
    AppendOptional(out, ", \"breakdown\": ", t.binaryBreakdown);
    out += "}}\n";
}

void IpRecordWriter::AppendV4Plain(std::string& out, const IpQuery& query, bool oneLine)
{
    const SubnetTexts& t = texts_;
    Rows row(out, oneLine);
    row.Text("Address", t.address);
    AppendNumber(row("Prefix"), static_cast<uint64_t>(t.prefix));
    row.Text("Netmask", t.netmask);
    row.Text("Wildcard", t.wildcard);
    row.Text("Network", t.network);
    row.Text("Broadcast", t.broadcast);
    row.Text("Usable range", t.range);
    row.Text("Addresses", t.addresses);
    row.Text("Class", t.classText);
    AppendKindRows(row, ip::AddressType(query.address));
    ip::AppendReverseName(row("Reverse"), query.address);
    row.Text("Breakdown", t.breakdown);
    row.Text("Binary address", t.binaryAddress);
    row.Text("Binary netmask", t.binaryNetmask);
    row.Text("Binary breakdown", t.binaryBreakdown);
    row.End();
}

} // namespace tarvelle::cli
