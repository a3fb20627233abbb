// Settings that the surface and scene tests start from.
#include "support/scene_settings.h"

#include "settings/saver_settings.h"
#include "surface/surface_grid.h"

void buildGrid(float meshX, float meshY) {
    saverSettings.meshX = meshX;
    saverSettings.meshY = meshY;
    buildSurfaceGrid();
}

void useStillWhiteScene() {
    applyDefaults();
    saverSettings.sourceTexture = kSourceWhite;
    saverSettings.maxDrips = 0;
    saverSettings.enableMovement = 0;
    saverSettings.enableColor = 0;
}
