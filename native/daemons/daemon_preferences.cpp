// Reading the daemon's preferences file: "name: value" lines.
#include "native/daemons/daemon_preferences.h"

#include <cctype>
#include <fstream>
#include <string>

namespace {

std::string lowerTrimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    const size_t last = text.find_last_not_of(" \t\r");
    std::string value = first == std::string::npos ? "" : text.substr(first, last - first + 1);
    for (char& c : value) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return value;
}

} // namespace

bool grabDesktopImagesIn(std::istream& preferences) {
    static const std::string kName = "grabDesktopImages:";
    bool grab = true;
    std::string line;
    while (std::getline(preferences, line)) {
        if (line.compare(0, kName.size(), kName) == 0) {
            const std::string value = lowerTrimmed(line.substr(kName.size()));
            // The daemon's own booleans: 1, yes, on and true, or 0, no, off and false.
            grab = value != "false" && value != "off" && value != "no" && value != "0";
        }
    }
    return grab;
}

bool grabDesktopImages(const char* home) {
    if (!home || home[0] == '\0') {
        return true;
    }
    std::ifstream preferences(std::string(home) + "/.xscreensaver");
    return !preferences || grabDesktopImagesIn(preferences);
}
