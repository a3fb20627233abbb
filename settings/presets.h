// The four built-in presets and the random pick among them.
#pragma once

// Control ids of the configuration dialog's preset buttons "1" to "4".
constexpr int kPresetButtonFirst = 1065;
constexpr int kPresetButtonLast = 1068;

// Overwrites the preset's fields of the settings. Returns false, changing nothing, when the id
// is not a preset button's. The configuration dialog rewrites its controls afterwards.
bool applyPreset(int buttonId);

// Applies preset (rand() mod 4) + 1, drawn from the calling thread's generator.
void pickRandomPreset();
