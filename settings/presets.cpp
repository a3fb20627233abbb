// The preset table: each preset sets exactly these fields and leaves every other one alone.
#include "settings/presets.h"

#include "common/random.h"
#include "settings/saver_settings.h"

namespace {

constexpr int kUnchanged = -1;

struct Preset {
    int maxDrips;
    float minAmplitude;
    float maxAmplitude;
    int sourceTexture;
    int reservedFlagA;
    int smoothTextureFilter; // kUnchanged leaves the field as it is
    float meshX;
    float meshY;
    float rotateZAmplitude;
    float rotateZTime;
    float zoomAmplitude;
};

constexpr Preset kPresets[] = {
    {10, 10, 30, kSourceChomify, 1, 1, 75, 55, 0, 0, 15},
    {10, 15, 25, kSourceDesktop, 0, kUnchanged, 75, 55, 3600, 200, 14},
    {10, 0, 30, kSourceWhite, 1, kUnchanged, 100, 75, 0, 0, 15},
    {15, 20, 30, kSourceDesktop, 0, kUnchanged, 100, 75, 0, 0, 14},
};

} // namespace

bool applyPreset(int buttonId) {
    if (buttonId < kPresetButtonFirst || buttonId > kPresetButtonLast) {
        return false;
    }
    const Preset& p = kPresets[buttonId - kPresetButtonFirst];
    SaverSettings& s = saverSettings;
    s.maxDrips = p.maxDrips;
    s.minAmplitude = p.minAmplitude;
    s.maxAmplitude = p.maxAmplitude;
    s.minColor = {0, 0, 0};
    s.maxColor = {1, 1, 1};
    s.speedScaling = 1;
    s.enableColor = 1;
    s.sourceTexture = p.sourceTexture;
    s.reservedFlagA = p.reservedFlagA;
    if (p.smoothTextureFilter != kUnchanged) {
        s.smoothTextureFilter = p.smoothTextureFilter;
    }
    s.meshX = p.meshX;
    s.meshY = p.meshY;
    s.enableMovement = 1;
    s.rotateXAmplitude = 0;
    s.rotateXTime = 0;
    s.rotateYAmplitude = 0;
    s.rotateYTime = 0;
    s.rotateZAmplitude = p.rotateZAmplitude;
    s.rotateZTime = p.rotateZTime;
    s.zoomAmplitude = p.zoomAmplitude;
    s.zoomTime = 0;
    return true;
}

void pickRandomPreset() {
    applyPreset(kPresetButtonFirst + crt::rand() % 4);
}
