// Linked into the program itself (not the library, hence the _main suffix): lets the saver
// start on Windows XP although GCC's threading runtime asks for GetTickCount64.
#include <windows.h>

namespace {

using TickCount64Fn = ULONGLONG(WINAPI*)();

// NOTE: the winpthreads library that libstdc++ and libgcc pull in for their locks imports
// GetTickCount64, which kernel32 has only from Vista on, and Windows refuses to start a program
// with a missing import. Its import slot is defined here instead, so the linker takes it from
// this object and the function is looked up at each call; on XP the 32-bit tick count,
// which only serves the runtime's wait timeouts, stands in.
ULONGLONG WINAPI tickCount64() {
    const TickCount64Fn system = reinterpret_cast<TickCount64Fn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "GetTickCount64")));
    return system != nullptr ? system() : GetTickCount();
}

} // namespace

extern "C" {
TickCount64Fn importedGetTickCount64 asm("__imp__GetTickCount64@0") = tickCount64;
}
