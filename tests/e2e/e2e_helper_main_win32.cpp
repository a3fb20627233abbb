// Plays the outside programs of the end-to-end tests: the control panel that hosts a preview,
// a program asking the saver about AutoPlay, one reading the system's screen-saver-running
// state, and colourful backdrops for the desktop capture. Prints key=value lines.
#include <windows.h>

#include "support/screen_saver_state_win32.h"
#include "support/test_window_win32.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char kSaverClass[] = "WindowsScreenSaverClass";
constexpr char kParentClass[] = "MereflowPreviewParent";
constexpr char kBackdropClass[] = "MereflowBackdrop";
constexpr int kPreviewLeft = 100;
constexpr int kPreviewTop = 100;
constexpr int kPreviewWidth = 320;
constexpr int kPreviewHeight = 240;

void say(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vprintf(format, arguments);
    va_end(arguments);
    std::printf("\n");
    std::fflush(stdout);
}

HWND contextMenuWParam = nullptr;

LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CONTEXTMENU) {
        contextMenuWParam = reinterpret_cast<HWND>(wParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createWindow(const char* className, WNDPROC procedure, HBRUSH background, int x, int y,
                  int width, int height) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, className, WS_POPUP | WS_VISIBLE, x, y, width, height,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// Set by a reader thread when the test driver writes a line to our input.
HANDLE goSignal = nullptr;

DWORD WINAPI readGoLine(LPVOID) {
    char line[64];
    if (std::fgets(line, sizeof line, stdin) != nullptr) {
        SetEvent(goSignal);
    }
    return 0;
}

bool waitForGo(DWORD milliseconds) {
    goSignal = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CreateThread(nullptr, 0, readGoLine, nullptr, 0, nullptr);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        if (WaitForSingleObject(goSignal, 0) == WAIT_OBJECT_0) {
            return true;
        }
        pumpMessagesFor(20);
    }
    return false;
}

bool startProcess(const char* commandLine, PROCESS_INFORMATION* process) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    char buffer[1024];
    std::snprintf(buffer, sizeof buffer, "%s", commandLine);
    return CreateProcessA(nullptr, buffer, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          process) != 0;
}

bool stillRunning(HANDLE process) {
    return WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

HWND waitForPreview(HWND parent, HANDLE process, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds && stillRunning(process)) {
        if (HWND child = FindWindowExA(parent, nullptr, kSaverClass, "Preview")) {
            return child;
        }
        pumpMessagesFor(50);
    }
    return nullptr;
}

// Waits for the process while pumping; returns its exit code and how long it took.
DWORD finishProcess(HANDLE process, DWORD milliseconds, DWORD* elapsed) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds && stillRunning(process)) {
        pumpMessagesFor(10);
    }
    *elapsed = GetTickCount() - start;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    if (code == STILL_ACTIVE) {
        TerminateProcess(process, 99);
    }
    return code;
}

// Hosts "<saver> /p <window>" as the display control panel does, checks that keys and clicks
// sent to the preview leave it running and that it hands context-menu requests to us, then
// closes our window and reports how the saver ended.
int runPreview(const char* saverCommand) {
    HWND parent =
        createWindow(kParentClass, parentProc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
                     kPreviewLeft, kPreviewTop, kPreviewWidth, kPreviewHeight);
    char commandLine[1024];
    std::snprintf(commandLine, sizeof commandLine, "%s /p %lu", saverCommand,
                  static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(parent)));
    PROCESS_INFORMATION process = {};
    if (!startProcess(commandLine, &process)) {
        say("started=0");
        return 1;
    }
    HWND child = waitForPreview(parent, process.hProcess, 15000);
    if (child == nullptr) {
        say("child=none");
        TerminateProcess(process.hProcess, 99);
        return 1;
    }
    RECT client = {};
    GetClientRect(child, &client);
    say("child=found size=%ldx%ld", client.right, client.bottom);
    say("ready");
    waitForGo(30000);

    PostMessageA(child, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(child, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    pumpMessagesFor(500);
    say("alive=%d", IsWindow(child) && stillRunning(process.hProcess) ? 1 : 0);

    DWORD_PTR answer = 0;
    SendMessageTimeoutA(child, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(child), MAKELPARAM(10, 10),
                        SMTO_ABORTIFHUNG, 3000, &answer);
    pumpMessagesFor(300);
    say("contextmenu=%lu forwarded=%d", static_cast<unsigned long>(answer),
        contextMenuWParam == parent ? 1 : 0);

    DestroyWindow(parent);
    DWORD elapsed = 0;
    const DWORD code = finishProcess(process.hProcess, 5000, &elapsed);
    say("exit=%ld ms=%lu", static_cast<long>(code), static_cast<unsigned long>(elapsed));
    return 0;
}

int askAutoPlay() {
    HWND saver = FindWindowA(kSaverClass, "Screen Saver");
    if (saver == nullptr) {
        say("saver=none");
        return 1;
    }
    const UINT message = RegisterWindowMessageA("QueryCancelAutoPlay");
    DWORD_PTR answer = 0;
    const LRESULT sent = SendMessageTimeoutA(saver, message, 0, 0, SMTO_ABORTIFHUNG, 3000, &answer);
    say("sent=%d answer=%lu", sent != 0 ? 1 : 0, static_cast<unsigned long>(answer));
    return 0;
}

int readSaverRunning() {
    say("running=%d", screenSaverRunning() ? 1 : 0);
    return 0;
}

// Eight vertical bars of strong colours.
LRESULT CALLBACK backdropProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    static const COLORREF kBars[] = {RGB(255, 0, 0),   RGB(0, 255, 0),    RGB(0, 0, 255),
                                     RGB(255, 255, 0), RGB(255, 0, 255),  RGB(0, 255, 255),
                                     RGB(255, 128, 0), RGB(255, 255, 255)};
    PAINTSTRUCT paint;
    HDC context = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const int count = static_cast<int>(sizeof kBars / sizeof kBars[0]);
    for (int i = 0; i < count; ++i) {
        RECT bar = {client.right * i / count, 0, client.right * (i + 1) / count, client.bottom};
        HBRUSH brush = CreateSolidBrush(kBars[i]);
        FillRect(context, &bar, brush);
        DeleteObject(brush);
    }
    EndPaint(window, &paint);
    return 0;
}

int showBackdrop(DWORD seconds) {
    createWindow(kBackdropClass, backdropProc, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                 GetSystemMetrics(SM_CYSCREEN));
    pumpMessagesFor(200);
    say("backdrop=shown");
    pumpMessagesFor(seconds * 1000);
    return 0;
}

// Lists the monitors and paints each in its own colour (red, green, blue, then yellow), so a
// desktop capture shows which monitor it read.
BOOL CALLBACK paintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    static const COLORREF kColours[] = {RGB(220, 30, 30), RGB(30, 200, 40), RGB(40, 60, 230),
                                        RGB(230, 210, 30)};
    int& index = *reinterpret_cast<int*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    const RECT& r = info.rcMonitor;
    say("monitor%d=%ld,%ld,%ld,%ld primary=%d", index, r.left, r.top, r.right, r.bottom,
        (info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0);
    char className[32];
    std::snprintf(className, sizeof className, "MereflowMonitor%d", index);
    createWindow(className, DefWindowProcA, CreateSolidBrush(kColours[index % 4]), r.left, r.top,
                 r.right - r.left, r.bottom - r.top);
    ++index;
    return TRUE;
}

int paintMonitors(DWORD seconds) {
    int count = 0;
    EnumDisplayMonitors(nullptr, nullptr, paintMonitor, reinterpret_cast<LPARAM>(&count));
    pumpMessagesFor(300);
    say("monitors=%d", count);
    pumpMessagesFor(seconds * 1000);
    return 0;
}

// Prints the text of the message box with this caption and presses its button.
int answerMessageBox(const char* caption) {
    HWND box = FindWindowA("#32770", caption);
    if (box == nullptr) {
        say("box=none");
        return 1;
    }
    // NOTE: a message box's text is the static control with id 0xFFFF.
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    for (char* c = text; *c != '\0'; ++c) {
        if (*c == '\n' || *c == '\r') {
            *c = '|';
        }
    }
    say("text=%s", text);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return 0;
}

// Says which settings the application manifest (resource 1 of type 24) makes.
void listManifest(HMODULE module) {
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const char* text = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (text == nullptr) {
        say("manifest=0");
        return;
    }
    const std::string manifest(text, SizeofResource(module, resource));
    auto holds = [&manifest](const char* part) {
        return manifest.find(part) != std::string::npos ? 1 : 0;
    };
    say("manifest=1");
    say("dpiAware=%d", holds("<dpiAware") && holds(">true</dpiAware>"));
    say("commonControls6=%d",
        holds("Microsoft.Windows.Common-Controls") && holds("version=\"6.0.0.0\""));
    say("executionLevel=%d", holds("<requestedExecutionLevel"));
    say("windows8=%d", holds("4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38"));
}

// Says what the version information shows in the file's properties.
void listVersion(const char* path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    std::string block(size, '\0');
    if (size == 0 || !GetFileVersionInfoA(path, 0, size, &block[0])) {
        say("version=0");
        return;
    }
    for (const char* name : {"FileDescription", "ProductName", "ProductVersion"}) {
        const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
        char* value = nullptr;
        UINT length = 0;
        if (VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value),
                           &length) &&
            value != nullptr) {
            say("%s=%s", name, value);
        }
    }
}

// Lists what the saver file holds: the description string and the resources the system and
// the dialogs look for.
int listResources(const char* path) {
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        say("loaded=0");
        return 1;
    }
    char description[256] = {};
    LoadStringA(module, 1, description, sizeof description);
    say("string1=%s", description);
    auto has = [module](int id, LPCSTR type) {
        return FindResourceA(module, MAKEINTRESOURCEA(id), type) != nullptr ? 1 : 0;
    };
    say("icon100=%d", has(100, RT_GROUP_ICON));
    say("dialogs=%d,%d,%d", has(2003, RT_DIALOG), has(2004, RT_DIALOG), has(114, RT_DIALOG));
    say("bitmaps=%d,%d,%d,%d", has(123, RT_BITMAP), has(129, RT_BITMAP), has(131, RT_BITMAP),
        has(133, RT_BITMAP));
    listManifest(module);
    FreeLibrary(module);
    listVersion(path);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "preview") == 0) {
        return runPreview(argv[2]);
    }
    if (argc >= 2 && std::strcmp(argv[1], "autoplay") == 0) {
        return askAutoPlay();
    }
    if (argc >= 2 && std::strcmp(argv[1], "running") == 0) {
        return readSaverRunning();
    }
    if (argc >= 2 && std::strcmp(argv[1], "backdrop") == 0) {
        return showBackdrop(argc >= 3 ? static_cast<DWORD>(std::atoi(argv[2])) : 60);
    }
    if (argc >= 2 && std::strcmp(argv[1], "monitors") == 0) {
        return paintMonitors(argc >= 3 ? static_cast<DWORD>(std::atoi(argv[2])) : 60);
    }
    if (argc >= 3 && std::strcmp(argv[1], "answer") == 0) {
        return answerMessageBox(argv[2]);
    }
    if (argc >= 3 && std::strcmp(argv[1], "resources") == 0) {
        return listResources(argv[2]);
    }
    std::fprintf(stderr, "usage: e2e_helper preview SAVER | autoplay | running | backdrop [s] | "
                         "answer CAPTION | resources FILE\n");
    return 2;
}
