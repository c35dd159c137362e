// Time per user event on the page models, without any window: an edit of the rate box, a solve, a subnet
// recomputation and a change of a coupled spin box. Each event's full chain of handlers runs.
#include "BandwidthPageModel.h"
#include "BenchPlatform.h"
#include "Entropy.h"
#include "IpPageModel.h"
#include "PasswordPageModel.h"
#include "Random.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tarvelle;
using bench::BenchPlatform;

// Two texts to alternate, so every set differs from the box's text and runs its change handler.
void BandwidthRateEdit(benchmark::State& state)
{
    BenchPlatform platform;
    bandwidth::BandwidthPageModel page(platform);
    page.SetInitialUnits();
    page.tbDS.set("700");
    page.tbTm.set("12");
    const char* texts[] = {"1544", "1544.5"};
    size_t k = 0;
    for (auto _ : state) {
        page.tbBW.set(texts[k ^= 1u]);
        benchmark::DoNotOptimize(page.lbBWTol.data());
    }
}
BENCHMARK(BandwidthRateEdit);

// A solve of the rate; the size alternates so each solve writes a new rate text and its handler runs.
void BandwidthSolveRate(benchmark::State& state)
{
    BenchPlatform platform;
    bandwidth::BandwidthPageModel page(platform);
    page.SetInitialUnits();
    page.tbTm.set("12");
    const char* sizes[] = {"700", "701"};
    size_t k = 0;
    for (auto _ : state) {
        state.PauseTiming();
        page.tbDS.set(sizes[k ^= 1u]);
        state.ResumeTiming();
        page.btnBWClick();
        benchmark::DoNotOptimize(page.tbBW.text().data());
    }
}
BENCHMARK(BandwidthSolveRate);

// One octet typed: the box's change handler recomputes the whole page.
void IpOctetEdit(benchmark::State& state)
{
    IpPageModel page;
    page.SetInitialLists();
    page.tbIP1.set("192");
    page.tbIP2.set("168");
    page.tbIP3.set("1");
    const char* texts[] = {"10", "11"};
    size_t k = 0;
    for (auto _ : state) {
        page.tbIP4.set(texts[k ^= 1u]);
        benchmark::DoNotOptimize(page.lbBreakdown.data());
    }
}
BENCHMARK(IpOctetEdit);

// The minimum length typed: its change handler moves the maximum's range, and the chain settles.
void PasswordCoupledMinimum(benchmark::State& state)
{
    BenchPlatform platform;
    EntropyPool entropy;
    LcgRandom generator;
    LcgRandom draws;
    PasswordPageModel page(platform, entropy, generator, draws);
    page.SetInitialMode();
    const char* texts[] = {"9", "10"};
    size_t k = 0;
    for (auto _ : state) {
        page.seMinLen.setText(texts[k ^= 1u]);
        benchmark::DoNotOptimize(page.seMaxLen.text().data());
    }
}
BENCHMARK(PasswordCoupledMinimum);

} // namespace

BENCHMARK_MAIN();
