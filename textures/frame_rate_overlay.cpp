// The frame-rate overlay: one textured unit square per digit, cut from the digit strip.
#include "textures/frame_rate_overlay.h"

#include "common/gl.h"
#include "textures/builtin_texture.h"

#include <cstdio>

namespace {

// "%.0f" of the largest float has 39 digits; with a sign and the terminator 41 bytes suffice.
constexpr int kRateTextSize = 48;
constexpr int kDigitCount = 10;
constexpr float kDigitCellWidth = 0.1f; // of the strip's width

void drawDigit(int digit, int position) {
    const float s0 = digit * kDigitCellWidth;
    const float s1 = (digit + 1) * kDigitCellWidth;
    const float x0 = static_cast<float>(position);
    const float x1 = static_cast<float>(position + 1);
    glTexCoord2f(s0, 0.0f);
    glVertex3f(x0, 0.0f, 0.0f);
    glTexCoord2f(s1, 0.0f);
    glVertex3f(x1, 0.0f, 0.0f);
    glTexCoord2f(s1, 1.0f);
    glVertex3f(x1, 1.0f, 0.0f);
    glTexCoord2f(s0, 1.0f);
    glVertex3f(x0, 1.0f, 0.0f);
}

} // namespace

void drawFrameRate(float rate) {
    char text[kRateTextSize];
    std::snprintf(text, sizeof text, "%.0f", static_cast<double>(rate));

    glBindTexture(GL_TEXTURE_2D, digitTexture.textureName);
    glColor3f(1.0f, 1.0f, 1.0f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    glBegin(GL_QUADS);
    for (int i = 0; text[i] != '\0'; ++i) {
        const int digit = text[i] - '0';
        // A sign, "inf" or "nan" from an absurd interval has no glyph: its cell stays empty.
        if (digit >= 0 && digit < kDigitCount) {
            drawDigit(digit, i);
        }
    }
    glEnd();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}
