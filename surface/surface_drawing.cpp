// Normals, strip indices, client arrays and the texture of each source for the surface drawing.
#include "surface/surface_drawing.h"

#include "common/gl.h"
#include "settings/saver_settings.h"
#include "surface/surface_grid.h"
#include "textures/builtin_texture.h"

#include <cmath>
#include <new>

namespace {

Vec3 difference(const Vec3& a, const Vec3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

// The normal of the cell whose lower-left vertex is (i, j), of unit length.
Vec3 cellNormal(const SurfaceGrid& grid, int i, int j) {
    const int columns = grid.columns;
    const Vec3& a = grid.positions[j * columns + i];
    const Vec3& b = grid.positions[j * columns + i + 1];
    const Vec3& d = grid.positions[(j + 1) * columns + i + 1];
    const Vec3 e1 = difference(a, b);
    const Vec3 e2 = difference(d, b);
    const Vec3 n = {e2.y * e1.z - e2.z * e1.y, e2.z * e1.x - e2.x * e1.z,
                    e2.x * e1.y - e2.y * e1.x};
    const float inverseLength = 1.0f / std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    return {n.x * inverseLength, n.y * inverseLength, n.z * inverseLength};
}

void updateFaceNormals(SurfaceGrid& grid) {
    for (int j = 0; j + 1 < grid.rows; ++j) {
        for (int i = 0; i + 1 < grid.columns; ++i) {
            grid.faceNormals[j * grid.columns + i] = cellNormal(grid, i, j);
        }
    }
}

void updateVertexNormals(SurfaceGrid& grid) {
    const int columns = grid.columns;
    const Vec3* f = grid.faceNormals.get();
    for (int j = 0; j + 1 < grid.rows; ++j) {
        for (int i = 0; i + 1 < columns; ++i) {
            const int v = j * columns + i;
            const Vec3& own = f[v];
            const Vec3& right = f[v + 1];
            const Vec3& aboveRight = f[v + columns + 1];
            const Vec3& above = f[v + columns];
            grid.vertexNormals[v] = {0.25f * (own.x + right.x + aboveRight.x + above.x),
                                     0.25f * (own.y + right.y + aboveRight.y + above.y),
                                     0.25f * (own.z + right.z + aboveRight.z + above.z)};
        }
    }
}

void pointClientArrays(SurfaceGrid& grid) {
    if (saverSettings.enableColor) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(3, GL_FLOAT, 0, grid.colors.get());
    }
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, 0, grid.vertexNormals.get());
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, grid.positions.get());
}

void drawStrips(const SurfaceGrid& grid) {
    if (!grid.stripIndices) {
        return;
    }
    const int length = stripLength();
    const int count = stripCount();
    for (int j = 0; j < count; ++j) {
        glDrawElements(GL_TRIANGLE_STRIP, length, GL_UNSIGNED_INT, &grid.stripIndices[j * length]);
    }
}

// The texture coordinates are handed over once, but again whenever the grid has been rebuilt:
// OpenGL would otherwise go on reading the freed array.
void handOverTexCoords(SurfaceGrid& grid) {
    if (grid.texCoordsInGl == grid.texCoords.get()) {
        return;
    }
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(3, GL_FLOAT, 0, grid.texCoords.get());
    grid.texCoordsInGl = grid.texCoords.get();
}

} // namespace

int stripCount() {
    const SurfaceGrid& grid = surfaceGrid;
    return grid.columns >= 2 && grid.rows >= 2 ? grid.rows - 1 : 0;
}

int stripLength() {
    return stripCount() > 0 ? 2 * surfaceGrid.columns : 0;
}

void updateSurfaceNormals() {
    updateFaceNormals(surfaceGrid);
    updateVertexNormals(surfaceGrid);
}

bool buildStripIndices() {
    SurfaceGrid& grid = surfaceGrid;
    if (grid.stripIndices) {
        return true;
    }
    const int count = stripCount();
    const int length = stripLength();
    if (count == 0) {
        return false;
    }
    grid.stripIndices.reset(new (std::nothrow) uint32_t[static_cast<size_t>(count) * length]);
    if (!grid.stripIndices) {
        return false;
    }
    const uint32_t columns = static_cast<uint32_t>(grid.columns);
    uint32_t* out = grid.stripIndices.get();
    for (uint32_t j = 0; j < static_cast<uint32_t>(count); ++j) {
        for (uint32_t i = 0; i < columns; ++i) {
            // The upper vertex first: every triangle is then counter-clockwise seen from +z,
            // front-facing, and survives back-face culling.
            *out++ = (j + 1) * columns + i;
            *out++ = j * columns + i;
        }
    }
    return true;
}

bool drawsWithSourceTexture(int32_t sourceTexture) {
    return sourceTexture != kSourceChomify && sourceTexture != kSourceSky &&
           sourceTexture != kSourceWhite;
}

void prepareSurfaceDrawing() {
    updateSurfaceNormals();
    buildStripIndices();
    pointClientArrays(surfaceGrid);
}

void drawPreparedSurface() {
    SurfaceGrid& grid = surfaceGrid;
    switch (saverSettings.sourceTexture) {
    case kSourceChomify:
    case kSourceSky:
        // Sphere-map coordinates, set up by the scene, make the surface mirror the picture.
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
        glBindTexture(GL_TEXTURE_2D, environmentTexture.textureName);
        drawStrips(grid);
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
        break;
    case kSourceWhite:
        // Only the surface goes untextured: the frame-rate digits of the next frame need it.
        glDisable(GL_TEXTURE_2D);
        drawStrips(grid);
        glEnable(GL_TEXTURE_2D);
        break;
    default:
        handOverTexCoords(grid);
        drawStrips(grid);
        break;
    }
}

void drawSurface() {
    prepareSurfaceDrawing();
    drawPreparedSurface();
}
