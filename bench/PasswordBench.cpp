// Speed of the password run with the Password page's start settings: candidates and accepted passwords per
// second for each mode, from the program's generator (Lcg) and from the system's (System, as the Password page and
// tarvelle-cli bind it with ComposeFrom, and SystemInterface through the RandomSource interface, as test stand-ins
// are). Then the strength of a setting: the page's defaults and 12 to 20 characters of every class in each mode,
// and the shuffle's odds over the arrangements of two labels, which the strength sums rest on.
#include "BenchPlatform.h"
#include "PasswordComposer.h"
#include "PasswordStrength.h"
#include "Random.h"
#include "ShuffleOdds.h"
#include "StringsComp.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace {

using namespace tarvelle;
using bench::BenchPlatform;

void RunDefaults(benchmark::State& state, const ComposeFunction& compose)
{
    BenchPlatform platform;
    const TStringListComp pairs(LetterPairList());
    TPasswordSettings settings;
    settings.Mode = static_cast<int32_t>(state.range(0));
    settings.Count = 999;
    ComposeStats stats;
    std::vector<std::string> passwords;
    for (auto _ : state) {
        passwords.clear();
        const ComposeEnd end = compose(settings, platform, pairs, passwords, &stats);
        if (end != ComposeEnd::Filled)
            state.SkipWithError("the run did not fill its list");
        benchmark::DoNotOptimize(passwords.data());
    }
    state.counters["candidates"]
        = benchmark::Counter(static_cast<double>(stats.Candidates), benchmark::Counter::kIsRate);
    state.counters["passwords"]
        = benchmark::Counter(static_cast<double>(state.iterations()) * 999.0, benchmark::Counter::kIsRate);
}

void Lcg(benchmark::State& state)
{
    LcgRandom random(0x5EED1234u);
    RunDefaults(state, ComposeFrom(random));
}

/// Bytes the system source has taken from getrandom, counted by the stand-in it reads through.
uint64_t bytesRead = 0;

ssize_t CountedGetRandom(void* buffer, size_t length, unsigned flags)
{
    const ssize_t got = getrandom(buffer, length, flags);
    bytesRead += got > 0 ? static_cast<uint64_t>(got) : 0;
    return got;
}

void System(benchmark::State& state)
{
    SystemRandom random(&CountedGetRandom);
    bytesRead = 0;
    RunDefaults(state, ComposeFrom(random));
    state.counters["bytes/password"]
        = static_cast<double>(bytesRead) / (static_cast<double>(state.iterations()) * 999.0);
}

/// The system source handed over as a RandomSource: virtual draws.
void SystemInterface(benchmark::State& state)
{
    SystemRandom system;
    RandomSource& random = system;
    RunDefaults(state, ComposeFrom(random));
}

// 999 passwords per iteration in each mode; mode 1 is the page's start mode and the slow one.
BENCHMARK(Lcg)->DenseRange(0, 3)->ArgName("mode")->Unit(benchmark::kMillisecond);
BENCHMARK(System)->DenseRange(0, 3)->ArgName("mode")->Unit(benchmark::kMillisecond);
BENCHMARK(SystemInterface)->Arg(1)->ArgName("mode")->Unit(benchmark::kMillisecond);

// The target case, repeated for a median: 999 passwords at the page's start settings from the system source.
BENCHMARK(System)
    ->Name("Default999/System")
    ->Arg(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Lcg)
    ->Name("Default999/Lcg")
    ->Arg(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

/// Counts of each class and the length range of the longer settings the strength is timed at.
struct LongSetting
{
    CountRange upper, lower, numeric, other;
    int32_t minLength, maxLength;
};
// 12 to 20 characters of every class; 30 to 40, beyond the chain (ranges from bounds on the shuffle's odds).
constexpr LongSetting kLongSettings[]
    = {{{1, 6}, {1, 10}, {1, 5}, {1, 5}, 12, 20}, {{10, 10}, {10, 20}, {5, 5}, {5, 5}, 30, 40}};

/// The page's defaults but for the mode, or one of kLongSettings (`lengths` 1 or 2).
TPasswordSettings StrengthSettings(int32_t mode, int64_t lengths)
{
    TPasswordSettings settings;
    settings.Mode = mode;
    if (lengths > 0) {
        const LongSetting& l = kLongSettings[lengths - 1];
        settings.Upper = l.upper;
        settings.Lower = l.lower;
        settings.Numeric = l.numeric;
        settings.Other = l.other;
        settings.MinLength = l.minLength;
        settings.MaxLength = l.maxLength;
    }
    return settings;
}

void Strength(benchmark::State& state)
{
    const TStringListComp pairs(LetterPairList());
    const TPasswordSettings settings = StrengthSettings(static_cast<int32_t>(state.range(0)), state.range(1));
    for (auto _ : state) {
        PasswordStrength strength = MeasureStrength(settings, pairs);
        if (strength.End != StrengthEnd::Measured)
            state.SkipWithError("no figures for these settings");
        benchmark::DoNotOptimize(strength.ShannonHigh);
    }
}

/// A start of positions 0..ones-1 of one label and the rest of another.
void TwoLabelShuffle(benchmark::State& state)
{
    std::vector<uint8_t> start(static_cast<size_t>(state.range(0)), 1);
    std::fill_n(start.begin(), state.range(1), uint8_t {0});
    for (auto _ : state)
        benchmark::DoNotOptimize(ShuffledArrangements(start).size());
}

/// A start of positions 0..ones-1 of one label and the rest of another, as TwoLabelShuffle.
void TwoLabelOddsBounds(benchmark::State& state)
{
    std::vector<uint8_t> start(static_cast<size_t>(state.range(0)), 0);
    std::fill_n(start.begin(), state.range(1), uint8_t {1});
    for (auto _ : state) {
        double budget = 1e12;
        benchmark::DoNotOptimize(tarvelle::TwoLabelOddsBounds(start, budget));
    }
}

// Mode, and 1 for 12 to 20 characters of every class, 2 for 30 to 40 (0: the page's defaults).
BENCHMARK(Strength)->ArgsProduct({{0, 1, 2, 3}, {0, 1, 2}})->ArgNames({"mode", "long"})->Unit(benchmark::kMillisecond);
// Length, and the count of one label.
BENCHMARK(TwoLabelOddsBounds)
    ->Args({30, 15})
    ->Args({40, 20})
    ->Args({60, 30})
    ->ArgNames({"length", "ones"})
    ->Unit(benchmark::kMillisecond);
// Length, and the count of the first label.
BENCHMARK(TwoLabelShuffle)
    ->Args({16, 8})
    ->Args({20, 10})
    ->Args({20, 3})
    ->Args({22, 11})
    ->ArgNames({"length", "first"})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
