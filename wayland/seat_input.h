// The seat's keyboard and pointer: any key, any button or a move of the pointer ends the water.
#pragma once

#include "wayland/wayland_state.h"

// Listens to the seat's capabilities, taking its keyboard and pointer only once announced
// (asking before is a protocol error). Under --background it takes neither.
void listenToSeat(WaylandState& state);

void releaseSeat(WaylandState& state);
