#include "PasswordRun.h"

#include <algorithm>
#include <vector>

namespace tarvelle::cli {

namespace {

// A chunk aims at this many milliseconds: short enough for a lively progress line, long enough that the
// composer's set-up per call does not count.
constexpr uint32_t kChunkMilliseconds = 100;
constexpr uint64_t kFirstChunk = 256;
constexpr uint64_t kSmallestChunk = 64;
constexpr uint64_t kLargestChunk = 65536;

uint64_t NextChunk(uint64_t chunk, uint32_t took)
{
    if (took < kChunkMilliseconds / 2)
        return std::min(chunk * 2, kLargestChunk);
    if (took > kChunkMilliseconds * 2)
        return std::max(chunk / 2, kSmallestChunk);
    return chunk;
}

} // namespace

RunEnd PasswordRun::Run(const ComposeFunction& compose, Platform& platform, const TStringListComp& pairs)
{
    const uint32_t start = platform.tickCount();
    uint64_t chunk = kFirstChunk;
    std::vector<std::string> passwords;
    while (made < count) {
        TPasswordSettings part = settings;
        part.Count = static_cast<int32_t>(std::min(chunk, count - made));
        passwords.clear();
        ComposeStats stats;
        const uint32_t chunkStart = platform.tickCount();
        const ComposeEnd end = compose(part, platform, pairs, passwords, &stats);
        candidates += stats.Candidates;
        for (const std::string& password : passwords) {
            ++made;
            if (!take(password))
                return RunEnd::Stopped;
        }
        const uint32_t now = platform.tickCount();
        if (progress)
            progress(made, now - start);
        if (end == ComposeEnd::NoOtherCharacters)
            return RunEnd::NoOtherCharacters;
        if (end == ComposeEnd::Unsupported)
            return RunEnd::Unsupported;
        // Nothing kept yet: the same give-up as the composer's, over the whole run.
        if (made == 0 && (end == ComposeEnd::TimedOut || now - start > kGiveUpMilliseconds))
            return RunEnd::GaveUp;
        chunk = NextChunk(chunk, now - chunkStart);
    }
    return RunEnd::Filled;
}

} // namespace tarvelle::cli
