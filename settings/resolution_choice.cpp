// Mode list texts, the selection on opening and the settings that OK stores.
#include "settings/resolution_choice.h"

#include "settings/dialog_numbers.h"
#include "settings/saver_settings.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr uint32_t kFewestListedBits = 9;

// Reads "%dx%dx%d" into the three fields, stopping at the first part that does not match.
void parseModeText(const std::string& text, int32_t* fields[3]) {
    const char* c = text.c_str();
    for (int i = 0; i < 3; ++i) {
        char* end = nullptr;
        std::strtol(c, &end, 10);
        if (end == c) {
            return;
        }
        *fields[i] = parseLeadingInteger(c);
        if (i < 2 && *end != 'x') {
            return;
        }
        c = end + 1;
    }
}

} // namespace

std::string modeItemText(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    if (bitsPerPixel < kFewestListedBits) {
        return std::string();
    }
    char text[48];
    std::snprintf(text, sizeof text, "%ldx%ldx%ld", static_cast<long>(width),
                  static_cast<long>(height), static_cast<long>(bitsPerPixel));
    return text;
}

int initialModeItem(int32_t width, int32_t height, int32_t depth,
                    const std::vector<std::string>& itemTexts) {
    if (width == 0 || height == 0 || depth == 0) {
        return kCurrentResolutionItem;
    }
    char wanted[48];
    std::snprintf(wanted, sizeof wanted, "%ldx%ldx%ld", static_cast<long>(width),
                  static_cast<long>(height), static_cast<long>(depth));
    int selected = kCustomResolutionItem;
    for (size_t i = kFirstModeItem; i < itemTexts.size(); ++i) {
        if (itemTexts[i] == wanted) {
            selected = static_cast<int>(i);
        }
    }
    return selected;
}

void storeModeChoice(int selectedItem, const std::string& selectedText) {
    SaverSettings& s = saverSettings;
    if (selectedItem == kCurrentResolutionItem) {
        s.displayWidth = 0;
        s.displayHeight = 0;
        s.displayDepth = 0;
    } else if (selectedItem >= kFirstModeItem) {
        int32_t* fields[3] = {&s.displayWidth, &s.displayHeight, &s.displayDepth};
        parseModeText(selectedText, fields);
    }
}
