#include "native/wallpaper/wallpaper_file.h"

#include "imaging/picture_files.h"
#include "native/wallpaper/command_output.h"
#include "native/wallpaper/wallpaper_placement.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace {

struct Colour {
    uint8_t red, green, blue;
    bool operator==(const Colour& o) const {
        return red == o.red && green == o.green && blue == o.blue;
    }
};
constexpr Colour kRed = {255, 0, 0}, kGreen = {0, 255, 0}, kBlue = {0, 0, 255}, kBlack = {};

Colour pixelAt(const RgbPicture& picture, int x, int y) {
    const uint8_t* p = &picture.rgb[3 * (static_cast<size_t>(y) * picture.width + x)];
    return {p[0], p[1], p[2]};
}

// Columns of these colours, two rows high.
RgbPicture columns(const std::vector<Colour>& colours) {
    RgbPicture picture;
    allocatePicture(picture, static_cast<int>(colours.size()), 2);
    for (int y = 0; y < 2; ++y) {
        for (size_t x = 0; x < colours.size(); ++x) {
            uint8_t* p = &picture.rgb[3 * (y * colours.size() + x)];
            p[0] = colours[x].red, p[1] = colours[x].green, p[2] = colours[x].blue;
        }
    }
    return picture;
}

std::map<std::string, std::string> gnomeSettings; // "schema key" -> what gsettings prints

bool fakeGsettings(const std::string& schema, const std::string& key, std::string& printed) {
    const auto found = gnomeSettings.find(schema + " " + key);
    return found != gnomeSettings.end() && (printed = found->second, true);
}

TEST(WallpaperFile, TheDesktopsSettingsNameThePicture) {
    const std::string dir = ::testing::TempDir() + "mereflow_wallpaper/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir + "next/contents/images");
    std::string error;
    ASSERT_TRUE(writePng(dir + "red.png", columns({kRed}), error));
    ASSERT_TRUE(writePng(dir + "it's blue.png", columns({kBlue}), error));
    // The package's pictures claim sizes in their names; the smallest that covers 400x300 wins.
    const std::pair<const char*, Colour> package[] = {
        {"320x240.png", kBlue}, {"640x480.png", kGreen}, {"1024x768.png", kRed}};
    for (const auto& [name, colour] : package) {
        ASSERT_TRUE(writePng(dir + "next/contents/images/" + name, columns({colour}), error));
    }
    std::ofstream(dir + "corrupt.png") << "not a picture";
    const std::string uri = "file://" + dir;
    const std::string background = "org.gnome.desktop.background ";
    struct Case {
        const char* how;
        std::map<std::string, std::string> gnome;
        const char* appletsrc; // KDE's, or null
        Colour shown;          // or, when black, the reason begins with whyNot
        std::string whyNot;
    };
    const Case cases[] = {
        {"GNOME's plain URI",
         {{background + "picture-uri", "'" + uri + "red.png'\n"}},
         nullptr,
         kRed,
         ""},
        {"GNOME's escaped and percent-encoded URI",
         {{background + "picture-uri", "'" + uri + "it\\'s%20blue.png'\n"}},
         nullptr,
         kBlue,
         ""},
        {"GNOME's dark scheme",
         {{"org.gnome.desktop.interface color-scheme", "'prefer-dark'"},
          {background + "picture-uri", "'" + uri + "red.png'"},
          {background + "picture-uri-dark", "\"" + uri + "it's%20blue.png\""}},
         nullptr,
         kBlue,
         ""},
        {"GNOME's picture-options none",
         {{background + "picture-uri", "'" + uri + "red.png'"},
          {background + "picture-options", "'none'"}},
         nullptr,
         kBlack,
         "GNOME's wallpaper is turned off"},
        {"a missing picture",
         {{background + "picture-uri", "'" + uri + "gone.png'"}},
         nullptr,
         kBlack,
         "the wallpaper file " + dir + "gone.png: cannot open"},
        {"a corrupt picture",
         {{background + "picture-uri", "'" + uri + "corrupt.png'"}},
         nullptr,
         kBlack,
         "the wallpaper file " + dir + "corrupt.png: not a PNG"},
        {"an unquoted value",
         {{background + "picture-uri", uri + "red.png"}},
         nullptr,
         kBlack,
         "no wallpaper is set"},
        {"KDE's URI",
         {},
         "[Containments][3][Wallpaper][org.kde.image][General]\nImage=file://DIR/red.png\n",
         kRed,
         ""},
        {"KDE's path, on the primary screen's containment",
         {},
         "[Containments][1]\nlastScreen=1\n[Containments][1][Wallpaper][org.kde.image][General]\n"
         "Image=DIR/red.png\n[Containments][2]\nlastScreen=0\n"
         "[Containments][2][Wallpaper][org.kde.image][General]\nImage=DIR/it's blue.png\n",
         kBlue,
         ""},
        {"KDE's package folder",
         {},
         "[Containments][1][Wallpaper][org.kde.image][General]\nImage=DIR/next/\n",
         kGreen,
         ""},
        {"KDE before GNOME outside GNOME",
         {{background + "picture-uri", "'" + uri + "red.png'"}},
         "[Containments][1][Wallpaper][org.kde.image][General]\nImage=DIR/next\n",
         kGreen,
         ""},
    };
    ScreenShape screen;
    screen.width = 400;
    screen.height = 300;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        gnomeSettings = c.gnome;
        std::filesystem::remove(dir + "plasma-org.kde.plasma.desktop-appletsrc");
        if (c.appletsrc) {
            std::string text = c.appletsrc;
            for (size_t at; (at = text.find("DIR/")) != std::string::npos;) {
                text.replace(at, 4, dir);
            }
            std::ofstream(dir + "plasma-org.kde.plasma.desktop-appletsrc") << text;
        }
        DesktopImage image;
        std::string whyNot;
        const bool read = readWallpaperFileFrom({fakeGsettings, dir, false}, screen, image, whyNot);
        ASSERT_EQ(read, !(c.shown == kBlack)) << whyNot;
        if (read) {
            EXPECT_TRUE(pixelAt(image.picture, 200, 150) == c.shown);
            EXPECT_TRUE(image.cutToWindow);
            EXPECT_EQ(image.onRoot.right, 400);
        } else {
            EXPECT_EQ(whyNot.substr(0, c.whyNot.size()), c.whyNot);
        }
    }
}

// A square monitor beside a wide one; the picture's columns: red, green, green, blue.
TEST(WallpaperFile, EachMonitorShowsThePictureAsTheDesktopFitsIt) {
    ScreenShape screen;
    screen.width = 300;
    screen.height = 100;
    addMonitor(screen.monitors, {0, 0, 100, 100}, true);
    addMonitor(screen.monitors, {100, 0, 300, 100}, false);
    const RgbPicture picture = columns({kRed, kGreen, kGreen, kBlue});
    const struct {
        WallpaperFit fit;
        int x, y;
        Colour shown;
    } cases[] = {
        {WallpaperFit::kZoom, 10, 50, kGreen},      // the square crops the sides
        {WallpaperFit::kZoom, 110, 50, kRed},       // the wide one shows them
        {WallpaperFit::kZoom, 290, 50, kBlue},      //
        {WallpaperFit::kStretched, 10, 50, kRed},   //
        {WallpaperFit::kScaled, 50, 10, kBlack},    // a bar above
        {WallpaperFit::kSpanned, 10, 50, kRed},     // one picture over both
        {WallpaperFit::kSpanned, 160, 50, kGreen},  //
        {WallpaperFit::kTiled, 105, 0, kGreen},     // at its own size from the corner
        {WallpaperFit::kCentered, 200, 50, kGreen}, // at its own size in the middle
        {WallpaperFit::kCentered, 110, 50, kBlack}, //
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fit));
        SCOPED_TRACE(c.x);
        RgbPicture placed;
        std::string whyNot;
        ASSERT_TRUE(placeWallpaper(picture, c.fit, screen, placed, whyNot));
        EXPECT_TRUE(pixelAt(placed, c.x, c.y) == c.shown);
    }
    // A screen of huge declared size is refused before anything is allocated.
    screen.width = screen.height = 1 << 30;
    RgbPicture placed;
    std::string whyNot;
    EXPECT_FALSE(placeWallpaper(picture, WallpaperFit::kZoom, screen, placed, whyNot));
    EXPECT_EQ(whyNot, "the screen (1073741824x1073741824) is too large for a wallpaper picture");
}

TEST(WallpaperFile, TheSettingsCommandIsTimedAndMayBeMissing) {
    std::string output;
    EXPECT_TRUE(readCommandOutput({"sh", "-c", "echo \"'zoom'\""}, 5000, output));
    EXPECT_EQ(output, "'zoom'\n");
    EXPECT_FALSE(readCommandOutput({"sh", "-c", "exit 1"}, 5000, output));
    EXPECT_FALSE(readCommandOutput({"sleep", "30"}, 100, output)); // killed, not waited for
    EXPECT_FALSE(readCommandOutput({"mereflow-no-such-program"}, 5000, output));
}

} // namespace
