// Screen copy into shared memory, one frame per output, all asked for at once.
#include "wayland/screen_copy.h"

#include "common/clock.h"
#include "wayland/outputs.h"

#include <sys/mman.h>
#include <unistd.h>

#include <vector>

namespace {

constexpr double kCopyTimeoutMs = 2000;

// One output's copy as it goes: the buffer the compositor asked for, then its pixels.
struct Capture {
    WaylandState* state = nullptr;
    ScreenRect rect = {}; // where it goes in the layout
    zwlr_screencopy_frame_v1* frame = nullptr;
    wl_buffer* buffer = nullptr;
    uint8_t* pixels = nullptr;
    size_t size = 0;
    uint32_t format = 0;
    int width = 0;
    int height = 0;
    int stride = 0;
    bool yInvert = false;
    bool finished = false;
    bool copied = false;
    const char* whyNot = "the compositor would not copy an output";
};

// Where red, green and blue lie in a pixel's four bytes, for the formats copies come in.
struct ByteOrder {
    int red;
    int green;
    int blue;
};

bool byteOrder(uint32_t format, ByteOrder& order) {
    switch (format) {
    case WL_SHM_FORMAT_ARGB8888:
    case WL_SHM_FORMAT_XRGB8888:
        order = {2, 1, 0}; // little-endian words: blue first
        return true;
    case WL_SHM_FORMAT_ABGR8888:
    case WL_SHM_FORMAT_XBGR8888:
        order = {0, 1, 2};
        return true;
    default:
        return false;
    }
}

// Shared memory for the copy; false when it cannot be had.
bool makeBuffer(Capture& capture) {
    capture.size = static_cast<size_t>(capture.stride) * static_cast<size_t>(capture.height);
    const int fd = memfd_create("mereflow-screen-copy", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, static_cast<off_t>(capture.size)) != 0) {
        if (fd >= 0) {
            close(fd);
        }
        return false;
    }
    void* map = mmap(nullptr, capture.size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED) {
        close(fd);
        return false;
    }
    capture.pixels = static_cast<uint8_t*>(map);
    wl_shm_pool* pool =
        wl_shm_create_pool(capture.state->shm, fd, static_cast<int32_t>(capture.size));
    capture.buffer = wl_shm_pool_create_buffer(pool, 0, capture.width, capture.height,
                                               capture.stride, capture.format);
    wl_shm_pool_destroy(pool);
    close(fd);
    return true;
}

void offered(void* data, zwlr_screencopy_frame_v1* frame, uint32_t format, uint32_t width,
             uint32_t height, uint32_t stride) {
    auto& capture = *static_cast<Capture*>(data);
    ByteOrder order = {};
    capture.format = format;
    capture.width = static_cast<int>(width);
    capture.height = static_cast<int>(height);
    capture.stride = static_cast<int>(stride);
    if (!byteOrder(format, order) || width == 0 || height == 0 || stride < 4 * width) {
        capture.whyNot = "an output's copy comes in a pixel format this program does not read";
        capture.finished = true;
        return;
    }
    if (!makeBuffer(capture)) {
        capture.whyNot = "no shared memory for an output's copy";
        capture.finished = true;
        return;
    }
    zwlr_screencopy_frame_v1_copy(frame, capture.buffer);
}

void flags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags) {
    static_cast<Capture*>(data)->yInvert = flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT;
}

void ready(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {
    auto& capture = *static_cast<Capture*>(data);
    capture.finished = true;
    capture.copied = true;
}

void failed(void* data, zwlr_screencopy_frame_v1*) {
    static_cast<Capture*>(data)->finished = true;
}

const zwlr_screencopy_frame_v1_listener kFrameListener = {offered, flags, ready, failed};

// The copy stretched over its rectangle of the layout, nearest pixel.
void paste(const Capture& capture, const ScreenRect& onRoot, RgbPicture& picture) {
    ByteOrder order = {};
    byteOrder(capture.format, order);
    const int width = capture.rect.right - capture.rect.left;
    const int height = capture.rect.bottom - capture.rect.top;
    for (int y = 0; y < height; ++y) {
        int fromY = static_cast<int>(static_cast<int64_t>(y) * capture.height / height);
        fromY = capture.yInvert ? capture.height - 1 - fromY : fromY;
        const uint8_t* row = capture.pixels + static_cast<size_t>(fromY) * capture.stride;
        uint8_t* out =
            &picture
                 .rgb[3 * (static_cast<size_t>(capture.rect.top - onRoot.top + y) * picture.width +
                           (capture.rect.left - onRoot.left))];
        for (int x = 0; x < width; ++x, out += 3) {
            const uint8_t* p = row + 4 * (static_cast<int64_t>(x) * capture.width / width);
            out[0] = p[order.red];
            out[1] = p[order.green];
            out[2] = p[order.blue];
        }
    }
}

void release(Capture& capture) {
    if (capture.frame) {
        zwlr_screencopy_frame_v1_destroy(capture.frame);
    }
    if (capture.buffer) {
        wl_buffer_destroy(capture.buffer);
    }
    if (capture.pixels) {
        munmap(capture.pixels, capture.size);
    }
}

} // namespace

bool copyOutputs(WaylandState& state, const std::vector<Output*>& outputs, DesktopImage& image,
                 std::string& whyNot) {
    for (const Output* output : outputs) {
        if (!coverRect(image, outputRect(*output))) {
            whyNot = "no memory for the desktop picture";
            return false;
        }
    }
    std::vector<Capture> captures(outputs.size());
    for (size_t i = 0; i < outputs.size(); ++i) {
        Capture& capture = captures[i];
        capture.state = &state;
        capture.rect = outputRect(*outputs[i]);
        capture.frame =
            zwlr_screencopy_manager_v1_capture_output(state.screenCopy, 0, outputs[i]->output);
        zwlr_screencopy_frame_v1_add_listener(capture.frame, &kFrameListener, &capture);
    }
    // A copy waits for the output's next frame, which an output turned off never draws.
    const double giveUpMs = readClockMs() + kCopyTimeoutMs;
    bool allFinished = false;
    while (!allFinished && readClockMs() < giveUpMs && wl_display_roundtrip(state.display) >= 0) {
        allFinished = true;
        for (const Capture& capture : captures) {
            allFinished = allFinished && capture.finished;
        }
    }
    bool allCopied = allFinished;
    whyNot = "the compositor did not copy every output within 2 s";
    for (Capture& capture : captures) {
        if (allCopied && !capture.copied) {
            whyNot = capture.whyNot;
        }
        allCopied = allCopied && capture.copied;
        if (capture.copied && capture.rect.right > capture.rect.left &&
            capture.rect.bottom > capture.rect.top) {
            paste(capture, image.onRoot, image.picture);
        }
        release(capture);
    }
    image.cutToWindow = true;
    return allCopied;
}
