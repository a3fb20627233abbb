// What a whole frame costs natively: normals, drawing into OSMesa, the drip update, the rest.
// llvmpipe rasterises on threads of its own; with LP_NUM_THREADS=0 it works on the calling
// thread, and the CPU column then holds the whole cost of a frame.
#include "offscreen/offscreen_gl.h"
#include "scene/frame.h"
#include "scene/scene_setup.h"
#include "settings/saver_settings.h"
#include "surface/drips.h"
#include "surface/sine_table.h"
#include "surface/surface_drawing.h"
#include "surface/surface_grid.h"
#include "textures/builtin_texture.h"
#include "textures/source_picture.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;

// The default scene (Chomify, colour and zoom on) with a full pool of long-lived drips, so
// that every frame sums exactly this many ripples and no drip is spawned.
void prepareScene(int columns, int rows, int drips) {
    applyDefaults();
    saverSettings.meshX = static_cast<float>(columns);
    saverSettings.meshY = static_cast<float>(rows);
    saverSettings.maxDrips = drips;
    environmentTexture.loaded = 0;
    environmentTexture.textureName = 0;
    fillSineTable();
    glViewport(0, 0, kWindowWidth, kWindowHeight);
    setupScene();
    dripPool = DripPool();
    for (int d = 0; d < drips; ++d) {
        spawnDrip(70.0f * d, 50.0f * d, 8.0f, 1e9f, 0.9f, 0.5f, 0.2f);
    }
    updateSurface(1.0f);
}

void BM_WholeFrame(benchmark::State& state) {
    OffscreenGl gl(kWindowWidth, kWindowHeight);
    prepareScene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                 static_cast<int>(state.range(2)));
    for (auto _ : state) {
        renderFrame(nullptr); // presenting natively waits for the drawing to finish
    }
    environmentTexture.textureName = 0;
}

// The same frame on two monitors: the window above and a 512 x 384 monitor beside it, each
// showing the whole surface.
void BM_WholeFrameTwoMonitors(benchmark::State& state) {
    constexpr int kSecondWidth = 512;
    OffscreenGl gl(kWindowWidth + kSecondWidth, kWindowHeight);
    prepareScene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                 static_cast<int>(state.range(2)));
    MonitorList monitors;
    addMonitor(monitors, {0, 0, kWindowWidth, kWindowHeight}, true);
    addMonitor(monitors, {kWindowWidth, 0, kWindowWidth + kSecondWidth, 384}, false);
    frameViewports =
        layoutMonitors(monitors, {0, 0, kWindowWidth + kSecondWidth, kWindowHeight}, false);
    for (auto _ : state) {
        renderFrame(nullptr);
    }
    frameViewports = MonitorLayout();
    environmentTexture.textureName = 0;
}

// The OpenGL half of capturing the desktop at start: turning each monitor's 512 x 256 picture
// into a mipmapped texture. (The screen read itself needs Windows: bench/startup_bench.sh.)
void BM_UploadDesktopPictures(benchmark::State& state) {
    OffscreenGl gl(64, 64);
    applyDefaults();
    const int pictures = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < pictures; ++i) {
            sourcePictures[i].width = saverSettings.textureWidth;
            sourcePictures[i].height = saverSettings.textureHeight;
            allocateSourcePixels(sourcePictures[i]);
            const size_t bytes =
                sourcePictureBytes(sourcePictures[i].width, sourcePictures[i].height);
            for (size_t b = 0; b < bytes; ++b) {
                sourcePictures[i].pixels[b] = static_cast<uint8_t>(b * 7);
            }
        }
        state.ResumeTiming();
        uploadSourcePicture();
        glFinish();
        state.PauseTiming();
        glDeleteTextures(kMaxMonitors, sourceTextureNames);
        for (GLuint& name : sourceTextureNames) {
            name = 0;
        }
        state.ResumeTiming();
    }
}

void BM_SurfaceNormals(benchmark::State& state) {
    applyDefaults();
    saverSettings.meshX = static_cast<float>(state.range(0));
    saverSettings.meshY = static_cast<float>(state.range(1));
    buildSurfaceGrid();
    for (int v = 0; v < surfaceGrid.vertexCount; ++v) {
        surfaceGrid.positions[v].z = static_cast<float>(v % 7);
    }
    for (auto _ : state) {
        updateSurfaceNormals();
        benchmark::DoNotOptimize(surfaceGrid.vertexNormals[0].z);
    }
}

void BM_DrawSurface(benchmark::State& state) {
    OffscreenGl gl(kWindowWidth, kWindowHeight);
    prepareScene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                 static_cast<int>(state.range(2)));
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        // The camera of the default zoom, 1.4: the surface fills the window.
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -300.0f);
        glScalef(1.4f, 1.4f, 1.4f);
        glTranslatef(-512.0f, -384.0f, 0.0f);
        drawSurface();
        glFinish();
    }
    environmentTexture.textureName = 0;
}

} // namespace

BENCHMARK(BM_WholeFrame)
    ->ArgNames({"columns", "rows", "drips"})
    ->Args({80, 60, 3})
    ->Args({400, 300, 15})
    ->Args({2048, 1024, 15}) // kMaxGridVertices
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_WholeFrameTwoMonitors)
    ->ArgNames({"columns", "rows", "drips"})
    ->Args({80, 60, 3})
    ->Args({400, 300, 15})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_UploadDesktopPictures)
    ->ArgNames({"monitors"})
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DrawSurface)
    ->ArgNames({"columns", "rows", "drips"})
    ->Args({80, 60, 3})
    ->Args({400, 300, 15})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SurfaceNormals)
    ->ArgNames({"columns", "rows"})
    ->Args({80, 60})
    ->Args({400, 300})
    ->Args({2048, 1024})
    ->Unit(benchmark::kMicrosecond);
