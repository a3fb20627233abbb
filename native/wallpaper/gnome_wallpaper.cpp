// Reading GNOME's wallpaper setting through gsettings' printed values.
#include "native/wallpaper/gnome_wallpaper.h"

#include "native/wallpaper/command_output.h"

#include <cstdint>

namespace {

// gsettings answers at once; a hung one (a broken settings back end) must not hold the start.
constexpr int kGsettingsTimeoutMs = 2000;

void appendUtf8(uint32_t code, std::string& text) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The code point of a \u or \U escape's digits, or false when they are not all hexadecimal.
bool unicodeEscape(const std::string& digits, uint32_t& code) {
    code = 0;
    for (const char c : digits) {
        const bool digit =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!digit) {
            return false;
        }
        code = code * 16 + static_cast<uint32_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    }
    return code != 0 && code <= 0x10FFFF;
}

const struct {
    char escape;
    char character;
} kEscapes[] = {{'n', '\n'}, {'t', '\t'}, {'r', '\r'}, {'b', '\b'},
                {'f', '\f'}, {'v', '\v'}, {'a', '\a'}};

bool readString(GnomeSettingReader read, const char* schema, const char* key, std::string& text) {
    std::string printed;
    std::string parsed;
    if (!read(schema, key, printed) || !parseGVariantString(printed, parsed)) {
        return false;
    }
    text = parsed;
    return true;
}

const struct {
    const char* name;
    WallpaperFit fit;
} kPictureOptions[] = {
    {"zoom", WallpaperFit::kZoom},           {"scaled", WallpaperFit::kScaled},
    {"stretched", WallpaperFit::kStretched}, {"centered", WallpaperFit::kCentered},
    {"wallpaper", WallpaperFit::kTiled},     {"spanned", WallpaperFit::kSpanned},
};

} // namespace

bool readGnomeSettingWithGsettings(const std::string& schema, const std::string& key,
                                   std::string& printed) {
    return readCommandOutput({"gsettings", "get", schema, key}, kGsettingsTimeoutMs, printed);
}

bool parseGVariantString(const std::string& printed, std::string& text) {
    size_t end = printed.find_last_not_of(" \t\r\n");
    if (end == std::string::npos || end == 0 || (printed[0] != '\'' && printed[0] != '"') ||
        printed[end] != printed[0]) {
        return false;
    }
    const char quote = printed[0];
    text.clear();
    for (size_t i = 1; i < end; ++i) {
        const char c = printed[i];
        if (c == quote) {
            return false; // the string ended before the last quote
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++i >= end) {
            return false;
        }
        const char e = printed[i];
        if (e == 'u' || e == 'U') {
            const size_t digits = e == 'u' ? 4 : 8;
            uint32_t code = 0;
            if (i + digits >= end || !unicodeEscape(printed.substr(i + 1, digits), code)) {
                return false;
            }
            appendUtf8(code, text);
            i += digits;
            continue;
        }
        char plain = e; // \\, \', \" and any other character stand for themselves
        for (const auto& escape : kEscapes) {
            plain = e == escape.escape ? escape.character : plain;
        }
        text += plain;
    }
    return true;
}

bool readGnomeWallpaper(GnomeSettingReader read, WallpaperSetting& setting, std::string& whyNot) {
    const char* kBackground = "org.gnome.desktop.background";
    whyNot.clear();
    std::string scheme;
    const bool dark = readString(read, "org.gnome.desktop.interface", "color-scheme", scheme) &&
                      scheme == "prefer-dark";
    std::string uri;
    // A GNOME older than its dark wallpaper has no picture-uri-dark: the one picture serves.
    if (!(dark && readString(read, kBackground, "picture-uri-dark", uri) && !uri.empty()) &&
        !readString(read, kBackground, "picture-uri", uri)) {
        return false;
    }
    std::string options = "zoom";
    readString(read, kBackground, "picture-options", options);
    if (options == "none" || uri.empty()) {
        whyNot = "GNOME's wallpaper is turned off (picture-options 'none' or no picture-uri)";
        return false;
    }
    setting.fit = WallpaperFit::kZoom;
    for (const auto& option : kPictureOptions) {
        setting.fit = options == option.name ? option.fit : setting.fit;
    }
    if (!localPathFromUri(uri, setting.path)) {
        whyNot = "GNOME's wallpaper " + uri + " is not a local file";
        return false;
    }
    return true;
}
