// The program's exit statuses, the same whichever host draws.
#pragma once

constexpr int kStatusFailed = 1;    // nothing could be drawn: no display, no memory, an X error
constexpr int kStatusBadOption = 2; // the line cannot be read: a daemon's configuration fault
