// What every host does once its context is current and its viewport set, before the first frame.
#pragma once

#include <cstdint>

// Seeds the calling thread's generator, fills the sine table, sets up the scene and, for Desktop
// and Custom, uploads the source picture. The host applied any random preset before it prepared
// the picture, so the source read here is the one the picture was prepared for.
void startScene(uint32_t seed);
