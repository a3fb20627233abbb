// Setting the saver window's pixel format.
#pragma once

#include <windows.h>

// Scores every format the device context offers and sets the best; when none qualifies, sets
// what the system's chooser gives for the fallback request. Results are not reported: a failure
// shows later as a rendering context that cannot be created.
void SetupPixelFormat(HDC deviceContext);
