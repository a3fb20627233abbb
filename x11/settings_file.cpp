// Writing mereflow.xml from the option table.
#include "x11/settings_file.h"

#include "x11/saver_options.h"

#include <cstdio>
#include <cstring>

namespace {

std::string attribute(const char* name, const std::string& value) {
    return std::string(" ") + name + "=\"" + value + "\"";
}

std::string element(const SaverOption& option) {
    const std::string id = attribute("id", option.name);
    const std::string label = attribute("_label", option.label);
    const std::string arg = attribute("arg", std::string("-") + option.name + " %");
    switch (option.widget) {
    case Widget::kSlider:
    case Widget::kSpinButton: {
        const char* type = option.widget == Widget::kSlider ? "slider" : "spinbutton";
        return "<number" + id + attribute("type", type) + arg + label +
               attribute("low", formatNumber(option.low)) + attribute("high", formatNumber(option.high)) +
               attribute("default", option.defaultText) + "/>";
    }
    case Widget::kCheckBox: {
        const bool on = std::strcmp(option.defaultText, "1") == 0;
        return "<boolean" + id + label +
               (on ? attribute("arg-unset", std::string("-no-") + option.name)
                   : attribute("arg-set", std::string("-") + option.name)) +
               "/>";
    }
    case Widget::kSelect: {
        std::string text = "<select" + id + ">\n";
        if (option.defaultText[0] == '\0') {
            text += "    <option id=\"none\" _label=\"None\"/>\n";
        }
        for (int i = 0; i < option.choiceCount; ++i) {
            const OptionChoice& choice = option.choices[i];
            const std::string choiceId = attribute("id", std::string(option.name) + "-" +
                                                              choice.name);
            const bool isDefault = std::strcmp(choice.name, option.defaultText) == 0;
            text += "    <option" + choiceId + attribute("_label", choice.label) +
                    (isDefault ? std::string()
                               : attribute("arg-set", std::string("-") + option.name + " " +
                                                          choice.name)) +
                    "/>\n";
        }
        return text + "  </select>";
    }
    case Widget::kFileName:
        return "<file" + id + label + arg + "/>";
    case Widget::kText:
        return "<string" + id + label + arg + "/>";
    case Widget::kNone:
        break;
    }
    return "";
}

} // namespace

std::string settingsFileXml() {
    std::string xml = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n\n"
                      "<screensaver name=\"mereflow\" _label=\"3D Mereflow\">\n\n"
                      "  <command arg=\"-root\"/>\n\n";
    for (int i = 0; i < kSaverOptionCount; ++i) {
        if (kSaverOptions[i].widget != Widget::kNone) {
            xml += "  " + element(kSaverOptions[i]) + "\n";
        }
    }
    xml += "\n  <_description>\n"
           "The desktop, or a picture, turns into rippling water: drips fall on a fine grid\n"
           "that covers the screen, and every frame each height and tint is recomputed as the\n"
           "sum of the ripples of the living drips.\n"
           "  </_description>\n"
           "</screensaver>\n";
    return xml;
}
