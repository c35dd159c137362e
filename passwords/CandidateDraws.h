// How the composer takes one candidate's draws from a random source (internal to PasswordComposer.cpp).
//
// The composer asks in the fixed order of a candidate: each class's count followed by that class's characters,
// then, when the length fits, the shuffle. It reads a character only when the pair test or the spelling needs
// it. Three ways to serve that:
//  - EagerDraws: any RandomSource; every draw is made when its turn comes, the plain reading of the order;
//  - LcgDraws: the program's generator; every draw is computed from the candidate's first seed and its place in
//    the order, so a character nobody reads costs nothing, and each result equals EagerDraws' exactly;
//  - SystemDraws: the system's generator; its draws are independent, so a character is drawn when it is read
//    and one never read is never drawn, which changes no password's odds. The four counts share one read, and
//    so do the draws of a shuffle (SystemRandom::StartBatch), with the same odds as one draw at a time. When
//    the composer lists the count combinations that fit the length range, one of them is drawn instead of
//    drawing counts until one fits; and as a character's draw does not depend on its slot, the shuffle moves
//    the classes themselves.
#pragma once

#include "Random.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace tarvelle::detail {

/// For i = 0 .. length - 1: swaps order[i] with order[draw(i)], draw(i) being below length.
template <class Entry, class Draw> void ShuffleBy(Entry* order, uint32_t length, Draw&& draw)
{
    for (uint32_t i = 0; i < length; ++i)
        std::swap(order[i], order[draw(i)]);
}

/// The four counts, each drawn by draw(run) and handed to perClass(run, count) before the next is drawn;
/// false when perClass stops.
template <class PerClass, class Draw> bool CountsBy(PerClass& perClass, Draw&& draw)
{
#pragma GCC unroll 4
    for (size_t run = 0; run < 4; ++run) {
        if (!perClass(run, draw(run)))
            return false;
    }
    return true;
}

class EagerDraws
{
public:
    /// Whether the candidate's draws are independent of each other and of their order (see SystemDraws).
    static constexpr bool kDrawsIndependently = false;

    EagerDraws(RandomSource& random, size_t capacity) : random_(random), capacity_(capacity), values_(capacity + 1) { }

    // The composer's calls, in the order of a candidate's draws: Begin, DrawCounts (each count followed by
    // its class's Characters), then (when the length fits) Shuffle and any number of Character, then End.

    void Begin() { }
    /// Draws the four class counts in turn, each below its span, handing each to perClass(run, count), which
    /// makes the class's character draws (Characters) or returns false to stop.
    template <class PerClass> bool DrawCounts(const std::array<uint32_t, 4>& spans, PerClass&& perClass)
    {
        return CountsBy(perClass, [&](size_t run) { return random_.RandomBelow(spans[run]); });
    }
    /// The next `count` draws are characters of one class, for the slots from `first` on.
    void Characters(size_t, uint64_t first, uint64_t count, uint32_t setSize)
    {
        // Only `capacity` characters are kept: a longer candidate is dropped, its other draws still made.
        const uint64_t stored = std::min<uint64_t>(first, capacity_);
        const uint64_t kept = std::min<uint64_t>(count, capacity_ - stored);
        random_.FillBelow(setSize, values_.data() + stored, static_cast<size_t>(kept));
        random_.DiscardBelow(setSize, count - kept);
    }
    /// The shuffle of a candidate of `length` characters: for i = 0 .. length - 1, swaps order[i] with the
    /// place of its draw.
    void Shuffle(uint16_t* order, uint32_t length)
    {
        ShuffleBy(order, length, [&](uint32_t) { return random_.RandomBelow(length); });
    }
    /// The drawn index (into its class's set) of the character in slot.
    uint32_t Character(size_t, size_t slot) { return values_[slot]; }
    void End() { }

private:
    RandomSource& random_;
    size_t capacity_;
    std::vector<uint32_t> values_;
};

class LcgDraws
{
public:
    static constexpr bool kDrawsIndependently = false;

    LcgDraws(LcgRandom& random, size_t capacity) : random_(random)
    {
        // A kept candidate makes at most 4 count draws, `capacity` character draws and `capacity` shuffle draws.
        jumps_.resize(2 * capacity + 5);
        for (size_t place = 1; place < jumps_.size(); ++place)
            jumps_[place] = {jumps_[place - 1].Mul * LcgRandom::kMultiplier,
                             jumps_[place - 1].Add * LcgRandom::kMultiplier + LcgRandom::kIncrement};
    }

    void Begin()
    {
        start_ = random_.GeneratorSeed;
        place_ = 0;
    }
    template <class PerClass> bool DrawCounts(const std::array<uint32_t, 4>& spans, PerClass&& perClass)
    {
        return CountsBy(perClass, [&](size_t run) { return LcgRandom::Scale(spans[run], SeedAt(++place_)); });
    }
    void Characters(size_t run, uint64_t, uint64_t count, uint32_t setSize)
    {
        setSizes_[run] = setSize;
        place_ += count;
    }
    void Shuffle(uint16_t* order, uint32_t length)
    {
        // Characters come before the shuffle, so the draws' places are fixed by the counts alone; a kept
        // candidate's places all lie within the table.
        shuffled_ = length;
        const LcgJump* jumps = jumps_.data() + place_ + 1;
        const uint32_t start = start_;
        ShuffleBy(order, length, [&](uint32_t i) { return LcgRandom::Scale(length, jumps[i].Apply(start)); });
    }
    uint32_t Character(size_t run, size_t slot)
    {
        // Slot s of class `run` follows run + 1 count draws and s character draws.
        return LcgRandom::Scale(setSizes_[run], jumps_[slot + run + 2].Apply(start_));
    }
    void End()
    {
        random_.GeneratorSeed = SeedAt(place_ + shuffled_);
        shuffled_ = 0;
    }

private:
    /// The seed after the candidate's draw number `place`.
    uint32_t SeedAt(uint64_t place) const
    {
        return place < jumps_.size() ? jumps_[place].Apply(start_) : LcgJumpOf(place).Apply(start_);
    }

    LcgRandom& random_;
    std::vector<LcgJump> jumps_; // jumps_[p]: p generator steps
    std::array<uint32_t, 4> setSizes_ {};
    uint32_t start_ = 0;
    uint64_t place_ = 0; // draws of the candidate before its shuffle
    uint32_t shuffled_ = 0; // draws of its shuffle
};

class SystemDraws
{
public:
    /// Draws are independent, so the composer may take a candidate's counts from the combinations that fit
    /// (Choose) and shuffle its classes rather than its slots; characters are drawn by class alone.
    static constexpr bool kDrawsIndependently = true;

    /// `choices`: the number of listed count combinations Choose picks from (0 when there is no list).
    SystemDraws(SystemRandom& random, size_t capacity, const std::array<uint32_t, 4>& spans,
                const std::array<uint32_t, 4>& setSizes, size_t choices)
        : random_(random), countShape_(SystemRandom::ShapeOf(spans)), setSizes_(setSizes)
    {
        for (size_t run = 1; run < spans.size(); ++run)
            countPowers_[run] = countPowers_[run - 1] * spans[run - 1];
        for (size_t first = 0; first < 4; ++first) {
            for (size_t second = 0; second < 4; ++second) {
                const std::array<uint32_t, 2> ranges {setSizes[first], setSizes[second]};
                pairShapes_[first * 4 + second] = SystemRandom::ShapeOf(ranges);
            }
        }
        if (choices > 0) {
            choices_ = static_cast<uint32_t>(choices);
            const std::array<uint32_t, 1> ranges {choices_};
            choiceShape_ = SystemRandom::ShapeOf(ranges).value_or(SystemRandom::BatchShape {});
        }
        for (uint32_t length = 0; length <= capacity; ++length) {
            const std::vector<uint32_t> ranges(length, length);
            const auto shape = SystemRandom::ShapeOf(ranges);
            if (!shape)
                break;
            shuffleShapes_.push_back(*shape);
            uint64_t before = 1;
            for (uint32_t i = 0; i < length; ++i, before *= length)
                shufflePowers_.push_back(before);
        }
    }

    void Begin() { }
    /// One of the `choices` listed combinations, all equally likely.
    size_t Choose() { return random_.StartBatch(choiceShape_).At(1, choices_); }
    template <class PerClass> bool DrawCounts(const std::array<uint32_t, 4>& spans, PerClass&& perClass)
    {
        if (!countShape_) [[unlikely]]
            return CountsBy(perClass, [&](size_t run) { return random_.RandomBelow(spans[run]); });
        // The four counts are one read when their ranges allow it.
        const SystemRandom::DrawBatch batch = random_.StartBatch(*countShape_);
        return CountsBy(perClass, [&](size_t run) { return batch.At(countPowers_[run], spans[run]); });
    }
    void Characters(size_t, uint64_t, uint64_t, uint32_t) { }
    template <class Entry> void Shuffle(Entry* order, uint32_t length)
    {
        if (length >= shuffleShapes_.size()) [[unlikely]] {
            ShuffleBy(order, length, [&](uint32_t) { return random_.RandomBelow(length); });
            return;
        }
        // The whole shuffle is one read. Each draw is taken by its place in the batch, so the draws do not
        // wait on each other; the results are those of Next.
        const SystemRandom::DrawBatch batch = random_.StartBatch(shuffleShapes_[length]);
        const uint64_t* before = shufflePowers_.data() + size_t {length} * (length - 1) / 2;
        ShuffleBy(order, length, [&](uint32_t i) { return batch.At(before[i], length); });
    }
    /// A character of class `run`, drawn now.
    uint32_t Character(size_t run) { return random_.RandomBelow(setSizes_[run]); }
    /// A character of class `first` and one of class `second`, drawn now; one read when their sets allow it.
    std::pair<uint32_t, uint32_t> CharacterPair(size_t first, size_t second)
    {
        const std::optional<SystemRandom::BatchShape>& shape = pairShapes_[first * 4 + second];
        if (!shape) [[unlikely]]
            return {Character(first), Character(second)};
        const SystemRandom::DrawBatch batch = random_.StartBatch(*shape);
        return {batch.At(1, setSizes_[first]), batch.At(setSizes_[first], setSizes_[second])};
    }
    void End() { }

private:
    SystemRandom& random_;
    std::optional<SystemRandom::BatchShape> countShape_;
    std::array<uint32_t, 4> setSizes_; // [run]: the size of the class's set
    std::array<std::optional<SystemRandom::BatchShape>, 16> pairShapes_; // [first x 4 + second]: two characters
    std::array<uint64_t, 4> countPowers_ {1, 1, 1, 1}; // [run]: the product of the spans before it
    SystemRandom::BatchShape choiceShape_;
    uint32_t choices_ = 0;
    std::vector<SystemRandom::BatchShape> shuffleShapes_; // [length]: a shuffle's draws, while one read holds them
    std::vector<uint64_t> shufflePowers_; // from index length x (length - 1) / 2: length^i for i < length
};

} // namespace tarvelle::detail
