// A password run of any length for tarvelle-cli: the composer called in chunks.
//
// The composer ends every run after ten seconds, as the window wants; the command line promises up to a
// million passwords, so PasswordRun asks for them a chunk at a time and hands each accepted password on as it
// comes. Chunks change nothing in what is made: the source carries its state from one chunk to the next, so
// `--seed` gives the same passwords however the run is cut. The composer's two-second give-up still ends a
// run that has made nothing; once a password is made the run goes on to the end. PasswordRun reports its progress
// on the way.
#pragma once

#include "PasswordComposer.h"
#include "Platform.h"
#include "Random.h"
#include "StringsComp.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tarvelle::cli {

/// How a run ended.
enum class RunEnd {
    Filled, // every password asked for was made
    GaveUp, // nothing made within the give-up time
    NoOtherCharacters, // a candidate drew from an empty set of other characters
    Unsupported, // the composer refused the settings
    Stopped, // the taker asked to stop (a failed write)
};

struct PasswordRun
{
    TPasswordSettings settings; // Count is ignored: `count` says how many
    uint64_t count = 0;
    /// Takes each password as it is made; false stops the run.
    std::function<bool(const std::string&)> take;
    /// Called after each chunk with the passwords made and the milliseconds since the start.
    std::function<void(uint64_t made, uint32_t elapsed)> progress;

    uint64_t made = 0;
    uint64_t candidates = 0; // drawn by the composer, over all chunks

    /// Runs to the end; composes through compose and reads platform's clock.
    RunEnd Run(const ComposeFunction& compose, Platform& platform, const TStringListComp& pairs);
};

} // namespace tarvelle::cli
