#include "PasswordComposer.h"

#include "Utf8.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace tarvelle {

namespace {

// The clock is read once per this many candidates: a reading costs about as much as a candidate.
constexpr uint32_t kClockStride = 64;
/// Count combinations a run lists at most, and slots of their patterns; beyond either, counts are drawn count
/// by count and dropped by length.
constexpr uint64_t kMostListedCombinations = 4096;
constexpr uint64_t kMostListedSlots = 1u << 16;

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
};

/// A candidate's counts as a run drew them.
struct Candidate
{
    int64_t length = 0; // -1: a count above 0 was drawn for an empty Other set
    uint32_t letters = 0; // uppercase and lowercase together
    const uint8_t* pattern = nullptr; // the classes of its slots in order, when not yet in the entries
};

struct RunPlan
{
    std::vector<Glyph> alphabet; // every character a run can take, numbered: A-Z, a-z, 0-9, then the Other set
    std::array<ClassDraw, 4> classes;
    int64_t minLength = 0;
    int64_t maxLength = 0;
    size_t capacity = 0; // characters kept per candidate; a longer one is dropped anyway
    size_t count = 0;
    int32_t mode = 0;
    bool independent = false; // the source's draws are independent (RandomSource::DrawsIndependently)
    const PairAutomaton* test = nullptr; // the mode's pair test; none in mode 0
    // The letters are tested before the shuffle (LettersCanPass): the draws are independent, there is a test,
    // and none of the Other characters is a letter.
    bool lettersFirst = false;
    bool singleBytes = false; // every character is one byte
    // For an independent source: every combination of the four counts whose length fits, each as likely as
    // the others, which are the odds of drawing counts until they fit: its length and letters, and the classes
    // of its slots in order (patterns[k * capacity ..], padded to the capacity). Empty when there are too many,
    // when none fits (the run then times out as it would), or when an empty Other set can be drawn from (that
    // ends the run whatever the length).
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

/// Lists the count combinations that fit the length range, and their patterns, when it may.
void ListFittingCounts(RunPlan& plan)
{
    uint64_t combinations = 1;
    for (const ClassDraw& draw : plan.classes) {
        combinations *= draw.span;
        if (combinations > kMostListedCombinations || combinations * plan.capacity > kMostListedSlots)
            return;
    }
    const ClassDraw& other = plan.classes[3];
    if (other.setSize == 0 && other.Count(other.span - 1) > 0)
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
    const std::vector<std::string> others = SplitCharacters(settings.OtherCharacters);
    plan.alphabet.reserve(62 + others.size());
    for (const char* set : {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz", "0123456789"}) {
        for (const char* c = set; *c != 0; ++c)
            plan.alphabet.emplace_back(std::string_view(c, 1));
    }
    for (const std::string& character : others)
        plan.alphabet.emplace_back(character);
    plan.singleBytes = std::all_of(others.begin(), others.end(), [](const std::string& c) { return c.size() == 1; });
    const auto otherSize = static_cast<uint32_t>(plan.alphabet.size() - 62);
    plan.classes = {MakeClassDraw(settings.Upper, 26, 0), MakeClassDraw(settings.Lower, 26, 26),
                    MakeClassDraw(settings.Numeric, 10, 52), MakeClassDraw(settings.Other, otherSize, 62)};
    plan.minLength = settings.MinLength;
    plan.maxLength = settings.MaxLength;
    plan.capacity = static_cast<size_t>(std::max(settings.MaxLength, 0));
    plan.count = static_cast<size_t>(std::max(settings.Count, 0));
    plan.mode = settings.Mode;
    plan.independent = independent;
    if (settings.Mode != kModeRandom)
        plan.test = &pairs.Automaton(settings.Mode == kModeEasilyPronounced ? PairRule::Strict : PairRule::SameKind);
    if (independent)
        ListFittingCounts(plan);
    plan.lettersFirst = independent && plan.test
        && std::all_of(plan.alphabet.begin() + 62, plan.alphabet.end(),
                       [](const Glyph& glyph) { return glyph.letter == kNonLetterCode; });
    return plan;
}

/// Draws a candidate's four counts, each followed by its characters, into entries (up to the capacity). From a
/// seeded source entries hold the characters; from an independent one they hold each character's class (or
/// the candidate points to its listed pattern), and the character is drawn when the pair test or the spelling
/// reads it (Decide): one drawn later, or never, has the same odds.
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
        if (draw.setSize == 0 && count > 0) // only the Other set can be empty
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

/// Draws the codes of a candidate's letters (A-Z and a-z alike) one by one into codes, counting them in drawn,
/// and runs the pair test over the letters alone, in the order they will stand whatever the shuffle does. A
/// non-letter between two letters only ends the letter runs, so wherever the test fails at a letter, one of
/// the candidate's `spare` non-letters is put just before it, where it is worth the most. False when the letters
/// fail even so: then every arrangement of the candidate fails.
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

/// Shuffles a candidate of n characters that met the length range and tests it by the mode; when accepted,
/// spells it at the end of out and says so.
template <class Source>
bool Decide(const RunPlan& plan, Source& random, uint32_t* entries, const Candidate& candidate,
            std::vector<std::string>& out)
{
    const auto n = static_cast<uint32_t>(candidate.length);
    // Letters that fail whatever the arrangement decide the candidate before it is shuffled.
    uint32_t* codes = entries + plan.capacity + 1;
    uint32_t drawn = 0;
    const bool mayPass
        = !plan.lettersFirst || LettersCanPass(plan, random, candidate.letters, n - candidate.letters, codes, drawn);
    if (!mayPass && plan.mode != kModeUnpronounceable)
        return false;
    while (plan.lettersFirst && drawn < candidate.letters) // kept untested: the letters after the failed one too
        codes[drawn++] = random.RandomBelow(26);
    // A listed candidate that no test reads any more (mode 0, or mode 3 when its letters fail) is spelled in
    // slot order and its bytes then shuffled in place: drawn before or after the shuffle, a character has the
    // same odds. Letters whose codes the letters-first test draws stand as 'A' or 'a' (code 0) until the
    // shuffle is done, and then take the codes in order.
    if ((!plan.test || !mayPass) && plan.singleBytes && candidate.pattern != nullptr) {
        const uint32_t coded = plan.lettersFirst ? candidate.letters : 0; // the first slots: letters come first
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
        for (uint32_t i = 0, k = 0; coded > 0 && i < n; ++i) {
            const bool letter = text[i] == 'A' || text[i] == 'a';
            text[i] = static_cast<char>(text[i] + static_cast<char>(letter ? codes[k] : 0)); // a code is below 26
            k += letter;
        }
        return true;
    }
    if (candidate.pattern != nullptr)
        std::copy_n(candidate.pattern, n, entries); // widened from bytes: a loop of its own, not a library call
    // Every position swaps with one drawn from the whole candidate (not Fisher-Yates; the odds are the rule's).
    for (uint32_t i = 0; i < n; ++i)
        std::swap(entries[i], entries[random.RandomBelow(n)]);
    // Letters take the codes drawn for them, in order.
    const uint32_t* nextCode = codes;
    const auto reveal = [&](uint32_t j) {
        if (!plan.independent)
            return;
        const uint32_t run = entries[j];
        const ClassDraw& draw = plan.classes[run];
        entries[j] = draw.base + (plan.lettersFirst && run < 2 ? *nextCode++ : random.RandomBelow(draw.setSize));
    };
    uint32_t revealed = 0;
    if (plan.test && mayPass) {
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
    return true;
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
