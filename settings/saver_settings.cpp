// The settings record and its defaults.
#include "settings/saver_settings.h"

SaverSettings saverSettings = {};

void applyDefaults() {
    SaverSettings& s = saverSettings;
    s.keyMarker = 2;
    s.reservedFlagA = 1;
    s.smoothTextureFilter = 1;
    s.textureWidth = 512;
    s.textureHeight = 256;
    s.enableMovement = 1;
    s.maxDrips = 3;
    s.enableColor = 1;
    s.useRandomPreset = 0;
    s.showFrameRate = 0;
    s.meshX = 80;
    s.meshY = 60;
    s.rotateXAmplitude = 0;
    s.rotateXTime = 0;
    s.rotateYAmplitude = 0;
    s.rotateYTime = 0;
    s.rotateZAmplitude = 0;
    s.rotateZTime = 0;
    s.zoomAmplitude = 14;
    s.zoomTime = 0;
    s.minAmplitude = 4;
    s.maxAmplitude = 10;
    s.minColor = {0, 0, 0};
    s.maxColor = {1, 1, 1};
    s.speedScaling = 0.8f;
    s.sourceTexture = kSourceChomify;
    s.reservedFlagB = 1;
}
