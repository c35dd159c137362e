#include "PairTest.h"

#include "StringsComp.h"

#include <array>

namespace tarvelle {

namespace {

constexpr uint32_t kNoLetter = 26;
constexpr uint32_t kVowelBits
    = (1u << ('A' - 'A')) | (1u << ('E' - 'A')) | (1u << ('I' - 'A')) | (1u << ('O' - 'A')) | (1u << ('U' - 'A'));

/// Where the walk stands after some characters.
struct WalkState
{
    uint32_t previous = kNoLetter;
    uint32_t vowels = 0; // at most 2 on a walk that has not failed
    uint32_t consonants = 0; // at most 3

    /// A number for each state a walk can reach, below kKeys.
    size_t Key() const { return (previous * 3 + vowels) * 4 + consonants; }
    static constexpr size_t kKeys = 27 * 3 * 4;
};

/// One step of the walk; false when the text fails at this character.
bool Step(WalkState& state, uint32_t code, PairRule rule, const TStringListComp& pairs)
{
    if (code == kNonLetterCode) {
        // A non-letter ends both runs but leaves the previous letter for the strict rule.
        state.vowels = 0;
        state.consonants = 0;
        return true;
    }
    const bool vowel = ((kVowelBits >> code) & 1u) != 0;
    const bool lookUp
        = rule == PairRule::Strict ? state.previous != kNoLetter : (vowel ? state.vowels : state.consonants) > 0;
    if (lookUp && !pairs.HasPair(state.previous, code))
        return false;
    if (vowel) {
        ++state.vowels;
        state.consonants = 0;
    } else {
        ++state.consonants;
        state.vowels = 0;
    }
    state.previous = code;
    return state.vowels <= 2 && state.consonants <= 3;
}

} // namespace

bool PassesPairTest(std::string_view text, PairRule rule, const TStringListComp& pairs)
{
    WalkState state;
    for (const char c : text) {
        if (!Step(state, LetterCode(static_cast<unsigned char>(c)), rule, pairs))
            return false;
    }
    return true;
}

PairAutomaton::PairAutomaton(const TStringListComp& pairs, PairRule rule)
{
    // Number the states breadth-first from the start; a failed step leads to state 0.
    std::array<uint8_t, WalkState::kKeys> numbers {}; // 0: not numbered yet
    numbers[WalkState {}.Key()] = kStart;
    std::vector<WalkState> states {WalkState {}, WalkState {}};
    next_.assign(2 * 27, kFailed);
    for (size_t at = kStart; at < states.size(); ++at) {
        for (uint32_t code = 0; code <= kNonLetterCode; ++code) {
            WalkState after = states[at];
            if (!Step(after, code, rule, pairs))
                continue;
            uint8_t& number = numbers[after.Key()];
            if (number == kFailed) {
                number = static_cast<uint8_t>(states.size());
                states.push_back(after);
                next_.resize(states.size() * 27, kFailed);
            }
            next_[at * 27 + code] = number;
        }
    }
}

} // namespace tarvelle
