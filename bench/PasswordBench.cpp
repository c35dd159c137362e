// Speed of the password run with the Password page's start settings: candidates and accepted passwords per
// second for each mode, from the program's generator (Lcg) and from the system's (System).
#include "PasswordComposer.h"
#include "Random.h"
#include "StringsComp.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace {

using namespace tarvelle;

/// The clock a real run watches; nothing else is asked of the platform here.
class BenchPlatform final : public Platform
{
public:
    void beep() override { }
    uint32_t tickCount() override
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
    bool queryPerformanceFrequency(int64_t& frequency) override { return (frequency = 0, false); }
    bool queryPerformanceCounter(int64_t& count) override { return (count = 0, false); }
    void sleepMilliseconds(uint32_t) override { }
    ScreenPoint cursorPos() override { return {}; }
    void showInformation(const std::string&, const std::string&) override { }
    void showWarning(const std::string&, const std::string& text) override
    {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    void showError(const std::string&) override { }
    void setClipboardText(const std::string&) override { }
    std::optional<std::string> askSaveFileName() override { return std::nullopt; }
    std::optional<std::string> writeFile(const std::string&, const std::string&) override { return std::nullopt; }
    bool openUrl(const std::string&) override { return false; }
    void setMainWindowEnabled(bool) override { }
    void setBusyCursor(bool) override { }
    void processEvents() override { }
};

template <class Source> void RunDefaults(benchmark::State& state, Source& random)
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
        const ComposeEnd end = ComposePasswords(settings, random, platform, pairs, passwords, &stats);
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
    RunDefaults(state, random);
}

void System(benchmark::State& state)
{
    SystemRandom random;
    RunDefaults(state, random);
    state.counters["bytes/password"]
        = static_cast<double>(random.BytesRead()) / (static_cast<double>(state.iterations()) * 999.0);
}

// 999 passwords per iteration in each mode; mode 1 is the page's start mode and the slow one.
BENCHMARK(Lcg)->DenseRange(0, 3)->ArgName("mode")->Unit(benchmark::kMillisecond);
BENCHMARK(System)->DenseRange(0, 3)->ArgName("mode")->Unit(benchmark::kMillisecond);

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

} // namespace

BENCHMARK_MAIN();
