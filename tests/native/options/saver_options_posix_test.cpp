#include "native/options/saver_options.h"

#include "settings/saver_settings.h"
#include "native/running/display_sleep.h"
#include "native/running/frame_pacer.h"
#include "native/daemons/window_choice.h"
#include "native/layout/surface_scale.h"
#include "native/options/color_names.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool parse(std::vector<std::string> arguments, HostOptions& host, std::string& error) {
    arguments.insert(arguments.begin(), "mereflow");
    std::vector<const char*> argv;
    for (const std::string& a : arguments) {
        argv.push_back(a.c_str());
    }
    return parseSaverOptions(static_cast<int>(argv.size()), argv.data(), host, error);
}

bool parse(const std::vector<std::string>& arguments) {
    HostOptions host;
    std::string error;
    return parse(arguments, host, error);
}

// The number an option's field holds now.
double fieldValue(const SaverOption& option, const HostOptions& host) {
    const char* base = option.field.inSettings ? reinterpret_cast<const char*>(&saverSettings)
                                               : reinterpret_cast<const char*>(&host);
    if (option.field.type == FieldType::kFloat) {
        float value;
        std::memcpy(&value, base + option.field.offset, sizeof value);
        return value;
    }
    int32_t value;
    std::memcpy(&value, base + option.field.offset, sizeof value);
    return value;
}

// A value or word that cannot be used leaves every setting at its default and gives one line.
void expectDefaultKeptWithOneLine(const std::vector<std::string>& arguments,
                                  const std::string& ending = "; keeping its value") {
    parse({});
    const SaverSettings defaults = saverSettings;
    HostOptions host;
    std::string error;
    ASSERT_TRUE(parse(arguments, host, error)) << error;
    EXPECT_EQ(std::memcmp(&saverSettings, &defaults, sizeof defaults), 0);
    EXPECT_EQ(host.maxFps, HostOptions().maxFps);
    EXPECT_EQ(host.preset, 0);
    EXPECT_EQ(host.picturePath, "");
    ASSERT_EQ(host.ignoredValues.size(), 1u);
    const std::string& line = host.ignoredValues[0];
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_TRUE(line.size() > ending.size() &&
                line.compare(line.size() - ending.size(), ending.size(), ending) == 0)
        << line;
}

TEST(SaverOptions, EveryRangeTakesBothEndsAndKeepsTheDefaultJustBeyond) {
    for (int i = 0; i < kSaverOptionCount; ++i) {
        const SaverOption& option = kSaverOptions[i];
        if (option.kind != OptionKind::kWhole && option.kind != OptionKind::kReal) {
            continue;
        }
        SCOPED_TRACE(option.name);
        const double beyond = option.kind == OptionKind::kWhole ? 1 : 0.001;
        const std::string flag = std::string("--") + option.name;
        for (const double end : {option.low, option.high}) {
            HostOptions host;
            std::string error;
            const std::string text = formatNumber(end); // the high end written -name=value
            ASSERT_TRUE(parse(end == option.low ? std::vector<std::string>{flag, text}
                                                : std::vector<std::string>{flag + "=" + text},
                              host, error))
                << error;
            EXPECT_FLOAT_EQ(static_cast<float>(fieldValue(option, host)),
                            static_cast<float>(end));
            EXPECT_TRUE(host.ignoredValues.empty());
        }
        expectDefaultKeptWithOneLine({flag, formatNumber(option.low - beyond)});
        expectDefaultKeptWithOneLine({flag, formatNumber(option.high + beyond)});
    }
}

// A setting's bad or missing value keeps its value, and a stray word is left out, so that a
// daemon's line still draws; what says where to draw, an unknown name or a flag given a value
// ends the program with one line.
TEST(SaverOptions, BadValuesKeepTheirValueAndTheRestGivesOneLine) {
    const std::vector<std::vector<std::string>> kept = {
        {"--drips", "3x"},        {"--drips", " 3"},          {"--drips"},
        {"--grid-x", "1.5"},      {"--speed", "fast"},        {"--speed", "nan"},
        {"--min-color", ""},      {"--drips=16"},             {"-drips="},
        {"--source", "Sky"},      {"--texture-width", "300"}, {"--preset", "5"},
        {"--picture", ""},        {"--rotate-x-time", "-1"},  {"--picture="},
        {"--max-fps", "0"},       {"-speed", "0"},            {"-max-color"},
        {"-drips", "-speed", "0.8"}, {"-min-color", "-max-color", "ffffff"}, {"--drips", "-5"},
    };
    for (const auto& arguments : kept) {
        SCOPED_TRACE(arguments[0]);
        expectDefaultKeptWithOneLine(arguments);
    }
    expectDefaultKeptWithOneLine({"root"}, "; ignoring it");
    const std::vector<std::vector<std::string>> fatal = {
        {"--window-id", "0"}, {"--window-id"},  {"--bogus"},
        {"--no-drips", "3"},  {"---root"},      {"--window-id", "-root"},
        {"-root=1"},          {"--no-color=0"}, {"-fps=1"},
        {"-bogus=1"},
    };
    for (const auto& arguments : fatal) {
        SCOPED_TRACE(arguments[0]);
        HostOptions host;
        std::string error;
        EXPECT_FALSE(parse(arguments, host, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

TEST(SaverOptions, OneDashOrTwoAndNoForFlags) {
    HostOptions host;
    std::string error;
    // A path past the Windows saver's 260 bytes, with "=" and a space in it; a colour whose value
    // went missing, and the stray end of an unquoted path, each left out with a line.
    const std::string path = "/tmp/a=b c" + std::string(300, 'x');
    ASSERT_TRUE(parse({"-drips", "5", "-max-color", "--speed", "2.5", "-no-color", "--no-movement",
                       "-root", "--no-fps", "-frame-rate", "-source=sky", "--picture=" + path,
                       "Pictures/pond.jpg", "-window-id=0x42"},
                      host, error))
        << error;
    EXPECT_EQ(host.ignoredValues.size(), 2u);
    EXPECT_EQ(saverSettings.maxDrips, 5);
    EXPECT_FLOAT_EQ(saverSettings.speedScaling, 2.5f);
    EXPECT_EQ(saverSettings.enableColor, 0);
    EXPECT_EQ(saverSettings.enableMovement, 0);
    EXPECT_EQ(saverSettings.showFrameRate, 1);
    EXPECT_EQ(host.root, 1);
    EXPECT_EQ(saverSettings.sourceTexture, kSourceSky);
    EXPECT_EQ(host.picturePath, path);
    EXPECT_EQ(host.windowId, 0x42u);
}

TEST(SaverOptions, ColoursInHexadecimalNowAndByNameOnceTheDisplayIsOpen) {
    const ColorLookup lookUp = [](const std::string& name, uint8_t rgb[3]) {
        rgb[0] = 255, rgb[1] = 0, rgb[2] = 128;
        return name == "red";
    };
    const std::vector<std::vector<std::string>> lines = {
        {"-min-color", "ff0080"},      {"--min-color=#ff0080"},
        {"-min-color", "0xff0080"},    {"-min-color=0XFf0080"},
        {"-min-color", "#ff0080"},     {"-min-color=blue", "-min-color=red"},
        {"-min-color", "\"#ff0080\""}, {"-min-color", "ff0080", "-min-color", "#000000"},
    };
    for (const auto& line : lines) {
        SCOPED_TRACE(line.back());
        HostOptions host;
        std::string error;
        ASSERT_TRUE(parse(line, host, error)) << error;
        resolveColorNames(host, lookUp);
        EXPECT_TRUE(host.ignoredValues.empty());
        EXPECT_FLOAT_EQ(saverSettings.minColor.red, 1.0f);
        EXPECT_FLOAT_EQ(saverSettings.minColor.green, 0.0f);
        EXPECT_NEAR(saverSettings.minColor.blue, 128 / 255.0, 1e-6);
    }
    const std::string colour = "a colour: #rrggbb, rrggbb, 0xrrggbb or an X colour name";
    HostOptions host;
    std::string error;
    ASSERT_TRUE(parse({"-max-color", "nosuchcolour"}, host, error));
    const RgbColor before = saverSettings.maxColor;
    resolveColorNames(host, lookUp);
    EXPECT_EQ(std::memcmp(&saverSettings.maxColor, &before, sizeof before), 0);
    EXPECT_EQ(host.ignoredValues, std::vector<std::string>{"-max-color nosuchcolour: expected " +
                                                           colour + "; keeping its value"});
    ASSERT_TRUE(parse({"-root", "-max-color"}, host, error));
    EXPECT_EQ(host.ignoredValues,
              std::vector<std::string>{"-max-color needs a value: " + colour +
                                       " (a shell drops everything from # on: write ff0000 or "
                                       "red); keeping its value"});
}

TEST(SaverOptions, PresetComesBeforeTheOtherOptionsWhereverItStands) {
    HostOptions host;
    std::string error;
    ASSERT_TRUE(parse({"--drips", "2", "--preset", "4"}, host, error)) << error;
    EXPECT_EQ(saverSettings.maxDrips, 2);                // the option over the preset's 15
    EXPECT_FLOAT_EQ(saverSettings.meshX, 100);            // the preset's
    EXPECT_EQ(saverSettings.sourceTexture, kSourceDesktop); // the preset's
}

TEST(SaverOptions, WindowIdInHexadecimalOrDecimal) {
    const struct {
        const char* text;
        bool ok;
        uint32_t id;
    } cases[] = {
        {"0x1a00003", true, 0x1a00003}, {"0X1A", true, 26},   {"27262979", true, 27262979},
        {"0x", false, 0},               {"-5", false, 0},     {"12abc", false, 0},
        {"0x100000000", false, 0},      {"0", false, 0},      {"", false, 0},
        {"0x0x5", false, 0},            {"0x+5", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        uint32_t id = 0;
        EXPECT_EQ(parseWindowId(c.text, id), c.ok);
        if (c.ok) {
            EXPECT_EQ(id, c.id);
        }
    }
}

TEST(WindowChoice, WindowIdThenEnvironmentThenRootThenItsOwn) {
    const struct {
        uint32_t windowId;
        const char* environment;
        int32_t root;
        int32_t fullscreen;
        WindowKind kind;
        uint32_t id;
    } cases[] = {
        {0x42, "0x99", 1, 0, WindowKind::kHandedOver, 0x42},
        {0, "0x99", 1, 0, WindowKind::kHandedOver, 0x99},
        {0, "153", 0, 1, WindowKind::kHandedOver, 153},
        {0, "", 1, 0, WindowKind::kRoot, 0},
        {0, nullptr, 1, 1, WindowKind::kRoot, 0},
        {0, nullptr, 0, 1, WindowKind::kFullscreen, 0},
        {0, nullptr, 0, 0, WindowKind::kOwn, 0},
    };
    for (const auto& c : cases) {
        HostOptions host;
        host.windowId = c.windowId;
        host.root = c.root;
        host.fullscreen = c.fullscreen;
        WindowChoice choice{};
        std::string error;
        ASSERT_TRUE(chooseWindow(host, c.environment, choice, error));
        EXPECT_EQ(choice.kind, c.kind);
        EXPECT_EQ(choice.id, c.id);
    }
    WindowChoice choice{};
    std::string error;
    EXPECT_FALSE(chooseWindow(HostOptions(), "window", choice, error));
}

TEST(HostChoice, AnXWindowIsX11sElseTheFlagElseTheCompositorNamed) {
    const struct {
        int32_t x11, wayland, root, background;
        const char* environmentWindow;
        const char* waylandDisplay;
        bool chosen;
        HostKind kind;
    } cases[] = {
        {0, 0, 0, 0, nullptr, "wayland-1", true, HostKind::kWayland},
        {0, 0, 0, 0, nullptr, "", true, HostKind::kX11},
        {0, 0, 0, 0, nullptr, nullptr, true, HostKind::kX11},
        {0, 0, 0, 0, "0x99", "wayland-1", true, HostKind::kX11},
        {0, 0, 1, 0, nullptr, "wayland-1", true, HostKind::kX11},
        {1, 0, 0, 0, nullptr, "wayland-1", true, HostKind::kX11},
        {0, 1, 0, 0, nullptr, nullptr, true, HostKind::kWayland},
        {0, 0, 0, 1, nullptr, "wayland-1", true, HostKind::kWayland},
        {0, 1, 1, 0, nullptr, "wayland-1", false, HostKind::kX11},
        {0, 1, 0, 0, "0x99", "wayland-1", false, HostKind::kX11},
        {1, 1, 0, 0, nullptr, "wayland-1", false, HostKind::kX11},
        {0, 0, 0, 1, nullptr, nullptr, false, HostKind::kX11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        HostOptions host;
        host.x11 = c.x11;
        host.wayland = c.wayland;
        host.root = c.root;
        host.background = c.background;
        HostKind kind = HostKind::kX11;
        std::string error;
        ASSERT_EQ(chooseHost(host, c.environmentWindow, c.waylandDisplay, kind, error), c.chosen);
        EXPECT_EQ(error.empty(), c.chosen);
        if (c.chosen) {
            EXPECT_EQ(kind, c.kind);
        }
    }
}

TEST(CommonColorNames, KnowXsValuesWhateverTheCaseAndSpaces) {
    const struct {
        const char* name;
        bool known;
        uint8_t rgb[3];
    } cases[] = {
        {"red", true, {255, 0, 0}},
        {"Green", true, {0, 255, 0}},
        {"Dark Gray", true, {169, 169, 169}},
        {"rebeccapurple", false, {}},
        {"", false, {}},
    };
    for (const auto& c : cases) {
        uint8_t rgb[3] = {};
        ASSERT_EQ(lookUpCommonColor(c.name, rgb), c.known) << c.name;
        EXPECT_EQ(std::memcmp(rgb, c.rgb, 3), 0) << c.name;
    }
}

TEST(SurfaceBuffer, CommitsTheConfiguredSizeAtAnyScale) {
    const struct {
        int outputScale;
        uint32_t fractional120;
        SurfaceBuffer buffer;
    } cases[] = {
        {1, 0, {800, 600, 1, false}},   {2, 0, {1600, 1200, 2, false}},
        {0, 0, {800, 600, 1, false}},   // a scale never announced
        {2, 180, {1200, 900, 1, true}}, // 1.5: the fractional scale wins
        {1, 150, {1000, 750, 1, true}}, // 1.25
        {1, 121, {807, 605, 1, true}},  // rounded half away from zero
    };
    for (const auto& c : cases) {
        const SurfaceBuffer b = surfaceBuffer(800, 600, c.outputScale, c.fractional120);
        EXPECT_EQ(b.width, c.buffer.width);
        EXPECT_EQ(b.height, c.buffer.height);
        EXPECT_EQ(b.bufferScale, c.buffer.bufferScale);
        EXPECT_EQ(b.viewport, c.buffer.viewport);
    }
}

TEST(FramePacer, HoldsTheGridAndRestartsItWhenFarBehind) {
    FramePacer pacer(50); // 20 ms
    EXPECT_EQ(pacer.waitMs(1000), 0);
    pacer.frameStarted(1000);
    EXPECT_DOUBLE_EQ(pacer.waitMs(1005), 15);
    pacer.frameStarted(1023); // a little late: the next is still due at 1040
    EXPECT_DOUBLE_EQ(pacer.waitMs(1030), 10);
    pacer.frameStarted(1100); // far behind: no hurrying to catch up
    EXPECT_DOUBLE_EQ(pacer.waitMs(1100), 20);
}

TEST(DisplaySleepWatch, PausesWhileAsleepReadsOnceASecondAndResumesOnce) {
    DisplayPower level = DisplayPower::kOn;
    int reads = 0;
    DisplaySleepWatch watch([&] {
        ++reads;
        return level;
    });
    const struct {
        double nowMs;
        DisplayPower level;
        SleepStep step;
        int reads;
    } turns[] = {
        {0, DisplayPower::kOn, SleepStep::kDraw, 1},
        {500, DisplayPower::kOff, SleepStep::kDraw, 1},
        {1000, DisplayPower::kOff, SleepStep::kWait, 2},
        {1500, DisplayPower::kOn, SleepStep::kWait, 2},
        {2000, DisplayPower::kStandby, SleepStep::kWait, 3},
        {3000, DisplayPower::kSuspend, SleepStep::kWait, 4},
        {4000, DisplayPower::kOn, SleepStep::kResume, 5},
        {4001, DisplayPower::kOn, SleepStep::kDraw, 5},
    };
    for (const auto& turn : turns) {
        SCOPED_TRACE(turn.nowMs);
        level = turn.level;
        EXPECT_EQ(watch.step(turn.nowMs), turn.step);
        EXPECT_EQ(reads, turn.reads);
    }
    EXPECT_DOUBLE_EQ(watch.msUntilCheck(4250), 750);
    DisplaySleepWatch withoutDpms(nullptr);
    EXPECT_EQ(withoutDpms.step(0), SleepStep::kDraw);
}

} // namespace
