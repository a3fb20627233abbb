// The keyboard's and the pointer's events, each listener filled for every event of the version
// bound: libwayland ends the program on an event whose entry is empty.
#include "wayland/seat_input.h"

#include <unistd.h>

#include <cmath>

namespace {

// How far the pointer may drift before the program ends, in |dx| + |dy| pixels, as on X11.
constexpr double kPointerSlack = 4;

WaylandState& stateOf(void* data) {
    return *static_cast<WaylandState*>(data);
}

void keymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) {
    // Any key ends it, whichever symbol it makes: the keymap is never read.
    close(fd);
}
void keyboardEnter(void* data, wl_keyboard*, uint32_t, wl_surface*, wl_array* keysDown) {
    WaylandState& state = stateOf(data);
    if (state.keyboardIsNew && keysDown->size > 0) {
        state.inputEnds = true;
    }
    state.keyboardIsNew = false;
}
void keyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}
void key(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t keyState) {
    // A release may be of the key that started the program.
    if (keyState == WL_KEYBOARD_KEY_STATE_PRESSED) {
        stateOf(data).inputEnds = true;
    }
}
void modifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void repeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}

const wl_keyboard_listener kKeyboardListener = {keymap, keyboardEnter, keyboardLeave,
                                                key,    modifiers,     repeatInfo};

void pointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface*, wl_fixed_t,
                  wl_fixed_t) {
    stateOf(data).pointerSeen = false;
    // No cursor over the water.
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
}
void pointerLeave(void*, wl_pointer*, uint32_t, wl_surface*) {}
void motion(void* data, wl_pointer*, uint32_t, wl_fixed_t fixedX, wl_fixed_t fixedY) {
    WaylandState& state = stateOf(data);
    const double x = wl_fixed_to_double(fixedX);
    const double y = wl_fixed_to_double(fixedY);
    if (!state.pointerSeen) {
        state.pointerSeen = true;
        state.pointerX = x;
        state.pointerY = y;
        return;
    }
    if (std::fabs(x - state.pointerX) + std::fabs(y - state.pointerY) > kPointerSlack) {
        state.inputEnds = true;
    }
}
void button(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t buttonState) {
    if (buttonState == WL_POINTER_BUTTON_STATE_PRESSED) {
        stateOf(data).inputEnds = true;
    }
}
// The wheel is a button on X11, and ends the water there too.
void axis(void* data, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {
    stateOf(data).inputEnds = true;
}
void frame(void*, wl_pointer*) {}
void axisSource(void*, wl_pointer*, uint32_t) {}
void axisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void axisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}
void axisValue120(void*, wl_pointer*, uint32_t, int32_t) {}

const wl_pointer_listener kPointerListener = {pointerEnter, pointerLeave, motion,     button,
                                              axis,         frame,        axisSource, axisStop,
                                              axisDiscrete, axisValue120};

// From version 3 the compositor is told, and drops its side too.
void releaseKeyboard(wl_keyboard* keyboard) {
    if (wl_keyboard_get_version(keyboard) >= WL_KEYBOARD_RELEASE_SINCE_VERSION) {
        wl_keyboard_release(keyboard);
    } else {
        wl_keyboard_destroy(keyboard);
    }
}

void releasePointer(wl_pointer* pointer) {
    if (wl_pointer_get_version(pointer) >= WL_POINTER_RELEASE_SINCE_VERSION) {
        wl_pointer_release(pointer);
    } else {
        wl_pointer_destroy(pointer);
    }
}

void capabilities(void* data, wl_seat* seat, uint32_t caps) {
    WaylandState& state = stateOf(data);
    if (state.background) {
        return;
    }
    const bool hasKeyboard = caps & WL_SEAT_CAPABILITY_KEYBOARD;
    const bool hasPointer = caps & WL_SEAT_CAPABILITY_POINTER;
    if (hasKeyboard && !state.keyboard) {
        state.keyboard = wl_seat_get_keyboard(seat);
        state.keyboardIsNew = state.covering;
        wl_keyboard_add_listener(state.keyboard, &kKeyboardListener, &state);
        // At once, not after the next frame: a keyboard that comes and goes quickly (a virtual
        // one) may send its only key before then.
        wl_display_flush(state.display);
    } else if (!hasKeyboard && state.keyboard) {
        releaseKeyboard(state.keyboard);
        state.keyboard = nullptr;
    }
    if (hasPointer && !state.pointer) {
        state.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(state.pointer, &kPointerListener, &state);
    } else if (!hasPointer && state.pointer) {
        releasePointer(state.pointer);
        state.pointer = nullptr;
    }
}

void seatName(void*, wl_seat*, const char*) {}

const wl_seat_listener kSeatListener = {capabilities, seatName};

} // namespace

void listenToSeat(WaylandState& state) {
    wl_seat_add_listener(state.seat, &kSeatListener, &state);
}

void releaseSeat(WaylandState& state) {
    if (state.keyboard) {
        releaseKeyboard(state.keyboard);
    }
    if (state.pointer) {
        releasePointer(state.pointer);
    }
    if (state.seat && wl_seat_get_version(state.seat) >= WL_SEAT_RELEASE_SINCE_VERSION) {
        wl_seat_release(state.seat);
    } else if (state.seat) {
        wl_seat_destroy(state.seat);
    }
}
