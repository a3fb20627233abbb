// hasCurrentGlContext for the programs whose OpenGL is OSMesa.
#include "textures/current_gl_context.h"

#include <GL/osmesa.h>

bool hasCurrentGlContext() {
    return OSMesaGetCurrentContext() != nullptr;
}
