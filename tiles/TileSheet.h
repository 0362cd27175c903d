// Tiles laid out as one picture and read back from it. Tiles run left to
// right, a given number of columns a row, rows downward; the cells after
// the last tile hold index 0. In 16x16 blocks, each four tiles in a row
// make one block (top left, top right, bottom left, bottom right), and the
// blocks run the same way, columns / 2 of them a row.
#pragma once

#include "tiles/TileFormat.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The most columns a sheet can have.
constexpr uint32_t MAX_COLUMNS = 1024;

struct Arrangement {
    uint32_t columns = 16;  // tiles a row, 1 to MAX_COLUMNS; even in blocks
    bool blocks16 = false;
};

// One colour index per pixel, rows top to bottom.
struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;
};

// Side of the unit the picture's width and height come in: 8 pixels (a
// tile), 16 in blocks.
uint32_t cellSide(const Arrangement& arrangement);
// Tiles needed for length bytes: whole tiles, a last partial tile
// counting as one.
uint64_t tilesFor(TileFormat format, uint64_t length);
// Size in pixels of the sheet of a number of tiles: columns * 8 wide, at
// least one row of tiles (of blocks) high.
void sheetSize(const Arrangement& arrangement, uint64_t tiles, uint64_t& width, uint64_t& height);
// Tiles that a picture of this size holds (its width and height whole
// cells).
uint64_t sheetCapacity(const Arrangement& arrangement, uint32_t width, uint32_t height);

// The picture of length bytes of tiles (a last partial tile read as if
// padded with zeros). The caller makes sure its size is reasonable.
Picture tilesToPicture(TileFormat format, const Arrangement& arrangement, const uint8_t* bytes, size_t length);
// The first length bytes of the tiles of a picture whose width is
// columns * 8 and which holds at least tilesFor(length) tiles.
std::vector<uint8_t> pictureToTiles(TileFormat format, const Arrangement& arrangement, const Picture& picture,
                                    size_t length);
