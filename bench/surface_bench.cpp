// What one frame's surface update costs: ages, resets and sums the ripples of every drip.
#include "settings/saver_settings.h"
#include "surface/drips.h"
#include "surface/sine_table.h"
#include "surface/surface_grid.h"

#include <benchmark/benchmark.h>

namespace {

constexpr float kLifetime = 6.5f;

void prepareSurface(int columns, int rows, int drips, bool color) {
    applyDefaults();
    saverSettings.meshX = static_cast<float>(columns);
    saverSettings.meshY = static_cast<float>(rows);
    saverSettings.maxDrips = drips;
    saverSettings.enableColor = color ? 1 : 0;
    fillSineTable();
    buildSurfaceGrid();
    dripPool = DripPool();
    for (int d = 0; d < drips; ++d) {
        spawnDrip(70.0f * d, 50.0f * d, 8.0f, kLifetime, 0.9f, 0.5f, 0.2f);
        // Ages spread over a drip's life, so the phases span what a real frame sees.
        Drip& drip = dripPool.slots[d];
        drip.age = kLifetime * (static_cast<float>(d) + 0.5f) / static_cast<float>(drips);
        drip.ringScale = 6.0f - drip.age;
    }
}

void BM_UpdateSurface(benchmark::State& state) {
    const int columns = static_cast<int>(state.range(0));
    const int rows = static_cast<int>(state.range(1));
    const int drips = static_cast<int>(state.range(2));
    prepareSurface(columns, rows, drips, state.range(3) != 0);
    for (auto _ : state) {
        // The drips are held at their ages: a run of thousands of frames would otherwise age them
        // far past any lifetime, into phases that no real frame sees.
        updateSurface(0.0f);
        benchmark::DoNotOptimize(surfaceGrid.positions[0].z);
    }
    const double vertexDrips = static_cast<double>(columns) * rows * drips;
    state.counters["ns_per_vertex_drip"] = benchmark::Counter(
        vertexDrips, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_UpdateSurface)
    ->ArgNames({"columns", "rows", "drips", "color"})
    ->Args({80, 60, 3, 1})
    ->Args({80, 60, 3, 0})
    ->Args({200, 150, 15, 1})
    ->Args({200, 150, 15, 0})
    ->Args({400, 300, 15, 1})
    ->Args({400, 300, 15, 0})
    ->Args({2048, 1024, 15, 1}) // kMaxGridVertices, the largest grid a run can build
    ->Args({2048, 1024, 15, 0})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
