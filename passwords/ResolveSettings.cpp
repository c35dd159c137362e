#include "ResolveSettings.h"

#include <algorithm>

namespace tarvelle {

namespace {

/// The range with its maximum raised to its minimum when below it.
CountRange Settled(CountRange range)
{
    return {range.Min, std::max(range.Max, range.Min)};
}

/// A class's range as a run draws from it: nothing when off.
CountRange ClassRange(const std::optional<CountRange>& asked)
{
    return asked ? Settled(*asked) : CountRange {0, 0};
}

} // namespace

TPasswordSettings ResolveSettings(const AskedSettings& asked)
{
    TPasswordSettings s;
    s.Upper = ClassRange(asked.Upper);
    s.Lower = ClassRange(asked.Lower);
    s.Numeric = ClassRange(asked.Numeric);
    s.Other = ClassRange(asked.Other);
    s.OtherCharacters = asked.Other ? asked.OtherCharacters : std::string();
    s.Mode = asked.Mode;
    s.Count = asked.Count;

    // A candidate's length is the sum of its four counts, and a count below 0 adds nothing, so no candidate is
    // shorter than the lowest sum or longer than the highest: lengths outside that band change no password.
    int64_t shortest = 0;
    int64_t longest = 0;
    for (const CountRange& range : {s.Upper, s.Lower, s.Numeric, s.Other}) {
        shortest += std::max(range.Min, 0);
        longest += std::max(range.Max, 0);
    }
    const CountRange length = Settled(asked.Length);
    const int64_t from = std::max<int64_t>(length.Min, shortest);
    const int64_t to = std::min<int64_t>(length.Max, longest);
    // Where no sum fits, the range stays as asked, and the run gives up as the page's does.
    s.MinLength = from <= to ? static_cast<int32_t>(from) : length.Min;
    s.MaxLength = from <= to ? static_cast<int32_t>(to) : length.Max;
    return s;
}

} // namespace tarvelle
