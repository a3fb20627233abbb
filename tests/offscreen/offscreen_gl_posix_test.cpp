#include "offscreen/offscreen_gl.h"

#include <gtest/gtest.h>

namespace {

TEST(OffscreenGl, ClearsAndBuildsMipmapsFromBgr) {
    OffscreenGl gl(64, 48);
    ASSERT_TRUE(gl.ready());
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(gl.pixelFromTop(10, 10).blue, 255);
    EXPECT_EQ(gl.pixelFromTop(10, 10).red, 0);

    const uint8_t bgr[2 * 2 * 3] = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    EXPECT_EQ(gluBuild2DMipmaps(GL_TEXTURE_2D, 3, 2, 2, GL_BGR_EXT, GL_UNSIGNED_BYTE, bgr), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDeleteTextures(1, &name);
}

} // namespace
