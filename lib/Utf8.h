// UTF-8 sequences: where a character starts and ends in a byte string, and whether a text is UTF-8 at all.
// The password composer splits the Other set with it; the command line checks arguments and writes JSON with it.
#pragma once

#include <cstddef>
#include <string_view>

namespace tarvelle {

/// Length of the valid UTF-8 sequence that starts at text[at] (1 for ASCII), or 0 when none starts there:
/// stray and cut-short bytes, overlong forms, surrogates and values past U+10FFFF start no character.
size_t Utf8SequenceLength(std::string_view text, size_t at);

/// Whether text is UTF-8 throughout, so that no byte of it stands alone.
bool IsUtf8(std::string_view text);

} // namespace tarvelle
