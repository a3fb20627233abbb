// Textures made from the built-in bitmaps, and the texture made from the source picture.
#pragma once

#include "common/gl.h"
#include "common/monitor_layout.h"

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

// The textures made from the source pictures, one per picture and in the same order; 0 before
// the upload or where there was no picture.
extern GLuint sourceTextureNames[kMaxMonitors];

// The first picture's texture: the one every monitor shows unless Desktop gave each its own.
extern GLuint& sourceTextureName;

// Turns each held source picture into its texture, in place of any earlier one, and frees its
// buffer. A picture without a buffer gets no texture, and what shows it is drawn untextured.
void uploadSourcePicture();
