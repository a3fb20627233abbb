// Writing mereflow.xml from the option table and the dialog's layout.
#include "native/daemons/settings_file.h"

#include "native/options/saver_options.h"

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

constexpr LayoutRow control(const char* option, const char* low = nullptr,
                            const char* high = nullptr) {
    return {Place::kControl, option, low, high};
}
constexpr LayoutRow kHgroup = {Place::kHgroup, nullptr, nullptr, nullptr};
constexpr LayoutRow vgroup(const char* heading) {
    return {Place::kVgroup, heading, nullptr, nullptr};
}
constexpr LayoutRow kEnd = {Place::kEnd, nullptr, nullptr, nullptr};

// The dialog shows an <hgroup> side by side and a <vgroup> stacked: the presets on top, then
// three columns after the Windows dialog's groups: ten rows tall rather than one row a control.
constexpr LayoutRow kLayout[] = {
    kHgroup,
    control("preset"),
    control("random-preset"),
    kEnd,
    kHgroup,
    vgroup("Drip Properties"),
    control("drips", "None", "Many"),
    control("min-amplitude", "Flat", "High"),
    control("max-amplitude", "Flat", "High"),
    control("speed", "Slow", "Fast"),
    control("grid-x"),
    control("grid-y"),
    control("frame-rate"),
    control("max-fps"),
    kEnd,
    vgroup("Texturing and Color"),
    control("source"),
    control("picture"),
    control("texture-width"),
    control("texture-height"),
    control("smooth"),
    control("color"),
    control("min-color"),
    control("max-color"),
    kEnd,
    vgroup("Movement"),
    control("movement"),
    control("rotate-x-amplitude"),
    control("rotate-x-time"),
    control("rotate-y-amplitude"),
    control("rotate-y-time"),
    control("rotate-z-amplitude"),
    control("rotate-z-time"),
    control("zoom-amplitude"),
    control("zoom-time"),
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
        // NOTE: Xfce's dialog shows every checkbox unticked at first and passes arg-set when it
        // is ticked, whatever arg-unset says; so each one is off by default and, for a flag on
        // by default, ticking it turns the flag off.
        const bool on = std::strcmp(option.defaultText, "1") == 0;
        return "<boolean" + id + label +
               attribute("arg-set", std::string(on ? "-no-" : "-") + option.name) + "/>";
    }
    case Widget::kSelect:
        return selectElement(option, indent);
    case Widget::kFileName:
        // NOTE: Xfce's dialog gives a file chooser only to the element whose id is "file".
        return "<file" + attribute("id", "file") + label + arg + "/>";
    case Widget::kColor:
        // NOTE: Xfce's dialog gives a colour button to an element of type "color", and writes the
        // colour as #RRGGBB into arg; XScreenSaver's dialog reads no type on a <string> and shows
        // a text field. The quotes keep the "#" from starting a comment, which Xfce's daemon
        // (g_shell_parse_argv) and a shell would drop with the rest of the line; XScreenSaver's
        // dialog reads the value back from between them.
        return "<string" + id + label + attribute("type", "color") +
               attribute("arg", std::string("-") + option.name + " '%'") + "/>";
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
