// The program's entry point: everything happens in HostEntry.
#include <windows.h>

#include "host/host_entry_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HostEntry();
}
