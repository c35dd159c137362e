// Password composition over any settings and any Other text, drawn from the program's generator or (when the
// first byte's top bit is set) the system's, with a clock that moves on at every reading, so every run ends. The
// three fixed classes are whole or (bit 3 of the first byte) without the look-alikes of --exclude-similar. Every
// password of a settled run (minimum at most maximum everywhere) has a length in range, each class's count in its
// range, only characters of its classes, and passes or fails the mode's pair test as the mode asks.
#include "FakePlatform.h"
#include "FuzzInput.h"
#include "PairTest.h"
#include "PasswordComposer.h"
#include "Utf8.h"

#include <algorithm>

using namespace tarvelle;
using tarvelle::fuzz::FuzzInput;
using tarvelle::test::FakePlatform;

namespace {

CountRange Range(FuzzInput& in, bool settled)
{
    // Unsettled minimums reach far past any page or command-line count, but not billions: the seeded
    // generator steps once for every character of a candidate, even one the length test drops.
    if (!settled)
        return {static_cast<int32_t>(in.inRange(-1000, 1000)), static_cast<int32_t>(in.inRange(-5, 40))};
    auto lo = static_cast<int32_t>(in.inRange(0, 20));
    auto hi = static_cast<int32_t>(in.inRange(0, 20));
    if (lo > hi)
        std::swap(lo, hi);
    return {lo, hi};
}

bool Within(int64_t n, CountRange r)
{
    return n >= r.Min && n <= r.Max;
}

bool IsAsciiAlnum(const std::string& c)
{
    return c.size() == 1 && std::isalnum(static_cast<unsigned char>(c[0])) != 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const TStringListComp pairs(LetterPairList());
    FuzzInput in(data, size);
    const uint8_t first = in.byte();
    const bool settled = (first & 7u) != 0;
    const bool system = (first & 0x80u) != 0;
    TPasswordSettings s;
    if ((first & 8u) != 0) {
        s.UpperCharacters = "ACEFHJKLMNPRTUVWXY";
        s.LowerCharacters = "abcdefghijkmnopqrstuvwxyz";
        s.NumericCharacters = "3479";
    }
    const std::string fixed = s.UpperCharacters + s.LowerCharacters + s.NumericCharacters;
    s.Upper = Range(in, settled);
    s.Lower = Range(in, settled);
    s.Numeric = Range(in, settled);
    s.Other = Range(in, settled);
    const CountRange length = Range(in, settled);
    s.MinLength = length.Min;
    s.MaxLength = settled ? std::max(length.Max, 1) : length.Max;
    s.Mode = static_cast<int32_t>(in.inRange(settled ? 0 : -2, settled ? 3 : 5));
    s.Count = static_cast<int32_t>(in.inRange(settled ? 1 : -3, 12));
    LcgRandom lcg(static_cast<uint32_t>(in.inRange(0, UINT32_MAX)));
    s.OtherCharacters = in.rest();

    // The system source's draws differ from run to run; what is checked below holds for every draw.
    static SystemRandom systemRandom;
    RandomSource& random = system ? static_cast<RandomSource&>(systemRandom) : lcg;
    FakePlatform platform;
    platform.tickStep = 250; // the give-up time passes after a few clock readings
    std::vector<std::string> out;
    const ComposeEnd end = ComposePasswords(s, random, platform, pairs, out);
    FUZZ_CHECK(out.size() <= static_cast<size_t>(std::max(s.Count, 0)));
    if (end == ComposeEnd::Unsupported)
        FUZZ_CHECK(out.empty() && (s.Mode < 0 || s.Mode > 3 || s.MaxLength > kMaxPasswordLength));
    else
        FUZZ_CHECK((end == ComposeEnd::Filled) == (out.size() == static_cast<size_t>(std::max(s.Count, 0))));
    FUZZ_CHECK((end == ComposeEnd::TimedOut) == !platform.messages.empty());
    const std::vector<std::string> other = SplitCharacters(s.OtherCharacters);
    // Stray bytes that start no UTF-8 sequence are characters of their own, but two of them side by side in a
    // password may read as one character; the text from the page and the command line is always UTF-8.
    if (!settled || !IsUtf8(s.OtherCharacters))
        return 0;
    const bool classesApart = std::none_of(other.begin(), other.end(), IsAsciiAlnum);
    for (const std::string& password : out) {
        const std::vector<std::string> characters = SplitCharacters(password);
        FUZZ_CHECK(Within(static_cast<int64_t>(characters.size()), {s.MinLength, s.MaxLength}));
        int64_t upper = 0, lower = 0, digits = 0, others = 0;
        for (const std::string& c : characters) {
            if (c.size() == 1 && c[0] >= 'A' && c[0] <= 'Z')
                ++upper;
            else if (c.size() == 1 && c[0] >= 'a' && c[0] <= 'z')
                ++lower;
            else if (c.size() == 1 && c[0] >= '0' && c[0] <= '9')
                ++digits;
            else
                ++others;
            const bool inOther = std::find(other.begin(), other.end(), c) != other.end();
            FUZZ_CHECK(inOther || (IsAsciiAlnum(c) && fixed.find(c[0]) != std::string::npos));
        }
        if (classesApart) {
            FUZZ_CHECK(Within(upper, s.Upper) && Within(lower, s.Lower) && Within(digits, s.Numeric));
            FUZZ_CHECK(Within(others, s.Other));
        }
        if (s.Mode != kModeRandom) {
            const PairRule rule = s.Mode == kModeEasilyPronounced ? PairRule::Strict : PairRule::SameKind;
            FUZZ_CHECK(PassesPairTest(password, rule, pairs) == (s.Mode != kModeUnpronounceable));
        }
    }
    return 0;
}
