// loadPictureFile and loadCustomPicture: file, OLE decoding, working size, upright stretch.
#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include "textures/picture_file_win32.h"

#include "settings/saver_settings.h"
#include "textures/bitmap_file_check.h"
#include "textures/picture_size.h"
#include "textures/source_picture.h"
#include "textures/source_picture_win32.h"

#include <cstring>

namespace {

constexpr int kHimetricPerInch = 2540;

// Everything one load holds along the way. Whatever is still held when the load ends, by
// success or failure, is given back; on success the bitmap and its context are handed out first.
struct PictureLoad {
    HANDLE file = INVALID_HANDLE_VALUE;
    HGLOBAL block = nullptr;
    bool blockLocked = false;
    IStream* stream = nullptr; // owns block once made
    IPicture* picture = nullptr;
    HDC screen = nullptr;
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;

    PictureLoad() = default;
    PictureLoad(const PictureLoad&) = delete;
    PictureLoad& operator=(const PictureLoad&) = delete;
    ~PictureLoad();
};

void closeFile(PictureLoad& load) {
    if (load.file != INVALID_HANDLE_VALUE) {
        CloseHandle(load.file);
        load.file = INVALID_HANDLE_VALUE;
    }
}

void unlockBlock(PictureLoad& load) {
    if (load.blockLocked) {
        GlobalUnlock(load.block);
        load.blockLocked = false;
    }
}

void releaseStream(PictureLoad& load) {
    if (load.stream != nullptr) {
        load.stream->Release();
        load.stream = nullptr;
    }
}

PictureLoad::~PictureLoad() {
    if (picture != nullptr) {
        picture->Release();
    }
    releaseStream(*this);
    unlockBlock(*this);
    if (block != nullptr) {
        GlobalFree(block);
    }
    closeFile(*this);
    // The context goes first, so that the bitmap is no longer selected when it is deleted.
    if (memory != nullptr) {
        DeleteDC(memory);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
}

// Steps up to the stream: the whole file, read into a movable block that the stream owns.
HRESULT readIntoStream(const char* path, PictureLoad& load, DWORD* fileSize) {
    load.file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (load.file == INVALID_HANDLE_VALUE) {
        return E_FAIL;
    }
    DWORD sizeHigh = 0;
    SetLastError(NO_ERROR); // a size whose low half is 0xFFFFFFFF is told apart by the error
    const DWORD size = GetFileSize(load.file, &sizeHigh);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        return E_FAIL;
    }
    if (sizeHigh != 0) {
        return E_OUTOFMEMORY; // past 4 GiB: no block can hold it
    }
    load.block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (load.block == nullptr) {
        return E_OUTOFMEMORY;
    }
    void* bytes = GlobalLock(load.block); // fails for an empty file: a block of 0 bytes
    if (bytes == nullptr) {
        return E_FAIL;
    }
    load.blockLocked = true;
    DWORD read = 0;
    if (!ReadFile(load.file, bytes, size, &read, nullptr) || read != size) {
        return E_FAIL;
    }
    if (!bitmapFileHoldsItsPixels(static_cast<const uint8_t*>(bytes), size)) {
        return CTL_E_INVALIDPICTURE;
    }
    unlockBlock(load);
    closeFile(load);

    const HRESULT made = CreateStreamOnHGlobal(load.block, TRUE, &load.stream);
    if (FAILED(made)) {
        return made;
    }
    if (load.stream == nullptr) {
        return E_FAIL;
    }
    load.block = nullptr; // the stream frees it now
    *fileSize = size;
    return S_OK;
}

HRESULT decode(PictureLoad& load, DWORD fileSize) {
    const HRESULT decoded = OleLoadPicture(load.stream, static_cast<LONG>(fileSize), FALSE,
                                           IID_IPicture, reinterpret_cast<void**>(&load.picture));
    if (FAILED(decoded)) {
        return decoded;
    }
    if (load.picture == nullptr) {
        return E_FAIL;
    }
    releaseStream(load);
    return S_OK;
}

// The working size each side by itself, from the picture's size at the context's resolution.
HRESULT chooseWorkingSize(PictureLoad& load, LONG himetricWidth, LONG himetricHeight) {
    const int pictureWidth =
        MulDiv(himetricWidth, GetDeviceCaps(load.memory, LOGPIXELSX), kHimetricPerInch);
    const int pictureHeight =
        MulDiv(himetricHeight, GetDeviceCaps(load.memory, LOGPIXELSY), kHimetricPerInch);
    const int32_t width = chooseWorkingSide(pictureWidth, saverSettings.textureWidth);
    const int32_t height = chooseWorkingSide(pictureHeight, saverSettings.textureHeight);
    if (width < 1 || height < 1) {
        return E_INVALIDARG; // only a hand-edited texture size gets here
    }
    if (sourcePictureBytes(width, height) == 0) {
        return E_OUTOFMEMORY; // a hand-edited texture size too large to hold
    }
    sourcePicture.width = width;
    sourcePicture.height = height;
    return S_OK;
}

// Renders the picture over black, stretched to the working size and upright.
HRESULT render(PictureLoad& load, LONG himetricWidth, LONG himetricHeight) {
    const int width = sourcePicture.width;
    const int height = sourcePicture.height;
    load.bitmap = CreateCompatibleBitmap(load.screen, width, height);
    if (load.bitmap == nullptr) {
        return hresultFromLastError(GetLastError());
    }
    if (SelectObject(load.memory, load.bitmap) == nullptr) {
        return E_FAIL;
    }
    const RECT whole = {0, 0, width, height};
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    FillRect(load.memory, &whole, black);
    DeleteObject(black);
    // HIMETRIC's y axis points up: start at the top edge and go down.
    return load.picture->Render(load.memory, 0, 0, width, height, 0, himetricHeight, himetricWidth,
                                -himetricHeight, nullptr);
}

} // namespace

HRESULT hresultFromLastError(DWORD error) {
    return error == NO_ERROR ? E_FAIL : HRESULT_FROM_WIN32(error);
}

HRESULT loadPictureFile(const char* path, HBITMAP* bitmap, HDC* deviceContext) {
    if (path == nullptr || bitmap == nullptr || deviceContext == nullptr) {
        return E_POINTER;
    }
    *bitmap = nullptr;
    *deviceContext = nullptr;
    PictureLoad load;
    DWORD fileSize = 0;
    HRESULT result = readIntoStream(path, load, &fileSize);
    if (FAILED(result)) {
        return result;
    }
    result = decode(load, fileSize);
    if (FAILED(result)) {
        return result;
    }
    load.screen = GetDC(nullptr);
    if (load.screen == nullptr) {
        return hresultFromLastError(GetLastError());
    }
    load.memory = CreateCompatibleDC(load.screen);
    if (load.memory == nullptr) {
        return hresultFromLastError(GetLastError());
    }
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    result = load.picture->get_Width(&himetricWidth);
    if (SUCCEEDED(result)) {
        result = load.picture->get_Height(&himetricHeight);
    }
    if (SUCCEEDED(result)) {
        result = chooseWorkingSize(load, himetricWidth, himetricHeight);
    }
    if (SUCCEEDED(result)) {
        result = render(load, himetricWidth, himetricHeight);
    }
    if (FAILED(result)) {
        return result;
    }
    *bitmap = load.bitmap;
    *deviceContext = load.memory;
    load.bitmap = nullptr;
    load.memory = nullptr;
    return result;
}

HRESULT loadCustomPicture() {
    freeSourcePixels();
    char path[kPathBufferSize];
    std::memcpy(path, saverSettings.customPicturePath, sizeof path);
    path[kPathBufferSize - 1] = '\0';

    HBITMAP bitmap = nullptr;
    HDC memory = nullptr;
    const HRESULT result = loadPictureFile(path, &bitmap, &memory);
    if (FAILED(result)) {
        return result;
    }
    const bool read = readPixels(memory);
    DeleteDC(memory);
    DeleteObject(bitmap);
    // A rendered picture that cannot be held must not read as success.
    return read ? result : E_OUTOFMEMORY;
}
