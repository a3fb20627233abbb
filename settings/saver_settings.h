// The one process-wide record of every setting, and its defaults.
#pragma once

#include <cstdint>

// Positions of the entries in the "Source Texture" list.
enum SourceTexture : int32_t {
    kSourceDesktop = 0,
    kSourceChomify = 1,
    kSourceSky = 2,
    kSourceWhite = 3,
    kSourceCustom = 4,
};

constexpr int kPathBufferSize = 260;

struct RgbColor {
    float red;
    float green;
    float blue;
};

// Integers are 32-bit signed; a flag is 0 for off and anything else for on; reals are single
// precision. Nothing is range-checked: whatever the store holds is used.
struct SaverSettings {
    int32_t keyMarker;
    int32_t reservedFlagA;
    int32_t smoothTextureFilter;
    int32_t textureWidth;
    int32_t textureHeight;
    int32_t enableMovement;
    int32_t displayWidth;
    int32_t displayHeight;
    int32_t displayDepth;
    int32_t maxDrips;
    int32_t enableColor;
    int32_t useRandomPreset;
    int32_t showFrameRate;
    float meshX;
    float meshY;
    float rotateXAmplitude;
    float rotateXTime;
    float rotateYAmplitude;
    float rotateYTime;
    float rotateZAmplitude;
    float rotateZTime;
    float zoomAmplitude;
    float zoomTime;
    float minAmplitude;
    float maxAmplitude;
    RgbColor minColor;
    RgbColor maxColor;
    float speedScaling;
    int32_t sourceTexture; // a SourceTexture, kept as stored
    char customPicturePath[kPathBufferSize];
    int32_t reservedFlagB;
};

// Loaded, and changed by a random preset, by the window thread before the render thread
// exists; the render thread only reads it.
extern SaverSettings saverSettings;

// Sets every field that has a default; the display mode and the picture path keep their values.
void applyDefaults();
