// A stand-in for the Windows 9x password component: refuses the first request of each
// process and accepts every later one, noting each answer in the file that
// MEREFLOW_PASSWORD_LOG names.
#include <windows.h>

#include <cstdio>

namespace {

int requests = 0;

void note(const char* answer) {
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("MEREFLOW_PASSWORD_LOG", path, sizeof path) == 0) {
        return;
    }
    if (FILE* log = std::fopen(path, "a")) {
        std::fprintf(log, "%s\n", answer);
        std::fclose(log);
    }
}

} // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND) {
    const bool accept = ++requests > 1;
    note(accept ? "accepted" : "refused");
    return accept ? TRUE : FALSE;
}
