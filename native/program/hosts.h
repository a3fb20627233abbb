// The display systems the program can draw on. The floor declares them; each host's folder
// fills in its own.
#pragma once

#include "native/daemons/window_choice.h"
#include "native/options/saver_options.h"

// Runs the water on X11 in the chosen window until it ends; the program's exit status. The stop
// signals are already caught.
int runX11Host(HostOptions& host, const WindowChoice& choice);

// Runs the water on a Wayland compositor over every output until it ends; the program's exit
// status. The stop signals are already caught.
int runWaylandHost(HostOptions& host);
