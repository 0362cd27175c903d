// Tiles laid out as a picture: columns, 16x16 blocks, a last partial tile
// and the cells after the last tile.
#include "tiles/TileSheet.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// 1 bpp tiles whose pixels are all 1 except where noted: tile t has its
// row t % 8 blank, so that each tile can be told from the others.
std::vector<uint8_t> markedTiles(size_t count) {
    std::vector<uint8_t> bytes(count * 8, 0xFF);
    for (size_t t = 0; t < count; ++t) bytes[t * 8 + t % 8] = 0x00;
    return bytes;
}

// The blank row of the marked tile in a cell of the picture; -1 for an
// empty cell (every row blank).
int blankRowOfCell(const Picture& picture, uint32_t column, uint32_t row) {
    int blank = -1, blankRows = 0;
    for (int y = 0; y < 8; ++y) {
        if (picture.pixels[(row * 8 + y) * picture.width + column * 8] == 0) {
            blank = y;
            ++blankRows;
        }
    }
    return blankRows == 1 ? blank : -1;
}

TEST(TileSheet, TilesRunLeftToRightInRowsOfTheColumns) {
    Arrangement arrangement;
    arrangement.columns = 3;
    const std::vector<uint8_t> bytes = markedTiles(5);
    const Picture picture = tilesToPicture(TileFormat::Bpp1, arrangement, bytes.data(), bytes.size());
    EXPECT_EQ(picture.width, 24u);
    EXPECT_EQ(picture.height, 16u);
    // Tile t at column t % 3, row t / 3; the sixth cell is empty (index 0).
    EXPECT_EQ(blankRowOfCell(picture, 0, 0), 0);
    EXPECT_EQ(blankRowOfCell(picture, 1, 0), 1);
    EXPECT_EQ(blankRowOfCell(picture, 2, 0), 2);
    EXPECT_EQ(blankRowOfCell(picture, 0, 1), 3);
    EXPECT_EQ(blankRowOfCell(picture, 1, 1), 4);
    for (int y = 8; y < 16; ++y) {
        for (int x = 16; x < 24; ++x) EXPECT_EQ(picture.pixels[y * 24 + x], 0);
    }
    EXPECT_EQ(pictureToTiles(TileFormat::Bpp1, arrangement, picture, bytes.size()), bytes);
}

TEST(TileSheet, SixteenBySixteenBlocksTakeFourTilesEach) {
    Arrangement arrangement;
    arrangement.columns = 4;
    arrangement.blocks16 = true;
    const std::vector<uint8_t> bytes = markedTiles(12);
    const Picture picture = tilesToPicture(TileFormat::Bpp1, arrangement, bytes.data(), bytes.size());
    EXPECT_EQ(picture.width, 32u);
    EXPECT_EQ(picture.height, 32u);
    // Block 0: tiles 0 1 / 2 3; block 1 beside it: 4 5 / 6 7; block 2 below.
    const int expected[4][4] = {{0, 1, 4, 5}, {2, 3, 6, 7}, {0, 1, -1, -1}, {2, 3, -1, -1}};
    for (uint32_t row = 0; row < 4; ++row) {
        for (uint32_t column = 0; column < 4; ++column) {
            // Tiles 8 to 11 are blank at rows 0 to 3, as tiles 0 to 3.
            EXPECT_EQ(blankRowOfCell(picture, column, row), expected[row][column]) << column << "," << row;
        }
    }
    EXPECT_EQ(pictureToTiles(TileFormat::Bpp1, arrangement, picture, bytes.size()), bytes);
}

TEST(TileSheet, LengthsThatAreNotWholeTilesComeBackExactly) {
    std::mt19937 random(99);
    for (TileFormat format : {TileFormat::Bpp1, TileFormat::Bpp2, TileFormat::Bpp3, TileFormat::Bpp4,
                              TileFormat::Bpp8, TileFormat::Mode7}) {
        for (size_t length : {size_t(0), size_t(1), bytesPerTile(format) - 1, bytesPerTile(format),
                              bytesPerTile(format) * 17 + 5, size_t(3000)}) {
            for (bool blocks : {false, true}) {
                std::vector<uint8_t> bytes(length);
                for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
                Arrangement arrangement;
                arrangement.columns = blocks ? 6 : 5;
                arrangement.blocks16 = blocks;
                const Picture picture = tilesToPicture(format, arrangement, bytes.data(), bytes.size());
                EXPECT_GE(sheetCapacity(arrangement, picture.width, picture.height), tilesFor(format, length));
                EXPECT_EQ(pictureToTiles(format, arrangement, picture, length), bytes)
                    << formatName(format) << " " << length << (blocks ? " blocks" : "");
            }
        }
    }
}

TEST(TileSheet, APartialTileIsDrawnAsIfPaddedWithZeros) {
    Arrangement arrangement;
    arrangement.columns = 1;
    const std::vector<uint8_t> bytes = {0xFF, 0x81};  // 2 bpp, row 0: planes FF and 81
    const Picture picture = tilesToPicture(TileFormat::Bpp2, arrangement, bytes.data(), bytes.size());
    ASSERT_EQ(picture.pixels.size(), 64u);
    EXPECT_EQ(std::vector<uint8_t>(picture.pixels.begin(), picture.pixels.begin() + 8),
              (std::vector<uint8_t>{3, 1, 1, 1, 1, 1, 1, 3}));
    EXPECT_EQ(std::vector<uint8_t>(picture.pixels.begin() + 8, picture.pixels.end()), std::vector<uint8_t>(56, 0));
}

TEST(TileSheet, SizesAndCapacities) {
    Arrangement rows;  // 16 columns
    uint64_t width = 0, height = 0;
    sheetSize(rows, 0, width, height);
    EXPECT_EQ(width, 128u);
    EXPECT_EQ(height, 8u);  // an empty sheet is one row of empty cells
    sheetSize(rows, 17, width, height);
    EXPECT_EQ(height, 16u);
    EXPECT_EQ(sheetCapacity(rows, 128, 16), 32u);
    EXPECT_EQ(sheetCapacity(rows, 128, 20), 32u);  // a part row holds no tile

    Arrangement blocks;
    blocks.blocks16 = true;
    sheetSize(blocks, 33, width, height);
    EXPECT_EQ(width, 128u);
    EXPECT_EQ(height, 32u);  // 32 tiles a row of blocks: two rows of blocks
    EXPECT_EQ(sheetCapacity(blocks, 128, 48), 96u);
    EXPECT_EQ(cellSide(blocks), 16u);
    EXPECT_EQ(tilesFor(TileFormat::Bpp4, 33), 2u);
    EXPECT_EQ(tilesFor(TileFormat::Bpp4, 32), 1u);
    EXPECT_EQ(tilesFor(TileFormat::Bpp4, 0), 0u);
}

}  // namespace
