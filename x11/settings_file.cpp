// Writing mereflow.xml from the option table and the dialog's layout.
#include "x11/settings_file.h"

#include "x11/saver_options.h"

#include <cassert>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// What a layout row is: an option's control, or the start or end of a group.
enum class Place { kControl, kHgroup, kVgroup, kEnd };

struct LayoutRow {
    Place place;
    const char* name;      // the option of a control; a column's heading, as a comment
    const char* lowLabel;  // a slider's words at its left end
    const char* highLabel; // and at its right
};

constexpr Place kControl = Place::kControl;
constexpr LayoutRow kEnd = {Place::kEnd, nullptr, nullptr, nullptr};

// The dialog shows an <hgroup> side by side and a <vgroup> stacked: the presets on top, then
// three columns after the Windows dialog's groups, so that the dialog fits a 768-line screen.
constexpr LayoutRow kLayout[] = {
    {Place::kHgroup, nullptr, nullptr, nullptr},
    {kControl, "preset", nullptr, nullptr},
    {kControl, "random-preset", nullptr, nullptr},
    kEnd,
    {Place::kHgroup, nullptr, nullptr, nullptr},
    {Place::kVgroup, "Drip Properties", nullptr, nullptr},
    {kControl, "drips", "None", "Many"},
    {kControl, "min-amplitude", "Flat", "High"},
    {kControl, "max-amplitude", "Flat", "High"},
    {kControl, "speed", "Slow", "Fast"},
    {kControl, "grid-x", nullptr, nullptr},
    {kControl, "grid-y", nullptr, nullptr},
    {kControl, "frame-rate", nullptr, nullptr},
    {kControl, "max-fps", nullptr, nullptr},
    kEnd,
    {Place::kVgroup, "Texturing and Color", nullptr, nullptr},
    {kControl, "source", nullptr, nullptr},
    {kControl, "picture", nullptr, nullptr},
    {kControl, "texture-width", nullptr, nullptr},
    {kControl, "texture-height", nullptr, nullptr},
    {kControl, "smooth", nullptr, nullptr},
    {kControl, "color", nullptr, nullptr},
    {kControl, "min-color", nullptr, nullptr},
    {kControl, "max-color", nullptr, nullptr},
    kEnd,
    {Place::kVgroup, "Movement", nullptr, nullptr},
    {kControl, "movement", nullptr, nullptr},
    {kControl, "rotate-x-amplitude", nullptr, nullptr},
    {kControl, "rotate-x-time", nullptr, nullptr},
    {kControl, "rotate-y-amplitude", nullptr, nullptr},
    {kControl, "rotate-y-time", nullptr, nullptr},
    {kControl, "rotate-z-amplitude", nullptr, nullptr},
    {kControl, "rotate-z-time", nullptr, nullptr},
    {kControl, "zoom-amplitude", nullptr, nullptr},
    {kControl, "zoom-time", nullptr, nullptr},
    kEnd,
    kEnd,
};

std::string attribute(const char* name, const std::string& value) {
    return std::string(" ") + name + "=\"" + value + "\"";
}

// A slider moves in whole numbers unless one of its numbers carries a decimal point.
std::string numberText(const SaverOption& option, double value) {
    std::string text = formatNumber(value);
    if (option.kind == OptionKind::kReal && text.find_first_of(".e") == std::string::npos) {
        text += ".0";
    }
    return text;
}

std::string numberElement(const SaverOption& option, const LayoutRow& row) {
    const bool slider = option.widget == Widget::kSlider;
    std::string text = "<number" + attribute("id", option.name) +
                       attribute("type", slider ? "slider" : "spinbutton") +
                       attribute("arg", std::string("-") + option.name + " %") +
                       attribute("_label", option.label);
    if (slider) {
        text += attribute("_low-label", row.lowLabel ? row.lowLabel : "") +
                attribute("_high-label", row.highLabel ? row.highLabel : "");
    }
    return text + attribute("low", numberText(option, option.low)) +
           attribute("high", numberText(option, option.high)) +
           attribute("default", numberText(option, std::strtod(option.defaultText, nullptr))) +
           "/>";
}

// A list shows only the chosen entry, so each entry's label says what it chooses.
std::string selectElement(const SaverOption& option, const std::string& indent) {
    std::string text = "<select" + attribute("id", option.name) + ">\n";
    if (option.defaultText[0] == '\0') {
        std::string none = std::string("No ") + option.label;
        none[3] = static_cast<char>(std::tolower(static_cast<unsigned char>(none[3])));
        text += indent + "  <option" + attribute("id", std::string("no-") + option.name) +
                attribute("_label", none) + "/>\n";
    }
    for (int i = 0; i < option.choiceCount; ++i) {
        const OptionChoice& choice = option.choices[i];
        const bool isDefault = std::strcmp(choice.name, option.defaultText) == 0;
        text +=
            indent + "  <option" + attribute("id", std::string(option.name) + "-" + choice.name) +
            attribute("_label", std::string(option.label) + " " + choice.label) +
            (isDefault ? std::string()
                       : attribute("arg-set", std::string("-") + option.name + " " + choice.name)) +
            "/>\n";
    }
    return text + indent + "</select>";
}

std::string element(const SaverOption& option, const LayoutRow& row, const std::string& indent) {
    const std::string id = attribute("id", option.name);
    const std::string label = attribute("_label", option.label);
    const std::string arg = attribute("arg", std::string("-") + option.name + " %");
    switch (option.widget) {
    case Widget::kSlider:
    case Widget::kSpinButton:
        return numberElement(option, row);
    case Widget::kCheckBox: {
        const bool on = std::strcmp(option.defaultText, "1") == 0;
        return "<boolean" + id + label +
               (on ? attribute("arg-unset", std::string("-no-") + option.name)
                   : attribute("arg-set", std::string("-") + option.name)) +
               "/>";
    }
    case Widget::kSelect:
        return selectElement(option, indent);
    case Widget::kFileName:
        return "<file" + id + label + arg + "/>";
    case Widget::kText:
        return "<string" + id + label + arg + "/>";
    case Widget::kNone:
        break;
    }
    return "";
}

std::string layoutXml() {
    std::string xml;
    std::vector<const char*> open; // the groups' element names, innermost last
    for (const LayoutRow& row : kLayout) {
        const std::string indent(2 + 2 * open.size(), ' ');
        switch (row.place) {
        case Place::kHgroup:
        case Place::kVgroup:
            if (row.name) {
                xml += indent + "<!-- " + row.name + " -->\n";
            }
            open.push_back(row.place == Place::kVgroup ? "vgroup" : "hgroup");
            xml += indent + "<" + open.back() + ">\n";
            break;
        case Place::kEnd:
            assert(!open.empty() && "every group's end follows its start");
            xml += indent.substr(2) + "</" + open.back() + ">\n";
            open.pop_back();
            break;
        case Place::kControl:
            if (const SaverOption* option = findSaverOption(row.name)) {
                xml += indent + element(*option, row, indent) + "\n";
            }
            break;
        }
    }
    return xml;
}

} // namespace

std::string settingsFileXml() {
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n\n"
           "<screensaver name=\"mereflow\" _label=\"3D Mereflow\">\n\n"
           "  <command arg=\"-root\"/>\n\n" +
           layoutXml() +
           "\n  <_description>\n"
           "The desktop, or a picture, turns into rippling water: drips fall on a fine grid\n"
           "that covers the screen, and every frame each height and tint is recomputed as the\n"
           "sum of the ripples of the living drips.\n"
           "  </_description>\n"
           "</screensaver>\n";
}
