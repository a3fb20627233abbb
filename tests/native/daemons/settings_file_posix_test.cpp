#include "native/daemons/settings_file.h"

#include "settings/presets.h"
#include "settings/saver_settings.h"
#include "native/options/saver_options.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <set>
#include <string>
#include <vector>

namespace {

// The words of a line as Xfce's daemon (g_shell_parse_argv) splits it: quotes removed, and an
// unquoted "#" starting a comment to the end of the line.
std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> list;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (const char c : text) {
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            } else {
                word += c;
            }
        } else if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == '#') {
            break;
        } else if (c != ' ') {
            word += c;
            inWord = true;
        } else if (inWord) {
            list.push_back(word);
            word.clear();
            inWord = false;
        }
    }
    if (inWord) {
        list.push_back(word);
    }
    return list;
}

// An element's arg with a value in place of "%".
std::string filled(const std::string& arg, const std::string& value) {
    const size_t mark = arg.find('%');
    return mark == std::string::npos ? arg : arg.substr(0, mark) + value + arg.substr(mark + 1);
}

// What a line leaves behind: the settings record and the program's own options.
struct Record {
    SaverSettings settings;
    HostOptions host;
};

Record parsed(const std::vector<std::string>& arguments) {
    std::vector<const char*> argv = {"mereflow"};
    for (const std::string& a : arguments) {
        argv.push_back(a.c_str());
    }
    Record record{};
    std::string error;
    EXPECT_TRUE(parseSaverOptions(static_cast<int>(argv.size()), argv.data(), record.host, error))
        << error;
    record.settings = saverSettings;
    return record;
}

// The record as bytes, the field of `except` left out.
std::string bytes(const Record& r, const SaverOption* except = nullptr) {
    std::string settings(reinterpret_cast<const char*>(&r.settings), sizeof r.settings);
    std::string host(reinterpret_cast<const char*>(&r.host), offsetof(HostOptions, picturePath));
    std::string path = r.host.picturePath;
    if (except && except->field.type == FieldType::kString) {
        path.clear();
    } else if (except) {
        const size_t size = except->field.type == FieldType::kColor ? sizeof(RgbColor) : 4;
        (except->field.inSettings ? settings : host).replace(except->field.offset, size, size, '-');
    }
    return settings + host + path + std::to_string(r.host.colorNames.size()) +
           std::to_string(r.host.ignoredValues.size());
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

// The tags of the file (<name ...>, <name .../>, </name>), comments and the declaration left out.
std::vector<std::string> tags(const std::string& xml) {
    std::vector<std::string> list;
    for (size_t start = xml.find('<'); start != std::string::npos;
         start = xml.find('<', start + 1)) {
        const size_t end = xml.find('>', start);
        if (xml[start + 1] != '!' && xml[start + 1] != '?') {
            list.push_back(xml.substr(start, end + 1 - start));
        }
    }
    return list;
}

std::string tagName(const std::string& tag) {
    return tag.substr(1, tag.find_first_of(" />", 1) - 1);
}

// A control of the file: the words its default state puts on the line, and those of each of its
// other states. A <string> or <file> starts empty, which is its default; filled, it is another.
// Xfce's dialog shows a colour <string> as a colour button, black until it is touched, and writes
// "#RRGGBB"; XScreenSaver's writes what is typed, double-quoted when it holds "#".
struct Control {
    std::string id;
    std::vector<std::string> byDefault;
    std::vector<std::vector<std::string>> others;
};

std::vector<Control> controls(const std::string& xml) {
    std::vector<Control> list;
    for (const std::string& tag : tags(xml)) {
        const std::string name = tagName(tag);
        const std::string arg = attributeOf(tag, "arg");
        if (name == "select" || name == "number" || name == "boolean" || name == "file" ||
            name == "string") {
            list.push_back({attributeOf(tag, "id"), {}, {}});
        } else if (list.empty()) {
            continue;
        }
        Control& control = list.back();
        if (name == "option" || name == "boolean") {
            for (const char* state : {"arg-set", "arg-unset"}) {
                if (!attributeOf(tag, state).empty()) {
                    control.others.push_back(words(attributeOf(tag, state)));
                }
            }
        } else if (name == "number") {
            const std::string byDefault = attributeOf(tag, "default");
            control.byDefault = words(filled(arg, byDefault));
            for (const char* end : {"low", "high"}) {
                if (attributeOf(tag, end) != byDefault) {
                    control.others.push_back(words(filled(arg, attributeOf(tag, end))));
                }
            }
        } else if (name == "file") {
            control.others.push_back(words(filled(arg, "/tmp/p.ppm")));
        } else if (name == "string") {
            control.byDefault = words(filled(arg, "#000000"));
            for (const char* value : {"#FF8000", "ff0000", "\"#ff8000\""}) {
                control.others.push_back(words(filled(arg, value)));
            }
        }
    }
    return list;
}

// The option a control sets, from the first word it writes: "-picture %" is picture's,
// "-no-color" color's.
const SaverOption* optionOf(const Control& control) {
    const std::string name = control.others.at(0).at(0).substr(1);
    const SaverOption* option = findSaverOption(name);
    return option || name.compare(0, 3, "no-") != 0 ? option : findSaverOption(name.substr(3));
}

// Every other state of a control is accepted, and changes its own control's field and nothing
// else; a preset, by its nature, also the fields the preset sets.
TEST(SettingsFile, EveryArgumentItCanWriteIsAcceptedAndChangesItsFieldAlone) {
    const std::string xml = settingsFileXml();
    EXPECT_NE(xml.find("<screensaver name=\"mereflow\" _label=\"3D Mereflow\">"),
              std::string::npos);
    std::set<std::string> ids;
    std::set<std::string> names;
    for (const Control& control : controls(xml)) {
        EXPECT_TRUE(ids.insert(control.id).second) << control.id << " twice";
        const SaverOption* option = optionOf(control);
        ASSERT_NE(option, nullptr) << control.id;
        names.insert(option->name);
        for (const auto& arguments : control.others) {
            SCOPED_TRACE(arguments[0] + (arguments.size() > 1 ? " " + arguments[1] : ""));
            Record before = parsed({});
            if (control.id == "preset") {
                applyPreset(kPresetButtonFirst + std::stoi(arguments[1]) - 1);
                before.settings = saverSettings;
            }
            const Record after = parsed(arguments);
            EXPECT_NE(bytes(after), bytes(before));
            EXPECT_EQ(bytes(after, option), bytes(before, option));
        }
    }
    for (int i = 0; i < kSaverOptionCount; ++i) { // every option the dialog sets is in the file
        EXPECT_EQ(names.count(kSaverOptions[i].name) == 1, kSaverOptions[i].widget != Widget::kNone)
            << kSaverOptions[i].name;
    }
}

TEST(SettingsFile, ItsDefaultsAreTheSettingsDefaults) {
    std::vector<std::string> arguments;
    const std::string none = bytes(parsed({}));
    for (const Control& control : controls(settingsFileXml())) {
        EXPECT_EQ(bytes(parsed(control.byDefault)), none) << control.id;
        arguments.insert(arguments.end(), control.byDefault.begin(), control.byDefault.end());
    }
    EXPECT_EQ(bytes(parsed(arguments)), none);
}

// The dialog's format: the group limits, words at the ends of every slider, decimal points on
// real-valued sliders, and arguments within the format's characters.
TEST(SettingsFile, FitsTheDialogsFormat) {
    std::vector<std::pair<std::string, size_t>> open; // each open element and its children
    size_t columns = 0;
    for (const std::string& tag : tags(settingsFileXml())) {
        if (tag[1] == '/') {
            const size_t limit = open.back().first == "vgroup"   ? 9
                                 : open.back().first == "hgroup" ? 4
                                                                 : 30;
            EXPECT_LE(open.back().second, limit) << tag;
            columns += open.back().first == "vgroup" ? 1 : 0;
            open.pop_back();
            continue;
        }
        if (!open.empty()) {
            ++open.back().second;
        }
        if (tag[tag.size() - 2] != '/') {
            open.push_back({tagName(tag), 0});
        }
        EXPECT_TRUE(attributeOf(tag, "type") != "slider" ||
                    (attributeOf(tag, "_low-label") != "" && attributeOf(tag, "_high-label") != ""))
            << tag;
        const SaverOption* option = findSaverOption(attributeOf(tag, "id"));
        for (const char* number : {"low", "high", "default"}) {
            EXPECT_TRUE(tagName(tag) != "number" || option->kind != OptionKind::kReal ||
                        attributeOf(tag, number).find('.') != std::string::npos)
                << tag;
        }
        // Xfce's dialog passes arg-unset when its box is ticked, and gives a file chooser only
        // to the element whose id is "file".
        EXPECT_EQ(attributeOf(tag, "arg-unset"), "") << tag;
        EXPECT_TRUE(tagName(tag) != "file" || attributeOf(tag, "id") == "file") << tag;
        // ... and a checkbox to a <string> of no type it knows.
        EXPECT_TRUE(tagName(tag) != "string" || attributeOf(tag, "type") == "color") << tag;
        for (const char* arg : {"arg", "arg-set"}) {
            // Letters, digits, underscores and the format's few marks; no std::regex, on which
            // the sanitizer build's compiler warns.
            const std::string value = attributeOf(tag, arg);
            EXPECT_EQ(value.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                              "0123456789_-.,;:+$#%?/ '"),
                      std::string::npos)
                << tag;
        }
    }
    EXPECT_TRUE(open.empty());
    EXPECT_EQ(columns, 3u);
}

} // namespace
