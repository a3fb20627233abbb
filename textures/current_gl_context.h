// Whether the calling thread has a current OpenGL context. The Windows build answers through
// WGL; natively, the library that makes the contexts answers (OSMesa for the offscreen one).
#pragma once

// Lets code that may run after the context is gone (static destructors at process exit) leave
// OpenGL alone instead of calling into a context that no longer exists.
bool hasCurrentGlContext();
