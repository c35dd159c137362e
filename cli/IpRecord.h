// One answer of `tarvelle-cli ip`: reading "ADDRESS[/PREFIX]" and writing what is known of that network.
//
// ReadIpQuery reads an IPv4 or IPv6 address (an IPv6 one by its colon) and an optional prefix with the IP
// engine's strict readers, and says in one line what is wrong otherwise. IpRecordWriter appends the answer to
// an output buffer as JSON or as "Caption: text" lines: for IPv4 the IP Calculator page's texts (SubnetCalc's
// Append functions) with the address type and reverse name beside them, for IPv6 the engine's texts. The ip
// command calls both for its argument and for every line of a batch; the answer is written straight into the
// buffer, so neither allocates per answer once the buffer has grown.
#pragma once

#include "IpAddress.h"

#include <optional>
#include <string>
#include <string_view>

namespace tarvelle::cli {

/// The prefix lengths used where a text gives none; each family's is an error when the user's PREFIX
/// argument does not suit that family (a mask for IPv6).
struct DefaultPrefixes
{
    ip::IpResult<int> v4 = 24;
    ip::IpResult<int> v6 = 64;
};

/// An address and the prefix length it is answered for.
struct IpQuery
{
    ip::IpAddress address;
    int prefix = 0;
    std::string zone; // an IPv6 zone such as "eth0", or empty
};

/// A PREFIX text as the user writes it: "24", "/24" or, for IPv4, a contiguous mask.
ip::IpResult<int> ReadPrefixText(std::string_view text, ip::IpFamily family);

/// The complaint about a PREFIX text, e.g. "the prefix \"33\" is not valid: ...".
std::string PrefixComplaint(std::string_view text, ip::IpError error);

/// The complaint about an address text, e.g. "the address \"1::2::3\" is not valid: ...".
std::string AddressComplaint(std::string_view text, ip::IpError error);

/// Reads "ADDRESS[/PREFIX]" into query; a prefix in the text wins over the defaults. The complaint otherwise.
std::optional<std::string> ReadIpQuery(std::string_view text, const DefaultPrefixes& defaults, IpQuery& query);

/// Writes answers into the caller's buffer.
class IpRecordWriter
{
public:
    /// Appends the answer for query: one JSON object and a line end, or captioned texts, one per line or (with
    /// oneLine) all on one line separated by tabs.
    void Append(std::string& out, std::string_view input, const IpQuery& query, bool json, bool oneLine);

private:
    static void AppendV4Json(std::string& out, std::string_view input, const IpQuery& query);
    static void AppendV4Plain(std::string& out, const IpQuery& query, bool oneLine);
};

} // namespace tarvelle::cli
