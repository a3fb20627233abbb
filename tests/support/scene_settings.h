// Settings that the surface and scene tests start from.
#pragma once

// Sets the mesh size and builds the surface grid for it.
void buildGrid(float meshX, float meshY);

// Defaults, then a still scene: White, no drips, no movement, no colour tint.
void useStillWhiteScene();
