// The core's OpenGL seams, passed to the host that runs. The offscreen library fills the same
// two through OSMesa, so this file belongs to the program alone.
#include "native/program/host_gl.h"

#include "scene/frame.h"
#include "textures/current_gl_context.h"

HostGl hostGl;

void presentFrame(void* target) {
    hostGl.present(target);
}

bool hasCurrentGlContext() {
    return hostGl.hasCurrentContext && hostGl.hasCurrentContext();
}
