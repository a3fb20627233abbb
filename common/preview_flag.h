// The host's preview flag, kept on the lowest floor because desktop capture reads it too.
#pragma once

// 1 while the saver runs as a child of the control panel's preview window, else 0.
// Written by the host before the saver window exists; only read afterwards.
extern int isPreview;
