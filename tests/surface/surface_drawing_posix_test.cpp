#include "surface/surface_drawing.h"

#include "offscreen/offscreen_gl.h"
#include "scene/scene_setup.h"
#include "settings/saver_settings.h"
#include "surface/drips.h"
#include "surface/surface_grid.h"
#include "textures/builtin_texture.h"

#include "support/scene_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(SurfaceStrips, TwoByTwoIsOneStripUpperVertexFirst) {
    buildGrid(2, 2);
    ASSERT_TRUE(buildStripIndices());
    ASSERT_EQ(stripCount(), 1);
    ASSERT_EQ(stripLength(), 4);
    const uint32_t expected[] = {2, 0, 3, 1};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(surfaceGrid.stripIndices[k], expected[k]) << "entry " << k;
    }
}

TEST(SurfaceStrips, DefaultGridHasFiftyNineStripsOfOneHundredSixty) {
    buildGrid(80, 60);
    ASSERT_TRUE(buildStripIndices());
    ASSERT_EQ(stripCount(), 59);
    ASSERT_EQ(stripLength(), 160);
    // Every entry of every strip: the list holds exactly 59 x 160 indices (ASan checks the end).
    for (uint32_t j = 0; j < 59; ++j) {
        for (uint32_t i = 0; i < 80; ++i) {
            ASSERT_EQ(surfaceGrid.stripIndices[j * 160 + 2 * i], (j + 1) * 80 + i);
            ASSERT_EQ(surfaceGrid.stripIndices[j * 160 + 2 * i + 1], j * 80 + i);
        }
    }
}

TEST(SurfaceStrips, ARebuiltGridGetsNewStrips) {
    buildGrid(80, 60);
    ASSERT_TRUE(buildStripIndices());
    buildGrid(3, 2);
    EXPECT_FALSE(surfaceGrid.stripIndices);
    ASSERT_TRUE(buildStripIndices());
    EXPECT_EQ(stripLength(), 6);
    EXPECT_EQ(surfaceGrid.stripIndices[5], 2u);
}

TEST(SurfaceStrips, GridsBelowTwoByTwoHaveNone) {
    const float sizes[][2] = {{1, 60}, {80, 1}, {0, 0}, {-3, 5}};
    for (const auto& size : sizes) {
        buildGrid(size[0], size[1]);
        EXPECT_EQ(stripCount(), 0);
        EXPECT_FALSE(buildStripIndices());
        EXPECT_FALSE(surfaceGrid.stripIndices);
    }
}

TEST(SurfaceNormals, FlatGridFadesAlongTheLastComputedColumnAndRow) {
    const int columns = 6;
    const int rows = 5;
    buildGrid(columns, rows);
    updateSurfaceNormals();
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            float expected = 1.0f;
            if (i == columns - 1 || j == rows - 1) {
                expected = 0.0f;
            } else if (i == columns - 2 && j == rows - 2) {
                expected = 0.25f;
            } else if (i == columns - 2 || j == rows - 2) {
                expected = 0.5f;
            }
            const Vec3& n = surfaceGrid.vertexNormals[j * columns + i];
            EXPECT_EQ(n.x, 0.0f);
            EXPECT_EQ(n.y, 0.0f);
            EXPECT_EQ(n.z, expected) << "vertex (" << i << ", " << j << ")";
        }
    }
}

TEST(SurfaceNormals, ASlopeRisingToTheRightTiltsTheNormalLeft) {
    buildGrid(4, 4);
    const float rise = 12.8f; // one cell is 256 units wide: a slope of 0.05
    for (int v = 0; v < surfaceGrid.vertexCount; ++v) {
        surfaceGrid.positions[v].z = rise * static_cast<float>(v % 4);
    }
    updateSurfaceNormals();
    const Vec3& f = surfaceGrid.faceNormals[0];
    const float length = std::sqrt(0.05f * 0.05f + 1.0f);
    EXPECT_NEAR(f.x, -0.05f / length, 1e-6f);
    EXPECT_NEAR(f.y, 0.0f, 1e-6f);
    EXPECT_NEAR(f.z, 1.0f / length, 1e-6f);
    EXPECT_NEAR(surfaceGrid.vertexNormals[0].x, f.x, 1e-6f);
}

// A context with the scene set up for one source, drawing the surface without drips.
class SurfaceDrawing : public ::testing::Test {
protected:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 120;

    OffscreenGl gl{kWidth, kHeight};

    void TearDown() override {
        // The next test's context knows nothing of these names.
        environmentTexture.textureName = 0;
        environmentTexture.loaded = 0;
        digitTexture.textureName = 0;
        digitTexture.loaded = 0;
        sourceTextureName = 0;
    }

    void setUpScene(int32_t source) {
        ASSERT_TRUE(gl.ready());
        applyDefaults();
        saverSettings.sourceTexture = source;
        saverSettings.enableColor = 0;
        saverSettings.smoothTextureFilter = 0;
        dripPool = DripPool();
        glViewport(0, 0, kWidth, kHeight);
        setupScene();
    }

    // What a frame does before the surface: clear and place the camera at rest.
    static void drawAtRest() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -300.0f);
        glTranslatef(-512.0f, -384.0f, 0.0f);
        drawSurface();
    }

    OffscreenRgb centre() const { return gl.pixelFromTop(kWidth / 2, kHeight / 2); }

    // A texture of width x height pixels from rows of BGR bytes, top row first, as the upload
    // lays the source picture out.
    static GLuint makeTexture(int width, int height, const std::vector<uint8_t>& bgr) {
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                          bgr.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        return name;
    }

    // 4 x 4 texels: the middle 2 x 2 red, the ring around them blue.
    static GLuint redCentreTexture() {
        std::vector<uint8_t> bgr;
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                const bool middle = x >= 1 && x <= 2 && y >= 1 && y <= 2;
                bgr.insert(bgr.end(), {static_cast<uint8_t>(middle ? 0 : 255), 0,
                                       static_cast<uint8_t>(middle ? 255 : 0)});
            }
        }
        return makeTexture(4, 4, bgr);
    }
};

TEST_F(SurfaceDrawing, SphereMapGenerationIsOnOnlyWhileTheSurfaceIsDrawn) {
    setUpScene(kSourceChomify);
    // The middle of a flat surface facing the eye mirrors the middle of the sphere map.
    environmentTexture.textureName = redCentreTexture();
    drawAtRest();
    const OffscreenRgb middle = centre();
    EXPECT_GT(middle.red, 200);
    EXPECT_LT(middle.blue, 40);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SurfaceDrawing, WhiteIsUntexturedOnlyWhileTheSurfaceIsDrawn) {
    setUpScene(kSourceWhite);
    glBindTexture(GL_TEXTURE_2D, redCentreTexture());
    drawAtRest();
    const OffscreenRgb middle = centre();
    EXPECT_GT(middle.red, 240);
    EXPECT_GT(middle.green, 240);
    EXPECT_GT(middle.blue, 240);
    const OffscreenRgb side = gl.pixelFromTop(kWidth / 4, kHeight / 2);
    EXPECT_GT(side.red, 100);
    EXPECT_EQ(side.red, side.blue);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SurfaceDrawing, DesktopShowsThePictureUpright) {
    setUpScene(kSourceDesktop);
    // Top half red, bottom half green, stored top row first.
    std::vector<uint8_t> bgr;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            bgr.insert(bgr.end(), {0, static_cast<uint8_t>(y < 4 ? 0 : 255),
                                   static_cast<uint8_t>(y < 4 ? 255 : 0)});
        }
    }
    sourceTextureName = makeTexture(8, 8, bgr);
    drawAtRest();
    const OffscreenRgb upper = gl.pixelFromTop(kWidth / 2, kHeight / 3);
    const OffscreenRgb lower = gl.pixelFromTop(kWidth / 2, 2 * kHeight / 3);
    EXPECT_GT(upper.red, 150);
    EXPECT_LT(upper.green, 30);
    EXPECT_GT(lower.green, 150);
    EXPECT_LT(lower.red, 30);
}

TEST_F(SurfaceDrawing, ARebuiltGridHandsItsNewCoordinatesOver) {
    setUpScene(kSourceDesktop);
    drawAtRest();
    GLvoid* handed = nullptr;
    glGetPointerv(GL_TEXTURE_COORD_ARRAY_POINTER, &handed);
    EXPECT_EQ(handed, surfaceGrid.texCoords.get());

    buildGrid(40, 30);
    drawAtRest();
    glGetPointerv(GL_TEXTURE_COORD_ARRAY_POINTER, &handed);
    EXPECT_EQ(handed, surfaceGrid.texCoords.get());
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
}

TEST_F(SurfaceDrawing, ColoursTintOnlyWithEnableColor) {
    setUpScene(kSourceWhite);
    for (int v = 0; v < surfaceGrid.vertexCount; ++v) {
        surfaceGrid.colors[v] = {1.0f, 0.0f, 0.0f};
    }
    // Away from the highlight, whose white specular hides any tint.
    const int x = kWidth / 4;
    const int y = kHeight / 2;
    drawAtRest();
    EXPECT_GT(gl.pixelFromTop(x, y).green, 150);

    saverSettings.enableColor = 1;
    drawAtRest();
    EXPECT_GT(gl.pixelFromTop(x, y).red, 150);
    EXPECT_LT(gl.pixelFromTop(x, y).green, 30);
}

TEST_F(SurfaceDrawing, GridsBelowTwoByTwoDrawNothingAndRaiseNoError) {
    setUpScene(kSourceWhite);
    const float sizes[][2] = {{1, 60}, {80, 1}, {0, 0}};
    for (const auto& size : sizes) {
        buildGrid(size[0], size[1]);
        drawAtRest();
        EXPECT_EQ(centre().red, 0);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

} // namespace
