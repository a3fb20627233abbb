// Turning a desktop setting's file URI into a path.
#include "native/wallpaper/wallpaper_setting.h"

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool percentDecode(const std::string& text, std::string& decoded) {
    decoded.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? hexDigit(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? hexDigit(text[i + 2]) : -1;
        if (high < 0 || low < 0) {
            return false;
        }
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    // A NUL inside would cut the path short where the system reads it.
    return decoded.find('\0') == std::string::npos;
}

} // namespace

bool localPathFromUri(const std::string& value, std::string& path) {
    if (!value.empty() && value[0] == '/') {
        path = value;
        return true;
    }
    for (const char* prefix : {"file://localhost/", "file:///"}) {
        const std::string start = prefix;
        if (value.compare(0, start.size(), start) == 0) {
            return percentDecode(value.substr(start.size() - 1), path);
        }
    }
    return false;
}
