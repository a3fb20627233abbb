// The headless compositors of the Wayland end-to-end tests, their screenshots and their input.
#include "headless_compositor.h"

#include "imaging/picture_files.h"
#include "program_run.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

// sway refuses to run as root; the compositors run as nobody, whose folder this is.
constexpr uid_t kCompositorUser = 65534;
constexpr double kStartTimeout = 10;
constexpr double kToolTimeout = 10;

const std::vector<std::string> kAsCompositorUser = {"setpriv", "--reuid=65534", "--regid=65534",
                                                    "--clear-groups"};

std::string hexColour(unsigned long colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06lX", colour & 0xFFFFFF);
    return text;
}

// The first entry of the folder whose name starts with prefix, a socket or a file; "" if none.
std::string findEntry(const std::string& folder, const std::string& prefix, bool socket) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0 && std::filesystem::is_socket(entry.status()) == socket) {
            return name;
        }
    }
    return "";
}

bool succeeds(ProgramRun& tool) {
    int status = -1;
    return tool.waitExit(kToolTimeout, status) && status == 0;
}

} // namespace

HeadlessCompositor::HeadlessCompositor() = default;

HeadlessCompositor::~HeadlessCompositor() {
    stop();
}

bool HeadlessCompositor::startSway(const std::vector<HeadlessOutput>& outputs, bool wallpapers) {
    std::string config;
    for (const HeadlessOutput& o : outputs) {
        const std::string name = std::string("output ") + o.name;
        config += name + " mode " + std::to_string(o.width) + "x" + std::to_string(o.height) +
                  " position " + std::to_string(o.x) + " 0\n";
        // sway runs swaybg for it: the desktop the water is to show.
        if (wallpapers) {
            config += name + " bg " + hexColour(o.background) + " solid_color\n";
        }
    }
    weston_ = false;
    return start({"sway", "-c", "CONFIG"},
                 {"WLR_BACKENDS=headless", "WLR_RENDERER=pixman", "WLR_LIBINPUT_NO_DEVICES=1",
                  "WLR_HEADLESS_OUTPUTS=" + std::to_string(outputs.size())},
                 config);
}

bool HeadlessCompositor::startWeston(int width, int height) {
    weston_ = true;
    return start({"weston", "--backend=headless-backend.so", "--use-pixman",
                  "--width=" + std::to_string(width), "--height=" + std::to_string(height),
                  "--socket=wayland-1", "--idle-time=0", "--debug"},
                 {}, "");
}

// The command's CONFIG argument becomes the path of a file holding config, written into the
// runtime folder.
bool HeadlessCompositor::start(const std::vector<std::string>& command,
                               const std::vector<std::string>& variables,
                               const std::string& config) {
    stop();
    char folder[] = "/tmp/mereflow-wayland-XXXXXX"; // made with mode 0700
    if (!mkdtemp(folder) || chown(folder, kCompositorUser, kCompositorUser) != 0) {
        return false;
    }
    runtimeFolder_ = folder;
    std::vector<std::string> argv = kAsCompositorUser;
    for (const std::string& a : command) {
        argv.push_back(a == "CONFIG" ? runtimeFolder_ + "/config" : a);
    }
    if (!config.empty()) {
        std::ofstream(runtimeFolder_ + "/config") << config;
    }
    // Under a desktop session of its own, a compositor would otherwise open a window on it.
    // sway makes its IPC socket where SWAYSOCK says, when it says.
    std::vector<std::string> environment = {
        "XDG_RUNTIME_DIR=" + runtimeFolder_,
        "WAYLAND_DISPLAY=", "DISPLAY=", "SWAYSOCK=" + runtimeFolder_ + "/sway-ipc.sock"};
    environment.insert(environment.end(), variables.begin(), variables.end());
    process_ = std::make_unique<ProgramRun>(Command{argv}, environment);
    const bool up = waitUntil(
        [&] {
            int status = 0;
            if (process_->pid() == 0 || process_->waitExit(0, status)) {
                return true; // it ended: no need to wait any longer
            }
            socketName_ = findEntry(runtimeFolder_, "wayland-", true);
            swaySocket_ = weston_ ? "" : findEntry(runtimeFolder_, "sway-ipc.", true);
            return !socketName_.empty() && (weston_ || !swaySocket_.empty());
        },
        kStartTimeout);
    return up && process_->pid() != 0 && !socketName_.empty();
}

void HeadlessCompositor::stop() {
    if (process_ && process_->pid() != 0) {
        kill(process_->pid(), SIGTERM);
        int status = 0;
        process_->waitExit(kStartTimeout, status); // else killed on destruction
    }
    process_.reset();
    if (!runtimeFolder_.empty()) {
        std::error_code error;
        std::filesystem::remove_all(runtimeFolder_, error);
        runtimeFolder_.clear();
    }
    socketName_.clear();
    swaySocket_.clear();
}

std::vector<std::string> HeadlessCompositor::clientEnvironment() const {
    return {"WAYLAND_DISPLAY=" + socketName_, "XDG_RUNTIME_DIR=" + runtimeFolder_,
            "SWAYSOCK=" + (swaySocket_.empty() ? "" : runtimeFolder_ + "/" + swaySocket_),
            "DISPLAY="};
}

std::string HeadlessCompositor::log() const {
    return process_ ? process_->errorOutput() : "";
}

bool HeadlessCompositor::screenshot(const std::string& output, RgbPicture& picture) const {
    char folder[] = "/tmp/mereflow-shot-XXXXXX";
    if (!mkdtemp(folder)) {
        return false;
    }
    std::string path = std::string(folder) + "/shot.png";
    bool taken = false;
    if (weston_) {
        // weston's screenshooter writes into the folder it runs in, under a name of its own.
        ProgramRun tool(ShellLine{std::string("cd ") + folder + " && exec weston-screenshooter"},
                        clientEnvironment());
        taken = succeeds(tool);
        path = std::string(folder) + "/" + findEntry(folder, "wayland-screenshot", false);
    } else {
        ProgramRun tool(Command{{"grim", "-o", output, path}}, clientEnvironment());
        taken = succeeds(tool);
    }
    std::string error;
    taken = taken && readPng(path, picture, error);
    std::error_code removeError;
    std::filesystem::remove_all(folder, removeError);
    return taken;
}

bool HeadlessCompositor::typeKey() const {
    ProgramRun tool(Command{{"wtype", "-s", "300", "q"}}, clientEnvironment());
    return succeeds(tool);
}

bool HeadlessCompositor::swaymsg(const std::vector<std::string>& arguments) const {
    std::vector<std::string> argv = {"swaymsg"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    ProgramRun tool(Command{argv}, clientEnvironment());
    return succeeds(tool);
}

Rgb pixelAt(const RgbPicture& picture, int x, int y) {
    if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) {
        return {-1000, -1000, -1000}; // near nothing
    }
    const uint8_t* p = &picture.rgb[(static_cast<size_t>(y) * picture.width + x) * 3];
    return {p[0], p[1], p[2]};
}

Rgb rgbOf(unsigned long colour) {
    return {static_cast<int>(colour >> 16 & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
            static_cast<int>(colour & 0xFF)};
}

bool near(const Rgb& a, const Rgb& b, int distance) {
    return std::abs(a.red - b.red) < distance && std::abs(a.green - b.green) < distance &&
           std::abs(a.blue - b.blue) < distance;
}
