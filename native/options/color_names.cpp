// A short table of X's colour names: the ones a user types without looking them up.
#include "native/options/color_names.h"

#include <cctype>
#include <cstring>

namespace {

struct NamedColor {
    const char* name; // lower case, no spaces
    uint8_t rgb[3];
};

// X's values, which differ from the web's for some (green is 00ff00, gray is bebebe).
constexpr NamedColor kCommonColors[] = {
    {"black", {0, 0, 0}},           {"white", {255, 255, 255}},     {"red", {255, 0, 0}},
    {"green", {0, 255, 0}},         {"blue", {0, 0, 255}},          {"yellow", {255, 255, 0}},
    {"cyan", {0, 255, 255}},        {"magenta", {255, 0, 255}},     {"gray", {190, 190, 190}},
    {"grey", {190, 190, 190}},      {"darkgray", {169, 169, 169}},  {"darkgrey", {169, 169, 169}},
    {"lightgray", {211, 211, 211}}, {"lightgrey", {211, 211, 211}}, {"orange", {255, 165, 0}},
    {"purple", {160, 32, 240}},     {"brown", {165, 42, 42}},       {"pink", {255, 192, 203}},
    {"navy", {0, 0, 128}},          {"gold", {255, 215, 0}},        {"violet", {238, 130, 238}},
};

} // namespace

bool lookUpCommonColor(const std::string& name, uint8_t rgb[3]) {
    std::string key;
    for (const char c : name) {
        if (c != ' ') {
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    for (const NamedColor& color : kCommonColors) {
        if (key == color.name) {
            std::memcpy(rgb, color.rgb, 3);
            return true;
        }
    }
    return false;
}
