// The subnet computation is total: any four octet texts and any prefix index give a complete result, with
// octets in 0..255 and corrections only where a box held a number outside that range.
#include "FuzzInput.h"
#include "SubnetCalc.h"

using namespace tarvelle;
using tarvelle::fuzz::FuzzInput;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const auto prefixIndex = static_cast<int>(in.inRange(INT32_MIN, INT32_MAX));
    std::array<std::string, 4> octets;
    for (auto& octet : octets)
        octet = in.text(24);
    const TSubnetResult r = ComputeSubnet(octets, prefixIndex);
    for (size_t k = 0; k < 4; ++k) {
        FUZZ_CHECK(r.OctetValues[k] >= 0 && r.OctetValues[k] <= 255);
        if (r.OctetCorrections[k])
            FUZZ_CHECK(*r.OctetCorrections[k] == std::to_string(r.OctetValues[k]));
    }
    for (const std::string* text : {&r.IPBinaryText, &r.SNBinaryText, &r.ReservedText, &r.BroadcastText, &r.RangeText,
                                    &r.AddressesText, &r.ClassText, &r.BreakdownText})
        FUZZ_CHECK(!text->empty());
    FUZZ_CHECK(r.SNBinaryText.size() == 35); // 32 digits and three dots
    // The same octets, corrected, give the same result: the corrections are what the page writes back.
    std::array<std::string, 4> corrected = octets;
    for (size_t k = 0; k < 4; ++k)
        if (r.OctetCorrections[k])
            corrected[k] = *r.OctetCorrections[k];
    const TSubnetResult again = ComputeSubnet(corrected, prefixIndex);
    FUZZ_CHECK(again.OctetValues == r.OctetValues);
    FUZZ_CHECK(again.BreakdownText == r.BreakdownText && again.IPBinaryText == r.IPBinaryText);
    for (const auto& correction : again.OctetCorrections)
        FUZZ_CHECK(!correction);
    return 0;
}
