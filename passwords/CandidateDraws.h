// How the composer takes one candidate's draws from a random source (internal to PasswordComposer.cpp).
//
// The composer asks in the fixed order of a candidate: each class's count followed by that class's characters,
// then, when the length fits, the shuffle. It reads a character only when the pair test or the spelling needs
// it. Three ways to serve that:
//  - EagerDraws: any RandomSource; every draw is made when its turn comes, the plain reading of the order;
//  - LcgDraws: the program's generator; every draw is computed from the candidate's first seed and its place in
//    the order, so a character nobody reads costs nothing, and each result equals EagerDraws' exactly;
//  - SystemDraws: the system's generator; its draws are independent, so a character is drawn when it is read
//    and one never read is never drawn, which changes no password's odds.
#pragma once

#include "Random.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarvelle::detail {

class EagerDraws
{
public:
    EagerDraws(RandomSource& random, size_t capacity) : random_(random), values_(capacity + 1) { }

    // The composer's calls, in the order of a candidate's draws: Begin, four times Count and Characters,
    // then (when the length fits) SwapDraw for i = 0 .. length - 1 and any number of Character, then End.

    void Begin() { }
    uint32_t Count(uint32_t span) { return random_.RandomBelow(span); }
    /// The next `total` draws are characters of one class; the first `kept` of them fill slots from `first`.
    void Characters(size_t, size_t first, size_t kept, uint64_t total, uint32_t setSize)
    {
        random_.FillBelow(setSize, values_.data() + first, kept);
        random_.DiscardBelow(setSize, total - kept);
    }
    /// The shuffle's draw for position i (asked for i = 0, 1, ... length - 1 in turn).
    uint32_t SwapDraw(uint32_t length, uint32_t) { return random_.RandomBelow(length); }
    /// The drawn index (into its class's set) of the character in slot.
    uint32_t Character(size_t, size_t slot) { return values_[slot]; }
    void End() { }

private:
    RandomSource& random_;
    std::vector<uint32_t> values_;
};

class LcgDraws
{
public:
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
    uint32_t Count(uint32_t span) { return LcgRandom::Scale(span, SeedAt(++place_)); }
    void Characters(size_t run, size_t first, size_t, uint64_t total, uint32_t setSize)
    {
        runs_[run] = {first, place_ + 1, setSize};
        place_ += total;
    }
    uint32_t SwapDraw(uint32_t length, uint32_t i)
    {
        // Characters come before the shuffle, so the draw's place is fixed by the counts alone.
        shuffled_ = length;
        return LcgRandom::Scale(length, SeedAt(place_ + 1 + i));
    }
    uint32_t Character(size_t run, size_t slot)
    {
        const Run& r = runs_[run];
        return LcgRandom::Scale(r.setSize, SeedAt(r.place + (slot - r.first)));
    }
    void End()
    {
        random_.GeneratorSeed = SeedAt(place_ + shuffled_);
        shuffled_ = 0;
    }

private:
    struct Run
    {
        size_t first = 0; // slot of the class's first character
        uint64_t place = 0; // place of its first draw in the candidate's order (1: the candidate's first draw)
        uint32_t setSize = 0;
    };

    /// The seed after the candidate's draw number `place`.
    uint32_t SeedAt(uint64_t place) const
    {
        return place < jumps_.size() ? jumps_[place].Apply(start_) : LcgJumpOf(place).Apply(start_);
    }

    LcgRandom& random_;
    std::vector<LcgJump> jumps_; // jumps_[p]: p generator steps
    std::array<Run, 4> runs_ {};
    uint32_t start_ = 0;
    uint64_t place_ = 0; // draws of the candidate before its shuffle
    uint32_t shuffled_ = 0; // draws of its shuffle
};

class SystemDraws
{
public:
    SystemDraws(SystemRandom& random, size_t) : random_(random) { }

    void Begin() { }
    uint32_t Count(uint32_t span) { return random_.RandomBelow(span); }
    void Characters(size_t run, size_t, size_t, uint64_t, uint32_t setSize) { setSizes_[run] = setSize; }
    uint32_t SwapDraw(uint32_t length, uint32_t) { return random_.RandomBelow(length); }
    uint32_t Character(size_t run, size_t) { return random_.RandomBelow(setSizes_[run]); }
    void End() { }

private:
    SystemRandom& random_;
    std::array<uint32_t, 4> setSizes_ {};
};

} // namespace tarvelle::detail
