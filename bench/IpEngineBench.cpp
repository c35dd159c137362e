// One batch line of `ip` through the IPv4/IPv6 engine, IPv4 beside IPv6: read "address/prefix", summarise the
// block, look up the type and write every answer text into one reused buffer, as a JSON writer would.
#include "IpAddress.h"
#include "IpNetwork.h"
#include "IpText.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace tarvelle::ip;

std::vector<std::string> Lines(IpFamily family)
{
    std::mt19937_64 random(42);
    std::vector<std::string> lines;
    for (int k = 0; k < 4096; ++k) {
        const Uint128 value = Uint128 {random()} << 64 | random();
        const IpAddress address {family == IpFamily::V4 ? value & 0xFFFFFFFF : value, family};
        const auto prefix = static_cast<int>(random() % static_cast<uint64_t>(AddressBits(family) + 1));
        lines.push_back(AddressText(address) + "/" + std::to_string(prefix));
    }
    return lines;
}

void AppendField(std::string& out, const char* key)
{
    out += ",\"";
    out += key;
    out += "\":\"";
}

void AnswerLine(const std::string& line, std::string& out)
{
    const IpResult<ParsedCidr> cidr = ParseCidr(line);
    if (!cidr)
        return;
    const NetworkSummary s = Summarise(NetworkOf(cidr->address, cidr->prefix.value_or(24)));
    out.clear();
    out += "{\"address\":\"";
    AppendAddress(out, cidr->address);
    if (cidr->address.family == IpFamily::V6) {
        AppendField(out, "expanded");
        AppendExpanded(out, cidr->address);
    } else {
        AppendField(out, "netmask");
        AppendAddress(out, s.netmask);
        AppendField(out, "first");
        AppendAddress(out, s.first);
    }
    AppendField(out, "network");
    AppendNetwork(out, s.network);
    AppendField(out, "last");
    AppendAddress(out, s.last);
    AppendField(out, "total");
    AppendCount(out, s.total);
    AppendField(out, "type");
    out += AddressType(cidr->address).type;
    AppendField(out, "reverse");
    AppendReverseName(out, cidr->address);
    out += "\"}\n";
}

void IpEngineLine(benchmark::State& state, IpFamily family)
{
    const std::vector<std::string> lines = Lines(family);
    std::string out;
    size_t k = 0;
    for (auto _ : state) {
        AnswerLine(lines[k++ % lines.size()], out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(IpEngineLine, Ipv4, IpFamily::V4);
BENCHMARK_CAPTURE(IpEngineLine, Ipv6, IpFamily::V6);

} // namespace

BENCHMARK_MAIN();
