#include "textures/frame_rate_overlay.h"

#include "offscreen/offscreen_gl.h"
#include "textures/bitmap_resources.h"
#include "textures/builtin_texture.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

// One overlay unit is one glyph cell of the strip, 20 x 23 pixels, so cells compare 1:1.
constexpr int kCellWidth = 20;
constexpr int kCellHeight = 23;
constexpr int kWindowWidth = 50 * kCellWidth;
constexpr int kWindowHeight = 38 * kCellHeight;
constexpr int kTextTop = kWindowHeight - 37 * kCellHeight; // in rows from the top
constexpr int kCellPixels = kCellWidth * kCellHeight;

// The global instance outlives each test's context, which takes the texture with it.
void forget(BuiltinTexture& texture) {
    texture.bits = nullptr;
    texture.loaded = 0;
    texture.textureName = 0;
    texture.width = 0;
    texture.height = 0;
}

bool isLit(uint8_t red, uint8_t green, uint8_t blue) {
    return red > 128 || green > 128 || blue > 128;
}

class FrameRateOverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ready());
        ASSERT_EQ(digitTexture.load(kDigitStripBitmapId), 1);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &stripWidth);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &stripHeight);
        strip.resize(3u * stripWidth * stripHeight);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE, strip.data());
        // What the scene set-up does to the digit texture, and the state a frame leaves.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_DEPTH_TEST);
    }
    void TearDown() override { forget(digitTexture); }

    // Draws the rate as the frame does: 50 x 38 units, origin one unit in and two down.
    void drawAsTheFrameDoes(float rate) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 50, 0, 38, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_LIGHTING);
        glPushMatrix();
        glTranslatef(1, 36, 0);
        drawFrameRate(rate);
        glPopMatrix();
        glFinish();
        screen.resize(static_cast<size_t>(kWindowWidth) * kWindowHeight * 4);
        glReadPixels(0, 0, kWindowWidth, kWindowHeight, GL_RGBA, GL_UNSIGNED_BYTE, screen.data());
    }

    const uint8_t* screenPixel(int x, int yFromTop) const {
        return &screen[(static_cast<size_t>(kWindowHeight - 1 - yFromTop) * kWindowWidth + x) * 4];
    }

    bool cellLit(int cell, int column, int row) const {
        const uint8_t* p = screenPixel((1 + cell) * kCellWidth + column, kTextTop + row);
        return isLit(p[0], p[1], p[2]);
    }

    // Whether nearest sampling of glyph d lights this pixel of its cell. The strip is read back
    // from the texture because its 23 rows were scaled to a power of two on upload.
    bool glyphLit(int digit, int column, int row) const {
        const float s = (digit + (column + 0.5f) / kCellWidth) * 0.1f;
        const float t = 1.0f - (row + 0.5f) / kCellHeight;
        const int x = static_cast<int>(s * stripWidth);
        const int y = static_cast<int>(t * stripHeight);
        const uint8_t* p = &strip[(static_cast<size_t>(y) * stripWidth + x) * 3];
        return isLit(p[2], p[1], p[0]);
    }

    int mismatches(int cell, int digit) const {
        int count = 0;
        for (int row = 0; row < kCellHeight; ++row) {
            for (int column = 0; column < kCellWidth; ++column) {
                count += cellLit(cell, column, row) != glyphLit(digit, column, row);
            }
        }
        return count;
    }

    int litPixels(int x0, int y0, int x1, int y1) const {
        int count = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const uint8_t* p = screenPixel(x, y);
                count += isLit(p[0], p[1], p[2]);
            }
        }
        return count;
    }

    // The digit whose glyph the cell shows: the closest one, which must also be close.
    int digitInCell(int cell) const {
        int best = -1;
        int bestMismatches = kCellPixels;
        for (int digit = 0; digit < 10; ++digit) {
            const int count = mismatches(cell, digit);
            if (count < bestMismatches) {
                best = digit;
                bestMismatches = count;
            }
        }
        return bestMismatches <= kCellPixels / 40 ? best : -1;
    }

    // Every lit pixel of the cell is green: no red or blue beside it.
    bool cellIsGreenOnBlack(int cell) const {
        int green = 0;
        for (int row = 0; row < kCellHeight; ++row) {
            for (int column = 0; column < kCellWidth; ++column) {
                const uint8_t* p = screenPixel((1 + cell) * kCellWidth + column, kTextTop + row);
                if (isLit(p[0], p[1], p[2])) {
                    if (p[0] > p[1] / 2 || p[2] > p[1] / 2) {
                        return false;
                    }
                    ++green;
                }
            }
        }
        return green > 0;
    }

    // The text row as read back: a digit per cell showing one, '.' for an empty cell.
    std::string readCells(int count) const {
        std::string text;
        for (int cell = 0; cell < count; ++cell) {
            const int x = (1 + cell) * kCellWidth;
            if (litPixels(x, kTextTop, x + kCellWidth, kTextTop + kCellHeight) == 0) {
                text += '.';
            } else {
                const int digit = digitInCell(cell);
                text += digit < 0 ? '?' : static_cast<char>('0' + digit);
            }
        }
        return text;
    }

    int litPixelsOutsideTheTextRow() const {
        return litPixels(0, 0, kWindowWidth, kTextTop) +
               litPixels(0, kTextTop + kCellHeight, kWindowWidth, kWindowHeight) +
               litPixels(0, kTextTop, kCellWidth, kTextTop + kCellHeight);
    }

    OffscreenGl gl{kWindowWidth, kWindowHeight};
    std::vector<uint8_t> screen;
    std::vector<uint8_t> strip; // level 0 of the digit texture, BGR
    GLint stripWidth = 0;
    GLint stripHeight = 0;
};

TEST_F(FrameRateOverlayTest, RatesShowAsGreenDigitsInTheirCells) {
    const struct {
        float rate;
        const char* cells;
    } cases[] = {
        {50.0f, "50.."},    {100.0f, "100."},   {0.0f, "0..."},  {49.6f, "50.."},
        {1234.0f, "1234."}, {9876.4f, "9876."}, {-5.0f, ".5.."}, // the sign has no glyph and leaves
                                                                 // its cell empty
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        drawAsTheFrameDoes(c.rate);
        const std::string expected = c.cells;
        EXPECT_EQ(readCells(static_cast<int>(expected.size())), expected);
        for (size_t cell = 0; cell < expected.size(); ++cell) {
            if (expected[cell] != '.') {
                EXPECT_TRUE(cellIsGreenOnBlack(static_cast<int>(cell))) << "cell " << cell;
            }
        }
        EXPECT_EQ(litPixelsOutsideTheTextRow(), 0);
    }
}

TEST_F(FrameRateOverlayTest, RatesWithoutDigitsDrawNothing) {
    for (float rate :
         {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
          std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(rate);
        drawAsTheFrameDoes(rate);
        EXPECT_EQ(litPixels(0, 0, kWindowWidth, kWindowHeight), 0);
    }
}

TEST_F(FrameRateOverlayTest, LargestRateFitsItsBuffer) {
    drawAsTheFrameDoes(FLT_MAX); // 39 digits
    EXPECT_EQ(readCells(5), "34028");
    EXPECT_EQ(readCells(40).substr(39), ".");
}

TEST_F(FrameRateOverlayTest, LeavesTheDigitsBoundAndModulateInForce) {
    drawAsTheFrameDoes(60.0f);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), digitTexture.textureName);
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(FrameRateOverlayTest, WithoutTheDigitTextureTheCellsAreWhite) {
    forget(digitTexture);
    drawAsTheFrameDoes(50.0f);
    EXPECT_EQ(litPixels(kCellWidth, kTextTop, 3 * kCellWidth, kTextTop + kCellHeight),
              2 * kCellPixels);
    const uint8_t* p = screenPixel(kCellWidth + 5, kTextTop + 5);
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(p[1], 255);
    EXPECT_EQ(p[2], 255);
    EXPECT_EQ(litPixelsOutsideTheTextRow(), 0);
}

} // namespace
