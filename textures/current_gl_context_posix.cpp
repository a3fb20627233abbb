// hasCurrentGlContext for the native build, whose only OpenGL is OSMesa.
#include "textures/current_gl_context.h"

#include <GL/osmesa.h>

bool hasCurrentGlContext() {
    return OSMesaGetCurrentContext() != nullptr;
}
