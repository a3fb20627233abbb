#include "textures/builtin_texture.h"

#include "offscreen/offscreen_gl.h"
#include "settings/saver_settings.h"
#include "textures/bitmap_resources.h"
#include "textures/source_picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

struct BuiltinBitmapCase {
    int id;
    int width;
    int height;
};

constexpr BuiltinBitmapCase kBuiltinBitmaps[] = {
    {kSkyBitmapId, 256, 256},
    {kRoomBitmapId, 256, 256},
    {kDigitStripBitmapId, 200, 23},
};

// Level 0 of the texture bound to GL_TEXTURE_2D as BGR bytes, rows tightly packed.
std::vector<uint8_t> boundLevelZero(GLint& width, GLint& height) {
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<uint8_t> bgr(3u * width * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE, bgr.data());
    return bgr;
}

GLint boundParameter(GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

class SourceTextureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ready());
        savedSettings = saverSettings;
        sourceTextureName = 0;
    }
    void TearDown() override {
        saverSettings = savedSettings;
        freeSourcePixels();
        sourceTextureName = 0;
    }

    // A 2 x 4 picture: its 6-byte rows would be misread as 8-byte rows if padding were assumed.
    void holdTestPicture() {
        sourcePicture.width = 2;
        sourcePicture.height = 4;
        ASSERT_TRUE(allocateSourcePixels());
        for (int i = 0; i < 2 * 4 * 3; ++i) {
            sourcePicture.pixels[i] = static_cast<uint8_t>(10 * i + 5);
        }
    }

    OffscreenGl gl{16, 16};
    SaverSettings savedSettings{};
};

TEST(BuiltinTexture, EachBuiltinBitmapLoadsWithItsSize) {
    OffscreenGl gl(16, 16);
    ASSERT_TRUE(gl.ready());
    for (const BuiltinBitmapCase& bitmap : kBuiltinBitmaps) {
        SCOPED_TRACE(bitmap.id);
        BuiltinTexture texture;
        EXPECT_EQ(texture.load(bitmap.id), 1);
        EXPECT_EQ(texture.loaded, 1);
        EXPECT_EQ(texture.width, bitmap.width);
        EXPECT_EQ(texture.height, bitmap.height);
        EXPECT_NE(texture.bits, nullptr);
        EXPECT_TRUE(glIsTexture(texture.textureName));
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), texture.textureName);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST(BuiltinTexture, SphereMapsHoldThePixelsAfterTheHeaderBottomRowFirst) {
    OffscreenGl gl(16, 16);
    ASSERT_TRUE(gl.ready());
    for (int id : {kSkyBitmapId, kRoomBitmapId}) {
        SCOPED_TRACE(id);
        BuiltinTexture texture;
        ASSERT_EQ(texture.load(id), 1);
        GLint width = 0;
        GLint height = 0;
        const std::vector<uint8_t> texels = boundLevelZero(width, height);
        ASSERT_EQ(width, 256);
        ASSERT_EQ(height, 256);
        // 256 pixels of 3 bytes need no row padding, so the pixel array is the texture itself.
        EXPECT_EQ(std::memcmp(texels.data(), texture.bits + 40, texels.size()), 0);
    }
}

TEST(BuiltinTexture, MissingBitmapReturnsZeroAndMakesNoTexture) {
    OffscreenGl gl(16, 16);
    ASSERT_TRUE(gl.ready());
    for (int id : {0, -1, 130, 999}) {
        SCOPED_TRACE(id);
        BuiltinTexture texture;
        EXPECT_EQ(texture.load(id), 0);
        EXPECT_EQ(texture.loaded, 0);
        EXPECT_EQ(texture.textureName, 0u);
    }
    EXPECT_FALSE(glIsTexture(1));
}

TEST(BuiltinTexture, DestructorDeletesItsTexture) {
    OffscreenGl gl(16, 16);
    ASSERT_TRUE(gl.ready());
    GLuint name = 0;
    {
        BuiltinTexture texture;
        ASSERT_EQ(texture.load(kDigitStripBitmapId), 1);
        name = texture.textureName;
        ASSERT_TRUE(glIsTexture(name));
    }
    EXPECT_FALSE(glIsTexture(name));
}

TEST(BuiltinTexture, DestructorAfterTheContextIsGoneLeavesOpenGlAlone) {
    auto gl = std::make_unique<OffscreenGl>(16, 16);
    ASSERT_TRUE(gl->ready());
    auto texture = std::make_unique<BuiltinTexture>();
    ASSERT_EQ(texture->load(kSkyBitmapId), 1);
    gl.reset();
    texture.reset(); // as a static instance at exit: must not touch a destroyed context
}

TEST_F(SourceTextureTest, UploadMakesATextureOfTheRowsAndFreesTheBuffer) {
    holdTestPicture();
    std::vector<uint8_t> expected(&sourcePicture.pixels[0], &sourcePicture.pixels[0] + 24);
    saverSettings.smoothTextureFilter = 1;

    uploadSourcePicture();

    EXPECT_EQ(sourcePicture.pixels, nullptr);
    ASSERT_TRUE(glIsTexture(sourceTextureName));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint width = 0;
    GLint height = 0;
    EXPECT_EQ(boundLevelZero(width, height), expected); // top row first becomes t = 0
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 4);
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SourceTextureTest, FiltersFollowSmoothTextureFilterAndBothAxesRepeat) {
    const struct {
        int32_t smooth;
        GLint filter;
    } cases[] = {{1, GL_LINEAR}, {0, GL_NEAREST}, {-7, GL_LINEAR}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.smooth);
        holdTestPicture();
        saverSettings.smoothTextureFilter = c.smooth;
        uploadSourcePicture();
        glBindTexture(GL_TEXTURE_2D, sourceTextureName);
        EXPECT_EQ(boundParameter(GL_TEXTURE_MAG_FILTER), c.filter);
        EXPECT_EQ(boundParameter(GL_TEXTURE_MIN_FILTER), c.filter);
        EXPECT_EQ(boundParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(boundParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    }
}

TEST_F(SourceTextureTest, UploadWithoutABufferBuildsNoTexture) {
    freeSourcePixels();
    sourcePicture.width = 512;
    sourcePicture.height = 256;
    uploadSourcePicture();
    EXPECT_EQ(sourceTextureName, 0u);
    EXPECT_FALSE(glIsTexture(1));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
