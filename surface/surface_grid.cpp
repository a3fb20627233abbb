// Building the surface grid and resetting it before each frame's ripples.
#include "surface/surface_grid.h"

#include "settings/saver_settings.h"

#include <new>

SurfaceGrid surfaceGrid;

namespace {

int wholeCount(float setting) {
    // Written so that NaN fails the test too.
    if (!(setting >= 1.0f && setting < kMaxGridSide + 1.0f)) {
        return 0;
    }
    return static_cast<int>(setting);
}

std::unique_ptr<Vec3[]> allocateVec3(int count) {
    return std::unique_ptr<Vec3[]>(new (std::nothrow) Vec3[count]);
}

} // namespace

GridSize gridSizeFor(float meshX, float meshY) {
    const int columns = wholeCount(meshX);
    const int rows = wholeCount(meshY);
    if (columns == 0 || rows == 0 || columns * rows > kMaxGridVertices) {
        return {0, 0};
    }
    return {columns, rows};
}

void buildSurfaceGrid() {
    surfaceGrid = SurfaceGrid();

    const GridSize size = gridSizeFor(saverSettings.meshX, saverSettings.meshY);
    const int count = size.columns * size.rows;
    if (count == 0) {
        return;
    }
    SurfaceGrid grid;
    grid.positions = allocateVec3(count);
    grid.colors = allocateVec3(count);
    grid.texCoords = allocateVec3(count);
    grid.vertexNormals = allocateVec3(count);
    grid.faceNormals = allocateVec3(count);
    if (!grid.positions || !grid.colors || !grid.texCoords || !grid.vertexNormals ||
        !grid.faceNormals) {
        return;
    }
    grid.columns = size.columns;
    grid.rows = size.rows;
    grid.vertexCount = count;

    const float columnStep = 1024.0f / static_cast<float>(size.columns);
    const float rowStep = 768.0f / static_cast<float>(size.rows);
    const float sStep = 1.0f / static_cast<float>(size.columns);
    const float tStep = 1.0f / static_cast<float>(size.rows);
    for (int i = 0; i < size.columns; ++i) {
        for (int j = 0; j < size.rows; ++j) {
            const int v = j * size.columns + i;
            const float column = static_cast<float>(i);
            const float row = static_cast<float>(j);
            grid.positions[v] = {column * columnStep, row * rowStep, 0.0f};
            grid.colors[v] = {1.0f, 1.0f, 1.0f};
            grid.texCoords[v] = {column * sStep, 1.0f - row * tStep, 0.0f};
            grid.vertexNormals[v] = {0.0f, 0.0f, 0.0f};
            grid.faceNormals[v] = {0.0f, 0.0f, 0.0f};
        }
    }
    surfaceGrid = std::move(grid);
}

void resetSurface() {
    SurfaceGrid& grid = surfaceGrid;
    for (int v = 0; v < grid.vertexCount; ++v) {
        grid.positions[v].z = 0.0f;
        grid.colors[v] = {1.0f, 1.0f, 1.0f};
    }
}
