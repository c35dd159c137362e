#include "ReferenceComposer.h"

#include "LetterPairs.h"
#include "Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace tarvelle::test {

namespace {

/// Splits valid UTF-8 at its lead bytes.
std::vector<std::string> Utf8Characters(const std::string& text)
{
    std::vector<std::string> out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

} // namespace

bool ReferencePairTest(const std::vector<std::string>& characters, bool strict)
{
    int vowels = 0;
    int consonants = 0;
    char previous = 0;
    for (const std::string& character : characters) {
        char c = character.size() == 1 ? character[0] : '\x80';
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z') {
            vowels = consonants = 0;
            continue;
        }
        const bool vowel = std::strchr("AEIOU", c) != nullptr;
        if (strict ? previous != 0 : (vowel ? vowels : consonants) > 0) {
            const std::string pair {static_cast<char>(previous - 'A' + 'a'), static_cast<char>(c - 'A' + 'a')};
            if (Pairs().IndexOf(pair) < 0)
                return false;
        }
        vowels = vowel ? vowels + 1 : 0;
        consonants = vowel ? 0 : consonants + 1;
        previous = c;
        if (vowels > 2 || consonants > 3)
            return false;
    }
    return true;
}

namespace {

enum class Drawn { Kept, Dropped, EmptySet };

// One candidate, every draw in its turn: class counts and characters, the length test, the shuffle that swaps
// each position with one drawn from the whole string, the mode's pair test. The kept password goes to text.
Drawn DrawCandidate(const TPasswordSettings& s, RandomSource& random, std::string& text)
{
    // The three fixed sets byte by byte, the Other set by UTF-8 character.
    const std::string* fixed[] = {&s.UpperCharacters, &s.LowerCharacters, &s.NumericCharacters};
    std::vector<std::vector<std::string>> sets(4);
    for (size_t k = 0; k < 3; ++k) {
        for (const char c : *fixed[k])
            sets[k].push_back(std::string(1, c));
    }
    sets[3] = Utf8Characters(s.OtherCharacters);
    const CountRange ranges[4] = {s.Upper, s.Lower, s.Numeric, s.Other};
    std::vector<std::string> candidate;
    for (int k = 0; k < 4; ++k) {
        const int64_t span = int64_t {ranges[k].Max} - ranges[k].Min + 1;
        const int64_t count
            = int64_t {random.RandomBelow(span <= 0 ? 1u : static_cast<uint32_t>(span))} + ranges[k].Min;
        if (count > 0 && sets[k].empty())
            return Drawn::EmptySet;
        for (int64_t i = 0; i < count; ++i)
            candidate.push_back(sets[k][random.RandomBelow(static_cast<uint32_t>(sets[k].size()))]);
    }
    const auto length = static_cast<int64_t>(candidate.size());
    if (length < s.MinLength || length > s.MaxLength)
        return Drawn::Dropped;
    for (uint32_t i = 1; i <= length; ++i) {
        const uint32_t r = random.RandomBelow(static_cast<uint32_t>(length)) + 1;
        std::swap(candidate[i - 1], candidate[r - 1]);
    }
    const bool kept = s.Mode == 0 || ReferencePairTest(candidate, s.Mode == 1) == (s.Mode != 3);
    if (!kept)
        return Drawn::Dropped;
    text.clear();
    for (const std::string& c : candidate)
        text += c;
    return Drawn::Kept;
}

} // namespace

ReferenceResult ReferenceRun(const TPasswordSettings& s, uint32_t seed)
{
    LcgRandom random(seed);
    ReferenceResult result;
    std::string text;
    for (int candidates = 0; result.passwords.size() < static_cast<size_t>(std::max(s.Count, 0)); ++candidates) {
        if (candidates == 3000000) {
            ADD_FAILURE() << "the reference run does not end";
            return result;
        }
        const Drawn drawn = DrawCandidate(s, random, text);
        if (drawn == Drawn::EmptySet)
            return {result.passwords, ComposeEnd::NoOtherCharacters, random.GeneratorSeed};
        if (drawn == Drawn::Kept)
            result.passwords.push_back(text);
    }
    result.seed = random.GeneratorSeed;
    return result;
}

std::optional<std::string> ReferenceCandidate(const TPasswordSettings& s, RandomSource& random)
{
    std::string text;
    if (DrawCandidate(s, random, text) != Drawn::Kept)
        return std::nullopt;
    return text;
}

} // namespace tarvelle::test
