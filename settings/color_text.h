// Colours written as text on the native programs' command lines.
#pragma once

#include "settings/saver_settings.h"

#include <cstdint>

// Six hexadecimal digits, bare or after "#" or "0x": ff8000, #ff8000, 0xff8000. A shell drops
// a word that begins with "#", so the bare and 0x forms are the ones a daemon's line keeps.
bool parseHexColor(const char* text, RgbColor& color);

// 8-bit channels as the settings hold them, quantised as the colour chooser's are.
RgbColor colorFromBytes(uint8_t red, uint8_t green, uint8_t blue);
