#include "x11/settings_file.h"

#include "settings/saver_settings.h"
#include "x11/saver_options.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> list;
    for (std::string word; in >> word;) {
        list.push_back(word);
    }
    return list;
}

bool accepted(const std::vector<std::string>& arguments, std::string& error) {
    std::vector<const char*> argv = {"mereflow"};
    for (const std::string& a : arguments) {
        argv.push_back(a.c_str());
    }
    HostOptions host;
    return parseSaverOptions(static_cast<int>(argv.size()), argv.data(), host, error);
}

std::string attributeOf(const std::string& element, const std::string& name) {
    const std::string opening = " " + name + "=\"";
    const size_t start = element.find(opening);
    if (start == std::string::npos) {
        return "";
    }
    const size_t from = start + opening.size();
    return element.substr(from, element.find('"', from) - from);
}

// The empty elements (<name ... />) of the file, each as its whole text.
std::vector<std::string> emptyElements(const std::string& xml) {
    std::vector<std::string> elements;
    for (size_t start = xml.find('<'); start != std::string::npos;
         start = xml.find('<', start + 1)) {
        const size_t end = xml.find('>', start);
        if (end != std::string::npos && xml[end - 1] == '/') {
            elements.push_back(xml.substr(start, end + 1 - start));
        }
    }
    return elements;
}

// Every command line the settings dialog can write, from the file's own elements.
std::vector<std::string> commandLines(const std::string& xml) {
    std::vector<std::string> lines;
    for (const std::string& element : emptyElements(xml)) {
        for (const char* name : {"arg-set", "arg-unset"}) {
            if (!attributeOf(element, name).empty()) {
                lines.push_back(attributeOf(element, name));
            }
        }
        const std::string arg = attributeOf(element, "arg");
        const size_t percent = arg.find('%');
        if (percent == std::string::npos) {
            if (!arg.empty()) {
                lines.push_back(arg);
            }
            continue;
        }
        std::vector<std::string> fills;
        for (const char* name : {"low", "high", "default"}) {
            fills.push_back(attributeOf(element, name));
        }
        const SaverOption* option = findSaverOption(attributeOf(element, "id"));
        if (fills[2].empty() && option) {
            fills = {option->defaultText[0] ? option->defaultText : "/tmp/picture.ppm"};
        }
        for (const std::string& fill : fills) {
            lines.push_back(arg.substr(0, percent) + fill + arg.substr(percent + 1));
        }
    }
    return lines;
}

TEST(SettingsFile, EveryArgumentItCanWriteIsAccepted) {
    const std::string xml = settingsFileXml();
    const std::vector<std::string> lines = commandLines(xml);
    EXPECT_GT(lines.size(), 60u);
    EXPECT_NE(xml.find("<screensaver name=\"mereflow\" _label=\"3D Mereflow\">"),
              std::string::npos);
    for (const std::string& line : lines) {
        std::string error;
        EXPECT_TRUE(accepted(words(line), error)) << line << ": " << error;
    }
}

TEST(SettingsFile, ItsDefaultsAreTheSettingsDefaults) {
    std::vector<std::string> arguments;
    for (const std::string& line : commandLines(settingsFileXml())) {
        // Lines with a default filled in: those of the table's own default text.
        const std::vector<std::string> pair = words(line);
        const SaverOption* option = findSaverOption(pair[0].substr(1));
        if (pair.size() == 2 && option && pair[1] == option->defaultText) {
            arguments.insert(arguments.end(), pair.begin(), pair.end());
        }
    }
    std::string error;
    ASSERT_TRUE(accepted({}, error));
    const SaverSettings defaults = saverSettings;
    ASSERT_TRUE(accepted(arguments, error)) << error;
    EXPECT_EQ(std::memcmp(&defaults, &saverSettings, sizeof defaults), 0);
}

} // namespace
