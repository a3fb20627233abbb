// Reading Plasma's desktop containments' wallpaper from its INI-like appletsrc.
#include "native/wallpaper/kde_wallpaper.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

namespace {

constexpr const char* kAppletsFile = "/plasma-org.kde.plasma.desktop-appletsrc";
// A larger file is no settings file: it is not read, so a line without end cannot fill memory.
constexpr uintmax_t kMaxAppletsBytes = 16 << 20;

struct Containment {
    std::string image;
    int fillMode = 2;
    int lastScreen = -1;
};

// KConfig writes \s for a leading space, \\ for a backslash, and \t, \n, \r.
std::string unescapeValue(const std::string& value) {
    std::string text;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const char e = value[++i];
        text += e == 's' ? ' ' : e == 't' ? '\t' : e == 'n' ? '\n' : e == 'r' ? '\r' : e;
    }
    return text;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    const size_t last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// The containment number a group heading names, and whether it is the containment's own group
// ([Containments][N]) or its image wallpaper's ([Containments][N][Wallpaper][org.kde.image]
// [General]); false for any other group.
bool containmentGroup(const std::string& heading, int& number, bool& wallpaper) {
    const std::string start = "[Containments][";
    if (heading.compare(0, start.size(), start) != 0) {
        return false;
    }
    const size_t close = heading.find(']', start.size());
    const std::string digits = heading.substr(start.size(), close - start.size());
    if (close == std::string::npos || digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    number = std::atoi(digits.c_str());
    const std::string rest = heading.substr(close + 1);
    wallpaper = rest == "[Wallpaper][org.kde.image][General]";
    return rest.empty() || wallpaper;
}

int numberOr(const std::string& text, int fallback) {
    return !text.empty() && text.size() < 9 &&
                   text.find_first_not_of("-0123456789") == std::string::npos
               ? std::atoi(text.c_str())
               : fallback;
}

std::map<int, Containment> readContainments(std::ifstream& file) {
    std::map<int, Containment> containments;
    Containment* current = nullptr;
    bool wallpaper = false;
    std::string line;
    while (std::getline(file, line)) {
        line = trimmed(line);
        int number = 0;
        if (!line.empty() && line[0] == '[') {
            current = containmentGroup(line, number, wallpaper) ? &containments[number] : nullptr;
            continue;
        }
        const size_t equals = line.find('=');
        if (!current || equals == std::string::npos) {
            continue;
        }
        const std::string key = trimmed(line.substr(0, equals));
        const std::string value = unescapeValue(trimmed(line.substr(equals + 1)));
        if (!wallpaper && key == "lastScreen") {
            current->lastScreen = numberOr(value, -1);
        } else if (wallpaper && key == "Image") {
            current->image = value;
        } else if (wallpaper && key == "FillMode") {
            current->fillMode = numberOr(value, 2);
        }
    }
    return containments;
}

WallpaperFit fitOfFillMode(int fillMode) {
    switch (fillMode) {
    case 0:
        return WallpaperFit::kStretched;
    case 1:
        return WallpaperFit::kScaled;
    case 3:
        return WallpaperFit::kTiled;
    case 6:
        return WallpaperFit::kCentered;
    default: // 2, and the tiling along one side only (4, 5), which is left as zoom
        return WallpaperFit::kZoom;
    }
}

// The sides a package's picture is named for: "1920x1080".
bool sizeInName(const std::string& stem, int& width, int& height) {
    const size_t x = stem.find('x');
    const std::string sides[2] = {stem.substr(0, x),
                                  x == std::string::npos ? "" : stem.substr(x + 1)};
    for (const std::string& side : sides) {
        if (side.empty() || side.size() > 6 ||
            side.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
    }
    width = std::atoi(sides[0].c_str());
    height = std::atoi(sides[1].c_str());
    return width > 0 && height > 0;
}

// The picture of a wallpaper package: contents/images/WxH.png or .jpg; false when none.
bool packagePicture(const std::string& folder, int wantWidth, int wantHeight, std::string& path) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder + "/contents/images", error);
    uint64_t bestArea = 0;
    bool bestCovers = false;
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::filesystem::path name = entries->path().filename();
        const std::string extension = name.extension().string();
        int width = 0;
        int height = 0;
        if ((extension != ".png" && extension != ".jpg" && extension != ".jpeg") ||
            !sizeInName(name.stem().string(), width, height)) {
            continue;
        }
        const uint64_t area = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
        const bool covers = width >= wantWidth && height >= wantHeight;
        // The smallest that covers the monitor; while none does, the largest.
        const bool better = path.empty() || (covers && !bestCovers) ||
                            (covers && area < bestArea) ||
                            (!covers && !bestCovers && area > bestArea);
        if (better) {
            path = entries->path().string();
            bestArea = area;
            bestCovers = covers;
        }
    }
    return !path.empty();
}

} // namespace

bool readKdeWallpaper(const std::string& configHome, const ScreenShape& screen,
                      WallpaperSetting& setting, std::string& whyNot) {
    whyNot.clear();
    const std::string name = configHome + kAppletsFile;
    std::error_code error;
    if (!std::filesystem::is_regular_file(name, error) ||
        std::filesystem::file_size(name, error) > kMaxAppletsBytes) {
        return false;
    }
    std::ifstream file(name);
    const std::map<int, Containment> containments = readContainments(file);
    const Containment* chosen = nullptr;
    for (const auto& [number, containment] : containments) {
        if (!containment.image.empty() &&
            (!chosen || (containment.lastScreen == 0 && chosen->lastScreen != 0))) {
            chosen = &containment;
        }
    }
    if (!chosen) {
        return false;
    }
    std::string path;
    if (!localPathFromUri(chosen->image, path)) {
        whyNot = "KDE's wallpaper " + chosen->image + " is not a local file";
        return false;
    }
    if (std::filesystem::is_directory(path, error)) {
        const ScreenRect primary = screen.monitors.count > 0
                                       ? screen.monitors.monitors[0]
                                       : ScreenRect{0, 0, screen.width, screen.height};
        std::string picture;
        if (!packagePicture(path, primary.right - primary.left, primary.bottom - primary.top,
                            picture)) {
            whyNot = "KDE's wallpaper package " + path + " holds no contents/images/WxH picture";
            return false;
        }
        path = picture;
    }
    setting.path = path;
    setting.fit = fitOfFillMode(chosen->fillMode);
    return true;
}
