// The tile formats: a worked tile of each, written out pixel by pixel,
// and the round trip of every format both ways.
#include "tiles/TileFormat.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

const TileFormat ALL_FORMATS[] = {TileFormat::Bpp1, TileFormat::Bpp2, TileFormat::Bpp3,
                                  TileFormat::Bpp4, TileFormat::Bpp8, TileFormat::Mode7};

// A tile of bytes given at a few offsets, zero elsewhere.
std::vector<uint8_t> tileWith(TileFormat format, std::vector<std::pair<size_t, uint8_t>> bytes) {
    std::vector<uint8_t> tile(bytesPerTile(format), 0);
    for (const auto& [offset, value] : bytes) tile.at(offset) = value;
    return tile;
}

// Eight rows of eight hexadecimal digits, one per pixel.
std::vector<uint8_t> pixelsOf(const std::vector<std::string>& rows) {
    std::vector<uint8_t> pixels;
    for (const std::string& row : rows) {
        for (char c : row) pixels.push_back(static_cast<uint8_t>(std::stoi(std::string(1, c), nullptr, 16)));
    }
    return pixels;
}

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

void expectWorkedTile(TileFormat format, const std::vector<uint8_t>& tile, const std::vector<uint8_t>& pixels) {
    EXPECT_EQ(decoded(format, tile), pixels) << formatName(format);
    EXPECT_EQ(encoded(format, pixels), tile) << formatName(format);
}

TEST(TileFormat, OneBppIsOnePlaneByteARowWithBitSevenLeftmost) {
    expectWorkedTile(TileFormat::Bpp1,
                     tileWith(TileFormat::Bpp1, {{0, 0x80}, {1, 0x40}, {2, 0x20}, {3, 0x10}, {4, 0x08}, {5, 0x04},
                                                 {6, 0x02}, {7, 0x01}}),
                     pixelsOf({"10000000", "01000000", "00100000", "00010000", "00001000", "00000100",
                               "00000010", "00000001"}));
}

TEST(TileFormat, TwoBppHasRowRInBytesTwoRAndTwoRPlusOne) {
    expectWorkedTile(TileFormat::Bpp2, tileWith(TileFormat::Bpp2, {{0, 0xF0}, {1, 0xCC}, {14, 0x01}, {15, 0x80}}),
                     pixelsOf({"33112200", "00000000", "00000000", "00000000", "00000000", "00000000",
                               "00000000", "20000001"}));
}

TEST(TileFormat, ThreeBppHasItsThirdPlaneOneByteARowAfterTheFirstPair) {
    expectWorkedTile(TileFormat::Bpp3, tileWith(TileFormat::Bpp3, {{0, 0xAA}, {1, 0xCC}, {16, 0xF0}, {17, 0x01}}),
                     pixelsOf({"76543210", "00000004", "00000000", "00000000", "00000000", "00000000",
                               "00000000", "00000000"}));
}

TEST(TileFormat, FourBppHasPlanesTwoAndThreeAsASecondPair) {
    expectWorkedTile(TileFormat::Bpp4,
                     tileWith(TileFormat::Bpp4, {{0, 0xAA}, {1, 0xCC}, {16, 0xF0}, {17, 0xFF}, {31, 0x01}}),
                     pixelsOf({"FEDCBA98", "00000000", "00000000", "00000000", "00000000", "00000000",
                               "00000000", "00000008"}));
}

TEST(TileFormat, EightBppHasFourPairsOfPlanes) {
    std::vector<uint8_t> pixels(TILE_PIXELS, 0);
    const uint8_t firstRow[8] = {128, 64, 32, 16, 8, 4, 2, 1};
    for (int x = 0; x < 8; ++x) pixels[x] = firstRow[x];
    for (int x = 0; x < 8; ++x) pixels[3 * 8 + x] = 255;
    expectWorkedTile(TileFormat::Bpp8,
                     tileWith(TileFormat::Bpp8, {{49, 0x80}, {48, 0x40}, {33, 0x20}, {32, 0x10}, {17, 0x08},
                                                 {16, 0x04}, {1, 0x02}, {0, 0x01},
                                                 {6, 0xFF}, {7, 0xFF}, {22, 0xFF}, {23, 0xFF}, {38, 0xFF},
                                                 {39, 0xFF}, {54, 0xFF}, {55, 0xFF}}),
                     pixels);
}

TEST(TileFormat, ModeSevenIsOneBytePerPixelRowByRow) {
    std::vector<uint8_t> tile(64), pixels(64);
    for (int i = 0; i < 64; ++i) tile[i] = pixels[i] = static_cast<uint8_t>(i * 3 + 1);
    expectWorkedTile(TileFormat::Mode7, tile, pixels);
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
