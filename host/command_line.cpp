// Reading the command text that selects the saver's mode.
#include "host/command_line.h"

namespace {

// Character codes compare as unsigned bytes, so bytes of 128 and above count as printable.
unsigned code(const char* text) {
    return static_cast<unsigned char>(*text);
}

constexpr unsigned kSpace = 32;

const char* stepOne(const char* text) {
    return *text != '\0' ? text + 1 : text;
}

const char* skipSpaces(const char* text) {
    while (*text == ' ') {
        ++text;
    }
    return text;
}

// A handle that names no window (or none at all) gives way to the foreground window.
WindowNumber ownerOrForeground(WindowNumber window, const WindowChecks& checks) {
    if (window == 0 || !checks.isWindow(window)) {
        return checks.foregroundWindow();
    }
    return window;
}

HostCommand readPreview(const char* afterLetter, const WindowChecks& checks) {
    const WindowNumber parent = ParseWindowHandle(skipSpaces(afterLetter));
    if (parent != 0 && checks.isWindow(parent)) {
        return {HostMode::Preview, parent};
    }
    return {HostMode::Invalid, 0};
}

// Only "c:1234" names the owner; in "c 1234" the number is not read.
HostCommand readConfigure(const char* afterLetter, const WindowChecks& checks) {
    const WindowNumber owner = *afterLetter == ':' ? ParseWindowHandle(afterLetter + 1) : 0;
    return {HostMode::Configure, ownerOrForeground(owner, checks)};
}

HostCommand readChangePassword(const char* afterLetter, bool onWin9x, const WindowChecks& checks) {
    if (!onWin9x) {
        return {HostMode::Invalid, 0};
    }
    const WindowNumber owner = ParseWindowHandle(skipSpaces(afterLetter));
    return {HostMode::ChangePassword, ownerOrForeground(owner, checks)};
}

} // namespace

const char* skipProgramName(const char* commandLine, NextCharFn nextChar) {
    if (nextChar == nullptr) {
        nextChar = stepOne;
    }
    const char* text = commandLine;
    if (*text == '"') {
        text = nextChar(text);
        while (*text != '\0' && *text != '"') {
            text = nextChar(text);
        }
        if (*text == '"') {
            text = nextChar(text);
        }
    } else {
        while (code(text) > kSpace) {
            text = nextChar(text);
        }
    }
    while (*text != '\0' && code(text) <= kSpace) {
        text = nextChar(text);
    }
    return text;
}

WindowNumber ParseWindowHandle(const char* text) {
    WindowNumber value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10u + static_cast<WindowNumber>(*text - '0');
    }
    return value;
}

HostCommand readHostCommand(const char* arguments, bool onWin9x, const WindowChecks& checks) {
    const char* text = arguments;
    while (*text == ' ' || *text == '-' || *text == '/') {
        ++text;
    }
    switch (*text) {
    case '\0':
        return {HostMode::Configure, 0};
    case 's':
    case 'S':
        return {HostMode::Saver, 0};
    case 'p':
    case 'P':
    case 'l':
    case 'L':
        return readPreview(text + 1, checks);
    case 'c':
    case 'C':
        return readConfigure(text + 1, checks);
    case 'a':
    case 'A':
        return readChangePassword(text + 1, onWin9x, checks);
    default:
        return {HostMode::Invalid, 0};
    }
}
