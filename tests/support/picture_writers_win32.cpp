// Picture files written from scratch for the picture-loading tests.
#include <windows.h>

#include "support/picture_writers_win32.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace picture_writers {

namespace {
void put16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(Bytes& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void put16BigEndian(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void putInfoHeader(Bytes& out, int width, int height, uint32_t imageBytes) {
    put32(out, 40);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));
    put16(out, 1);  // planes
    put16(out, 24); // bits per pixel
    put32(out, 0);  // BI_RGB
    put32(out, imageBytes);
    put32(out, 3780); // 96 DPI in pixels per metre
    put32(out, 3780);
    put32(out, 0);
    put32(out, 0);
}

// 24-bit rows, bottom row first, each padded to 4 bytes.
void putBottomUpPixels(Bytes& out, int width, int height, const PixelColor& color) {
    const int padding = (4 - (width * 3) % 4) % 4;
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = color(x, y);
            out.push_back(GetBValue(c));
            out.push_back(GetGValue(c));
            out.push_back(GetRValue(c));
        }
        out.insert(out.end(), padding, 0);
    }
}

// LSB-first bit packing of LZW codes into GIF sub-blocks.
struct GifCodeWriter {
    Bytes data;
    uint32_t bits = 0;
    int count = 0;
    void put(uint32_t code, int width) {
        bits |= code << count;
        count += width;
        while (count >= 8) {
            data.push_back(static_cast<uint8_t>(bits));
            bits >>= 8;
            count -= 8;
        }
    }
    void flush() {
        if (count > 0) {
            data.push_back(static_cast<uint8_t>(bits));
        }
        bits = 0;
        count = 0;
    }
};

// Baseline JPEG bits, with a 0 stuffed after every 0xFF byte.
struct JpegBitWriter {
    Bytes data;
    uint32_t bits = 0;
    int count = 0;
    void put(uint32_t value, int width) {
        for (int i = width - 1; i >= 0; --i) {
            bits = (bits << 1) | ((value >> i) & 1);
            if (++count == 8) {
                emit();
            }
        }
    }
    void emit() {
        data.push_back(static_cast<uint8_t>(bits));
        if (static_cast<uint8_t>(bits) == 0xFF) {
            data.push_back(0);
        }
        bits = 0;
        count = 0;
    }
    void flush() {
        while (count != 0) {
            put(1, 1);
        }
    }
};

} // namespace

bool writeFile(const std::string& path, const Bytes& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                               &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

Bytes makeBmp(int width, int height, const PixelColor& color) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
    Bytes out = {'B', 'M'};
    put32(out, 14 + 40 + imageBytes);
    put32(out, 0);
    put32(out, 14 + 40);
    putInfoHeader(out, width, height, imageBytes);
    putBottomUpPixels(out, width, height, color);
    return out;
}

// A 24-bit icon; pixels where transparent() holds are masked out and leave what lies beneath.
Bytes makeIco(int size, const PixelColor& color,
              const std::function<bool(int x, int y)>& transparent) {
    const uint32_t xorRow = (static_cast<uint32_t>(size) * 3 + 3) & ~3u;
    const uint32_t andRow = ((static_cast<uint32_t>(size) + 31) / 32) * 4;
    const uint32_t imageBytes = (xorRow + andRow) * static_cast<uint32_t>(size);
    Bytes out;
    put16(out, 0);
    put16(out, 1); // icon
    put16(out, 1); // one image
    out.push_back(static_cast<uint8_t>(size));
    out.push_back(static_cast<uint8_t>(size));
    out.push_back(0); // no palette
    out.push_back(0);
    put16(out, 1);
    put16(out, 24);
    put32(out, 40 + imageBytes);
    put32(out, 6 + 16);
    putInfoHeader(out, size, size * 2, imageBytes);
    putBottomUpPixels(out, size, size,
                      [&](int x, int y) { return transparent(x, y) ? RGB(0, 0, 0) : color(x, y); });
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(andRow, 0);
        for (int x = 0; x < size; ++x) {
            if (transparent(x, y)) {
                row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// A GIF with a four-colour palette. The codes stay literals, and a clear code every 250
// pixels keeps them 9 bits wide. transparentIndex < 0 means no transparency.
Bytes makeGif(int width, int height, const COLORREF (&palette)[4],
              const std::function<int(int x, int y)>& index, int transparentIndex) {
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    put16(out, static_cast<uint32_t>(width));
    put16(out, static_cast<uint32_t>(height));
    out.push_back(0xF1); // a global palette of 4 entries
    out.push_back(0);
    out.push_back(0);
    for (COLORREF c : palette) {
        out.push_back(GetRValue(c));
        out.push_back(GetGValue(c));
        out.push_back(GetBValue(c));
    }
    if (transparentIndex >= 0) {
        const uint8_t control[] = {0x21, 0xF9, 4, 1, 0, 0, static_cast<uint8_t>(transparentIndex),
                                   0};
        out.insert(out.end(), std::begin(control), std::end(control));
    }
    out.push_back(0x2C);
    put32(out, 0);
    put16(out, static_cast<uint32_t>(width));
    put16(out, static_cast<uint32_t>(height));
    out.push_back(0);

    constexpr uint32_t kClear = 256;
    constexpr uint32_t kEnd = 257;
    out.push_back(8); // minimum code size
    GifCodeWriter codes;
    int sinceClear = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (sinceClear == 0) {
                codes.put(kClear, 9);
            }
            codes.put(static_cast<uint32_t>(index(x, y)), 9);
            sinceClear = (sinceClear + 1) % 250;
        }
    }
    codes.put(kEnd, 9);
    codes.flush();
    for (size_t at = 0; at < codes.data.size(); at += 255) {
        const size_t length = std::min<size_t>(255, codes.data.size() - at);
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), codes.data.begin() + at, codes.data.begin() + at + length);
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

// A baseline JPEG in which every 8 x 8 block has one flat colour: the colour at the block's
// top-left pixel. With only DC coefficients and a DC quantiser of 8, a block's quantised DC is
// its level minus 128 and decodes back exactly (up to the colour conversion). Both Huffman
// tables are minimal: the DC categories 0 to 11 as 4-bit codes, and the AC table holding only
// end-of-block, as the 1-bit code 0.
Bytes makeJpeg(int width, int height, const PixelColor& color) {
    Bytes out = {0xFF, 0xD8, 0xFF, 0xE0};
    const uint8_t jfif[] = {0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    out.insert(out.end(), std::begin(jfif), std::end(jfif));
    out.insert(out.end(), {0xFF, 0xDB, 0, 67, 0});
    out.insert(out.end(), 64, 8);
    out.insert(out.end(), {0xFF, 0xC0, 0, 17, 8});
    put16BigEndian(out, static_cast<uint32_t>(height));
    put16BigEndian(out, static_cast<uint32_t>(width));
    out.insert(out.end(), {3, 1, 0x11, 0, 2, 0x11, 0, 3, 0x11, 0});
    out.insert(out.end(),
               {0xFF, 0xC4, 0, 31, 0x00, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    for (uint8_t category = 0; category < 12; ++category) {
        out.push_back(category);
    }
    out.insert(out.end(),
               {0xFF, 0xC4, 0, 20, 0x10, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00});
    out.insert(out.end(), {0xFF, 0xDA, 0, 12, 3, 1, 0x00, 2, 0x00, 3, 0x00, 0, 63, 0});

    JpegBitWriter bits;
    int previous[3] = {0, 0, 0};
    for (int by = 0; by < (height + 7) / 8; ++by) {
        for (int bx = 0; bx < (width + 7) / 8; ++bx) {
            const COLORREF c = color(bx * 8, by * 8);
            const double r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            const double levels[3] = {0.299 * r + 0.587 * g + 0.114 * b,
                                      128 - 0.168736 * r - 0.331264 * g + 0.5 * b,
                                      128 + 0.5 * r - 0.418688 * g - 0.081312 * b};
            for (int component = 0; component < 3; ++component) {
                const int dc = static_cast<int>(levels[component] + 0.5) - 128;
                const int difference = dc - previous[component];
                previous[component] = dc;
                int category = 0;
                for (int magnitude = difference < 0 ? -difference : difference; magnitude != 0;
                     magnitude >>= 1) {
                    ++category;
                }
                bits.put(static_cast<uint32_t>(category), 4);
                if (category > 0) {
                    const int coded =
                        difference < 0 ? difference + (1 << category) - 1 : difference;
                    bits.put(static_cast<uint32_t>(coded), category);
                }
                bits.put(0, 1); // end of block
            }
        }
    }
    bits.flush();
    out.insert(out.end(), bits.data.begin(), bits.data.end());
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

void fillRect(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
    const RECT rect = {left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// An enhanced metafile whose frame is width x height pixels at 96 DPI, drawn in screen pixels.
bool writeEmf(const std::string& path, int width, int height, const MetafileDrawing& draw) {
    const RECT frame = {0, 0, MulDiv(width, 2540, 96), MulDiv(height, 2540, 96)};
    HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), &frame, nullptr);
    if (dc == nullptr) {
        return false;
    }
    draw(dc);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    if (metafile == nullptr) {
        return false;
    }
    DeleteEnhMetaFile(metafile);
    return true;
}

// A Windows metafile with the placeable (Aldus) header, width x height units at 96 per inch.
bool writePlaceableWmf(const std::string& path, int width, int height,
                       const MetafileDrawing& draw) {
    HDC dc = CreateMetaFileA(nullptr);
    if (dc == nullptr) {
        return false;
    }
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, width, height, nullptr);
    draw(dc);
    HMETAFILE metafile = CloseMetaFile(dc);
    if (metafile == nullptr) {
        return false;
    }
    const UINT size = GetMetaFileBitsEx(metafile, 0, nullptr);
    Bytes records(size);
    GetMetaFileBitsEx(metafile, size, records.data());
    DeleteMetaFile(metafile);

    Bytes out;
    put32(out, 0x9AC6CDD7); // placeable key
    put16(out, 0);
    put16(out, 0); // bounding box: left, top, right, bottom
    put16(out, 0);
    put16(out, static_cast<uint32_t>(width));
    put16(out, static_cast<uint32_t>(height));
    put16(out, 96); // units per inch
    put32(out, 0);
    uint16_t checksum = 0;
    for (size_t i = 0; i < out.size(); i += 2) {
        checksum ^= static_cast<uint16_t>(out[i] | (out[i + 1] << 8));
    }
    put16(out, checksum);
    out.insert(out.end(), records.begin(), records.end());
    return writeFile(path, out);
}

} // namespace picture_writers
