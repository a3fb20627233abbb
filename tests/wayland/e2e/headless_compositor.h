// What the Wayland end-to-end tests need beside the program's process: a headless compositor of
// their own (sway, or weston for one without layer shell), its screenshots, a key and its
// outputs changed from outside.
#pragma once

#include "textures/rgb_picture.h"

#include <memory>
#include <string>
#include <vector>

class ProgramRun;

// One output of a headless sway: its name (HEADLESS-1, ...), size, place in the layout and the
// colour its background shows, 0xRRGGBB.
struct HeadlessOutput {
    const char* name;
    int width;
    int height;
    int x;
    unsigned long background;
};

// Starts a headless compositor as an unprivileged user, in a runtime folder of its own made
// fresh for each start, and stops it again, at the latest on destruction. The program and the
// tools run as root beside it, pointed at its socket by clientEnvironment().
class HeadlessCompositor {
public:
    HeadlessCompositor();
    ~HeadlessCompositor();
    HeadlessCompositor(const HeadlessCompositor&) = delete;
    HeadlessCompositor& operator=(const HeadlessCompositor&) = delete;

    // False, with the compositor's log in log(), when its socket is not up within a few seconds.
    // Without wallpapers, sway's bare background shows instead of the outputs' colours.
    bool startSway(const std::vector<HeadlessOutput>& outputs, bool wallpapers = true);
    bool startWeston(int width, int height);
    void stop();

    // WAYLAND_DISPLAY, XDG_RUNTIME_DIR and, under sway, SWAYSOCK; DISPLAY emptied, so that
    // nothing reaches an X server by mistake.
    std::vector<std::string> clientEnvironment() const;
    // Everything the compositor wrote; worth printing when a case fails.
    std::string log() const;

    // The output's pixels as grim takes them (sway), or the whole screen through
    // weston-screenshooter (weston: the name is ignored). False when there is no picture.
    bool screenshot(const std::string& output, RgbPicture& picture) const;
    // A key pressed and released through a virtual keyboard (wtype) that has been there for a
    // moment, as a real keyboard is: clients cannot see a keyboard that comes and goes at once.
    bool typeKey() const;
    // swaymsg with the arguments, as one IPC command; true on its success.
    bool swaymsg(const std::vector<std::string>& arguments) const;

private:
    bool start(const std::vector<std::string>& command, const std::vector<std::string>& variables,
               const std::string& config);

    std::string runtimeFolder_;
    std::string socketName_;
    std::string swaySocket_;
    bool weston_ = false;
    std::unique_ptr<ProgramRun> process_;
};

struct Rgb {
    int red;
    int green;
    int blue;
};

Rgb pixelAt(const RgbPicture& picture, int x, int y);
Rgb rgbOf(unsigned long colour);
// Within the given distance in each channel.
bool near(const Rgb& a, const Rgb& b, int distance = 40);
