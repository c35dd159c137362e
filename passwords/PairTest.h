// The letter-pair test of the pronounceability modes.
//
// PassesPairTest walks a text as the rule reads: fold a-z to upper case, keep vowel and consonant run counts and
// the previous letter, look successive letters up in the pair list, fail at three vowels or four consonants in
// a row. PairAutomaton is the same test compiled into a state table, which the composer runs one character at a
// time without branching on the letters.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tarvelle {

class TStringListComp;

/// Which successive letters the pair test looks up.
enum class PairRule {
    Strict, // every two successive letters, across non-letters too
    SameKind, // a vowel after a vowel or a consonant after a consonant
};

/// Letters A-Z and a-z are coded 0 to 25; every other character is kNonLetterCode.
inline constexpr uint8_t kNonLetterCode = 26;

/// The code of one byte of text.
constexpr uint8_t LetterCode(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<uint8_t>(c - 'A');
    if (c >= 'a' && c <= 'z')
        return static_cast<uint8_t>(c - 'a');
    return kNonLetterCode;
}

/// The pair test on a UTF-8 text: true when it passes. Only a-z and A-Z are letters.
bool PassesPairTest(std::string_view text, PairRule rule, const TStringListComp& pairs);

/// The pair test as a table: a state per (previous letter, vowel run, consonant run) reached from the start.
class PairAutomaton
{
public:
    static constexpr uint8_t kFailed = 0;
    static constexpr uint8_t kStart = 1;

    PairAutomaton() = default; // no states yet: only to be assigned a built one
    PairAutomaton(const TStringListComp& pairs, PairRule rule);

    /// The state after reading a character of the given code (0..26); kFailed stays kFailed.
    uint8_t Next(uint8_t state, uint32_t code) const { return next_[state * 27u + code]; }

private:
    std::vector<uint8_t> next_; // next_[state * 27 + code]
};

} // namespace tarvelle
