// A stand-in for the network password component: notes the password-change call's arguments
// in the file that MEREFLOW_MPR_LOG names.
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD reserved1, DWORD reserved2) {
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("MEREFLOW_MPR_LOG", path, sizeof path) == 0) {
        return 0;
    }
    if (FILE* log = std::fopen(path, "a")) {
        std::fprintf(log, "provider=%s owner=%lu reserved=%lu,%lu\n", provider,
                     static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(owner)),
                     static_cast<unsigned long>(reserved1), static_cast<unsigned long>(reserved2));
        std::fclose(log);
    }
    return 0;
}
