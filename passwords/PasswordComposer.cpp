// One run, as the rule makes it: per candidate, each class's count and then that many of its characters (Upper,
// Lower, Numeric, Other), the length test, the shuffle (every place swapped with one drawn from the whole
// candidate), then the mode's pair test. The seeded generator's results hang on every draw before them, so from it
// the run makes every draw, in that order, for every candidate.
//
// A source whose draws are independent (SystemRandom) gives each draw the same odds whenever it is made and
// whatever else is drawn, so a run may leave out a draw that nothing reads, or make one earlier or later than
// its turn, without changing any password's odds. It does so in four places, each saying why where it does:
//  - the counts are drawn among the combinations whose length fits (ListFittingCounts, DrawCandidate);
//  - a character is drawn when the pair test or the spelling reads it, and not at all for a dropped candidate;
//  - the letters are tested before the shuffle, and a candidate that fails in every arrangement is decided
//    unshuffled (LettersCanPass);
//  - a candidate that no test reads is spelled before it is shuffled (SpellThenShuffle).
// tests/passwords/PasswordComposerOddsTest.cpp holds each of them to the odds of the plain order.
#include "PasswordComposer.h"

#include "Utf8.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <utility>

namespace tarvelle {

namespace {

// The clock is read once per this many candidates: a reading costs about as much as a candidate.
constexpr uint32_t kClockStride = 64;
/// Count combinations a run lists at most, and slots of their patterns; beyond either, counts are drawn count
/// by count and dropped by length.
constexpr uint64_t kMostListedCombinations = 4096;
constexpr uint64_t kMostListedSlots = 1u << 16;
/// The letter classes' characters for which a letter's index in its set is its code whatever its case.
constexpr std::string_view kCapitals = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kSmallLetters = "abcdefghijklmnopqrstuvwxyz";

/// One character a run can take: its UTF-8 bytes (a sequence is at most four) and its letter code.
struct Glyph
{
    std::array<char, 4> bytes {};
    uint8_t size = 0;
    uint8_t letter = kNonLetterCode;

    explicit Glyph(std::string_view character) : size(static_cast<uint8_t>(character.size()))
    {
        character.copy(bytes.data(), bytes.size());
        if (size == 1)
            letter = LetterCode(static_cast<unsigned char>(character[0]));
    }
};

/// One class's part of a candidate: count = RandomBelow(span) + min, then count characters of the set.
struct ClassDraw
{
    uint32_t span = 1;
    int64_t min = 0;
    uint32_t setSize = 0;
    uint32_t base = 0; // number of the set's first character in the alphabet

    /// The count for a drawn value; a negative minimum can make it 0 at most.
    uint32_t Count(uint32_t drawn) const { return static_cast<uint32_t>(std::max<int64_t>(drawn + min, 0)); }
    /// Whether a count above 0 can be drawn from an empty set, which ends the run.
    bool MayDrawFromNothing() const { return setSize == 0 && Count(span - 1) > 0; }
};

/// A candidate's counts as a run drew them.
struct Candidate
{
    int64_t length = 0; // -1: a count above 0 was drawn for an empty set
    uint32_t letters = 0; // uppercase and lowercase together
    const uint8_t* pattern = nullptr; // the classes of its slots in order, when not yet in the entries
};

struct RunPlan
{
    std::vector<Glyph> alphabet; // every character a run can take, numbered: Upper, Lower, Numeric, Other sets
    std::array<ClassDraw, 4> classes;
    int64_t minLength = 0;
    int64_t maxLength = 0;
    size_t capacity = 0; // characters kept per candidate; a longer one is dropped anyway
    size_t count = 0;
    int32_t mode = 0;
    bool independent = false; // the source's draws are independent (RandomSource::DrawsIndependently)
    const PairAutomaton* test = nullptr; // the mode's pair test; none in mode 0
    bool lettersFirst = false; // the letters are tested before the shuffle (LettersCanPass)
    bool singleBytes = false; // every character is one byte
    // For an independent source: every combination of the four counts whose length fits, its length and letters,
    // and the classes of its slots in order (patterns[k * capacity ..], padded to the capacity). Empty when there
    // are too many, when none fits (the run then times out as it would), or when an empty set can be drawn from
    // (that ends the run whatever the length).
    std::vector<Candidate> fitting;
    std::vector<uint8_t> patterns;

    /// The test's state after reading character s (numbered as in the alphabet).
    uint8_t Step(uint8_t state, uint32_t s) const { return test->Next(state, alphabet[s].letter); }
};

ClassDraw MakeClassDraw(CountRange range, uint32_t setSize, uint32_t base)
{
    const int64_t span = int64_t {range.Max} - range.Min + 1;
    // A maximum below the minimum leaves the minimum alone. The one draw is still made, so the draws that
    // follow stay where they would be for a settled range.
    const uint32_t clamped
        = span <= 0 ? 1u : static_cast<uint32_t>(std::min<int64_t>(span, std::numeric_limits<uint32_t>::max()));
    return {clamped, range.Min, setSize, base};
}

/// Lists the count combinations that fit the length range, and their patterns, when it may. Each count is drawn
/// uniformly and independently, so every combination is as likely as any other; drawing until one fits leaves
/// the fitting ones equally likely, and a draw among them has exactly those odds.
void ListFittingCounts(RunPlan& plan)
{
    uint64_t combinations = 1;
    for (const ClassDraw& draw : plan.classes) {
        combinations *= draw.span;
        if (combinations > kMostListedCombinations || combinations * plan.capacity > kMostListedSlots)
            return;
    }
    if (std::any_of(plan.classes.begin(), plan.classes.end(),
                    [](const ClassDraw& d) { return d.MayDrawFromNothing(); }))
        return;
    for (uint64_t combination = 0; combination < combinations; ++combination) {
        std::array<uint32_t, 4> counts {};
        int64_t length = 0;
        uint64_t digits = combination;
        for (size_t run = 0; run < plan.classes.size(); ++run) {
            const ClassDraw& draw = plan.classes[run];
            counts[run] = draw.Count(static_cast<uint32_t>(digits % draw.span));
            length += counts[run];
            digits /= draw.span;
        }
        if (length < plan.minLength || length > plan.maxLength)
            continue;
        plan.fitting.push_back({length, counts[0] + counts[1]});
        auto slot = plan.patterns.insert(plan.patterns.end(), plan.capacity, 0);
        for (uint32_t run = 0; run < counts.size(); ++run)
            slot = std::fill_n(slot, counts[run], static_cast<uint8_t>(run));
    }
}

RunPlan MakePlan(const TPasswordSettings& settings, const TStringListComp& pairs, bool independent)
{
    RunPlan plan;
    // The three fixed sets are one byte a character; the Other set is UTF-8 text.
    const std::string* fixed[] = {&settings.UpperCharacters, &settings.LowerCharacters, &settings.NumericCharacters};
    const std::vector<std::string> others = SplitCharacters(settings.OtherCharacters);
    plan.alphabet.reserve(fixed[0]->size() + fixed[1]->size() + fixed[2]->size() + others.size());
    const CountRange ranges[] = {settings.Upper, settings.Lower, settings.Numeric, settings.Other};
    for (uint32_t run = 0; run < 4; ++run) {
        const auto base = static_cast<uint32_t>(plan.alphabet.size());
        if (run < 3) {
            for (const char& c : *fixed[run])
                plan.alphabet.emplace_back(std::string_view(&c, 1));
        } else {
            for (const std::string& character : others)
                plan.alphabet.emplace_back(character);
        }
        plan.classes[run] = MakeClassDraw(ranges[run], static_cast<uint32_t>(plan.alphabet.size()) - base, base);
    }
    plan.singleBytes = std::all_of(others.begin(), others.end(), [](const std::string& c) { return c.size() == 1; });
    plan.minLength = settings.MinLength;
    plan.maxLength = settings.MaxLength;
    plan.capacity = static_cast<size_t>(std::max(settings.MaxLength, 0));
    plan.count = static_cast<size_t>(std::max(settings.Count, 0));
    plan.mode = settings.Mode;
    plan.independent = independent;
    plan.test = ModeTest(pairs, settings.Mode);
    if (independent)
        ListFittingCounts(plan);
    // Testing the letters first draws each letter's code before its case is known: that needs the letter classes
    // to be A-Z and a-z (then an index is the letter's code in either case), and no letter in the other classes.
    plan.lettersFirst = independent && plan.test && settings.UpperCharacters == kCapitals
        && settings.LowerCharacters == kSmallLetters
        && std::all_of(plan.alphabet.begin() + plan.classes[2].base, plan.alphabet.end(),
                       [](const Glyph& glyph) { return glyph.letter == kNonLetterCode; });
    return plan;
}

/// Draws a candidate's four counts, each followed by its characters, into entries (up to the capacity). From a
/// seeded source entries hold the characters. From an independent one they hold each character's class (or the
/// candidate points to its listed pattern), and the character is drawn when the pair test or the spelling reads
/// it (Decide): a character drawn later, or never for a candidate that is dropped, has the same odds.
template <class Source> Candidate DrawCandidate(const RunPlan& plan, Source& random, uint32_t* entries)
{
    if (!plan.fitting.empty()) {
        const uint32_t k = random.RandomBelow(static_cast<uint32_t>(plan.fitting.size()));
        Candidate listed = plan.fitting[k];
        listed.pattern = plan.patterns.data() + k * plan.capacity;
        return listed;
    }
    Candidate candidate;
    int64_t& length = candidate.length;
    for (uint32_t run = 0; run < plan.classes.size(); ++run) {
        const ClassDraw& draw = plan.classes[run];
        const uint32_t count = draw.Count(random.RandomBelow(draw.span));
        if (draw.setSize == 0 && count > 0)
            return {-1};
        if (run < 2)
            candidate.letters += count;
        const auto kept = static_cast<uint32_t>(std::clamp<int64_t>(int64_t(plan.capacity) - length, 0, count));
        if (plan.independent) {
            std::fill_n(entries + length, kept, run);
        } else {
            // Characters past the capacity are never kept, but the seeded source still makes their draws.
            for (uint32_t i = 0; i < count; ++i) {
                const uint32_t s = draw.base + random.RandomBelow(draw.setSize);
                if (i < kept)
                    entries[length + i] = s;
            }
        }
        length += count;
    }
    return candidate;
}

/// Draws the codes of a candidate's letters one by one into codes, counting them in drawn, and runs the pair
/// test over the letters alone. The i-th code goes to the i-th letter as they stand after the shuffle: every
/// letter's code is an independent draw of 0..25 whatever its case, so which letter takes which code changes no
/// odds. A non-letter only ends the letter runs (the strict rule still pairs across it), so the best any
/// arrangement can do is to stand one of the `spare` non-letters just before each letter that would fail. False
/// when the letters fail even so: then every arrangement of the candidate fails.
template <class Source>
bool LettersCanPass(const RunPlan& plan, Source& random, uint32_t letters, uint32_t spare, uint32_t* codes,
                    uint32_t& drawn)
{
    const PairAutomaton& test = *plan.test;
    uint8_t state = PairAutomaton::kStart;
    while (drawn < letters) {
        const uint32_t code = codes[drawn++] = random.RandomBelow(26);
        uint8_t next = test.Next(state, code);
        if (next == PairAutomaton::kFailed && spare > 0) {
            --spare;
            next = test.Next(test.Next(state, kNonLetterCode), code);
        }
        if (next == PairAutomaton::kFailed)
            return false;
        state = next;
    }
    return true;
}

/// Spells a listed candidate of one-byte characters that no test reads (mode 0, or mode 3 once its letters
/// fail) at the end of out: its characters in slot order, then its bytes shuffled in place. A character drawn
/// before the shuffle has the odds of one drawn after it, since the shuffle's draws do not read it. Letters whose
/// codes are already drawn (the `coded` first slots) stand as 'A' or 'a' (code 0) through the shuffle, and then
/// take the codes in the order they stand, the order the letters test read them in.
template <class Source>
void SpellThenShuffle(const RunPlan& plan, Source& random, const Candidate& candidate, uint32_t coded,
                      const uint32_t* codes, std::vector<std::string>& out)
{
    const auto n = static_cast<uint32_t>(candidate.length);
    char* text = out.emplace_back(n, '\0').data();
    uint32_t j = 0;
    for (; j < coded; ++j)
        text[j] = plan.alphabet[plan.classes[candidate.pattern[j]].base].bytes[0];
    for (; j < n; ++j) {
        const ClassDraw& draw = plan.classes[candidate.pattern[j]];
        text[j] = plan.alphabet[draw.base + random.RandomBelow(draw.setSize)].bytes[0];
    }
    for (uint32_t i = 0; i < n; ++i)
        std::swap(text[i], text[random.RandomBelow(n)]);
    // With the letters tested first, no other class holds a letter, so every 'A' and 'a' here is a coded letter.
    for (uint32_t i = 0, k = 0; coded > 0 && i < n; ++i) {
        const bool letter = text[i] == 'A' || text[i] == 'a';
        text[i] = static_cast<char>(text[i] + static_cast<char>(letter ? codes[k] : 0)); // a code is below 26
        k += letter;
    }
}

/// Writes the characters of entries[0..n-1] at the end of out. Inlined into each run: a call per password would
/// cost about as much as a short password's spelling.
[[gnu::always_inline]] inline void Spell(const RunPlan& plan, const uint32_t* entries, uint32_t n,
                                         std::vector<std::string>& out)
{
    size_t size = n;
    if (!plan.singleBytes) {
        for (uint32_t j = 0; j < n; ++j)
            size += plan.alphabet[entries[j]].size - 1u;
    }
    char* at = out.emplace_back(size, '\0').data();
    for (uint32_t j = 0; j < n; ++j) {
        const Glyph& glyph = plan.alphabet[entries[j]];
        if (plan.singleBytes) // a library call for one byte would cost more than the rest of the character
            *at++ = glyph.bytes[0];
        else
            at = std::copy_n(glyph.bytes.data(), glyph.size, at);
    }
}

/// Reads a shuffled candidate's n slots, tested by the mode's pair test when `tested`; when accepted, spells it at
/// the end of out and says so. From an independent source a slot holds its class until it is read: a letter then
/// takes the next code the letters test drew, any other character is drawn there.
template <class Source>
bool TestAndSpell(const RunPlan& plan, Source& random, uint32_t* entries, uint32_t n, const uint32_t* codes,
                  bool tested, std::vector<std::string>& out)
{
    const auto reveal = [&](uint32_t j) {
        if (!plan.independent)
            return;
        const uint32_t run = entries[j];
        const ClassDraw& draw = plan.classes[run];
        entries[j] = draw.base + (plan.lettersFirst && run < 2 ? *codes++ : random.RandomBelow(draw.setSize));
    };
    uint32_t revealed = 0;
    if (tested) {
        // Read up to the first failure: a turned-down candidate's later characters are never drawn.
        uint8_t state = PairAutomaton::kStart;
        for (; revealed < n && state != PairAutomaton::kFailed; ++revealed) {
            reveal(revealed);
            state = plan.Step(state, entries[revealed]);
        }
        const bool passed = state != PairAutomaton::kFailed;
        if (passed == (plan.mode == kModeUnpronounceable))
            return false;
    }
    for (; revealed < n; ++revealed)
        reveal(revealed);
    Spell(plan, entries, n, out);
    return true;
}

/// Shuffles a candidate that met the length range and decides on it by the mode; when accepted, spells it at the
/// end of out and says so.
template <class Source>
bool Decide(const RunPlan& plan, Source& random, uint32_t* entries, const Candidate& candidate,
            std::vector<std::string>& out)
{
    const auto n = static_cast<uint32_t>(candidate.length);
    uint32_t* codes = entries + plan.capacity + 1;
    uint32_t drawn = 0;
    const bool mayPass
        = !plan.lettersFirst || LettersCanPass(plan, random, candidate.letters, n - candidate.letters, codes, drawn);
    // Letters that fail in every arrangement decide the candidate unshuffled: modes 1 and 2 turn it down without
    // drawing the rest, which nothing would read; mode 3 keeps it without a test.
    if (!mayPass && plan.mode != kModeUnpronounceable)
        return false;
    while (plan.lettersFirst && drawn < candidate.letters) // the letters after the one that failed
        codes[drawn++] = random.RandomBelow(26);
    if ((!plan.test || !mayPass) && plan.singleBytes && candidate.pattern != nullptr) {
        SpellThenShuffle(plan, random, candidate, plan.lettersFirst ? candidate.letters : 0, codes, out);
        return true;
    }
    if (candidate.pattern != nullptr)
        std::copy_n(candidate.pattern, n, entries); // widened from bytes: a loop of its own, not a library call
    // Every position swaps with one drawn from the whole candidate (not Fisher-Yates; the odds are the rule's).
    for (uint32_t i = 0; i < n; ++i)
        std::swap(entries[i], entries[random.RandomBelow(n)]);
    return TestAndSpell(plan, random, entries, n, codes, plan.test != nullptr && mayPass, out);
}

template <class Source>
ComposeEnd Run(const RunPlan& plan, Source& random, Platform& platform, std::vector<std::string>& out,
               ComposeStats& stats)
{
    std::vector<uint32_t> entries(2 * (plan.capacity + 1)); // the candidate's slots, then its letters' codes
    const uint32_t start = platform.tickCount();
    uint32_t untilClock = kClockStride;
    while (out.size() < plan.count) {
        ++stats.Candidates;
        const Candidate candidate = DrawCandidate(plan, random, entries.data());
        if (candidate.length < 0)
            return ComposeEnd::NoOtherCharacters;
        if (candidate.length < plan.minLength || candidate.length > plan.maxLength)
            ++stats.LengthDrops;
        else if (!Decide(plan, random, entries.data(), candidate, out))
            ++stats.Rejected;
        // A full list ends the run as filled, whatever the clock says.
        if (--untilClock == 0 && out.size() < plan.count) {
            untilClock = kClockStride;
            const uint32_t elapsed = platform.tickCount() - start; // modulo 2^32: wrap-around is harmless
            if (out.empty() && elapsed > kGiveUpMilliseconds) {
                platform.showWarning(std::string(kTimeOutTitle), std::string(kTimeOutText));
                return ComposeEnd::TimedOut;
            }
            if (elapsed > kRunLimitMilliseconds)
                return ComposeEnd::TimeLimit;
        }
    }
    return ComposeEnd::Filled;
}

/// A run drawing from source through Draws: the source itself when Draws is a reference, or a cursor made for
/// the run, a local whose state the compiler keeps in registers.
template <class Draws, class Source>
ComposeEnd Compose(const TPasswordSettings& settings, Source& source, Platform& platform, const TStringListComp& pairs,
                   std::vector<std::string>& out, ComposeStats* stats)
{
    if (settings.Mode < kModeRandom || settings.Mode > kModeUnpronounceable || settings.MaxLength > kMaxPasswordLength)
        return ComposeEnd::Unsupported;
    Draws random(source);
    const RunPlan plan = MakePlan(settings, pairs, random.DrawsIndependently());
    // Counted in a local, which the loop can keep in registers, and handed over at the end.
    ComposeStats counted = stats != nullptr ? *stats : ComposeStats {};
    const ComposeEnd end = Run(plan, random, platform, out, counted);
    if (stats != nullptr)
        *stats = counted;
    return end;
}

} // namespace

const PairAutomaton* ModeTest(const TStringListComp& pairs, int32_t mode)
{
    if (mode == kModeRandom)
        return nullptr;
    return &pairs.Automaton(mode == kModeEasilyPronounced ? PairRule::Strict : PairRule::SameKind);
}

std::vector<std::string> SplitCharacters(std::string_view text)
{
    std::vector<std::string> characters;
    for (size_t at = 0; at < text.size();) {
        // Its UTF-8 sequence, or the one byte when none starts there.
        const size_t length = std::max<size_t>(Utf8SequenceLength(text, at), 1);
        characters.emplace_back(text.substr(at, length));
        at += length;
    }
    return characters;
}

ComposeEnd ComposePasswords(const TPasswordSettings& settings, RandomSource& random, Platform& platform,
                            const TStringListComp& pairs, std::vector<std::string>& out, ComposeStats* stats)
{
    return Compose<RandomSource&>(settings, random, platform, pairs, out, stats);
}

ComposeEnd ComposePasswords(const TPasswordSettings& settings, LcgRandom& random, Platform& platform,
                            const TStringListComp& pairs, std::vector<std::string>& out, ComposeStats* stats)
{
    return Compose<LcgRandom&>(settings, random, platform, pairs, out, stats);
}

ComposeEnd ComposePasswords(const TPasswordSettings& settings, SystemRandom& random, Platform& platform,
                            const TStringListComp& pairs, std::vector<std::string>& out, ComposeStats* stats)
{
    return Compose<SystemRandom::Cursor>(settings, random, platform, pairs, out, stats);
}

} // namespace tarvelle
