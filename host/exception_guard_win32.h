// What happens when the saver crashes: the system is never left in its screen-saver-running
// state, nor the display in the saver's mode.
#pragma once

#include <windows.h>

// The result of a mode that the guard had to end.
constexpr int kCrashedModeResult = -1;

// Undoes what the saver changed in the system: the screen-saver-running state and the display
// mode. Safe to run more than once and from any thread.
void cleanUpSaverState();

// Makes cleanUpSaverState part of the process's unhandled-exception handling, so a crash on
// any thread (the render thread included) cleans up before the system reports it.
void installCrashCleanup();

// The process-wide filter that installCrashCleanup sets: cleans up, then lets the system (or
// the filter installed before it) handle the crash as usual.
LONG WINAPI crashCleanupFilter(EXCEPTION_POINTERS* exception);

using GuardedBody = int (*)(const char* argument);

// Runs body(argument) inside a structured exception guard on the calling thread. When an
// exception escapes the body, filter decides: EXCEPTION_EXECUTE_HANDLER unwinds back here,
// runs SetSaverRunning(0) and the display restore, and returns kCrashedModeResult;
// EXCEPTION_CONTINUE_EXECUTION resumes; anything else passes the exception on.
int runGuarded(GuardedBody body, const char* argument, LPTOP_LEVEL_EXCEPTION_FILTER filter);
