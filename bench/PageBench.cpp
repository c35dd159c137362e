// Time per user event on the page models, without any window: an edit of the rate box, a solve, a subnet
// recomputation and a change of a coupled spin box. Each event's full chain of handlers runs.
#include "BandwidthPageModel.h"
#include "BenchPlatform.h"
#include "Entropy.h"
#include "IpPageModel.h"
#include "PasswordPageModel.h"
#include "Random.h"

#include <benchmark/benchmark.h>

#include <string>
#include <utility>

namespace {

using namespace tarvelle;
using bench::BenchPlatform;

// Sets the box to two texts in turn, so every set differs from its text and runs its change handler; `shown`
// is a result the chain writes, kept from being optimised away.
template <class Box> void AlternateTexts(benchmark::State& state, Box& box, const std::string& shown)
{
    const char* texts[] = {"9", "10"};
    size_t k = 0;
    for (auto _ : state) {
        box.setText(texts[k ^= 1u]);
        benchmark::DoNotOptimize(shown.data());
    }
}

// EditField's setter under the name the spin box uses.
struct EditBox
{
    EditField& field;
    void setText(std::string text) { field.set(std::move(text)); }
};

void BandwidthRateEdit(benchmark::State& state)
{
    BenchPlatform platform;
    bandwidth::BandwidthPageModel page(platform);
    page.SetInitialUnits();
    page.tbDS.set("700");
    page.tbTm.set("12");
    EditBox rate {page.tbBW};
    AlternateTexts(state, rate, page.lbBWTol);
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
    EditBox octet {page.tbIP4};
    AlternateTexts(state, octet, page.lbBreakdown);
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
    AlternateTexts(state, page.seMinLen, page.seMaxLen.text());
}
BENCHMARK(PasswordCoupledMinimum);

} // namespace

BENCHMARK_MAIN();
