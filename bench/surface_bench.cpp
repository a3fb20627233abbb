// What one frame's surface update costs: ages, resets and sums the ripples of every drip.
#include "settings/saver_settings.h"
#include "surface/drips.h"
#include "surface/sine_table.h"
#include "surface/surface_grid.h"

#include <benchmark/benchmark.h>

namespace {

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
        // Lifetimes long enough that every drip lives through the whole run.
        spawnDrip(70.0f * d, 50.0f * d, 8.0f, 1e9f, 0.9f, 0.5f, 0.2f);
    }
    updateSurface(1.0f);
}

void BM_UpdateSurface(benchmark::State& state) {
    const int columns = static_cast<int>(state.range(0));
    const int rows = static_cast<int>(state.range(1));
    const int drips = static_cast<int>(state.range(2));
    prepareSurface(columns, rows, drips, state.range(3) != 0);
    for (auto _ : state) {
        updateSurface(0.016f);
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
    ->Args({400, 300, 15, 0});

BENCHMARK_MAIN();
