// The vertex grid that carries the picture: positions, colours, texture coordinates, normals.
#pragma once

#include "common/vec3.h"

#include <cstdint>
#include <memory>

// The most vertices a grid may have, about as many as a 1920 x 1080 screen has pixels: some
// 140 MB of arrays and strips, and a frame's update of tens of milliseconds with 15 drips. A
// larger grid, typed in or from a corrupt store, is reduced to fit rather than allowed to eat
// the machine's memory.
constexpr int kMaxGridVertices = 1 << 21;

struct GridSize {
    int columns; // X: vertices per row
    int rows;    // Y: rows of vertices
};

// Truncates the mesh settings to whole counts once; every loop and allocation uses these.
// Sizes below 1 or not finite give 0 x 0. A grid of more than kMaxGridVertices is shrunk to
// fit, both sides by the same factor, neither below 2 (or below 1 where it was 1); when that
// floor holds the short side, the long side takes what the bound leaves.
GridSize gridSizeFor(float meshX, float meshY);

// One grid for the process, touched only by the render thread. Vertex (i, j) is at index
// j * columns + i, with columns left to right and rows bottom to top. The arrays never move
// between builds: OpenGL keeps pointers to them.
struct SurfaceGrid {
    int columns = 0;
    int rows = 0;
    int vertexCount = 0;
    std::unique_ptr<Vec3[]> positions;     // x, y fixed; z rewritten every frame
    std::unique_ptr<Vec3[]> colors;        // rewritten every frame
    std::unique_ptr<Vec3[]> texCoords;     // s, t, 0; fixed
    std::unique_ptr<Vec3[]> vertexNormals; // rewritten by every draw
    std::unique_ptr<Vec3[]> faceNormals;   // one per cell, at its lower-left vertex's index
    // Triangle strips, one per pair of neighbouring rows; built by the first draw.
    std::unique_ptr<uint32_t[]> stripIndices;
    // The texCoords array as last handed to OpenGL by the drawing; null until then. A rebuild
    // clears it, so the new array (and a new context's client state) is handed over again.
    const Vec3* texCoordsInGl = nullptr;
};

extern SurfaceGrid surfaceGrid;

// Releases any earlier arrays, then allocates and fills the grid for the current mesh
// settings. A failed allocation leaves an empty grid.
void buildSurfaceGrid();

// All heights to 0 and all colours to white; x and y keep their built values.
void resetSurface();
