#include "surface/surface_grid.h"

#include "settings/saver_settings.h"

#include "support/scene_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(SurfaceGrid, DefaultGridCorners) {
    buildGrid(80, 60);
    const SurfaceGrid& g = surfaceGrid;
    ASSERT_EQ(g.vertexCount, 4800);
    EXPECT_EQ(g.positions[0].x, 0.0f);
    EXPECT_EQ(g.positions[0].y, 0.0f);
    EXPECT_EQ(g.texCoords[0].x, 0.0f);
    EXPECT_EQ(g.texCoords[0].y, 1.0f);

    const int last = 59 * 80 + 79;
    EXPECT_FLOAT_EQ(g.positions[last].x, 1011.2f);
    EXPECT_FLOAT_EQ(g.positions[last].y, 755.2f);
    EXPECT_EQ(g.positions[last].z, 0.0f);
    EXPECT_FLOAT_EQ(g.texCoords[last].x, 0.9875f);
    EXPECT_NEAR(g.texCoords[last].y, 1.0f / 60.0f, 1e-6f);
    EXPECT_EQ(g.texCoords[last].z, 0.0f);
    EXPECT_EQ(g.colors[last].x, 1.0f);
    EXPECT_EQ(g.vertexNormals[last].z, 0.0f);
    EXPECT_EQ(g.faceNormals[last].z, 0.0f);
}

TEST(SurfaceGrid, RowsRunBottomToTop) {
    buildGrid(4, 3);
    EXPECT_EQ(surfaceGrid.positions[1 * 4 + 2].x, 512.0f);
    EXPECT_EQ(surfaceGrid.positions[1 * 4 + 2].y, 256.0f);
    EXPECT_FLOAT_EQ(surfaceGrid.texCoords[1 * 4 + 2].y, 1.0f - 1.0f / 3.0f);
}

TEST(SurfaceGrid, RebuildReplacesTheArrays) {
    buildGrid(80, 60);
    buildGrid(10, 5);
    EXPECT_EQ(surfaceGrid.columns, 10);
    EXPECT_EQ(surfaceGrid.rows, 5);
    EXPECT_EQ(surfaceGrid.vertexCount, 50);
    EXPECT_FLOAT_EQ(surfaceGrid.positions[49].x, 921.6f);
    EXPECT_FALSE(surfaceGrid.stripIndices);
}

TEST(SurfaceGrid, ResetFlattensAndWhitensButKeepsThePlan) {
    buildGrid(8, 6);
    for (int v = 0; v < surfaceGrid.vertexCount; ++v) {
        surfaceGrid.positions[v].z = 3.0f;
        surfaceGrid.colors[v] = {0.5f, 2.0f, -1.0f};
    }
    resetSurface();
    for (int v = 0; v < surfaceGrid.vertexCount; ++v) {
        EXPECT_EQ(surfaceGrid.positions[v].z, 0.0f);
        EXPECT_EQ(surfaceGrid.colors[v].x, 1.0f);
        EXPECT_EQ(surfaceGrid.colors[v].y, 1.0f);
        EXPECT_EQ(surfaceGrid.colors[v].z, 1.0f);
    }
    EXPECT_EQ(surfaceGrid.positions[7].x, 896.0f);
    EXPECT_EQ(surfaceGrid.positions[8].y, 128.0f);
}

TEST(SurfaceGrid, FractionalSizesAreTruncatedOnce) {
    buildGrid(60.5f, 2.9f);
    EXPECT_EQ(surfaceGrid.columns, 60);
    EXPECT_EQ(surfaceGrid.rows, 2);
    EXPECT_EQ(surfaceGrid.vertexCount, 120);
    EXPECT_FLOAT_EQ(surfaceGrid.positions[1].x, 1024.0f / 60.0f);
}

TEST(SurfaceGrid, SizesBelowOneOrNotFiniteGiveNoGrid) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float x, y;
    } sizes[] = {{-80, 60}, {80, -1},  {0, 60},    {80, 0.5f},  {nan, 60},
                 {80, nan}, {inf, 60}, {-inf, 60}, {1e9f, -inf}};
    for (const auto& size : sizes) {
        buildGrid(80, 60);
        buildGrid(size.x, size.y);
        EXPECT_EQ(surfaceGrid.vertexCount, 0) << size.x << " x " << size.y;
        EXPECT_EQ(surfaceGrid.columns, 0);
        EXPECT_EQ(surfaceGrid.rows, 0);
        EXPECT_FALSE(surfaceGrid.positions);
        resetSurface();
    }
}

TEST(SurfaceGrid, LargeGridsAreReducedToTheVertexBound) {
    const float most = std::numeric_limits<float>::max();
    const struct {
        float x, y;
        int columns, rows;
    } cases[] = {
        {5000, 60, 5000, 60},           {4097, 2, 4097, 2},
        {1e6f, 2, 1000000, 2},          {4096, 512, 4096, 512}, // exactly the bound
        {8000, 1000, 4096, 512},        {2048, 2048, 1448, 1448},
        {1e6f, 1e6f, 1448, 1448},       {most, most, 1448, 1448},
        {1e9f, 60, 1048576, 2},         {80, 1e9f, 2, 1048576}, // the short side stops at 2
        {2147483648.0f, 1, 2097152, 1}, {1, 1, 1, 1},
    };
    for (const auto& c : cases) {
        const GridSize size = gridSizeFor(c.x, c.y);
        EXPECT_EQ(size.columns, c.columns) << c.x << " x " << c.y;
        EXPECT_EQ(size.rows, c.rows) << c.x << " x " << c.y;
    }
    // A reduced grid still spans the whole frame.
    buildGrid(1e6f, 1e6f);
    ASSERT_EQ(surfaceGrid.vertexCount, 1448 * 1448);
    EXPECT_FLOAT_EQ(surfaceGrid.positions[1448 * 1448 - 1].x, 1447 * (1024.0f / 1448));
    EXPECT_FLOAT_EQ(surfaceGrid.positions[1448 * 1448 - 1].y, 1447 * (768.0f / 1448));
    buildGrid(1, 1);
    EXPECT_EQ(surfaceGrid.texCoords[0].y, 1.0f);
}

} // namespace
