// Drawing the surface: normals from the heights, then one lit triangle strip per pair of rows.
#pragma once

#include <cstdint>

// Strips of the current grid: one per pair of neighbouring rows, of 2 x columns indices each.
// A grid with fewer than two rows or columns has none.
int stripCount();
int stripLength();

// Face normals from the current heights, then each vertex normal as a quarter of the sum of the
// four cells to the right of and above the vertex. The last column and row of cells are never
// computed and keep their zero normals, so the vertices along them get less or no light.
void updateSurfaceNormals();

// Builds the strip index list when the grid has none yet. Returns false when the grid has no
// strips or there is no memory for them; the surface then draws nothing.
bool buildStripIndices();

// Whether the surface is drawn with the uploaded source texture and the grid's own texture
// coordinates: Desktop, Custom, and any value the list does not know.
bool drawsWithSourceTexture(int32_t sourceTexture);

// Draws the surface from the heights the previous update left, textured as "Source Texture"
// asks. Needs the scene state of setupScene and the camera transform already applied.
// Render thread only.
void drawSurface();

// drawSurface in two steps, for a frame that draws the same surface into several viewports:
// the normals and the client arrays once, then the strips as often as needed. Desktop and
// Custom draw with whatever texture is bound.
void prepareSurfaceDrawing();
void drawPreparedSurface();
