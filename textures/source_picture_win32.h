// Reading a device context's bitmap into the source picture buffer.
#pragma once

#include <windows.h>

#include "textures/source_picture.h"

// Allocates the picture's buffer for its working size and copies into it every pixel of the
// bitmap selected into the device context, top row first. Returns false, holding no buffer, when
// the size is absurd, memory runs out or the bitmap cannot be read.
bool readPixels(HDC deviceContext, SourcePicture& picture);

// The same into the first picture.
bool readPixels(HDC deviceContext);
