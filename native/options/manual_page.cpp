// Writing mereflow.6 from the option table, through the same rows as --help.
#include "native/options/manual_page.h"

#include "native/options/saver_options.h"

#include <cctype>
#include <cstdio>
#include <sstream>
#include <vector>

namespace {

// Text as roff reads it: backslashes escaped, a dash that starts a word (an option) as a minus
// sign, anything beyond ASCII as a named code point, and no line read as a request.
std::string roff(const std::string& text) {
    std::string out = text.empty() || (text[0] != '.' && text[0] != '\'') ? "" : "\\&";
    bool inOption = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool wordStart = i == 0 || text[i - 1] == ' ' || text[i - 1] == '(';
        inOption = c == '-' ? inOption || wordStart : inOption && c != ' ';
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-' && inOption) {
            out += "\\-";
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            // A UTF-8 sequence: its lead byte says how many bytes follow.
            const int more = c >= 0xf0 ? 3 : c >= 0xe0 ? 2 : 1;
            unsigned long point = c & (0x3f >> more);
            for (int k = 0; k < more && i + 1 < text.size(); ++k) {
                point = (point << 6) | (static_cast<unsigned char>(text[++i]) & 0x3f);
            }
            char name[16];
            std::snprintf(name, sizeof name, "\\[u%04lX]", point);
            out += name;
        }
    }
    return out;
}

// "-name VALUE, -no-name": options in bold, words the user replaces in italics, and the words of
// a list of choices (a|b|c) in bold, as they are typed.
std::string usageLine(const std::string& usage) {
    std::istringstream words(usage);
    std::string line;
    for (std::string word; words >> word;) {
        const bool comma = word.back() == ',';
        if (comma) {
            word.pop_back();
        }
        const char first = word.empty() ? ' ' : word[0];
        const bool placeholder = first == '#' || std::isupper(static_cast<unsigned char>(first));
        std::string styled;
        if (first == '-' || placeholder) {
            styled = (placeholder ? "\\fI" : "\\fB") + roff(word) + "\\fR";
        } else {
            std::istringstream choices(word);
            for (std::string choice; std::getline(choices, choice, '|');) {
                styled += (styled.empty() ? "\\fB" : "|\\fB") + roff(choice) + "\\fR";
            }
        }
        line += (line.empty() ? "" : " ") + styled + (comma ? "," : "");
    }
    return line;
}

// Tagged paragraphs: each tag as given, its text below.
std::string entries(const std::vector<OptionHelp>& rows) {
    std::string text;
    for (const OptionHelp& row : rows) {
        text += ".TP\n" + row.usage + "\n" + roff(row.meaning) + "\n";
    }
    return text;
}

} // namespace

std::string manualPage(const std::string& version) {
    std::vector<OptionHelp> options = saverOptionHelpRows();
    for (OptionHelp& row : options) {
        row.usage = usageLine(row.usage);
    }
    return ".TH MEREFLOW 6 \"\" \"Mereflow " + roff(version) + "\" \"Screen savers\"\n" +
           ".SH NAME\n"
           "mereflow \\- the desktop, or a picture, as rippling water\n"
           ".SH SYNOPSIS\n"
           ".B mereflow\n"
           ".RI [ options ]\n"
           ".SH DESCRIPTION\n"
           ".B mereflow\n"
           "lays a picture on a fine grid that covers the window, and lets drips fall on it:\n"
           "every frame, each height and tint of the grid is recomputed as the sum of the\n"
           "ripples of the living drips.\n"
           "The picture is the desktop as it was before the screen saver started, one of two\n"
           "built\\-in sphere maps (Chomify and Sky), plain white, or a PNG, JPEG or PPM file.\n"
           ".PP\n"
           "It runs on its own, in a window or covering the screen, or as the program of a\n"
           "screen\\-saver daemon such as\n"
           ".BR xscreensaver (1),\n"
           "MATE's and Xfce's screen savers or\n"
           ".BR xsecurelock (1),\n"
           "which hand it a window or ask for the root window, and stop it with SIGTERM.\n"
           "On a window that spans several monitors, each monitor shows the whole water.\n"
           "Its own window ends at a key press or a mouse click, and a full\\-screen one also\n"
           "when the mouse moves; SIGTERM, SIGINT or SIGHUP end it from outside.\n"
           ".PP\n"
           "The Desktop picture is the first of these that can be had: the screenshot that\n"
           "XScreenSaver keeps on the window it hands over; the screen read from the root\n"
           "window, unless it is one single colour (a daemon's blank window over it); the\n"
           "wallpaper that the desktop publishes on the root window (_XROOTPMAP_ID, else\n"
           "ESETROOT_PMAP_ID); the wallpaper file that GNOME's settings (through gsettings)\n"
           "or KDE Plasma's (plasma\\-org.kde.plasma.desktop\\-appletsrc) name, GNOME's first\n"
           "when XDG_CURRENT_DESKTOP names GNOME; run standalone, with no window handed over,\n"
           "the screen of one colour after all; else Chomify, and a line on the standard\n"
           "error says why.\n"
           ".PP\n"
           "A Custom picture that cannot be read (missing, empty, damaged, too large, or no\n"
           "memory for it), or no\n"
           ".B \\-picture\n"
           "at all, gives Chomify, and a line on the standard error names the file and why.\n"
           ".PP\n"
           "A value that a setting cannot take keeps that setting's value, with a line on the\n"
           "standard error, and the water is drawn.\n"
           "So does a missing value: at the end of the line, or before the next option, as\n"
           "the next word is never taken for a value when it names an option.\n"
           "A word without a dash where an option should stand, such as the rest of a file\n"
           "name with a space that was not quoted, is left out with a line.\n"
           "A colour written\n"
           ".B #000000\n"
           "leaves that colour as it is, as Xfce's colour button writes it before it is\n"
           "touched; write\n"
           ".B 000000\n"
           "or\n"
           ".B black\n"
           "for black.\n"
           ".SH WAYLAND\n"
           "Where a Wayland compositor runs (WAYLAND_DISPLAY is set) and no X window is handed\n"
           "over, the water covers every output of the compositor: through the layer\\-shell\n"
           "protocol where the compositor offers it (sway and other wlroots compositors, KDE,\n"
           "Hyprland, COSMIC, niri), as an overlay over every window that takes the keyboard;\n"
           "elsewhere (GNOME, weston) as a full\\-screen window on each output, with a line on\n"
           "the standard error.\n"
           "Each output shows the whole water; an output added later is covered too, and one\n"
           "taken away leaves the others drawing.\n"
           "Any key, any mouse button, or a move of the mouse ends it, as do SIGTERM and SIGINT.\n"
           ".PP\n"
           "The Desktop picture is each output as it was, through the compositor's screen copy\n"
           "(wlroots compositors); else the desktop's wallpaper file; else Chomify, with a line\n"
           "that says why.\n"
           "Colour names are the X server's: on Wayland only the common ones (black, white,\n"
           "red, green, blue, yellow, cyan, magenta, gray, dark gray, light gray, orange,\n"
           "purple, brown, pink, navy, gold, violet) are known, with X's values; any other\n"
           "keeps the colour's value, with a line: write it as\n"
           ".BR rrggbb .\n"
           ".PP\n"
           "With\n"
           ".B \\-background\n"
           "the water lies on the background layer instead: under the windows, taking no input,\n"
           "as an animated wallpaper, or the background of a lock screen that runs wallpaper\n"
           "programs; only SIGTERM or SIGINT ends it.\n"
           "Its Desktop picture is the wallpaper file, never a copy of the windows.\n"
           ".PP\n"
           "An idle daemon starts it, for example\n"
           ".BR swayidle (1):\n"
           ".RS\n"
           ".B \"swayidle \\-w timeout 300 'mereflow \\-source desktop &' resume 'pkill \\-x "
           "mereflow'\"\n"
           ".RE\n"
           "\\-x11 or \\-wayland chooses the host whatever the environment says.\n"
           ".SH OPTIONS\n"
           "Every option may be written with one dash or two, and an option's value after a space\n"
           "or an equals sign:\n"
           ".B \\-drips 5\n"
           "or\n"
           ".BR \\-drips=5 .\n" +
           entries(options) + ".SH ENVIRONMENT\n" +
           entries({{"\\fBXSCREENSAVER_WINDOW\\fR",
                     "The window to draw in, hexadecimal (0x...) or decimal, as a screen-saver "
                     "daemon sets it.\nIt comes before -root; -window-id comes before it.\nWhen "
                     "the daemon keeps its screenshot of the monitor on that window, the Desktop "
                     "picture is that screenshot."},
                    {"\\fBXDG_CONFIG_HOME\\fR", "Where KDE Plasma's settings are found "
                                                "(~/.config when unset)."},
                    {"\\fBXDG_CURRENT_DESKTOP\\fR",
                     "GNOME's wallpaper setting comes before Plasma's when it names GNOME."},
                    {"\\fBDISPLAY\\fR", "The X display to draw on."},
                    {"\\fBWAYLAND_DISPLAY\\fR",
                     "The Wayland compositor to draw on: when set, the program draws there "
                     "unless an X window is handed over or -x11 is given."},
                    {"\\fBHOME\\fR", "Where ~/.xscreensaver is found."}}) +
           ".SH EXIT STATUS\n" +
           entries(
               {{"\\fB0\\fR", "It was ended by a key, a click, the mouse or a stop signal, "
                              "its window went away, or -help printed the options."},
                {"\\fB1\\fR", "It failed to run: no display or compositor, no OpenGL, an X or "
                              "protocol error, or no memory.\nOne line on the standard error "
                              "says why."},
                {"\\fB2\\fR", "An option it does not know, a flag given a value, or a "
                              "window id (-window-id or XSCREENSAVER_WINDOW) it cannot read, or\n"
                              "hosts that cannot go together (-wayland with an X window, "
                              "-background on X11).\n"
                              "One line on the standard error says which."}}) +
           ".SH FILES\n"
           ".TP\n"
           ".I ~/.xscreensaver\n"
           "The daemon's preferences.\n"
           "A line\n"
           ".B \"grabDesktopImages: False\"\n"
           "(or off, no or 0) forbids showing the desktop:\n"
           ".B \\-source desktop\n"
           "then shows Chomify and says so on the standard error.\n"
           "The daemon runs this program from a line of its\n"
           ".B programs:\n"
           "list, such as\n"
           ".RS\n"
           ".B \"GL: mereflow \\-root\"\n"
           ".RE\n"
           ".SH SEE ALSO\n"
           ".BR xscreensaver (1),\n"
           ".BR xscreensaver\\-settings (1)\n";
}
