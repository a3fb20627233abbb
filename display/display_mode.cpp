// switchDisplayMode: exact modes, the three-field request, depth then resolution, and the report.
#include "display/display_mode.h"

#include "display/display_seam.h"

#include <cstdio>

const DisplaySeam* displaySeam = &platformDisplaySeam;

namespace {

constexpr uint32_t kWholeRequest = kDisplayFieldDepth | kDisplayFieldWidth | kDisplayFieldHeight;
constexpr uint32_t kResolutionOnly = kDisplayFieldWidth | kDisplayFieldHeight;

const char* failureFormat(int32_t result) {
    switch (result) {
    case kDisplayChangeRestart:
        return "You must change your video mode to %ldx%ldx%ld-bit color and then restart\n";
    case kDisplayChangeBadMode:
        return "The video mode %ldx%ldx%ld-bit color is not supported\n";
    case kDisplayChangeFailed:
        return "Hardware failed to change to %ldx%ldx%ld-bit color\n";
    default:
        return "Failed to change to %ldx%ldx%ld-bit color - unknown reason\n";
    }
}

int report(const DisplaySeam& seam, int32_t result, const DisplayMode& request) {
    char text[128];
    std::snprintf(text, sizeof text, failureFormat(result), static_cast<long>(request.width),
                  static_cast<long>(request.height), static_cast<long>(request.depth));
    seam.showMessage(text);
    return 0;
}

// Tries every mode that matches the request exactly, whatever its refresh rate, in enumeration
// order. Returns true on the first success; otherwise remembers in `failedMode` the first
// refused match other than mode 0.
bool tryExactModes(const DisplaySeam& seam, const DisplayMode& request, int32_t& failedMode) {
    DisplayMode mode = {};
    for (int32_t number = 0; seam.enumerateMode(number, &mode); ++number) {
        if (mode.depth != request.depth || mode.width != request.width ||
            mode.height != request.height) {
            continue;
        }
        if (seam.changeMode(number, nullptr, 0) == kDisplayChangeSuccessful) {
            return true;
        }
        if (failedMode == 0) {
            failedMode = number;
        }
    }
    return false;
}

} // namespace

int switchDisplayMode(int32_t width, int32_t height, int32_t depth) {
    const DisplaySeam& seam = *displaySeam;
    const DisplayMode request = {width, height, depth, 0};
    int32_t record = 0;
    if (tryExactModes(seam, request, record)) {
        return 1;
    }
    // The whole request at once, the refresh rate left to the system. Its result is never
    // reported. For 0, 0, 0 the system fills every field from the display's stored mode, so
    // this is also where the restore request succeeds.
    if (seam.changeMode(record, &request, kWholeRequest) == kDisplayChangeSuccessful) {
        return 1;
    }
    const int32_t depthResult = seam.changeMode(record, &request, kDisplayFieldDepth);
    if (depthResult != kDisplayChangeSuccessful) {
        return report(seam, depthResult, request);
    }
    const int32_t resolutionResult = seam.changeMode(record, &request, kResolutionOnly);
    if (resolutionResult == kDisplayChangeSuccessful) {
        return 1;
    }
    seam.restoreMode(); // never leave the display at the new depth alone
    return report(seam, resolutionResult, request);
}
