// The tile formats: a worked tile of each, written out pixel by pixel,
// and the round trip of every format both ways.
#include "tiles/TileFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

const TileFormat ALL_FORMATS[] = {TileFormat::Bpp1, TileFormat::Bpp2, TileFormat::Bpp3,
                                  TileFormat::Bpp4, TileFormat::Bpp8, TileFormat::Mode7};

std::vector<uint8_t> decoded(TileFormat format, const std::vector<uint8_t>& tile) {
    std::vector<uint8_t> pixels(TILE_PIXELS);
    decodeTile(format, tile.data(), pixels.data(), TILE_SIDE);
    return pixels;
}

std::vector<uint8_t> encoded(TileFormat format, const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> tile(bytesPerTile(format));
    encodeTile(format, pixels.data(), TILE_SIDE, tile.data());
    return tile;
}

TEST(TileFormat, WorkedTilesDecodeAndEncodePixelByPixel) {
    struct Worked {
        TileFormat format;
        std::vector<std::pair<size_t, uint8_t>> bytes;
        std::vector<std::string> rows;  // pixels 0 to F; rows not given are 0
    };
    const Worked table[] = {
        // 1 bpp: one plane byte a row, bit 7 leftmost.
        {TileFormat::Bpp1,
         {{0, 0x80}, {1, 0x40}, {2, 0x20}, {3, 0x10}, {4, 0x08}, {5, 0x04}, {6, 0x02}, {7, 0x01}},
         {"10000000", "01000000", "00100000", "00010000", "00001000", "00000100", "00000010", "00000001"}},
        // 2 bpp: row r in bytes 2r and 2r + 1.
        {TileFormat::Bpp2, {{0, 0xF0}, {1, 0xCC}, {14, 0x01}, {15, 0x80}},
         {"33112200", "", "", "", "", "", "", "20000001"}},
        // 3 bpp: the third plane one byte a row after the first pair.
        {TileFormat::Bpp3, {{0, 0xAA}, {1, 0xCC}, {16, 0xF0}, {17, 0x01}}, {"76543210", "00000004"}},
        // 4 bpp: planes 2 and 3 as a second pair.
        {TileFormat::Bpp4, {{0, 0xAA}, {1, 0xCC}, {16, 0xF0}, {17, 0xFF}, {31, 0x01}},
         {"FEDCBA98", "", "", "", "", "", "", "00000008"}},
    };
    for (const Worked& w : table) {
        std::vector<uint8_t> tile(bytesPerTile(w.format), 0), pixels(TILE_PIXELS, 0);
        for (const auto& [offset, value] : w.bytes) tile.at(offset) = value;
        for (size_t y = 0; y < w.rows.size(); ++y) {
            for (size_t x = 0; x < w.rows[y].size(); ++x) pixels[y * 8 + x] = uint8_t(std::stoi(w.rows[y].substr(x, 1), nullptr, 16));
        }
        EXPECT_EQ(decoded(w.format, tile), pixels) << formatName(w.format);
        EXPECT_EQ(encoded(w.format, pixels), tile) << formatName(w.format);
    }
    // 8 bpp: four pairs of planes; row 0 is 128 64 ... 1, row 3 all 255.
    std::vector<uint8_t> tile(64, 0), pixels(TILE_PIXELS, 0);
    for (const auto& [offset, value] : std::vector<std::pair<size_t, uint8_t>>{
             {49, 0x80}, {48, 0x40}, {33, 0x20}, {32, 0x10}, {17, 0x08}, {16, 0x04}, {1, 0x02}, {0, 0x01}}) {
        tile[offset] = value;
    }
    for (size_t offset : {6, 7, 22, 23, 38, 39, 54, 55}) tile[offset] = 0xFF;
    const uint8_t firstRow[8] = {128, 64, 32, 16, 8, 4, 2, 1};
    std::copy(firstRow, firstRow + 8, pixels.begin());
    std::fill(pixels.begin() + 24, pixels.begin() + 32, 255);
    EXPECT_EQ(decoded(TileFormat::Bpp8, tile), pixels);
    EXPECT_EQ(encoded(TileFormat::Bpp8, pixels), tile);
    // Mode 7: one byte a pixel, row by row.
    for (int i = 0; i < 64; ++i) tile[i] = pixels[i] = static_cast<uint8_t>(i * 3 + 1);
    EXPECT_EQ(decoded(TileFormat::Mode7, tile), pixels);
    EXPECT_EQ(encoded(TileFormat::Mode7, pixels), tile);
}

TEST(TileFormat, SizesAndNames) {
    const std::vector<std::tuple<TileFormat, int, size_t, const char*>> table = {
        {TileFormat::Bpp1, 2, 8, "1bpp"},   {TileFormat::Bpp2, 4, 16, "2bpp"},   {TileFormat::Bpp3, 8, 24, "3bpp"},
        {TileFormat::Bpp4, 16, 32, "4bpp"}, {TileFormat::Bpp8, 256, 64, "8bpp"}, {TileFormat::Mode7, 256, 64, "mode7"},
    };
    for (const auto& [format, colours, bytes, name] : table) {
        EXPECT_EQ(colourCount(format), colours) << name;
        EXPECT_EQ(bytesPerTile(format), bytes) << name;
        EXPECT_STREQ(formatName(format), name);
        TileFormat back = TileFormat::Bpp1;
        EXPECT_TRUE(formatFromName(name, back));
        EXPECT_EQ(back, format) << name;
    }
    TileFormat unchanged = TileFormat::Bpp2;
    EXPECT_FALSE(formatFromName("5bpp", unchanged));
    EXPECT_FALSE(formatFromName("4BPP", unchanged));
    EXPECT_EQ(unchanged, TileFormat::Bpp2);
}

TEST(TileFormat, EveryFormatRoundTripsBytesAndPixels) {
    std::mt19937 random(1234);
    for (TileFormat format : ALL_FORMATS) {
        for (int trial = 0; trial < 200; ++trial) {
            std::vector<uint8_t> tile(bytesPerTile(format));
            for (uint8_t& byte : tile) byte = static_cast<uint8_t>(random());
            ASSERT_EQ(encoded(format, decoded(format, tile)), tile) << formatName(format);

            std::vector<uint8_t> pixels(TILE_PIXELS);
            for (uint8_t& pixel : pixels) pixel = static_cast<uint8_t>(random() % colourCount(format));
            ASSERT_EQ(decoded(format, encoded(format, pixels)), pixels) << formatName(format);
        }
    }
}

TEST(TileFormat, DecodingWritesOnlyItsTileIntoAWiderPicture) {
    // A tile decoded at column 1 of a three-tile-wide row leaves its
    // neighbours as they were.
    const size_t stride = 24;
    std::vector<uint8_t> picture(stride * 8, 0xEE);
    const std::vector<uint8_t> tile(16, 0xFF);
    decodeTile(TileFormat::Bpp2, tile.data(), picture.data() + 8, stride);
    for (size_t y = 0; y < 8; ++y) {
        for (size_t x = 0; x < stride; ++x) {
            EXPECT_EQ(picture[y * stride + x], x >= 8 && x < 16 ? 3 : 0xEE) << x << "," << y;
        }
    }
    std::vector<uint8_t> back(16);
    encodeTile(TileFormat::Bpp2, picture.data() + 8, stride, back.data());
    EXPECT_EQ(back, tile);
}

}  // namespace
