// Parsing the render_frames command line.
#include "frame_options.h"

#include "settings/color_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

const char kFrameOptionsUsage[] =
    "usage: render_frames [options]\n"
    "  --source desktop|chomify|sky|white|custom   picture on the surface (white)\n"
    "  --picture FILE       Desktop or Custom picture: PNG, JPEG or binary PPM (a generated\n"
    "                       test picture without it)\n"
    "  --preset 1-4         apply a built-in preset before the options below\n"
    "  --size WxH           window size in pixels (640x480)\n"
    "  --monitors WxH+X+Y,...   monitors, the primary first; the window spans them all\n"
    "  --mesh XxY           grid size (80x60)\n"
    "  --drips N            Maximum Drips\n"
    "  --movement 0|1       Enable Movement\n"
    "  --color 0|1          Enable Color\n"
    "  --min-color RRGGBB   one end of the tints: rrggbb, #rrggbb or 0xrrggbb (000000)\n"
    "  --max-color RRGGBB   the other end (ffffff)\n"
    "  --frame-rate 0|1     Show Frame Rate (0)\n"
    "  --seed N             random seed (1)\n"
    "  --fps F              frames per second of the stepped clock (30)\n"
    "  --frames N           frames to draw (60)\n"
    "  --every N            write every Nth frame and the last as PNG, 0 none (30)\n"
    "  --out DIR            where frame_NNNN.png go, made when missing (.)\n"
    "  --animation FILE     also write every frame to FILE as an animated WebP\n";

namespace {

constexpr int kMaxWindowSide = 4096;

bool parseLong(const char* text, long low, long high, long& value) {
    errno = 0;
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

bool parseInt(const char* text, long low, long high, int& value) {
    long parsed = 0;
    if (!parseLong(text, low, high, parsed)) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

bool parsePair(const char* text, long low, long high, int& first, int& second) {
    const char* x = std::strchr(text, 'x');
    if (!x) {
        return false;
    }
    const std::string left(text, x);
    return parseInt(left.c_str(), low, high, first) && parseInt(x + 1, low, high, second);
}

// "WxH+X+Y" with X and Y optionally negative ("800x600-800+0").
bool parseMonitor(const std::string& text, ScreenRect& rect) {
    const size_t x = text.find('x');
    const size_t offset = text.find_first_of("+-", x == std::string::npos ? 0 : x);
    const size_t second =
        offset == std::string::npos ? offset : text.find_first_of("+-", offset + 1);
    if (x == std::string::npos || second == std::string::npos) {
        return false;
    }
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
    if (!parsePair(text.substr(0, offset).c_str(), 1, kMaxWindowSide, width, height) ||
        !parseInt(text.substr(offset, second - offset).c_str(), -kMaxWindowSide, kMaxWindowSide,
                  left) ||
        !parseInt(text.substr(second).c_str(), -kMaxWindowSide, kMaxWindowSide, top)) {
        return false;
    }
    rect = {left, top, left + width, top + height};
    return true;
}

bool parseMonitors(const std::string& text, MonitorList& list) {
    list = MonitorList();
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        ScreenRect rect{};
        if (list.count == kMaxMonitors || !parseMonitor(text.substr(start, comma - start), rect)) {
            return false;
        }
        addMonitor(list, rect, list.count == 0);
        start = comma + 1;
    }
    // The window spans them all; it is held to the largest --size.
    const ScreenRect screen = virtualScreen(list);
    return screen.right - screen.left <= kMaxWindowSide &&
           screen.bottom - screen.top <= kMaxWindowSide;
}

bool parseSource(const std::string& name, int32_t& source) {
    const char* const names[] = {"desktop", "chomify", "sky", "white", "custom"};
    for (int32_t i = 0; i < 5; ++i) {
        if (name == names[i]) {
            source = i;
            return true;
        }
    }
    return false;
}

bool parseColor(const char* text, std::optional<RgbColor>& color) {
    RgbColor read{};
    if (!parseHexColor(text, read)) {
        return false;
    }
    color = read;
    return true;
}

bool parseOne(const std::string& name, const char* value, FrameOptions& o) {
    int first = 0;
    int second = 0;
    if (name == "--source") {
        return parseSource(value, o.source);
    } else if (name == "--picture") {
        o.picturePath = value;
        return true;
    } else if (name == "--preset") {
        return parseInt(value, 1, 4, o.preset);
    } else if (name == "--size") {
        return parsePair(value, 16, kMaxWindowSide, o.width, o.height);
    } else if (name == "--monitors") {
        return parseMonitors(value, o.monitors);
    } else if (name == "--mesh") {
        if (!parsePair(value, 0, 4096, first, second)) {
            return false;
        }
        o.meshX = static_cast<float>(first);
        o.meshY = static_cast<float>(second);
        return true;
    } else if (name == "--drips") {
        return parseInt(value, 0, 1000, o.drips);
    } else if (name == "--movement") {
        return parseInt(value, 0, 1, o.movement);
    } else if (name == "--color") {
        return parseInt(value, 0, 1, o.color);
    } else if (name == "--min-color") {
        return parseColor(value, o.minColor);
    } else if (name == "--max-color") {
        return parseColor(value, o.maxColor);
    } else if (name == "--frame-rate") {
        return parseInt(value, 0, 1, o.frameRate);
    } else if (name == "--seed") {
        long seed = 0;
        const bool ok = parseLong(value, 0, 4294967295L, seed);
        o.seed = static_cast<uint32_t>(seed);
        return ok;
    } else if (name == "--fps") {
        int fps = 0;
        const bool ok = parseInt(value, 1, 1000, fps);
        o.framesPerSecond = fps;
        return ok;
    } else if (name == "--frames") {
        return parseInt(value, 1, 100000, o.frames);
    } else if (name == "--every") {
        return parseInt(value, 0, 100000, o.every);
    } else if (name == "--out") {
        o.outputDirectory = value;
        return true;
    } else if (name == "--animation") {
        o.animationPath = value;
        return true;
    }
    return false;
}

} // namespace

bool parseFrameOptions(int argc, char** argv, FrameOptions& options, std::string& error) {
    for (int i = 1; i < argc; i += 2) {
        const std::string name = argv[i];
        if (i + 1 >= argc) {
            error = "missing value after " + name;
            return false;
        }
        if (!parseOne(name, argv[i + 1], options)) {
            error = "bad option: " + name + " " + argv[i + 1];
            return false;
        }
    }
    return true;
}
