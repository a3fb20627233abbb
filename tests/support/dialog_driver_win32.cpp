// Test helpers that open, answer, read and photograph the real dialogs.
#include <windows.h>

#include "support/dialog_driver_win32.h"
#include "support/picture_writers_win32.h"
#include "support/settings_key.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kPollMs = 30;
constexpr DWORD kGiveUpMs = 5000;

struct PendingScript {
    std::string caption;
    std::function<void(HWND)> script;
    UINT_PTR timer = 0;
    DWORD startedAt = 0;
};

// The one script waiting for its window; tests run on one thread, one script at a time.
PendingScript pending;

struct WindowSearch {
    std::string caption;
    HWND found;
};

BOOL CALLBACK findCaption(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    if (search->caption == text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK cancelWindow(HWND window, LPARAM) {
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK pollForWindow(HWND, UINT, UINT_PTR, DWORD) {
    WindowSearch search = {pending.caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), findCaption, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
        KillTimer(nullptr, pending.timer);
        std::function<void(HWND)> script = std::move(pending.script);
        pending = PendingScript();
        script(search.found);
        return;
    }
    if (GetTickCount() - pending.startedAt > kGiveUpMs) {
        KillTimer(nullptr, pending.timer);
        ADD_FAILURE() << "no window \"" << pending.caption << "\" appeared";
        pending = PendingScript();
        EnumThreadWindows(GetCurrentThreadId(), cancelWindow, 0);
    }
}

} // namespace

void clearSettingsStore() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTestSettingsKey);
}

int storedValueCount() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return 0;
    }
    DWORD count = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return static_cast<int>(count);
}

int64_t storedDword(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return -1;
    }
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG result =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_DWORD ? static_cast<int64_t>(value) : -1;
}

HWND openModelessDialog(int templateId, DLGPROC procedure) {
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                                     nullptr, procedure, 0);
    if (dialog != nullptr) {
        ShowWindow(dialog, SW_SHOW);
        pumpMessages(50);
    }
    return dialog;
}

void pumpMessages(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

void whenDialogOpens(const char* caption, std::function<void(HWND)> script) {
    pending.caption = caption;
    pending.script = std::move(script);
    pending.startedAt = GetTickCount();
    pending.timer = SetTimer(nullptr, 0, kPollMs, pollForWindow);
}

INT_PTR runModalDialog(int templateId, DLGPROC procedure, const char* caption,
                       std::function<void(HWND)> script) {
    whenDialogOpens(caption, std::move(script));
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr,
                           procedure, 0);
}

void clickControl(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    char className[32] = {};
    GetClassNameA(control, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0) {
        SendMessageA(control, BM_CLICK, 0, 0);
        return;
    }
    // A notifying static answers a press and release of the left button.
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

namespace {

constexpr int kInputSettleMs = 100;

void pumpDialogMessages(HWND dialog, int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageA(dialog, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

} // namespace

void pressKey(HWND dialog, WORD key) {
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    pumpDialogMessages(dialog, kInputSettleMs);
}

void clickWithMouse(HWND dialog, int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    pumpDialogMessages(dialog, kInputSettleMs);
    INPUT input[2] = {};
    input[0].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1] = input[0];
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
    pumpDialogMessages(dialog, kInputSettleMs);
}

std::string controlText(HWND dialog, int id) {
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::vector<std::string> comboEntries(HWND dialog, int id) {
    std::vector<std::string> entries;
    const LRESULT count = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendDlgItemMessageA(dialog, id, CB_GETLBTEXTLEN, i, 0);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(length));
        entries.push_back(text);
    }
    return entries;
}

std::string selectedEntryText(HWND dialog, int id) {
    const LRESULT selected = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    if (selected < 0) {
        return "(none)";
    }
    return comboEntries(dialog, id).at(static_cast<size_t>(selected));
}

void chooseComboEntry(HWND dialog, int id, int entry, int notification) {
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, entry, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, notification),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

COLORREF Screenshot::pixel(int x, int y) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return RGB(p[0], p[1], p[2]);
}

Screenshot captureWindow(HWND window) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    pumpMessages(300);
    RECT rect;
    GetWindowRect(window, &rect);
    Screenshot shot;
    shot.width = rect.right - rect.left;
    shot.height = rect.bottom - rect.top;

    // NOTE: Wine's desktop window DC reads what its windows show; the bare X root reads black.
    HDC screen = GetWindowDC(GetDesktopWindow());
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const auto* bgrx = static_cast<const uint8_t*>(bits);
    shot.rgb.resize(static_cast<size_t>(shot.width) * shot.height * 3);
    for (size_t i = 0; i < static_cast<size_t>(shot.width) * shot.height; ++i) {
        shot.rgb[i * 3] = bgrx[i * 4 + 2];
        shot.rgb[i * 3 + 1] = bgrx[i * 4 + 1];
        shot.rgb[i * 3 + 2] = bgrx[i * 4];
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(GetDesktopWindow(), screen);
    return shot;
}

bool saveScreenshot(const Screenshot& shot, const std::string& name) {
    CreateDirectoryA("screenshots", nullptr);
    const auto pixel = [&shot](int x, int y) { return shot.pixel(x, y); };
    return picture_writers::writeFile("screenshots/" + name + ".bmp",
                                      picture_writers::makeBmp(shot.width, shot.height, pixel));
}

RECT controlRectInWindow(HWND window, int id) {
    RECT windowRect;
    RECT rect = {};
    GetWindowRect(window, &windowRect);
    GetWindowRect(GetDlgItem(window, id), &rect);
    OffsetRect(&rect, -windowRect.left, -windowRect.top);
    return rect;
}
