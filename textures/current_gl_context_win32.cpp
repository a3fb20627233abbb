// hasCurrentGlContext through WGL.
#include <windows.h>

#include "textures/current_gl_context.h"

bool hasCurrentGlContext() {
    return wglGetCurrentContext() != nullptr;
}
