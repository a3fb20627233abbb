#include "x11/settings_file.h"

#include "settings/presets.h"
#include "settings/saver_settings.h"
#include "x11/saver_options.h"

#include <gtest/gtest.h>

#include <set>
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

// What a line leaves behind: the settings record and the program's own options.
struct Record {
    SaverSettings settings;
    HostOptions host;
};

bool parsed(const std::vector<std::string>& arguments, Record& record, std::string& error) {
    std::vector<const char*> argv = {"mereflow"};
    for (const std::string& a : arguments) {
        argv.push_back(a.c_str());
    }
    const bool ok =
        parseSaverOptions(static_cast<int>(argv.size()), argv.data(), record.host, error);
    record.settings = saverSettings;
    return ok;
}

Record parsed(const std::vector<std::string>& arguments) {
    Record record{};
    std::string error;
    EXPECT_TRUE(parsed(arguments, record, error)) << error;
    return record;
}

// An option's field of the record, as bytes.
std::string fieldBytes(const Record& record, const OptionField& field) {
    const char* base = field.inSettings ? reinterpret_cast<const char*>(&record.settings)
                                        : reinterpret_cast<const char*>(&record.host);
    const char* at = base + field.offset;
    switch (field.type) {
    case FieldType::kString:
        return *reinterpret_cast<const std::string*>(at);
    case FieldType::kColor:
        return std::string(at, sizeof(RgbColor));
    default:
        return std::string(at, 4);
    }
}

// The options whose fields differ between the records; "settings +N" for a byte of the settings
// record that no option owns.
std::set<std::string> differences(const Record& a, const Record& b) {
    std::set<std::string> names;
    std::vector<bool> owned(sizeof(SaverSettings), false);
    for (int i = 0; i < kSaverOptionCount; ++i) {
        const OptionField& field = kSaverOptions[i].field;
        if (fieldBytes(a, field) != fieldBytes(b, field)) {
            names.insert(kSaverOptions[i].name);
        }
        for (size_t k = 0; field.inSettings && k < fieldBytes(a, field).size(); ++k) {
            owned[field.offset + k] = true;
        }
    }
    const char* left = reinterpret_cast<const char*>(&a.settings);
    const char* right = reinterpret_cast<const char*>(&b.settings);
    for (size_t k = 0; k < owned.size(); ++k) {
        if (!owned[k] && left[k] != right[k]) {
            names.insert("settings +" + std::to_string(k));
        }
    }
    if (a.host.colorNames.size() != b.host.colorNames.size()) {
        names.insert("colour names");
    }
    return names;
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
        const std::string filled = arg.substr(0, arg.find('%'));
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
            control.byDefault = words(filled + byDefault);
            for (const char* end : {"low", "high"}) {
                if (attributeOf(tag, end) != byDefault) {
                    control.others.push_back(words(filled + attributeOf(tag, end)));
                }
            }
        } else if (name == "file" || name == "string") {
            control.others.push_back(words(filled + (name == "file" ? "/tmp/p.ppm" : "ff0000")));
        }
    }
    return list;
}

TEST(SettingsFile, EveryArgumentItCanWriteIsAccepted) {
    const std::string xml = settingsFileXml();
    EXPECT_NE(xml.find("<screensaver name=\"mereflow\" _label=\"3D Mereflow\">"),
              std::string::npos);
    std::set<std::string> ids;
    size_t states = 0;
    for (const Control& control : controls(xml)) {
        EXPECT_TRUE(ids.insert(control.id).second) << control.id << " twice";
        for (const auto& arguments : control.others) {
            Record record{};
            std::string error;
            EXPECT_TRUE(parsed(arguments, record, error)) << control.id << ": " << error;
            ++states;
        }
    }
    EXPECT_GT(states, 40u);
    // Every option the dialog can set is in the file.
    for (int i = 0; i < kSaverOptionCount; ++i) {
        EXPECT_EQ(ids.count(kSaverOptions[i].name) == 1, kSaverOptions[i].widget != Widget::kNone)
            << kSaverOptions[i].name;
    }
}

TEST(SettingsFile, ItsDefaultsAreTheSettingsDefaults) {
    std::vector<std::string> arguments;
    const Record none = parsed({});
    for (const Control& control : controls(settingsFileXml())) {
        EXPECT_EQ(differences(parsed(control.byDefault), none), std::set<std::string>())
            << control.id;
        arguments.insert(arguments.end(), control.byDefault.begin(), control.byDefault.end());
    }
    EXPECT_EQ(differences(parsed(arguments), none), std::set<std::string>());
}

// Each other state changes its own control's field and nothing else; a preset, by its nature,
// also every field the preset sets.
TEST(SettingsFile, EachOtherStateChangesItsControlsFieldAlone) {
    for (const Control& control : controls(settingsFileXml())) {
        for (const auto& arguments : control.others) {
            SCOPED_TRACE(arguments[0] + (arguments.size() > 1 ? " " + arguments[1] : ""));
            Record before = parsed({});
            if (control.id == "preset") {
                applyPreset(kPresetButtonFirst + std::stoi(arguments[1]) - 1);
                before.settings = saverSettings;
            }
            const std::set<std::string> changed = differences(parsed(arguments), before);
            EXPECT_EQ(changed, std::set<std::string>({control.id}));
        }
    }
}

// The dialog's format: the group limits, words at the ends of every slider, decimal points on
// real-valued sliders, and arguments within the format's characters.
TEST(SettingsFile, FitsTheDialogsFormat) {
    const std::string xml = settingsFileXml();
    struct Open {
        std::string name;
        size_t children;
    };
    std::vector<Open> open;
    std::vector<size_t> columns;
    for (const std::string& tag : tags(xml)) {
        const std::string name = tagName(tag);
        if (tag[1] == '/') {
            const Open closed = open.back();
            open.pop_back();
            const size_t limit = closed.name == "vgroup" ? 9 : closed.name == "hgroup" ? 4 : 30;
            EXPECT_LE(closed.children, limit) << closed.name;
            if (closed.name == "vgroup") {
                columns.push_back(closed.children);
            }
            continue;
        }
        if (!open.empty()) {
            ++open.back().children;
        }
        if (tag[tag.size() - 2] != '/') {
            open.push_back({name, 0});
        }
        const SaverOption* option = findSaverOption(attributeOf(tag, "id"));
        if (attributeOf(tag, "type") == "slider") {
            EXPECT_NE(attributeOf(tag, "_low-label"), "") << tag;
            EXPECT_NE(attributeOf(tag, "_high-label"), "") << tag;
        }
        if (name == "number" && option && option->kind == OptionKind::kReal) {
            for (const char* number : {"low", "high", "default"}) {
                EXPECT_NE(attributeOf(tag, number).find('.'), std::string::npos) << tag;
            }
        }
        const std::string allowed = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                    "0123456789.,;:+_$#%?/- ";
        for (const char* state : {"arg", "arg-set", "arg-unset"}) {
            EXPECT_EQ(attributeOf(tag, state).find_first_not_of(allowed), std::string::npos) << tag;
        }
    }
    EXPECT_TRUE(open.empty());
    EXPECT_EQ(columns.size(), 3u);
}

} // namespace
