// Building the surface grid and resetting it before each frame's ripples.
#include "surface/surface_grid.h"

#include "settings/saver_settings.h"

#include <algorithm>
#include <cmath>
#include <new>

SurfaceGrid surfaceGrid;

namespace {

// A whole count in double, where every float's truncation is exact; 0 for sizes below 1, NaN
// and infinities.
double wholeCount(float setting) {
    // Written so that NaN fails the test too.
    if (!(setting >= 1.0f) || std::isinf(setting)) {
        return 0.0;
    }
    return std::trunc(static_cast<double>(setting));
}

// Shrinks both sides by one factor until columns x rows fits the vertex bound. The factor's
// rounding, or a side held at its floor, can leave the product over the bound; the longer side
// then gives way.
void fitVertexBound(double& columns, double& rows) {
    const double bound = kMaxGridVertices;
    if (columns * rows <= bound) {
        return;
    }
    const double factor = std::sqrt(bound / (columns * rows));
    const double fewestColumns = std::min(columns, 2.0);
    const double fewestRows = std::min(rows, 2.0);
    columns = std::max(std::floor(columns * factor), fewestColumns);
    rows = std::max(std::floor(rows * factor), fewestRows);
    if (columns * rows > bound) {
        if (columns >= rows) {
            columns = std::floor(bound / rows);
        } else {
            rows = std::floor(bound / columns);
        }
    }
}

std::unique_ptr<Vec3[]> allocateVec3(int count) {
    return std::unique_ptr<Vec3[]>(new (std::nothrow) Vec3[count]);
}

} // namespace

GridSize gridSizeFor(float meshX, float meshY) {
    double columns = wholeCount(meshX);
    double rows = wholeCount(meshY);
    if (columns == 0.0 || rows == 0.0) {
        return {0, 0};
    }
    fitVertexBound(columns, rows);
    // Each side is now at most the bound, so both conversions are in range.
    return {static_cast<int>(columns), static_cast<int>(rows)};
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
