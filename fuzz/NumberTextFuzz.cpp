// Number texts: any typed text either reads as a finite number or is refused; any finite number is written
// as a text that reads back, and writing that again gives the same text.
#include "FuzzInput.h"
#include "NumberText.h"

#include <cfloat>
#include <cmath>
#include <cstring>

using namespace tarvelle::bandwidth;
using tarvelle::fuzz::FuzzInput;

namespace {

constexpr const char* kSeparators[] = {".", ",", "\xD9\xAB"};

void CheckWritten(long double v, const char* separator)
{
    const std::string text = NumberToText(v, separator);
    FUZZ_CHECK(!text.empty());
    const auto back = TextToNumber(text, separator);
    // Rounding to 15 digits may carry the very largest values past the range; everything else reads back.
    if (!back) {
        FUZZ_CHECK(std::fabs(v) > LDBL_MAX * (1.0L - 1e-14L));
        return;
    }
    FUZZ_CHECK(std::isfinite(*back));
    // Below the normal range the type holds fewer than 15 digits, so the written text may not come back.
    if (std::fabs(v) >= LDBL_MIN && std::fabs(*back) >= LDBL_MIN)
        FUZZ_CHECK(NumberToText(*back, separator) == text);
    if (const auto rounded = RoundedNumberToText(v, separator))
        FUZZ_CHECK(TextToNumber(*rounded, separator).has_value());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const char* separator = kSeparators[in.inRange(0, 2)];
    if (in.byte() & 1u) {
        // Ten bytes as an extended number: every finite bit pattern, subnormals included.
        long double v = 0;
        unsigned char bytes[sizeof(long double)] = {};
        for (size_t i = 0; i < 10; ++i)
            bytes[i] = in.byte();
        std::memcpy(&v, bytes, sizeof v);
        if (std::isfinite(v))
            CheckWritten(v, separator);
        return 0;
    }
    const std::string typed = in.rest();
    if (const auto v = TextToNumber(typed, separator)) {
        FUZZ_CHECK(std::isfinite(*v));
        CheckWritten(*v, separator);
    }
    return 0;
}
