// The option table and what reads it: the parser and --help.
#include "native/options/saver_options.h"

#include "settings/color_text.h"
#include "settings/presets.h"
#include "settings/saver_settings.h"
#include "surface/surface_grid.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <type_traits>
#include <vector>

namespace {

// The C++ type of each FieldType, as storeValue writes it.
template <FieldType> struct FieldStorage;
template <> struct FieldStorage<FieldType::kInt32> { using Type = int32_t; };
template <> struct FieldStorage<FieldType::kFloat> { using Type = float; };
template <> struct FieldStorage<FieldType::kColor> { using Type = RgbColor; };
template <> struct FieldStorage<FieldType::kString> { using Type = std::string; };
template <> struct FieldStorage<FieldType::kWindow> { using Type = uint32_t; };

// A row's field, refused at compile time when the row's type is not the field's own: the parser
// stores by offset, so a wrong type would write the wrong bytes.
template <FieldType declared, typename Field>
constexpr OptionField checkedField(bool inSettings, size_t offset) {
    static_assert(std::is_same_v<typename FieldStorage<declared>::Type, Field>,
                  "the row's field type is not the type of its field");
    return {inSettings, static_cast<ptrdiff_t>(offset), declared};
}

// offsetof into HostOptions, which holds strings, needs a standard-layout record.
static_assert(std::is_standard_layout_v<HostOptions>, "HostOptions is read by offset");

#define SETTING(field, type)                                                                       \
    checkedField<FieldType::type, decltype(SaverSettings::field)>(true,                            \
                                                                  offsetof(SaverSettings, field))
#define HOST(field, type)                                                                          \
    checkedField<FieldType::type, decltype(HostOptions::field)>(false, offsetof(HostOptions, field))
#define CHOICES(list) list, static_cast<int>(std::size(list))

constexpr OptionChoice kSources[] = {
    {"desktop", "Desktop", kSourceDesktop},
    {"chomify", "Chomify", kSourceChomify},
    {"sky", "Sky", kSourceSky},
    {"white", "White", kSourceWhite},
    {"custom", "Custom file", kSourceCustom},
};
constexpr OptionChoice kTextureSides[] = {
    {"128", "128", 128}, {"256", "256", 256}, {"512", "512", 512}, {"1024", "1024", 1024}};
constexpr OptionChoice kPresets[] = {{"1", "1", 1}, {"2", "2", 2}, {"3", "3", 3}, {"4", "4", 4}};

// Short names for the rows. A flag given a value always ends the program, whatever its row says.
constexpr OnBadValue kKeep = OnBadValue::kKeepsItsValue;
constexpr OnBadValue kEnd = OnBadValue::kEndsTheProgram;

// The largest whole number a Movement edit of the configuration dialog holds.
constexpr double kMovementMax = 99999;
// No grid holds more vertices than this; a larger one is reduced to fit, so either side may be
// this long while the other is 1.
constexpr double kGridSideMax = kMaxGridVertices;

} // namespace

const SaverOption kSaverOptions[] = {
    {"source", OptionKind::kChoice, kKeep, SETTING(sourceTexture, kInt32), 0, 0, CHOICES(kSources),
     "chomify", Widget::kSelect, "Picture:", "the picture on the water"},
    {"picture", OptionKind::kPath, kKeep, HOST(picturePath, kString), 0, 0, nullptr, 0, "",
     Widget::kFileName, "Custom picture", "the picture file for -source custom: PNG, JPEG or PPM"},
    {"preset", OptionKind::kChoice, kKeep, HOST(preset, kInt32), 0, 0, CHOICES(kPresets), "",
     Widget::kSelect, "Preset", "a built-in preset, applied before the other options"},
    {"random-preset", OptionKind::kFlag, kKeep, SETTING(useRandomPreset, kInt32), 0, 1, nullptr, 0,
     "0", Widget::kCheckBox, "Use random preset", "one of the four presets, picked at each start"},
    {"drips", OptionKind::kWhole, kKeep, SETTING(maxDrips, kInt32), 0, 15, nullptr, 0, "3",
     Widget::kSlider, "Maximum drips", "the most drips alive at once"},
    {"speed", OptionKind::kReal, kKeep, SETTING(speedScaling, kFloat), 0.1, 3, nullptr, 0, "0.8",
     Widget::kSlider, "Speed scaling", "the speed of the waves"},
    {"min-amplitude", OptionKind::kReal, kKeep, SETTING(minAmplitude, kFloat), 0, 30, nullptr, 0,
     "4", Widget::kSlider, "Min amplitude", "the smallest height of a new drip"},
    {"max-amplitude", OptionKind::kReal, kKeep, SETTING(maxAmplitude, kFloat), 0, 30, nullptr, 0,
     "10", Widget::kSlider, "Max amplitude", "the largest height of a new drip"},
    {"grid-x", OptionKind::kWhole, kKeep, SETTING(meshX, kFloat), 1, kGridSideMax, nullptr, 0, "80",
     Widget::kSpinButton, "Grid X", "vertices across the water"},
    {"grid-y", OptionKind::kWhole, kKeep, SETTING(meshY, kFloat), 1, kGridSideMax, nullptr, 0, "60",
     Widget::kSpinButton, "Grid Y", "rows of vertices down the water"},
    {"color", OptionKind::kFlag, kKeep, SETTING(enableColor, kInt32), 0, 1, nullptr, 0, "1",
     Widget::kCheckBox, "No tint", "tint each drip between the two colours"},
    {"min-color", OptionKind::kColor, kKeep, SETTING(minColor, kColor), 0, 0, nullptr, 0, "000000",
     Widget::kColor, "Min color (write red or ff0000)",
     "one end of the tints: ff0000, 0xff0000, #ff0000 or a name like red; #000000 leaves it "
     "as it is"},
    {"max-color", OptionKind::kColor, kKeep, SETTING(maxColor, kColor), 0, 0, nullptr, 0, "ffffff",
     Widget::kColor, "Max color (write red or ff0000)",
     "the other end of the tints; #000000 leaves it as it is"},
    {"movement", OptionKind::kFlag, kKeep, SETTING(enableMovement, kInt32), 0, 1, nullptr, 0, "1",
     Widget::kCheckBox, "Still camera", "sway and zoom the view by the rows below"},
    {"rotate-x-amplitude", OptionKind::kWhole, kKeep, SETTING(rotateXAmplitude, kFloat), 0,
     kMovementMax, nullptr, 0, "0", Widget::kSpinButton, "RotateX amplitude",
     "degrees of the swing about X"},
    {"rotate-x-time", OptionKind::kWhole, kKeep, SETTING(rotateXTime, kFloat), 0, kMovementMax,
     nullptr, 0, "0", Widget::kSpinButton, "RotateX time", "period of that swing; 0 holds it"},
    {"rotate-y-amplitude", OptionKind::kWhole, kKeep, SETTING(rotateYAmplitude, kFloat), 0,
     kMovementMax, nullptr, 0, "0", Widget::kSpinButton, "RotateY amplitude",
     "degrees of the swing about Y"},
    {"rotate-y-time", OptionKind::kWhole, kKeep, SETTING(rotateYTime, kFloat), 0, kMovementMax,
     nullptr, 0, "0", Widget::kSpinButton, "RotateY time", "period of that swing; 0 holds it"},
    {"rotate-z-amplitude", OptionKind::kWhole, kKeep, SETTING(rotateZAmplitude, kFloat), 0,
     kMovementMax, nullptr, 0, "0", Widget::kSpinButton, "RotateZ amplitude",
     "degrees of the swing about Z"},
    {"rotate-z-time", OptionKind::kWhole, kKeep, SETTING(rotateZTime, kFloat), 0, kMovementMax,
     nullptr, 0, "0", Widget::kSpinButton, "RotateZ time", "period of that swing; 0 holds it"},
    {"zoom-amplitude", OptionKind::kWhole, kKeep, SETTING(zoomAmplitude, kFloat), 0, kMovementMax,
     nullptr, 0, "14", Widget::kSpinButton, "Zoom amplitude",
     "the scale sweeps between 10/A and A/10"},
    {"zoom-time", OptionKind::kWhole, kKeep, SETTING(zoomTime, kFloat), 0, kMovementMax, nullptr, 0,
     "0", Widget::kSpinButton, "Zoom time", "period of the sweep; 0 holds A/10"},
    {"frame-rate", OptionKind::kFlag, kKeep, SETTING(showFrameRate, kInt32), 0, 1, nullptr, 0, "0",
     Widget::kCheckBox, "Show frame rate", "show frames per second in a corner"},
    {"smooth", OptionKind::kFlag, kKeep, SETTING(smoothTextureFilter, kInt32), 0, 1, nullptr, 0,
     "1", Widget::kCheckBox, "Blocky texture (nearest pixels)",
     "blend neighbouring pixels of the picture; -no-smooth shows them blocky, the nearest "
     "pixel each"},
    {"texture-width", OptionKind::kChoice, kKeep, SETTING(textureWidth, kInt32), 0, 0,
     CHOICES(kTextureSides), "512", Widget::kSelect, "Texture width",
     "pixels across the picture's texture"},
    {"texture-height", OptionKind::kChoice, kKeep, SETTING(textureHeight, kInt32), 0, 0,
     CHOICES(kTextureSides), "256", Widget::kSelect, "Texture height",
     "pixels down the picture's texture"},
    {"max-fps", OptionKind::kWhole, kKeep, HOST(maxFps, kInt32), 1, 1000, nullptr, 0, "60",
     Widget::kSpinButton, "Frame rate limit", "the most frames a second"},
    {"window-id", OptionKind::kWindow, kEnd, HOST(windowId, kWindow), 0, 0, nullptr, 0, "",
     Widget::kNone, "", "draw into this window (hexadecimal 0x... or decimal)"},
    {"root", OptionKind::kFlag, kKeep, HOST(root, kInt32), 0, 1, nullptr, 0, "0", Widget::kNone, "",
     "draw on the root window"},
    {"fullscreen", OptionKind::kFlag, kKeep, HOST(fullscreen, kInt32), 0, 1, nullptr, 0, "0",
     Widget::kNone, "", "a window of its own covering the screen"},
    {"x11", OptionKind::kFlag, kKeep, HOST(x11, kInt32), 0, 1, nullptr, 0, "0", Widget::kNone, "",
     "draw on the X server even where a Wayland compositor runs"},
    {"wayland", OptionKind::kFlag, kKeep, HOST(wayland, kInt32), 0, 1, nullptr, 0, "0", Widget::kNone, "",
     "draw on the Wayland compositor, covering every output"},
    {"background", OptionKind::kFlag, kKeep, HOST(background, kInt32), 0, 1, nullptr, 0, "0",
     Widget::kNone, "", "on Wayland, under the windows as a wallpaper; only a signal ends it"},
    {"help", OptionKind::kFlag, kKeep, HOST(help, kInt32), 0, 1, nullptr, 0, "0", Widget::kNone, "",
     "print this list and end"},
};

const int kSaverOptionCount = static_cast<int>(sizeof kSaverOptions / sizeof kSaverOptions[0]);

namespace {

// Other names of options: every GL program of a screen-saver daemon takes -fps.
constexpr struct {
    const char* alias;
    const char* name;
} kAliases[] = {{"fps", "frame-rate"}};

const char* aliasOf(const SaverOption& option) {
    for (const auto& a : kAliases) {
        if (std::strcmp(a.name, option.name) == 0) {
            return a.alias;
        }
    }
    return nullptr;
}

} // namespace

const SaverOption* findSaverOption(const std::string& name) {
    for (const auto& a : kAliases) {
        if (name == a.alias) {
            return findSaverOption(a.name);
        }
    }
    for (const SaverOption& option : kSaverOptions) {
        if (name == option.name) {
            return &option;
        }
    }
    return nullptr;
}

bool parseWindowId(const char* text, uint32_t& id) {
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* digits = hex ? text + 2 : text;
    // Digits only: strtoull would also take a sign, spaces, or a second "0x".
    const size_t length = std::strlen(digits);
    if (length == 0 ||
        std::strspn(digits, hex ? "0123456789abcdefABCDEF" : "0123456789") != length) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(digits, &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0' || value == 0 || value > UINT32_MAX) {
        return false;
    }
    id = static_cast<uint32_t>(value);
    return true;
}

std::string formatNumber(double value) {
    char text[32];
    // Enough digits that a whole number up to the grid bound stays whole.
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

namespace {

// A value read and checked, waiting to be stored.
struct OptionValue {
    double number = 0;
    int32_t integer = 0;
    RgbColor color = {};
    std::string text; // a path, or a colour name left to the display
    uint32_t window = 0;
};

bool readNumber(const char* text, bool whole, double low, double high, double& value) {
    if (*text == '\0' || std::isspace(static_cast<unsigned char>(*text))) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    if (whole) {
        const long long parsed = std::strtoll(text, &end, 10);
        value = static_cast<double>(parsed);
    } else {
        value = std::strtod(text, &end);
    }
    return errno == 0 && *end == '\0' && std::isfinite(value) && value >= low && value <= high;
}

std::string choiceList(const SaverOption& option, const char* separator) {
    std::string list;
    for (int i = 0; i < option.choiceCount; ++i) {
        list += std::string(i == 0 ? "" : separator) + option.choices[i].name;
    }
    return list;
}

// What a bad value of the option should have been, for the error line.
std::string expectation(const SaverOption& option) {
    switch (option.kind) {
    case OptionKind::kWhole:
        return "a whole number from " + formatNumber(option.low) + " to " +
               formatNumber(option.high);
    case OptionKind::kReal:
        return "a number from " + formatNumber(option.low) + " to " + formatNumber(option.high);
    case OptionKind::kChoice:
        return "one of " + choiceList(option, ", ");
    case OptionKind::kColor:
        return "a colour: #rrggbb, rrggbb, 0xrrggbb or an X colour name";
    case OptionKind::kPath:
        return "a file name";
    case OptionKind::kWindow:
        return "a window id, 0x... or decimal";
    case OptionKind::kFlag:
        break;
    }
    return "no value";
}

bool readValue(const SaverOption& option, const char* text, OptionValue& value) {
    switch (option.kind) {
    case OptionKind::kWhole:
    case OptionKind::kReal:
        if (!readNumber(text, option.kind == OptionKind::kWhole, option.low, option.high,
                        value.number)) {
            return false;
        }
        value.integer = static_cast<int32_t>(value.number);
        return true;
    case OptionKind::kChoice:
        for (int i = 0; i < option.choiceCount; ++i) {
            if (std::strcmp(text, option.choices[i].name) == 0) {
                value.integer = option.choices[i].value;
                return true;
            }
        }
        return false;
    case OptionKind::kColor:
        // Anything but hexadecimal waits for the display, which knows the colour names.
        if (!parseHexColor(text, value.color)) {
            value.text = text;
        }
        return *text != '\0';
    case OptionKind::kPath:
        value.text = text;
        return !value.text.empty();
    case OptionKind::kWindow:
        return parseWindowId(text, value.window);
    case OptionKind::kFlag:
        break;
    }
    return false;
}

void storeValue(const SaverOption& option, const OptionValue& value, HostOptions& host) {
    char* base = option.field.inSettings ? reinterpret_cast<char*>(&saverSettings)
                                         : reinterpret_cast<char*>(&host);
    char* field = base + option.field.offset;
    switch (option.field.type) {
    case FieldType::kInt32:
        std::memcpy(field, &value.integer, sizeof value.integer);
        break;
    case FieldType::kFloat: {
        const float number = static_cast<float>(value.number);
        std::memcpy(field, &number, sizeof number);
        break;
    }
    case FieldType::kColor:
        std::memcpy(field, &value.color, sizeof value.color);
        break;
    case FieldType::kString:
        *reinterpret_cast<std::string*>(field) = value.text;
        break;
    case FieldType::kWindow:
        std::memcpy(field, &value.window, sizeof value.window);
        break;
    }
}

struct PendingOption {
    const SaverOption* option; // null for a stray word
    std::string written;       // the option as the line wrote it, without any "=value"
    OptionValue value;
    bool keep = false;   // the value is left out: the setting keeps its value
    std::string ignored; // the line saying why; empty where nothing needs saying
};

constexpr const char* kKeepingItsValue = "; keeping its value";
constexpr const char* kIgnoringIt = "; ignoring it";

// NOTE: Xfce's colour button writes black before it is ever touched, and its dialog writes every
// control's value after any change; so black in that one form changes nothing.
constexpr const char* kUntouchedColorButton = "#000000";

// An option word split up: "--no-color" is color, negated; "-drips=5" is drips, with its value
// after equals. option is null for a word that names no option.
struct OptionWord {
    const SaverOption* option = nullptr;
    bool negated = false;
    size_t dashes = 0;
    size_t equals = std::string::npos;
    std::string written;
};

OptionWord readOptionWord(const std::string& word) {
    OptionWord w;
    while (w.dashes < 2 && w.dashes < word.size() && word[w.dashes] == '-') {
        ++w.dashes;
    }
    w.equals = word.find('=', w.dashes);
    w.written = word.substr(0, w.equals);
    const std::string name = w.written.substr(w.dashes);
    if (w.dashes == 0) {
        return w;
    }
    w.option = findSaverOption(name);
    if (!w.option && name.compare(0, 3, "no-") == 0) {
        const SaverOption* flag = findSaverOption(name.substr(3));
        if (flag && flag->kind == OptionKind::kFlag) {
            w.option = flag;
            w.negated = true;
        }
    }
    return w;
}

// For a value the line cannot use: true, with the option marked as left out, where the program
// goes on without it; false, with error kept, where it cannot.
bool leaveOutValue(const SaverOption& option, PendingOption& pending, std::string& error) {
    if (option.onBadValue != OnBadValue::kKeepsItsValue) {
        return false;
    }
    pending.keep = true;
    pending.ignored = error + kKeepingItsValue;
    error.clear();
    return true;
}

// A colour option last on a line most likely lost its value to a shell, which drops a word
// that begins with "#" and everything after it.
std::string missingValueHint(const SaverOption& option) {
    return option.kind == OptionKind::kColor
               ? " (a shell drops everything from # on: write ff0000 or red)"
               : "";
}

// NOTE: XScreenSaver's dialog puts double quotes around a typed value that holds "#" or a space,
// and the settings file's single quotes around a colour keep them; they are not the colour's.
std::string withoutDoubleQuotes(const std::string& text) {
    const bool quoted = text.size() >= 2 && text.front() == '"' && text.back() == '"';
    return quoted ? text.substr(1, text.size() - 2) : text;
}

// Reads one option starting at argv[index], its value either after "=" or the next word;
// moves index past its value.
bool readOption(int argc, const char* const* argv, int& index, PendingOption& pending,
                std::string& error) {
    const std::string word = argv[index];
    const OptionWord w = readOptionWord(word);
    if (w.dashes == 0) {
        // Most likely the rest of a file name with a space, which a daemon did not quote.
        pending.option = nullptr;
        pending.keep = true;
        pending.ignored =
            word + ": not an option (a file name with a space needs quotes)" + kIgnoringIt;
        return true;
    }
    if (!w.option) {
        error = "unknown option " + word + " (mereflow --help lists them)";
        return false;
    }
    const SaverOption& option = *w.option;
    pending.option = w.option;
    pending.written = w.written;
    if (option.kind == OptionKind::kFlag) {
        if (w.equals != std::string::npos) {
            error = word + ": " + w.written + " takes no value";
            return false;
        }
        pending.value.integer = w.negated ? 0 : 1;
        return true;
    }
    // A word that names an option is never a value: the value went missing before it.
    if (w.equals == std::string::npos &&
        (index + 1 >= argc || readOptionWord(argv[index + 1]).option != nullptr)) {
        error = w.written + " needs a value: " + expectation(option) + missingValueHint(option);
        return leaveOutValue(option, pending, error);
    }
    std::string text = w.equals != std::string::npos ? word.substr(w.equals + 1) : argv[++index];
    if (option.kind == OptionKind::kColor) {
        text = withoutDoubleQuotes(text);
        if (text == kUntouchedColorButton) {
            pending.keep = true;
            return true;
        }
    }
    if (!readValue(option, text.c_str(), pending.value)) {
        error = w.written + " " + text + ": expected " + expectation(option);
        return leaveOutValue(option, pending, error);
    }
    return true;
}

// Stores a value, or for a colour name keeps it for the display, in place of any earlier value
// of the same option.
void storeOrKeep(const PendingOption& p, HostOptions& host) {
    std::vector<ColorName>& names = host.colorNames;
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&](const ColorName& n) { return n.option == p.option; }),
                names.end());
    if (p.option->kind == OptionKind::kColor && !p.value.text.empty()) {
        names.push_back({p.option, p.written, p.value.text});
    } else {
        storeValue(*p.option, p.value, host);
    }
}

} // namespace

bool parseSaverOptions(int argc, const char* const* argv, HostOptions& host, std::string& error) {
    applyDefaults();
    saverSettings.customPicturePath[0] = '\0';
    // No display mode switching here: the mode fields stay 0.
    saverSettings.displayWidth = saverSettings.displayHeight = saverSettings.displayDepth = 0;
    host = HostOptions();

    std::vector<PendingOption> pending;
    for (int i = 1; i < argc; ++i) {
        PendingOption next{};
        if (!readOption(argc, argv, i, next, error)) {
            return false;
        }
        pending.push_back(next);
    }
    for (const PendingOption& p : pending) {
        if (!p.keep && std::strcmp(p.option->name, "preset") == 0) {
            storeValue(*p.option, p.value, host);
        }
    }
    if (host.preset != 0) {
        applyPreset(kPresetButtonFirst + host.preset - 1);
    }
    for (const PendingOption& p : pending) {
        if (!p.keep) {
            storeOrKeep(p, host);
        } else if (!p.ignored.empty()) {
            host.ignoredValues.push_back(p.ignored);
        }
    }
    return true;
}

void resolveColorNames(HostOptions& host, const ColorLookup& lookup) {
    for (const ColorName& n : host.colorNames) {
        uint8_t rgb[3] = {};
        if (!lookup(n.name, rgb)) {
            host.ignoredValues.push_back(n.written + " " + n.name + ": expected " +
                                         expectation(*n.option) + kKeepingItsValue);
            continue;
        }
        OptionValue value;
        value.color = colorFromBytes(rgb[0], rgb[1], rgb[2]);
        storeValue(*n.option, value, host);
    }
    host.colorNames.clear();
}

std::vector<OptionHelp> saverOptionHelpRows() {
    std::vector<OptionHelp> rows;
    for (const SaverOption& option : kSaverOptions) {
        std::string usage = std::string("-") + option.name;
        switch (option.kind) {
        case OptionKind::kWhole:
        case OptionKind::kReal:
            usage += " N";
            break;
        case OptionKind::kChoice:
            usage += " " + choiceList(option, "|");
            break;
        case OptionKind::kColor:
            usage += " COLOUR";
            break;
        case OptionKind::kPath:
            usage += " FILE";
            break;
        case OptionKind::kWindow:
            usage += " ID";
            break;
        case OptionKind::kFlag:
            if (std::strcmp(option.defaultText, "1") == 0) {
                usage += ", -no-" + std::string(option.name);
            }
            if (aliasOf(option)) {
                usage += std::string(", -") + aliasOf(option);
            }
            break;
        }
        std::string meaning = option.help;
        if (option.kind == OptionKind::kWhole || option.kind == OptionKind::kReal) {
            meaning += " (" + formatNumber(option.low) + " to " + formatNumber(option.high) + ")";
        }
        if (option.kind != OptionKind::kFlag && option.defaultText[0] != '\0') {
            meaning += std::string(", default ") + option.defaultText;
        } else if (option.kind == OptionKind::kFlag && option.field.inSettings) {
            meaning +=
                std::strcmp(option.defaultText, "1") == 0 ? ", on by default" : ", off by default";
        }
        rows.push_back({usage, meaning});
    }
    return rows;
}

std::string saverOptionsHelp() {
    std::string text =
        "usage: mereflow [options]   (one dash or two; -name value or -name=value)\n";
    for (const OptionHelp& row : saverOptionHelpRows()) {
        constexpr size_t kColumn = 32;
        std::string left = "  " + row.usage;
        if (left.size() >= kColumn) {
            text += left + "\n";
            left.clear();
        }
        left.resize(kColumn, ' ');
        text += left + row.meaning + "\n";
    }
    return text;
}
