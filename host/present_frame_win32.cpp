// Presenting a frame through WGL.
#include <windows.h>

#include "scene/frame.h"

void presentFrame(void* deviceContext) {
    wglSwapLayerBuffers(static_cast<HDC>(deviceContext), WGL_SWAP_MAIN_PLANE);
}
