#include "PasswordComposer.h"

#include "CandidateDraws.h"
#include "Utf8.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <numeric>
#include <optional>
#include <utility>

namespace tarvelle {

namespace {

// The clock is read once per this many candidates: a reading costs about as much as a candidate.
constexpr uint32_t kClockStride = 64;

/// Length of the character starting at text[at]: its UTF-8 sequence, or the one byte when none starts there.
size_t CharacterLength(std::string_view text, size_t at)
{
    const size_t length = Utf8SequenceLength(text, at);
    return length == 0 ? 1 : length;
}

/// Every character a run can take, numbered: A-Z, a-z, 0-9, then the Other set.
struct Alphabet
{
    std::string bytes; // the characters' UTF-8 bytes, one after another
    std::vector<uint32_t> offsets {0}; // character s is bytes[offsets[s], offsets[s + 1])
    std::vector<uint8_t> letters; // letter code of each character

    void Add(std::string_view character)
    {
        bytes.append(character);
        offsets.push_back(static_cast<uint32_t>(bytes.size()));
        const bool ascii = character.size() == 1;
        letters.push_back(ascii ? LetterCode(static_cast<unsigned char>(character[0])) : kNonLetterCode);
    }
};

/// One class's part of a candidate: count = RandomBelow(span) + min, then count characters of the set.
struct ClassDraw
{
    uint32_t span = 1;
    int64_t min = 0;
    uint32_t setSize = 0;
    uint32_t base = 0; // number of the set's first character in the alphabet
};

/// Runs whose candidates have fewer characters start each shuffle from a fixed stretch of this many entries.
constexpr size_t kSmallCapacity = 16;

/// A combination of the four counts whose length lies within the range.
struct FittingCounts
{
    std::array<size_t, 4> first {}; // slot of each class's first character
    uint32_t length = 0;
    std::array<uint8_t, kSmallCapacity> classes {}; // the class of each slot, when length < kSmallCapacity
};

/// Count combinations a run lists at most; more are drawn count by count and dropped by length.
constexpr uint64_t kMostListedCombinations = 4096;

struct RunPlan
{
    Alphabet alphabet;
    std::array<ClassDraw, 4> classes;
    std::array<uint32_t, 4> spans {}; // the classes' spans
    int64_t minLength = 0;
    int64_t maxLength = 0;
    size_t capacity = 0; // characters kept per candidate; a longer one is dropped anyway
    size_t count = 0;
    int32_t mode = 0;
    std::optional<PairAutomaton> test; // the mode's pair test; none in mode 0
    // The test's step by alphabet number rather than letter code, so a step is one look-up:
    // steps[(state << stepShift) + character].
    std::vector<uint8_t> steps;
    unsigned stepShift = 0;
    // For sources whose draws are independent: every count combination that fits the length range, each as
    // likely as the others. Drawing one of them has the odds of drawing counts until one fits. Empty when
    // there are too many combinations, when none fits (the run then times out as it would), or when an empty
    // Other set can be drawn from (that ends the run whatever the length).
    std::vector<FittingCounts> fitting;

    /// The test's state after reading character s (numbered as in the alphabet).
    uint8_t Step(uint8_t state, uint32_t s) const { return steps[(size_t {state} << stepShift) + s]; }
};

void MakeSteps(RunPlan& plan)
{
    const std::vector<uint8_t>& letters = plan.alphabet.letters;
    plan.stepShift = static_cast<unsigned>(std::bit_width(letters.size() - 1));
    const size_t stride = size_t {1} << plan.stepShift;
    plan.steps.assign(plan.test->StateCount() * stride, PairAutomaton::kFailed);
    for (size_t state = 0; state < plan.test->StateCount(); ++state) {
        for (size_t s = 0; s < letters.size(); ++s)
            plan.steps[state * stride + s] = plan.test->Next(static_cast<uint8_t>(state), letters[s]);
    }
}

ClassDraw MakeClassDraw(CountRange range, uint32_t setSize, uint32_t base)
{
    ClassDraw draw;
    draw.setSize = setSize;
    draw.base = base;
    draw.min = range.Min;
    const int64_t span = int64_t {range.Max} - range.Min + 1;
    // A maximum below the minimum leaves the minimum alone. The one draw is still made, so the draws that
    // follow stay where they would be for a settled range.
    draw.span = span <= 0 ? 1u : static_cast<uint32_t>(std::min<int64_t>(span, std::numeric_limits<uint32_t>::max()));
    return draw;
}

RunPlan MakePlan(const TPasswordSettings& settings, const TStringListComp& pairs)
{
    RunPlan plan;
    for (const char* set : {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz", "0123456789"}) {
        for (const char* c = set; *c != 0; ++c)
            plan.alphabet.Add(std::string_view(c, 1));
    }
    for (const std::string& character : SplitCharacters(settings.OtherCharacters))
        plan.alphabet.Add(character);
    const auto otherSize = static_cast<uint32_t>(plan.alphabet.letters.size() - 62);
    plan.classes = {MakeClassDraw(settings.Upper, 26, 0), MakeClassDraw(settings.Lower, 26, 26),
                    MakeClassDraw(settings.Numeric, 10, 52), MakeClassDraw(settings.Other, otherSize, 62)};
    for (size_t run = 0; run < plan.spans.size(); ++run)
        plan.spans[run] = plan.classes[run].span;
    plan.minLength = settings.MinLength;
    plan.maxLength = settings.MaxLength;
    plan.capacity = static_cast<size_t>(std::max(settings.MaxLength, 0));
    plan.count = static_cast<size_t>(std::max(settings.Count, 0));
    plan.mode = settings.Mode;
    if (settings.Mode != kModeRandom) {
        plan.test.emplace(pairs, settings.Mode == kModeEasilyPronounced ? PairRule::Strict : PairRule::SameKind);
        MakeSteps(plan);
    }
    return plan;
}

/// Writes the class of each of a candidate's n slots into classes, its classes' first slots being `first`.
void FillClasses(const std::array<size_t, 4>& first, size_t n, uint8_t* classes)
{
    for (size_t run = 0; run < first.size(); ++run) {
        const size_t end = run + 1 < first.size() ? first[run + 1] : n;
        std::fill(classes + first[run], classes + end, static_cast<uint8_t>(run));
    }
}

/// Lists the count combinations that fit the length range in plan.fitting, when it may.
void ListFittingCounts(RunPlan& plan)
{
    uint64_t combinations = 1;
    for (const uint32_t span : plan.spans) {
        combinations *= span;
        if (combinations > kMostListedCombinations)
            return;
    }
    const ClassDraw& other = plan.classes[3];
    if (other.setSize == 0 && other.min + int64_t {other.span} - 1 > 0)
        return;
    for (uint64_t combination = 0; combination < combinations; ++combination) {
        FittingCounts fit;
        int64_t length = 0;
        uint64_t digits = combination;
        for (size_t run = 0; run < plan.classes.size(); ++run) {
            const ClassDraw& draw = plan.classes[run];
            const int64_t count = std::max<int64_t>(static_cast<int64_t>(digits % draw.span) + draw.min, 0);
            digits /= draw.span;
            fit.first[run] = static_cast<size_t>(length);
            length += count;
        }
        if (length >= plan.minLength && length <= plan.maxLength) {
            fit.length = static_cast<uint32_t>(length);
            if (fit.length < kSmallCapacity)
                FillClasses(fit.first, fit.length, fit.classes.data());
            plan.fitting.push_back(fit);
        }
    }
}

/// Runs whose candidates have fewer characters start each shuffle from a copy of kIdentity.
constexpr auto kIdentity = [] {
    std::array<uint16_t, kSmallCapacity> identity {};
    std::iota(identity.begin(), identity.end(), uint16_t {0});
    return identity;
}();

/// One candidate's working storage, allocated once per run. Slots hold the classes' characters in the order
/// they are drawn; positions are the places after the shuffle.
struct Candidate
{
    std::array<size_t, 4> first {}; // slot of each class's first character
    const FittingCounts* fitting = nullptr; // the listed combination drawn, if any
    std::vector<uint16_t> order; // order[j]: the slot at position j
    std::vector<uint8_t> classes; // classes[j]: the class at position j, for sources that shuffle classes
    std::vector<uint32_t> shown; // shown[j]: the character at position j, numbered as in the alphabet

    explicit Candidate(size_t capacity)
        : order(std::max(capacity + 1, kIdentity.size()))
        , classes(std::max(capacity + 1, kSmallCapacity))
        , shown(capacity + 1)
    { }

    /// The class whose characters include slot.
    size_t ClassOf(size_t slot) const { return size_t {slot >= first[1]} + (slot >= first[2]) + (slot >= first[3]); }
};

/// Draws the four class counts, each followed by its characters; the candidate's length, or -1 when a count
/// above 0 is drawn for an empty Other set.
template <class Draws> int64_t DrawClasses(const RunPlan& plan, Draws& draws, Candidate& candidate)
{
    if constexpr (Draws::kDrawsIndependently) {
        if (!plan.fitting.empty()) {
            const FittingCounts& fit = plan.fitting[draws.Choose()];
            candidate.fitting = &fit;
            candidate.first = fit.first;
            return fit.length;
        }
    }
    int64_t length = 0;
    const bool drawn = draws.DrawCounts(plan.spans, [&](size_t run, uint32_t value) {
        const ClassDraw& draw = plan.classes[run];
        const int64_t count = std::max<int64_t>(int64_t {value} + draw.min, 0);
        // Only the Other set can be empty.
        if (run == 3 && draw.setSize == 0 && count > 0) [[unlikely]]
            return false;
        // A class's first slot matters only when the candidate is kept, and then it lies below the capacity.
        candidate.first[run] = static_cast<size_t>(length);
        draws.Characters(run, static_cast<uint64_t>(length), static_cast<uint64_t>(count), draw.setSize);
        length += count;
        return true;
    });
    return drawn ? length : -1;
}

/// Shuffles a candidate of n characters that met the length range, tests it by the mode and spells it when
/// accepted. A character is drawn only when the test or the spelling reaches it.
template <class Draws>
std::optional<std::string> Decide(const RunPlan& plan, Draws& draws, Candidate& candidate, uint32_t n)
{
    // The class at each position. A source whose draws are independent needs no more: a character's draw
    // does not depend on its slot, so it shuffles the classes themselves.
    uint8_t* classes = candidate.classes.data();
    uint16_t* order = candidate.order.data();
    if constexpr (Draws::kDrawsIndependently) {
        if (candidate.fitting != nullptr && n < kSmallCapacity)
            std::copy(candidate.fitting->classes.begin(), candidate.fitting->classes.end(), classes);
        else
            FillClasses(candidate.first, n, classes);
        draws.Shuffle(classes, n);
    } else {
        if (plan.capacity < kSmallCapacity)
            std::copy(kIdentity.begin(), kIdentity.end(), order); // a fixed stretch: a few wide stores, no loop
        else
            std::iota(order, order + n, uint16_t {0});
        draws.Shuffle(order, n);
    }
    const auto reveal = [&](uint32_t j) {
        if constexpr (Draws::kDrawsIndependently) {
            const size_t run = classes[j];
            candidate.shown[j] = plan.classes[run].base + draws.Character(run);
        } else {
            const size_t slot = order[j];
            const size_t run = candidate.ClassOf(slot);
            candidate.shown[j] = plan.classes[run].base + draws.Character(run, slot);
        }
    };
    // The first two characters are always read (the test cannot fail at the first); an independent source
    // draws them together.
    uint32_t revealed = 0;
    if constexpr (Draws::kDrawsIndependently) {
        if (n >= 2) {
            const auto [first, second] = draws.CharacterPair(classes[0], classes[1]);
            candidate.shown[0] = plan.classes[classes[0]].base + first;
            candidate.shown[1] = plan.classes[classes[1]].base + second;
            revealed = 2;
        }
    }
    if (plan.test) {
        uint8_t state = PairAutomaton::kStart;
        for (uint32_t j = 0; j < revealed; ++j)
            state = plan.Step(state, candidate.shown[j]);
        for (; revealed < n && state != PairAutomaton::kFailed; ++revealed) {
            reveal(revealed);
            state = plan.Step(state, candidate.shown[revealed]);
        }
        const bool passed = state != PairAutomaton::kFailed;
        if (passed == (plan.mode == kModeUnpronounceable))
            return std::nullopt;
    }
    for (; revealed < n; ++revealed)
        reveal(revealed);
    const Alphabet& alphabet = plan.alphabet;
    std::string text;
    text.reserve(n);
    for (uint32_t j = 0; j < n; ++j) {
        const uint32_t s = candidate.shown[j];
        text.append(alphabet.bytes, alphabet.offsets[s], alphabet.offsets[s + 1] - alphabet.offsets[s]);
    }
    return text;
}

template <class Draws>
ComposeEnd RunCounted(const RunPlan& plan, Draws& draws, Platform& platform, std::vector<std::string>& out,
                      ComposeStats& stats)
{
    Candidate candidate(plan.capacity);
    const uint32_t start = platform.tickCount();
    uint32_t untilClock = kClockStride;
    while (out.size() < plan.count) {
        ++stats.Candidates;
        draws.Begin();
        const int64_t length = DrawClasses(plan, draws, candidate);
        if (length < 0) {
            draws.End();
            return ComposeEnd::NoOtherCharacters;
        }
        if (length < plan.minLength || length > plan.maxLength) {
            ++stats.LengthDrops;
        } else if (auto password = Decide(plan, draws, candidate, static_cast<uint32_t>(length))) {
            out.push_back(std::move(*password));
        } else {
            ++stats.Rejected;
        }
        draws.End();
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

template <class Draws>
ComposeEnd Run(const RunPlan& plan, Draws& draws, Platform& platform, std::vector<std::string>& out,
               ComposeStats& stats)
{
    // Counted in a local, which the loop can keep in registers, and handed over at the end.
    ComposeStats counted = stats;
    const ComposeEnd end = RunCounted(plan, draws, platform, out, counted);
    stats = counted;
    return end;
}

} // namespace

std::vector<std::string> SplitCharacters(std::string_view text)
{
    std::vector<std::string> characters;
    for (size_t at = 0; at < text.size();) {
        const size_t length = CharacterLength(text, at);
        characters.emplace_back(text.substr(at, length));
        at += length;
    }
    return characters;
}

ComposeEnd ComposePasswords(const TPasswordSettings& settings, RandomSource& random, Platform& platform,
                            const TStringListComp& pairs, std::vector<std::string>& out, ComposeStats* stats)
{
    if (settings.Mode < kModeRandom || settings.Mode > kModeUnpronounceable || settings.MaxLength > kMaxPasswordLength)
        return ComposeEnd::Unsupported;
    RunPlan plan = MakePlan(settings, pairs);
    ComposeStats unused;
    ComposeStats& counts = stats != nullptr ? *stats : unused;
    // The two known sources run with their draws inlined; any other source through its virtual calls.
    if (auto* lcg = dynamic_cast<LcgRandom*>(&random)) {
        detail::LcgDraws draws(*lcg, plan.capacity);
        return Run(plan, draws, platform, out, counts);
    }
    if (auto* system = dynamic_cast<SystemRandom*>(&random)) {
        ListFittingCounts(plan);
        std::array<uint32_t, 4> setSizes {};
        for (size_t run = 0; run < setSizes.size(); ++run)
            setSizes[run] = plan.classes[run].setSize;
        detail::SystemDraws draws(*system, plan.capacity, plan.spans, setSizes, plan.fitting.size());
        return Run(plan, draws, platform, out, counts);
    }
    detail::EagerDraws draws(random, plan.capacity);
    return Run(plan, draws, platform, out, counts);
}

} // namespace tarvelle
