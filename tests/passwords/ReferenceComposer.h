// A plain reading of the password run for the tests to hold the composer to: every draw made when its turn
// comes, candidates as lists of characters, the pair list searched entry by entry. Slow and obvious on purpose.
#pragma once

#include "PasswordComposer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvelle::test {

struct ReferenceResult
{
    std::vector<std::string> passwords;
    ComposeEnd end = ComposeEnd::Filled;
    uint32_t seed = 0; // the generator's seed after the run
};

/// The pair test over a list of characters; a character of more than one byte is no letter.
bool ReferencePairTest(const std::vector<std::string>& characters, bool strict);

/// The run from an LcgRandom seeded with seed. Knows no clock: use settings that can fill the list.
ReferenceResult ReferenceRun(const TPasswordSettings& settings, uint32_t seed);

/// One candidate drawn from random in the run's order, the three fixed classes taking their characters from
/// the settings' UpperCharacters, LowerCharacters and NumericCharacters byte by byte: the password when the
/// length test and the mode keep it, else nothing (also when a count above 0 meets an empty set).
std::optional<std::string> ReferenceCandidate(const TPasswordSettings& settings, RandomSource& random);

} // namespace tarvelle::test
