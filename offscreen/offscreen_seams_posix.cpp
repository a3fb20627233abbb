// The two seams of the core that drawing offscreen fills: presenting a frame and asking for the
// current context. Programs drawing through the system's libGL (the X11 saver) fill their own.
#include "common/gl.h"
#include "scene/frame.h"
#include "textures/current_gl_context.h"

#include <GL/osmesa.h>

// Rendering is offscreen, so the finished image is the frame.
void presentFrame(void*) {
    glFinish();
}

bool hasCurrentGlContext() {
    return OSMesaGetCurrentContext() != nullptr;
}
