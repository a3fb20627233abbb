#include <windows.h>

#include <olectl.h>

#include "settings/saver_settings.h"
#include "support/gdi_object_count_win32.h"
#include "support/picture_writers_win32.h"
#include "textures/picture_file_win32.h"
#include "textures/source_picture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace picture_writers;

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kGrey = RGB(128, 128, 128);

// Red top left, green top right, blue bottom left, white bottom right.
PixelColor quadrants(int width, int height) {
    return [=](int x, int y) {
        if (y < height / 2) {
            return x < width / 2 ? kRed : kGreen;
        }
        return x < width / 2 ? kBlue : kWhite;
    };
}

PixelColor solid(COLORREF color) {
    return [=](int, int) { return color; };
}

void drawQuadrants(HDC dc, int width, int height) {
    fillRect(dc, 0, 0, width / 2, height / 2, kRed);
    fillRect(dc, width / 2, 0, width, height / 2, kGreen);
    fillRect(dc, 0, height / 2, width / 2, height, kBlue);
    fillRect(dc, width / 2, height / 2, width, height, kWhite);
}

COLORREF sourcePixel(int x, int y) {
    const uint8_t* p =
        &sourcePicture.pixels[3 * (static_cast<size_t>(y) * sourcePicture.width + x)];
    return RGB(p[2], p[1], p[0]);
}

::testing::AssertionResult pixelIs(int x, int y, COLORREF expected, int tolerance = 0) {
    const COLORREF actual = sourcePixel(x, y);
    const int dr = std::abs(GetRValue(actual) - GetRValue(expected));
    const int dg = std::abs(GetGValue(actual) - GetGValue(expected));
    const int db = std::abs(GetBValue(actual) - GetBValue(expected));
    if (dr <= tolerance && dg <= tolerance && db <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    char text[96];
    std::snprintf(text, sizeof text, "pixel (%d, %d) is %06lx, expected %06lx", x, y,
                  static_cast<unsigned long>(actual), static_cast<unsigned long>(expected));
    return ::testing::AssertionFailure() << text;
}

// Checks the four quadrants of the source picture at their centres.
void expectQuadrants(int tolerance = 0) {
    const int w = sourcePicture.width;
    const int h = sourcePicture.height;
    EXPECT_TRUE(pixelIs(w / 4, h / 4, kRed, tolerance));
    EXPECT_TRUE(pixelIs(3 * w / 4, h / 4, kGreen, tolerance));
    EXPECT_TRUE(pixelIs(w / 4, 3 * h / 4, kBlue, tolerance));
    EXPECT_TRUE(pixelIs(3 * w / 4, 3 * h / 4, kWhite, tolerance));
}

// True when nothing holds the file open: it was opened without sharing.
bool fileIsClosed(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

class PictureFile : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "mereflow-pictures-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        freeSourcePixels();
        sourcePicture.width = 0;
        sourcePicture.height = 0;
        saverSettings.textureWidth = 512;
        saverSettings.textureHeight = 256;
    }

    void TearDown() override {
        freeSourcePixels();
        for (const std::string& file : files) {
            DeleteFileA(file.c_str());
        }
        RemoveDirectoryA(folder.c_str());
    }

    std::string pathOf(const char* name) {
        files.push_back(folder + "\\" + name);
        return files.back();
    }

    std::string write(const char* name, const Bytes& bytes) {
        const std::string path = pathOf(name);
        EXPECT_TRUE(writeFile(path, bytes)) << path;
        return path;
    }

    static HRESULT loadCustom(const std::string& path) {
        std::strcpy(saverSettings.customPicturePath, path.c_str());
        return loadCustomPicture();
    }

    std::string folder;
    std::vector<std::string> files;
};

TEST_F(PictureFile, PictureStandsUprightAndFillsTheSourcePicture) {
    const std::string path = write("quadrants.bmp", makeBmp(100, 80, quadrants(100, 80)));
    EXPECT_EQ(loadCustom(path), S_OK);
    ASSERT_NE(sourcePicture.pixels, nullptr);
    EXPECT_EQ(sourcePicture.width, 128);
    EXPECT_EQ(sourcePicture.height, 128);
    expectQuadrants();
    const uint8_t topLeftBgr[] = {0, 0, 255};
    EXPECT_EQ(std::memcmp(sourcePicture.pixels.get(), topLeftBgr, 3), 0);
    EXPECT_TRUE(pixelIs(127, 127, kWhite));
}

TEST_F(PictureFile, WorkingSizeIsChosenForEachSideByItself) {
    const struct {
        int pictureWidth, pictureHeight, settingWidth, settingHeight, width, height;
    } cases[] = {
        {100, 100, 512, 256, 128, 128},   {256, 256, 512, 512, 512, 512},
        {2000, 1500, 512, 256, 512, 256}, {1, 80, 512, 256, 2, 128},
        {600, 100, 512, 256, 512, 128},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.pictureWidth) + "x" + std::to_string(c.pictureHeight));
        const std::string path =
            write("size.bmp", makeBmp(c.pictureWidth, c.pictureHeight, solid(kGrey)));
        saverSettings.textureWidth = c.settingWidth;
        saverSettings.textureHeight = c.settingHeight;
        EXPECT_EQ(loadCustom(path), S_OK);
        ASSERT_NE(sourcePicture.pixels, nullptr);
        EXPECT_EQ(sourcePicture.width, c.width);
        EXPECT_EQ(sourcePicture.height, c.height);
        EXPECT_TRUE(pixelIs(c.width - 1, c.height - 1, kGrey));
    }
}

TEST_F(PictureFile, EveryFormatOfTheFilterDecodes) {
    const COLORREF palette[4] = {kRed, kGreen, kBlue, kWhite};
    const auto paletteIndex = [](int x, int y) { return (y < 40 ? 0 : 2) + (x < 50 ? 0 : 1); };
    const std::string emf = pathOf("quadrants.emf");
    ASSERT_TRUE(writeEmf(emf, 100, 80, [](HDC dc) { drawQuadrants(dc, 100, 80); }));
    const std::string wmf = pathOf("quadrants.wmf");
    ASSERT_TRUE(writePlaceableWmf(wmf, 100, 80, [](HDC dc) { drawQuadrants(dc, 100, 80); }));
    const struct {
        std::string path;
        int width, height, tolerance;
    } cases[] = {
        {write("quadrants.gif", makeGif(100, 80, palette, paletteIndex)), 128, 128, 0},
        {write("quadrants.jpg", makeJpeg(64, 64, quadrants(64, 64))), 128, 128, 6},
        {write("quadrants.ico", makeIco(32, quadrants(32, 32), [](int, int) { return false; })), 64,
         64, 0},
        {emf, 128, 128, 0},
        {wmf, 128, 128, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(loadCustom(c.path), S_OK);
        ASSERT_NE(sourcePicture.pixels, nullptr);
        EXPECT_EQ(sourcePicture.width, c.width);
        EXPECT_EQ(sourcePicture.height, c.height);
        expectQuadrants(c.tolerance);
    }
}

TEST_F(PictureFile, WhatThePictureLeavesUnpaintedStaysBlack) {
    const auto leftHalf = [](int x, int) { return x < 16; };
    const COLORREF palette[4] = {kRed, kGreen, kBlue, kWhite};
    const auto redOrClear = [](int x, int) { return x < 50 ? 3 : 0; };
    const std::string emf = pathOf("half.emf");
    ASSERT_TRUE(writeEmf(emf, 100, 80, [](HDC dc) { fillRect(dc, 50, 0, 100, 80, kRed); }));
    const std::string paths[] = {
        write("half.ico", makeIco(32, solid(kRed), leftHalf)),
        write("half.gif", makeGif(100, 80, palette, redOrClear, 3)),
        emf,
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        EXPECT_EQ(loadCustom(path), S_OK);
        ASSERT_NE(sourcePicture.pixels, nullptr);
        const int w = sourcePicture.width;
        const int h = sourcePicture.height;
        EXPECT_TRUE(pixelIs(w / 4, h / 2, kBlack));
        EXPECT_TRUE(pixelIs(0, 0, kBlack));
        EXPECT_TRUE(pixelIs(3 * w / 4, h / 2, kRed));
    }
}

TEST_F(PictureFile, BadFilesFailWithoutPictureOrLeak) {
    const Bytes bmp = makeBmp(100, 80, quadrants(100, 80));
    Bytes enormous = makeBmp(4, 4, solid(kGrey));
    enormous[18] = 0xA0; // 100000 x 100000 pixels declared, 48 bytes present
    enormous[19] = 0x86;
    enormous[20] = 0x01;
    enormous[22] = 0xA0;
    enormous[23] = 0x86;
    enormous[24] = 0x01;
    const Bytes jpeg = makeJpeg(64, 64, quadrants(64, 64));
    const Bytes ico = makeIco(32, solid(kRed), [](int, int) { return false; });
    const std::string text = "This is not a picture.\r\n";
    const struct {
        std::string path;
        HRESULT exactResult; // S_OK: any failure will do
    } cases[] = {
        {pathOf("missing.bmp"), E_FAIL},
        {write("empty.bmp", {}), E_FAIL},
        {write("truncated.bmp", Bytes(bmp.begin(), bmp.begin() + 100)), CTL_E_INVALIDPICTURE},
        {write("half.bmp", Bytes(bmp.begin(), bmp.begin() + bmp.size() / 2)), CTL_E_INVALIDPICTURE},
        {write("truncated.jpg", Bytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2)), S_OK},
        {write("truncated.ico", Bytes(ico.begin(), ico.begin() + ico.size() / 2)), S_OK},
        {write("text.jpg", Bytes(text.begin(), text.end())), S_OK},
        {write("enormous.bmp", enormous), CTL_E_INVALIDPICTURE},
        {"", E_FAIL},
    };
    loadCustom(write("warm-up.bmp", bmp)); // the screen's device context is cached once
    freeSourcePixels();
    const int objectsBefore = countGdiObjects();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(1);
        HDC memory = reinterpret_cast<HDC>(1);
        const HRESULT loaded = loadPictureFile(c.path.c_str(), &bitmap, &memory);
        EXPECT_LT(loaded, 0);
        EXPECT_EQ(bitmap, nullptr);
        EXPECT_EQ(memory, nullptr);
        const HRESULT custom = loadCustom(c.path);
        EXPECT_EQ(custom, loaded);
        if (c.exactResult != S_OK) {
            EXPECT_EQ(custom, c.exactResult);
        }
        EXPECT_EQ(sourcePicture.pixels, nullptr);
        if (GetFileAttributesA(c.path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            EXPECT_TRUE(fileIsClosed(c.path));
        }
    }
    EXPECT_EQ(countGdiObjects(), objectsBefore);
}

TEST_F(PictureFile, LoadingLeaksNoHandles) {
    const std::string bmp = write("leak.bmp", makeBmp(100, 80, quadrants(100, 80)));
    const std::string jpg = write("leak.jpg", makeJpeg(64, 64, quadrants(64, 64)));
    const std::string ico =
        write("leak.ico", makeIco(32, solid(kRed), [](int x, int) { return x < 16; }));
    ASSERT_EQ(loadCustom(bmp), S_OK); // the screen's device context is cached once

    const int objectsBefore = countGdiObjects();
    ASSERT_GT(objectsBefore, 0);
    HBRUSH probe = CreateSolidBrush(kRed);
    EXPECT_EQ(countGdiObjects(), objectsBefore + 1) << "the count must see a new object";
    DeleteObject(probe);

    for (int round = 0; round < 3; ++round) {
        for (const std::string& path : {bmp, jpg, ico}) {
            EXPECT_EQ(loadCustom(path), S_OK) << path;
            EXPECT_TRUE(fileIsClosed(path)) << path;
            freeSourcePixels();
        }
    }
    EXPECT_EQ(countGdiObjects(), objectsBefore);
}

TEST_F(PictureFile, MissingArgumentsAreRefused) {
    const std::string path = write("args.bmp", makeBmp(4, 4, solid(kGrey)));
    HBITMAP bitmap = nullptr;
    HDC memory = nullptr;
    EXPECT_EQ(loadPictureFile(nullptr, &bitmap, &memory), E_POINTER);
    EXPECT_EQ(loadPictureFile(path.c_str(), nullptr, &memory), E_POINTER);
    EXPECT_EQ(loadPictureFile(path.c_str(), &bitmap, nullptr), E_POINTER);
}

TEST_F(PictureFile, HandEditedTextureSizesReportNoPicture) {
    // A metafile declares a picture of 40000 x 40000 pixels in a few hundred bytes.
    const std::string path = pathOf("vast.emf");
    ASSERT_TRUE(writeEmf(path, 40000, 40000, [](HDC dc) { fillRect(dc, 0, 0, 10, 10, kRed); }));
    const struct {
        int32_t width, height;
        HRESULT result;
    } cases[] = {
        {0, 256, E_INVALIDARG},
        {512, -256, E_INVALIDARG},
        {1 << 20, 256, E_OUTOFMEMORY}, // 65536 wide: the power of two above 40000
        {20000, 20000, E_OUTOFMEMORY}, // the setting itself
        {2147483647, 2147483647, E_OUTOFMEMORY},
    };
    for (const auto& c : cases) {
        saverSettings.textureWidth = c.width;
        saverSettings.textureHeight = c.height;
        EXPECT_EQ(loadCustom(path), c.result) << c.width << " x " << c.height;
        EXPECT_EQ(sourcePicture.pixels, nullptr);
    }
    saverSettings.textureWidth = 512;
    saverSettings.textureHeight = 256;
    EXPECT_EQ(loadCustom(path), S_OK);
    EXPECT_EQ(sourcePicture.width, 512);
    EXPECT_EQ(sourcePicture.height, 256);
}

TEST_F(PictureFile, FileBeyondFourGigabytesIsRefused) {
    const std::string path = pathOf("huge.bmp");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const Bytes bmp = makeBmp(4, 4, solid(kGrey));
    DWORD written = 0;
    WriteFile(file, bmp.data(), static_cast<DWORD>(bmp.size()), &written, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = (1LL << 32) + static_cast<LONGLONG>(bmp.size()); // sparse: nothing written
    ASSERT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
    EXPECT_EQ(loadCustom(path), E_OUTOFMEMORY);
    EXPECT_EQ(sourcePicture.pixels, nullptr);
}

TEST(PictureFileResults, LastErrorOfZeroStillReadsAsFailure) {
    EXPECT_EQ(hresultFromLastError(NO_ERROR), E_FAIL);
    EXPECT_EQ(hresultFromLastError(ERROR_NOT_ENOUGH_MEMORY), static_cast<HRESULT>(0x80070008));
    EXPECT_EQ(hresultFromLastError(ERROR_INVALID_HANDLE), static_cast<HRESULT>(0x80070006));
}

} // namespace
