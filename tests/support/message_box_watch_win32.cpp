// MessageBoxWatch: finds the box by caption, reads its text and icon, and presses OK.
#include "support/message_box_watch_win32.h"

namespace {

constexpr int kAttempts = 500;
constexpr DWORD kAttemptMs = 10;
constexpr int kMessageTextId = 0xFFFF; // a message box's static text has no id of its own

bool showsErrorIcon(HWND box) {
    const HICON errorIcon = LoadIcon(nullptr, IDI_HAND);
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)) == errorIcon) {
            return true;
        }
    }
    return false;
}

} // namespace

MessageBoxWatch::MessageBoxWatch(const char* caption)
    : caption_(caption), ownerThread_(GetCurrentThreadId()) {
    thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
}

MessageBoxWatch::~MessageBoxWatch() {
    wait();
}

void MessageBoxWatch::wait() {
    if (thread_ != nullptr) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
}

DWORD WINAPI MessageBoxWatch::run(void* parameter) {
    auto* watch = static_cast<MessageBoxWatch*>(parameter);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (HWND box = FindWindowA("#32770", watch->caption_.c_str())) {
            char text[600] = {};
            GetDlgItemTextA(box, kMessageTextId, text, sizeof text);
            watch->text = text;
            watch->hasErrorIcon = showsErrorIcon(box);
            watch->found = true;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(kAttemptMs);
    }
    PostThreadMessageA(watch->ownerThread_, WM_QUIT, 0, 0);
    return 1;
}
