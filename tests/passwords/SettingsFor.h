// Run settings for the composer tests, built from the page's start settings.
#pragma once

#include "PasswordComposer.h"

namespace tarvelle::test {

/// The start settings with another mode and count.
inline TPasswordSettings Settings(int32_t mode, int32_t count)
{
    TPasswordSettings s;
    s.Mode = mode;
    s.Count = count;
    return s;
}

/// s with the four count ranges, the Other set and the length range replaced.
inline TPasswordSettings With(TPasswordSettings s, CountRange upper, CountRange lower, CountRange numeric,
                              CountRange other, const char* otherCharacters, int32_t minLength, int32_t maxLength)
{
    s.Upper = upper;
    s.Lower = lower;
    s.Numeric = numeric;
    s.Other = other;
    s.OtherCharacters = otherCharacters;
    s.MinLength = minLength;
    s.MaxLength = maxLength;
    return s;
}

} // namespace tarvelle::test
