// SIGTERM, SIGINT and SIGHUP: the daemon's way, and the terminal's, to end the program.
#pragma once

// Catches the three signals. Each writes a byte to a pipe, so that a wait on stopSignalFd()
// wakes at once, whenever the signal comes. False when the pipe cannot be made.
bool catchStopSignals();

// The pipe's reading end, readable once a stop signal has come.
int stopSignalFd();

bool stopRequested();
