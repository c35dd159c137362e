// Password composition: the settings of one Generate run and the run itself (the pair test is PairTest.h).
//
// ComposePasswords draws candidates (class counts, characters, a shuffle), filters them by length and by the
// pronounceability mode, and appends the accepted ones to the list until it holds Count passwords or the run
// gives up. The Password page calls it after seeding (Entropy.h); tarvelle-cli and the benchmark call it too.
// Given a source's state and the settings the list is fully determined, up to the clock.
#pragma once

#include "PairTest.h"
#include "Platform.h"
#include "Random.h"
#include "StringsComp.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelle {

/// A character class's count range; a run draws each candidate's count uniformly from Min..Max.
struct CountRange
{
    int32_t Min = 0;
    int32_t Max = 0;

    bool operator==(const CountRange&) const = default;
};

/// The settings of one run. The start values are the Password page's.
struct TPasswordSettings
{
    CountRange Upper {1, 4};
    CountRange Lower {1, 8};
    CountRange Numeric {0, 1};
    CountRange Other {0, 1};
    std::string OtherCharacters = "!@#$%^*"; // UTF-8; each character (code point) is one member of the set
    // The letters and digits the three fixed classes draw from, in index order: one byte each, none repeated.
    std::string UpperCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string LowerCharacters = "abcdefghijklmnopqrstuvwxyz";
    std::string NumericCharacters = "0123456789";
    int32_t MinLength = 8;
    int32_t MaxLength = 12;
    int32_t Mode = 1; // 0 random, 1 easily pronounced, 2 pronounceable, 3 not pronounceable
    int32_t Count = 9;

    bool operator==(const TPasswordSettings&) const = default;
};

/// The four items of the pronounceability list, by index.
enum WordMode : int32_t {
    kModeRandom = 0,
    kModeEasilyPronounced = 1,
    kModePronounceable = 2,
    kModeUnpronounceable = 3,
};

/// Why a run ended.
enum class ComposeEnd {
    Filled, // the list holds Count passwords
    TimedOut, // nothing accepted within 2 seconds; the warning was shown
    TimeLimit, // the 10-second limit ended the run with the passwords it had
    NoOtherCharacters, // a count above 0 was drawn for an empty set (the Other set, unless a caller emptied another)
    Unsupported, // a mode outside 0..3 or a maximum length above kMaxPasswordLength; nothing drawn
};

/// What a run went through: every candidate drawn, and of those the ones dropped by the length test and the
/// ones the mode turned down. The system source draws its counts among the combinations that fit when there
/// are few enough of them (at most 4096, with at most 65,536 slots in all), and then has no length drops.
struct ComposeStats
{
    uint64_t Candidates = 0;
    uint64_t LengthDrops = 0;
    uint64_t Rejected = 0;
};

/// The longest password a run will build.
inline constexpr int32_t kMaxPasswordLength = 4096;
/// A run that has accepted nothing gives up after this many milliseconds.
inline constexpr uint32_t kGiveUpMilliseconds = 2000;
/// No run lasts longer than this many milliseconds.
inline constexpr uint32_t kRunLimitMilliseconds = 10000;
/// The warning's title and text when a run gives up.
inline constexpr std::string_view kTimeOutTitle = "Warning";
inline constexpr std::string_view kTimeOutText
    = "The current combination of options does not produce any possible results.";

/// The pair test a mode runs on each candidate (PairTest.h); none in mode 0.
const PairAutomaton* ModeTest(const TStringListComp& pairs, int32_t mode);

/// Splits UTF-8 text into its characters; a byte that starts no valid sequence is a character of its own.
std::vector<std::string> SplitCharacters(std::string_view text);

/// Appends accepted passwords to out until it holds settings.Count of them or the run gives up. Draws only
/// from random (every draw in the fixed order, unless random.DrawsIndependently()), reads the clock and shows
/// the time-out warning through platform; counts into stats if given.
ComposeEnd ComposePasswords(const TPasswordSettings& settings, RandomSource& random, Platform& platform,
                            const TStringListComp& pairs, std::vector<std::string>& out, ComposeStats* stats = nullptr);
/// The same run with the generator's draws inlined.
ComposeEnd ComposePasswords(const TPasswordSettings& settings, LcgRandom& random, Platform& platform,
                            const TStringListComp& pairs, std::vector<std::string>& out, ComposeStats* stats = nullptr);
/// The same run with the system source's draws inlined.
ComposeEnd ComposePasswords(const TPasswordSettings& settings, SystemRandom& random, Platform& platform,
                            const TStringListComp& pairs, std::vector<std::string>& out, ComposeStats* stats = nullptr);

/// ComposePasswords bound to one source. The Password page and tarvelle-cli hold one of these rather than a
/// RandomSource&, so that a source picked at run time still has its draws inlined.
using ComposeFunction
    = std::function<ComposeEnd(const TPasswordSettings& settings, Platform& platform, const TStringListComp& pairs,
                               std::vector<std::string>& out, ComposeStats* stats)>;

/// ComposePasswords over source, through the overload for its own type; source must outlive the function.
template <class Source> ComposeFunction ComposeFrom(Source& source)
{
    return [&source](const TPasswordSettings& settings, Platform& platform, const TStringListComp& pairs,
                     std::vector<std::string>& out,
                     ComposeStats* stats) { return ComposePasswords(settings, source, platform, pairs, out, stats); };
}

} // namespace tarvelle
