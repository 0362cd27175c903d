#include "tiles/TileSheet.h"

#include <algorithm>
#include <cstring>

namespace {

// Hands each of the first count tiles to visit with the index of its top
// left pixel in a picture of the arrangement, width pixels wide.
template <class Visit>
void forEachTile(const Arrangement& arrangement, uint64_t count, size_t width, Visit visit) {
    const size_t tileRow = width * TILE_SIDE;
    if (!arrangement.blocks16) {
        size_t rowStart = 0, column = 0;
        for (uint64_t t = 0; t < count; ++t) {
            visit(t, rowStart + column * TILE_SIDE);
            if (++column == arrangement.columns) {
                column = 0;
                rowStart += tileRow;
            }
        }
        return;
    }
    // Blocks: tiles 0 1 / 2 3 of each block, blocks left to right.
    const uint64_t blocksPerRow = arrangement.columns / 2;
    for (uint64_t t = 0; t < count; ++t) {
        const uint64_t block = t / 4, quarter = t % 4;
        const uint64_t column = (block % blocksPerRow) * 2 + quarter % 2;
        const uint64_t row = (block / blocksPerRow) * 2 + quarter / 2;
        visit(t, static_cast<size_t>(row * tileRow + column * TILE_SIDE));
    }
}

}  // namespace

uint32_t cellSide(const Arrangement& arrangement) { return arrangement.blocks16 ? 2 * TILE_SIDE : TILE_SIDE; }

uint64_t tilesFor(TileFormat format, uint64_t length) {
    const uint64_t tileBytes = bytesPerTile(format);
    return length / tileBytes + (length % tileBytes != 0);
}

void sheetSize(const Arrangement& arrangement, uint64_t tiles, uint64_t& width, uint64_t& height) {
    const uint64_t tilesPerRow = arrangement.blocks16 ? uint64_t(arrangement.columns) * 2 : arrangement.columns;
    const uint64_t rows = std::max<uint64_t>(1, (tiles + tilesPerRow - 1) / tilesPerRow);
    width = uint64_t(arrangement.columns) * TILE_SIDE;
    height = rows * cellSide(arrangement);
}

uint64_t sheetCapacity(const Arrangement& arrangement, uint32_t width, uint32_t height) {
    const uint32_t side = cellSide(arrangement);
    const uint64_t cells = uint64_t(width / side) * (height / side);
    return arrangement.blocks16 ? cells * 4 : cells;
}

Picture tilesToPicture(TileFormat format, const Arrangement& arrangement, const uint8_t* bytes, size_t length) {
    const size_t tileBytes = bytesPerTile(format);
    const uint64_t tiles = tilesFor(format, length);
    uint64_t width = 0, height = 0;
    sheetSize(arrangement, tiles, width, height);
    Picture picture;
    picture.width = static_cast<uint32_t>(width);
    picture.height = static_cast<uint32_t>(height);
    picture.pixels.assign(static_cast<size_t>(width * height), 0);

    uint8_t* pixels = picture.pixels.data();
    const size_t whole = length / tileBytes;
    forEachTile(arrangement, tiles, picture.width, [&](uint64_t t, size_t origin) {
        if (t < whole) {
            decodeTile(format, bytes + t * tileBytes, pixels + origin, picture.width);
        } else {
            uint8_t padded[MAX_TILE_BYTES] = {};
            std::memcpy(padded, bytes + whole * tileBytes, length - whole * tileBytes);
            decodeTile(format, padded, pixels + origin, picture.width);
        }
    });
    return picture;
}

std::vector<uint8_t> pictureToTiles(TileFormat format, const Arrangement& arrangement, const Picture& picture,
                                    size_t length) {
    const size_t tileBytes = bytesPerTile(format);
    const uint64_t tiles = tilesFor(format, length);
    std::vector<uint8_t> bytes(static_cast<size_t>(tiles * tileBytes));
    forEachTile(arrangement, tiles, picture.width, [&](uint64_t t, size_t origin) {
        encodeTile(format, picture.pixels.data() + origin, picture.width, bytes.data() + t * tileBytes);
    });
    bytes.resize(length);
    return bytes;
}
