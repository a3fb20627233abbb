// The built-in textures, the source texture and their uploads.
#include "textures/builtin_texture.h"

#include "settings/saver_settings.h"
#include "textures/bitmap_resources.h"
#include "textures/current_gl_context.h"
#include "textures/source_picture.h"

BuiltinTexture environmentTexture;
BuiltinTexture digitTexture;
GLuint sourceTextureNames[kMaxMonitors] = {};
GLuint& sourceTextureName = sourceTextureNames[0];

namespace {

// The bitmaps' rows are padded to 4 bytes; the source picture's rows are not padded at all.
constexpr GLint kBitmapRowAlignment = 4;
constexpr GLint kPackedRowAlignment = 1;

// The header's first four bytes hold its own size, little-endian; the pixels follow it.
const uint8_t* bitmapPixels(const uint8_t* bits) {
    const uint32_t headerSize =
        static_cast<uint32_t>(bits[0]) | static_cast<uint32_t>(bits[1]) << 8 |
        static_cast<uint32_t>(bits[2]) << 16 | static_cast<uint32_t>(bits[3]) << 24;
    return bits + headerSize;
}

void uploadPicture(SourcePicture& picture, GLuint& textureName) {
    glEnable(GL_TEXTURE_2D);
    // A host that cuts its pictures again (a window grown to span the screen) replaces them.
    if (textureName != 0) {
        glDeleteTextures(1, &textureName);
    }
    glGenTextures(1, &textureName);
    glBindTexture(GL_TEXTURE_2D, textureName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    const GLint filter = saverSettings.smoothTextureFilter ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);

    glPixelStorei(GL_UNPACK_ALIGNMENT, kPackedRowAlignment);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, picture.width, picture.height, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                      picture.pixels.get());
    glPixelStorei(GL_UNPACK_ALIGNMENT, kBitmapRowAlignment); // OpenGL's default again
    freeSourcePixels(picture);
}

} // namespace

BuiltinTexture::~BuiltinTexture() {
    // A static instance dies at exit, after the context that held its texture may be gone.
    if (textureName != 0 && hasCurrentGlContext()) {
        glDeleteTextures(1, &textureName);
    }
}

int BuiltinTexture::load(int resourceId) {
    loaded = 0;
    BitmapResource bitmap;
    if (!findBitmapResource(resourceId, bitmap)) {
        return 0;
    }
    bits = bitmap.bits;
    width = bitmap.width;
    height = bitmap.height;

    glGenTextures(1, &textureName);
    glBindTexture(GL_TEXTURE_2D, textureName);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, kBitmapRowAlignment);
    // The bitmap's bottom row comes first and becomes texture row t = 0: glyphs stand upright.
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                      bitmapPixels(bits));
    loaded = 1;
    return 1;
}

void uploadSourcePicture() {
    // A failed Custom load or desktop capture leaves no buffer. Capturing now would grab the
    // saver's own window, so the surface stays untextured: the name remains 0, which has no
    // image.
    // The first picture is uploaded last, so that its texture is the one left bound.
    for (int32_t i = kMaxMonitors - 1; i >= 0; --i) {
        if (sourcePictures[i].pixels) {
            uploadPicture(sourcePictures[i], sourceTextureNames[i]);
        }
    }
}
