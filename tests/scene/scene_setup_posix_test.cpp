#include "scene/scene_setup.h"

#include "offscreen/offscreen_gl.h"
#include "scene/camera_oscillator.h"
#include "settings/saver_settings.h"
#include "surface/surface_grid.h"
#include "textures/bitmap_resources.h"
#include "textures/builtin_texture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class SceneSetup : public ::testing::Test {
protected:
    void SetUp() override {
        applyDefaults();
        forgetTextures();
    }
    void TearDown() override { forgetTextures(); }

    // The built-in textures are loaded once per run; each test is a run of its own.
    static void forgetTextures() {
        for (BuiltinTexture* texture : {&environmentTexture, &digitTexture}) {
            texture->bits = nullptr;
            texture->loaded = 0;
            texture->textureName = 0;
            texture->width = 0;
            texture->height = 0;
        }
    }

    static GLint boundParameter(GLuint textureName, GLenum parameter) {
        glBindTexture(GL_TEXTURE_2D, textureName);
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
        return value;
    }
};

struct SourceCase {
    int32_t source;
    int32_t showFrameRate;
    int environmentBitmap; // 0: no environment texture
};

TEST_F(SceneSetup, EachSourceLoadsOnlyTheTexturesItNeeds) {
    const SourceCase cases[] = {
        {kSourceDesktop, 0, 0},
        {kSourceDesktop, 1, 0},
        {kSourceChomify, 0, kRoomBitmapId},
        {kSourceChomify, 1, kRoomBitmapId},
        {kSourceSky, 0, kSkyBitmapId},
        {kSourceSky, 1, kSkyBitmapId},
        {kSourceWhite, 0, 0},
        {kSourceWhite, 1, 0},
        {kSourceCustom, 0, 0},
        {kSourceCustom, 1, 0},
    };
    for (const SourceCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "source " << c.source << ", frame rate " << c.showFrameRate);
        OffscreenGl gl(64, 48);
        ASSERT_TRUE(gl.ready());
        forgetTextures();
        saverSettings.sourceTexture = c.source;
        saverSettings.showFrameRate = c.showFrameRate;
        setupScene();

        EXPECT_EQ(environmentTexture.loaded, c.environmentBitmap != 0 ? 1 : 0);
        EXPECT_EQ(environmentTexture.textureName != 0, c.environmentBitmap != 0);
        if (c.environmentBitmap != 0) {
            BitmapResource bitmap;
            ASSERT_TRUE(findBitmapResource(c.environmentBitmap, bitmap));
            EXPECT_EQ(environmentTexture.bits, bitmap.bits);
        }
        EXPECT_EQ(digitTexture.loaded, c.showFrameRate);
        EXPECT_EQ(digitTexture.textureName != 0, c.showFrameRate != 0);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST_F(SceneSetup, TexturesGetTheWrapAndFiltersOfTheirTable) {
    for (int32_t smooth : {0, 1}) {
        OffscreenGl gl(64, 48);
        ASSERT_TRUE(gl.ready());
        forgetTextures();
        saverSettings.sourceTexture = kSourceSky;
        saverSettings.showFrameRate = 1;
        saverSettings.smoothTextureFilter = smooth;
        setupScene();

        const GLint filter = smooth ? GL_LINEAR : GL_NEAREST;
        const GLuint environment = environmentTexture.textureName;
        EXPECT_EQ(boundParameter(environment, GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(boundParameter(environment, GL_TEXTURE_WRAP_T), GL_REPEAT);
        EXPECT_EQ(boundParameter(environment, GL_TEXTURE_MIN_FILTER), filter);
        EXPECT_EQ(boundParameter(environment, GL_TEXTURE_MAG_FILTER), filter);
        const GLuint digits = digitTexture.textureName;
        EXPECT_EQ(boundParameter(digits, GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(boundParameter(digits, GL_TEXTURE_WRAP_T), GL_REPEAT);
        EXPECT_EQ(boundParameter(digits, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
        EXPECT_EQ(boundParameter(digits, GL_TEXTURE_MAG_FILTER), GL_NEAREST);

        GLint mode = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
        EXPECT_EQ(mode, GL_MODULATE);
        GLint generation = 0;
        glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &generation);
        EXPECT_EQ(generation, GL_SPHERE_MAP);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    }
}

TEST_F(SceneSetup, ProjectionIsFixedWhateverTheWindowShape) {
    OffscreenGl gl(100, 100);
    ASSERT_TRUE(gl.ready());
    saverSettings.sourceTexture = kSourceWhite;
    setupScene();
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const float focal = static_cast<float>(1.0 / std::tan(60.0 * M_PI / 180.0));
    EXPECT_NEAR(projection[0], focal / 1.33f, 1e-5f);
    EXPECT_NEAR(projection[5], focal, 1e-5f);
    EXPECT_NEAR(projection[10], -10010.0f / 9990.0f, 1e-5f);
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
}

TEST_F(SceneSetup, CameraStartsAtRestThreeHundredUnitsAway) {
    OffscreenGl gl(64, 48);
    ASSERT_TRUE(gl.ready());
    saverSettings.sourceTexture = kSourceWhite;
    saverSettings.rotateXAmplitude = 10;
    saverSettings.rotateXTime = 30;
    cameraState = {5, 5, 5, 5, {5, 5, 5}};
    setupScene();
    EXPECT_EQ(cameraState.rotationX, 0.0f);
    EXPECT_EQ(cameraState.rotationY, 0.0f);
    EXPECT_EQ(cameraState.rotationZ, 0.0f);
    EXPECT_EQ(cameraState.scale, 1.0f);
    EXPECT_EQ(cameraState.translation.z, -300.0f);
    EXPECT_EQ(cameraOscillators.rotateX.counter, 15.0f);
    EXPECT_FLOAT_EQ(cameraOscillators.zoom.high, 1.4f);
    EXPECT_EQ(surfaceGrid.columns, 80);
}

TEST_F(SceneSetup, ColourOffShowsWhiteLightNotTheBlueMaterial) {
    OffscreenGl gl(160, 120);
    ASSERT_TRUE(gl.ready());
    saverSettings.sourceTexture = kSourceWhite;
    saverSettings.enableColor = 0;
    setupScene();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glDisable(GL_TEXTURE_2D);
    glTranslatef(0.0f, 0.0f, -300.0f);
    glBegin(GL_QUADS);
    glVertex2f(-400.0f, -300.0f);
    glVertex2f(400.0f, -300.0f);
    glVertex2f(400.0f, 300.0f);
    glVertex2f(-400.0f, 300.0f);
    glEnd();
    const OffscreenRgb side = gl.pixelFromTop(40, 60);
    EXPECT_GT(side.red, 100);
    EXPECT_EQ(side.red, side.blue);
    EXPECT_EQ(side.green, side.blue);
}

} // namespace
