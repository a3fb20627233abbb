// OpenGL 1.1 and GLU for portable files, which must not include <windows.h>.
#pragma once

// mingw's GL headers pull in <windows.h> unless these two are defined; define them for the
// headers' sake only, so that a later <windows.h> defines them again without a clash.
#if defined(_WIN32) && !defined(APIENTRY)
#define MEREFLOW_GL_MACROS
#define APIENTRY __stdcall
#define WINGDIAPI __declspec(dllimport)
#define CALLBACK __stdcall
#endif

#include <GL/gl.h>
#include <GL/glu.h>

#ifdef MEREFLOW_GL_MACROS
#undef MEREFLOW_GL_MACROS
#undef APIENTRY
#undef WINGDIAPI
#undef CALLBACK
#endif

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif
