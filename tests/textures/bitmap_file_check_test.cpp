#include "textures/bitmap_file_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& out, size_t at, uint32_t value) {
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void put32(Bytes& out, size_t at, uint32_t value) {
    put16(out, at, value & 0xFFFF);
    put16(out, at + 2, value >> 16);
}

// A bitmap file with an info header and every row present (rows padded to 4 bytes).
Bytes bitmapFile(int32_t width, int32_t height, uint32_t bitCount) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * bitCount + 31) / 32 * 4;
    const uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
    Bytes out(14 + 40 + rowBytes * rows, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<uint32_t>(out.size()));
    put32(out, 10, 14 + 40);
    put32(out, 14, 40);
    put32(out, 18, static_cast<uint32_t>(width));
    put32(out, 22, static_cast<uint32_t>(height));
    put16(out, 26, 1);
    put16(out, 28, bitCount);
    return out;
}

bool holds(const Bytes& file) {
    return bitmapFileHoldsItsPixels(file.data(), static_cast<uint32_t>(file.size()));
}

Bytes cut(Bytes file, size_t size) {
    file.resize(size);
    return file;
}

TEST(BitmapFileCheck, CompleteBitmapsPass) {
    EXPECT_TRUE(holds(bitmapFile(100, 80, 24)));
    EXPECT_TRUE(holds(bitmapFile(1, 1, 24)));
    EXPECT_TRUE(holds(bitmapFile(33, 7, 1)));
    EXPECT_TRUE(holds(bitmapFile(100, -80, 32))); // rows top-down
    Bytes core(14 + 12 + 8 * 2, 0);               // an OS/2 core header: 16-bit sizes
    core[0] = 'B';
    core[1] = 'M';
    put32(core, 10, 14 + 12);
    put32(core, 14, 12);
    put16(core, 18, 2);
    put16(core, 20, 2);
    put16(core, 22, 1);
    put16(core, 24, 24);
    EXPECT_TRUE(holds(core));
    EXPECT_FALSE(holds(cut(core, core.size() - 1)));
}

TEST(BitmapFileCheck, CutShortBitmapsFail) {
    const Bytes whole = bitmapFile(100, 80, 24);
    for (size_t size : {whole.size() - 1, whole.size() / 2, size_t{100}, size_t{54}, size_t{40},
                        size_t{14}, size_t{3}}) {
        EXPECT_FALSE(holds(cut(whole, size))) << size;
    }
}

TEST(BitmapFileCheck, EnormousDeclaredSizesFailWithoutOverflow) {
    Bytes file = bitmapFile(4, 4, 24);
    put32(file, 18, 100000);
    put32(file, 22, 100000);
    EXPECT_FALSE(holds(file));
    put32(file, 18, 0x7FFFFFFF);
    put32(file, 22, 0x80000000); // the most negative height
    put16(file, 28, 0xFFFF);
    EXPECT_FALSE(holds(file));
    put32(file, 10, 0xFFFFFFFF); // pixels past any file
    put32(file, 18, 1);
    put32(file, 22, 1);
    put16(file, 28, 1);
    EXPECT_FALSE(holds(file));
    put32(file, 10, 14 + 40);
    put32(file, 18, 1263665316); // 8 bytes a pixel: rows times a row wrap to 32 bytes
    put32(file, 22, 1824726041);
    put16(file, 28, 64);
    EXPECT_FALSE(holds(file));
}

TEST(BitmapFileCheck, MalformedHeadersFail) {
    Bytes file = bitmapFile(4, 4, 24);
    put32(file, 18, 0); // no width
    EXPECT_FALSE(holds(file));
    file = bitmapFile(4, 4, 24);
    put32(file, 22, 0); // no height
    EXPECT_FALSE(holds(file));
    file = bitmapFile(4, 4, 24);
    put32(file, 14, 20); // no such header
    EXPECT_FALSE(holds(file));
}

TEST(BitmapFileCheck, CompressedBitmapsNeedTheirDeclaredBytes) {
    Bytes file = bitmapFile(4, 4, 8);
    put32(file, 30, 1); // BI_RLE8
    put32(file, 34, 16);
    EXPECT_TRUE(holds(file));
    put32(file, 34, 1000);
    EXPECT_FALSE(holds(file));
    put32(file, 34, 0);
    EXPECT_FALSE(holds(file));
}

TEST(BitmapFileCheck, OtherDataIsLeftToTheDecoder) {
    const std::string gif = "GIF89a....";
    EXPECT_TRUE(bitmapFileHoldsItsPixels(reinterpret_cast<const uint8_t*>(gif.data()),
                                         static_cast<uint32_t>(gif.size())));
    EXPECT_TRUE(bitmapFileHoldsItsPixels(nullptr, 0));
    const uint8_t b[] = {'B'};
    EXPECT_TRUE(bitmapFileHoldsItsPixels(b, 1));
}

} // namespace
