// The few platform calls that display-mode switching and the mode list need, as a seam.
#pragma once

#include <cstdint>

// One mode of the primary display, as enumerated.
struct DisplayMode {
    int32_t width;
    int32_t height;
    int32_t depth; // bits per pixel
    int32_t frequency;
};

// The fields of a mode record that a change applies.
constexpr uint32_t kDisplayFieldDepth = 0x00040000;
constexpr uint32_t kDisplayFieldWidth = 0x00080000;
constexpr uint32_t kDisplayFieldHeight = 0x00100000;

// The platform's results of a mode change.
constexpr int32_t kDisplayChangeSuccessful = 0;
constexpr int32_t kDisplayChangeRestart = 1;
constexpr int32_t kDisplayChangeFailed = -1;
constexpr int32_t kDisplayChangeBadMode = -2;

struct DisplaySeam {
    // Fills in mode number `number` of the primary display; false past the last mode.
    bool (*enumerateMode)(int32_t number, DisplayMode* mode);
    // Asks for mode `number`'s record for this run only (never stored as the display's
    // default). With no request the record goes whole; otherwise its width, height and depth
    // are replaced by the request's and only `fields` are applied.
    int32_t (*changeMode)(int32_t number, const DisplayMode* request, uint32_t fields);
    // Returns the display to its stored mode.
    int32_t (*restoreMode)();
    // Shows a failure message and returns when the user has closed it.
    void (*showMessage)(const char* text);
};

// The platform's display: the real one on Windows; elsewhere none (no modes, every change
// refused, messages dropped).
extern const DisplaySeam platformDisplaySeam;

// The display that mode switching and the mode list talk to: platformDisplaySeam unless a test
// puts a fake in its place. Window thread only.
extern const DisplaySeam* displaySeam;
