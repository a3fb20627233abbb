// What every host does once its context is current and its viewport set, before the first frame.
#pragma once

#include <cstdint>

// Seeds the calling thread's generator, applies a random preset when "Use Random Preset" is on,
// fills the sine table, sets up the scene and, for Desktop and Custom, uploads the source
// picture. The preset may change the source after the host prepared a picture for the one it
// had; the upload follows the source as it then stands.
void startScene(uint32_t seed);
