// Reading a colour written in hexadecimal.
#include "settings/color_text.h"

#include "settings/dialog_numbers.h"

#include <cctype>
#include <cstring>

namespace {

int hexDigit(char c) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) {
        return -1;
    }
    return std::isdigit(static_cast<unsigned char>(c))
               ? c - '0'
               : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
}

} // namespace

bool parseHexColor(const char* text, RgbColor& color) {
    if (text[0] == '#') {
        text += 1;
    } else if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text += 2;
    }
    if (std::strlen(text) != 6) {
        return false;
    }
    uint8_t channels[3];
    for (int i = 0; i < 3; ++i) {
        const int high = hexDigit(text[2 * i]);
        const int low = hexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        channels[i] = static_cast<uint8_t>(high * 16 + low);
    }
    color = colorFromBytes(channels[0], channels[1], channels[2]);
    return true;
}

RgbColor colorFromBytes(uint8_t red, uint8_t green, uint8_t blue) {
    return {red * kInverse255, green * kInverse255, blue * kInverse255};
}
