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
// empty cell (every pixel 0), -2 for anything else.
int blankRowOfCell(const Picture& picture, uint32_t column, uint32_t row) {
    int blank = -1, lit = 0;
    for (uint32_t y = 0; y < 8; ++y) {
        for (uint32_t x = 0; x < 8; ++x) lit += picture.pixels[(row * 8 + y) * picture.width + column * 8 + x];
        if (picture.pixels[(row * 8 + y) * picture.width + column * 8] == 0) blank = blank == -1 ? int(y) : -2;
    }
    return lit == 0 ? -1 : lit == 56 ? blank : -2;
}

TEST(TileSheet, TilesRunInRowsOfColumnsOrInSixteenBySixteenBlocks) {
    struct Layout {
        uint32_t columns;
        bool blocks16;
        size_t tiles;
        std::vector<std::vector<int>> cells;  // blank row of each cell's tile, -1 for an empty cell
    };
    const Layout table[] = {
        // Tile t at column t % 3, row t / 3; the sixth cell is empty.
        {3, false, 5, {{0, 1, 2}, {3, 4, -1}}},
        // Block 0: tiles 0 1 / 2 3; block 1 beside it: 4 5 / 6 7; block 2
        // below (tiles 8 to 11 are blank at rows 0 to 3, as tiles 0 to 3).
        {4, true, 12, {{0, 1, 4, 5}, {2, 3, 6, 7}, {0, 1, -1, -1}, {2, 3, -1, -1}}},
    };
    for (const Layout& layout : table) {
        Arrangement arrangement;
        arrangement.columns = layout.columns;
        arrangement.blocks16 = layout.blocks16;
        const std::vector<uint8_t> bytes = markedTiles(layout.tiles);
        const Picture picture = tilesToPicture(TileFormat::Bpp1, arrangement, bytes.data(), bytes.size());
        ASSERT_EQ(picture.width, layout.columns * 8);
        ASSERT_EQ(picture.height, layout.cells.size() * 8);
        for (uint32_t row = 0; row < layout.cells.size(); ++row) {
            for (uint32_t column = 0; column < layout.columns; ++column) {
                EXPECT_EQ(blankRowOfCell(picture, column, row), layout.cells[row][column]) << column << "," << row;
            }
        }
        EXPECT_EQ(pictureToTiles(TileFormat::Bpp1, arrangement, picture, bytes.size()), bytes);
    }
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
    Arrangement blocks;
    blocks.blocks16 = true;
    struct Size {
        const Arrangement& arrangement;
        uint64_t tiles, width, height;
    };
    // An empty sheet is one row of empty cells; 32 tiles make a row of blocks.
    for (const Size& size : {Size{rows, 0, 128, 8}, Size{rows, 17, 128, 16}, Size{blocks, 33, 128, 32}}) {
        uint64_t width = 0, height = 0;
        sheetSize(size.arrangement, size.tiles, width, height);
        EXPECT_EQ(width, size.width);
        EXPECT_EQ(height, size.height) << size.tiles;
    }
    EXPECT_EQ(sheetCapacity(rows, 128, 16), 32u);
    EXPECT_EQ(sheetCapacity(rows, 128, 20), 32u);  // a part row holds no tile
    EXPECT_EQ(sheetCapacity(blocks, 128, 48), 96u);
    EXPECT_EQ(cellSide(blocks), 16u);
    EXPECT_EQ(tilesFor(TileFormat::Bpp4, 33), 2u);
    EXPECT_EQ(tilesFor(TileFormat::Bpp4, 32), 1u);
    EXPECT_EQ(tilesFor(TileFormat::Bpp4, 0), 0u);
}

}  // namespace
