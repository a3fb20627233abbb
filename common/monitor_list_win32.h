// The system's monitors, as the portable layout wants them.
#pragma once

#include "common/monitor_layout.h"

// Every monitor's rectangle in virtual-screen pixels, the primary first; empty when the system
// lists none.
MonitorList listMonitors();
