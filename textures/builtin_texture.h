// Textures made from the built-in bitmaps, and the texture made from the source picture.
#pragma once

#include "common/gl.h"

#include <cstdint>

// A bitmap resource turned into a mipmapped OpenGL texture. Render thread only.
class BuiltinTexture {
public:
    BuiltinTexture() = default;
    ~BuiltinTexture();
    BuiltinTexture(const BuiltinTexture&) = delete;
    BuiltinTexture& operator=(const BuiltinTexture&) = delete;

    // Builds the texture from bitmap resourceId; 1 on success, 0 when there is no such bitmap.
    int load(int resourceId);

    const uint8_t* bits = nullptr; // the resource's header and pixels; never freed
    int32_t loaded = 0;
    GLuint textureName = 0; // 0: no texture
    int32_t width = 0;
    int32_t height = 0;
};

extern BuiltinTexture environmentTexture; // Chomify or Sky
extern BuiltinTexture digitTexture;       // frame-rate digits

// The texture made from the source picture; 0 before the upload.
extern GLuint sourceTextureName;

// Turns the source picture into the source texture and frees the buffer. With no buffer the
// texture is left out and the surface is drawn untextured.
void uploadSourcePicture();
