// The two seams of the core on GLX: presenting a frame and asking for the current context. The
// offscreen library fills the same two through OSMesa.
#include "scene/frame.h"
#include "textures/current_gl_context.h"
#include "x11/saver_window.h"

#include <GL/glx.h>

// The frame's target is the window it was drawn for.
void presentFrame(void* target) {
    static_cast<SaverWindow*>(target)->swapBuffers();
}

bool hasCurrentGlContext() {
    return glXGetCurrentContext() != nullptr;
}
