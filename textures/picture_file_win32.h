// Picture files for the Custom source: decoded by OLE and rendered into the working size.
#pragma once

#include <windows.h>

// Reads the file, decodes it, sets the working size of the source picture and renders the
// picture stretched to it over black, into a memory bitmap selected into a memory device
// context. On success both pass to the caller, which deletes the context and then the bitmap;
// on failure the result is negative and both outs hold null. Window thread only.
HRESULT loadPictureFile(const char* path, HBITMAP* bitmap, HDC* deviceContext);

// Fills the source picture from the file named by customPicturePath. On failure returns the
// loader's result and holds no buffer.
HRESULT loadCustomPicture();

// A failure result for a failed system call: HRESULT_FROM_WIN32 of the last error, or E_FAIL
// when the call left no error code (HRESULT_FROM_WIN32 of 0 would read as success).
HRESULT hresultFromLastError(DWORD error);
