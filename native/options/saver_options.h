// The program's options: one table from which the parser, --help and the settings file come.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What an option's value is, and so how it is read, checked and stored.
enum class OptionKind {
    kWhole,  // a whole number from low to high
    kReal,   // a decimal number from low to high
    kFlag,   // no value: -NAME sets it, -no-NAME clears it
    kChoice, // one of the option's choices
    kColor,  // rrggbb, #rrggbb or 0xrrggbb here; any other text is an X colour name
    kPath,   // a file name of any length
    kWindow, // an X window id, hexadecimal (0x...) or decimal
};

// Where a value goes: a field of the settings record or of the program's own options, of
// int32_t, float, RgbColor, std::string or uint32_t; each row's type is checked at compile time.
enum class FieldType { kInt32, kFloat, kColor, kString, kWindow };

struct OptionField {
    bool inSettings; // SaverSettings, else HostOptions
    ptrdiff_t offset;
    FieldType type;
};

struct OptionChoice {
    const char* name;  // as written on the command line
    const char* label; // as the settings dialog shows it
    int32_t value;
};

// How the daemon's settings dialog shows an option; kNone leaves it out of the file. kColor is a
// text field in XScreenSaver's dialog and a colour button in Xfce's.
enum class Widget { kNone, kSlider, kSpinButton, kCheckBox, kSelect, kFileName, kColor };

// What a value the option cannot use (malformed, out of range or missing) does. A daemon leaves a
// monitor black when its program ends, so only what says where to draw ends the program.
enum class OnBadValue { kKeepsItsValue, kEndsTheProgram };

struct SaverOption {
    const char* name; // without dashes
    OptionKind kind;
    OnBadValue onBadValue;
    OptionField field;
    double low; // kWhole and kReal
    double high;
    const OptionChoice* choices; // kChoice
    int choiceCount;
    const char* defaultText; // the default as the command line writes it; "" for none
    Widget widget;
    // In the settings dialog. A checkbox's says what ticking it does: for a flag on by default,
    // turning it off, as both daemons' dialogs show a checkbox unticked at first.
    const char* label;
    const char* help; // one line of --help
};

// A colour value that only the display can read: an X colour name such as "red".
struct ColorName {
    const SaverOption* option;
    std::string written; // the option as the line wrote it, for the error line
    std::string name;
};

// The program's own options, beside the settings.
struct HostOptions {
    uint32_t windowId = 0; // --window-id, 0 when not given
    int32_t root = 0;
    int32_t fullscreen = 0;
    int32_t x11 = 0;        // --x11: the X11 host, whatever the environment says
    int32_t wayland = 0;    // --wayland: the Wayland host
    int32_t background = 0; // --background: on Wayland, under the windows and deaf to input
    int32_t maxFps = 60;
    int32_t preset = 0; // 1 to 4, applied before the other options; 0 for none
    int32_t help = 0;
    // The Custom picture; unlike the settings record's field, of any length the system allows.
    std::string picturePath;
    std::vector<ColorName> colorNames; // waiting for resolveColorNames
    // One line each (no newline): a value of one of the saver's settings that could not be used,
    // so the setting kept its value, or a stray word of the line that was left out.
    std::vector<std::string> ignoredValues;
};

extern const SaverOption kSaverOptions[];
extern const int kSaverOptionCount;

// The option of that name (no dashes), or of another name of it (fps), or null.
const SaverOption* findSaverOption(const std::string& name);

// Puts the defaults into saverSettings and host, then reads argv[1..argc-1]: the preset first,
// then the other options in their order. A value follows its option as the next word or after
// "=" (-drips=5); a next word that names an option is never a value, so the value is missing.
// A value that is missing, malformed or out of range is left out where the option's onBadValue
// says so, with a line in host.ignoredValues, so that a daemon's line still draws; so is a word
// without a dash where an option should stand (a file name with a space that a daemon did not
// quote). A colour of exactly "#000000" leaves the colour as it is: Xfce's colour button writes it
// when it was never touched. Returns false with one line in error (no newline) on an unknown
// option, a flag given a value, or a bad value of an option that ends the program (the window to
// draw in). Colour names are left in host.colorNames for resolveColorNames.
bool parseSaverOptions(int argc, const char* const* argv, HostOptions& host, std::string& error);

// Looks up a colour name, giving 8-bit channels; false for a name it does not know.
using ColorLookup = std::function<bool(const std::string& name, uint8_t rgb[3])>;

// Stores the colours left as names, each through lookup; a name it does not know leaves its
// colour as it was, with a line in host.ignoredValues.
void resolveColorNames(HostOptions& host, const ColorLookup& lookup);

// Reads a window id as daemons write it: "0x" then hexadecimal digits, or decimal digits. 0 and
// anything past 32 bits are refused.
bool parseWindowId(const char* text, uint32_t& id);

// A number as the help text and the settings file write it.
std::string formatNumber(double value);

// The text of --help.
std::string saverOptionsHelp();

// One option as --help and the manual page list it: how it is written, and what it does.
struct OptionHelp {
    std::string usage;   // "-drips N", "-color, -no-color"
    std::string meaning; // with its range and its default
};
std::vector<OptionHelp> saverOptionHelpRows();
