// The settings of one run from what its caller asks for.
//
// A caller asks for a length range, a count range or "off" for each class, the Other characters, a mode and a
// count; ResolveSettings applies the Password page's rules to them and gives the TPasswordSettings the run uses.
// The Password page model calls it when Generate reads its boxes (once they have settled, so that the rules find
// nothing left to move), and tarvelle-cli calls it with its parsed options. Pure: no state, no platform.
#pragma once

#include "PasswordComposer.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tarvelle {

/// A run as asked for: each class's count range, or nothing when the class is off (its box unticked). The start
/// values are the Password page's, as TPasswordSettings's are.
struct AskedSettings
{
    CountRange Length {8, 12};
    std::optional<CountRange> Upper = CountRange {1, 4};
    std::optional<CountRange> Lower = CountRange {1, 8};
    std::optional<CountRange> Numeric = CountRange {0, 1};
    std::optional<CountRange> Other = CountRange {0, 1};
    std::string OtherCharacters = "!@#$%^*"; // taken only while Other is on
    int32_t Mode = kModeEasilyPronounced;
    int32_t Count = 9;
};

/// The settings a run uses: a class that is off counts 0 to 0 (and Other then has no characters); a maximum
/// below its minimum is raised to it, as typing a minimum above its maximum does on the page; and the length
/// range is narrowed to the lengths the class counts can add up to, when the two meet at all.
TPasswordSettings ResolveSettings(const AskedSettings& asked);

} // namespace tarvelle
