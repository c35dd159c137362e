// How strong the passwords of a setting are, worked out from the way a run draws them.
//
// With every draw uniform (the system source), one kept password is a random variable whose distribution the
// settings fix: class counts, each class's characters, the shuffle (ShuffleOdds.h), the length test and the
// mode's pair test (KeptFillings.h). MeasureStrength sums over that distribution and gives its Shannon
// entropy, its min-entropy (minus log2 of the likeliest password's odds) and the share of candidates a run
// keeps. The sums are exact where the work allows and no two patterns of classes can spell one password;
// elsewhere the figures are proven ranges (see PasswordStrength.cpp and StrengthBounds.cpp for why each holds).
// tarvelle-cli `passwords --strength` prints them; the Password page shows them as its list's tool tip.
#pragma once

#include "PasswordComposer.h"
#include "StringsComp.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvelle {

/// What MeasureStrength found.
enum class StrengthEnd {
    Measured, // the figures below hold
    NoPassword, // no candidate can be kept: a run gives up
    NoCharacters, // a class that can be drawn from has no characters: a run stops at the first such draw
    Unsupported, // a mode or length the composer refuses
    TooLarge, // too many count combinations, or a pair test's table beyond the work limits
};

struct PasswordStrength
{
    StrengthEnd End = StrengthEnd::Measured;
    // The figures, in bits, lie in these ranges; an exact result has each range a single value.
    double ShannonLow = 0;
    double ShannonHigh = 0;
    double MinEntropyLow = 0;
    double MinEntropyHigh = 0;
    // Kept passwords per candidate drawn, length drops included: exact unless the shuffle's chain was out of
    // reach.
    double AcceptanceLow = 0;
    double AcceptanceHigh = 0;
    bool Exact = false;

    /// The middle of the Shannon range.
    double ShannonBits() const { return (ShannonLow + ShannonHigh) / 2; }
    /// The middle of the min-entropy range.
    double MinEntropyBits() const { return (MinEntropyLow + MinEntropyHigh) / 2; }
    /// The middle of the acceptance range.
    double Acceptance() const { return (AcceptanceLow + AcceptanceHigh) / 2; }
    /// The largest error either middle can have: half the wider range (0 when exact).
    double BoundBits() const;
};

/// How much work MeasureStrength may do before it merges classes into ranges, or gives up.
struct StrengthLimits
{
    // Steps of the shuffle's chain over the arrangements, and their sums, at 3 to 4 ns a step: the page's
    // defaults take 28 million, 12 to 20 characters of all four classes 230 to 360 million (about a second).
    uint64_t Work = 400'000'000;
    uint64_t TestWork = 50'000'000; // steps of the pair test's sums over the halves of the arrangements
    uint64_t Spellings = 2'000'000; // characters spelled where two classes share a character
    // Steps of the tables that bound the shuffle's odds where its chain is out of reach (3 ns a step).
    uint64_t ShuffleBounds = 300'000'000;
};

/// The strength of the passwords a run with these settings keeps, when every draw is uniform.
PasswordStrength MeasureStrength(const TPasswordSettings& settings, const TStringListComp& pairs,
                                 const StrengthLimits& limits = {});

/// "41.83", or "41.83 to 41.85" where the two ends read differently, each end after prefix, at `decimals`.
std::string RangeText(double low, double high, int decimals, std::string_view prefix = "");

/// The Password page's words for a result, e.g. "Each password of these settings: 41.8 bits (the likeliest:
/// 1 in 2^33.1)"; empty when nothing was measured.
std::string StrengthTip(const PasswordStrength& strength);

} // namespace tarvelle
