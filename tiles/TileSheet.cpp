#include "tiles/TileSheet.h"

#include <algorithm>
#include <cstring>

namespace {

// Top left pixel of tile t in a picture of the arrangement.
size_t tileOrigin(const Arrangement& arrangement, uint64_t t, size_t width) {
    uint64_t column = 0, row = 0;
    if (arrangement.blocks16) {
        const uint64_t blocksPerRow = arrangement.columns / 2;
        const uint64_t block = t / 4, quarter = t % 4;
        column = (block % blocksPerRow) * 2 + quarter % 2;
        row = (block / blocksPerRow) * 2 + quarter / 2;
    } else {
        column = t % arrangement.columns;
        row = t / arrangement.columns;
    }
    return static_cast<size_t>(row * TILE_SIDE * width + column * TILE_SIDE);
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

    const size_t whole = length / tileBytes;
    for (size_t t = 0; t < whole; ++t) {
        decodeTile(format, bytes + t * tileBytes, picture.pixels.data() + tileOrigin(arrangement, t, picture.width),
                   picture.width);
    }
    if (whole < tiles) {
        uint8_t padded[MAX_TILE_BYTES] = {};
        std::memcpy(padded, bytes + whole * tileBytes, length - whole * tileBytes);
        decodeTile(format, padded, picture.pixels.data() + tileOrigin(arrangement, whole, picture.width),
                   picture.width);
    }
    return picture;
}

std::vector<uint8_t> pictureToTiles(TileFormat format, const Arrangement& arrangement, const Picture& picture,
                                    size_t length) {
    const size_t tileBytes = bytesPerTile(format);
    const uint64_t tiles = tilesFor(format, length);
    std::vector<uint8_t> bytes(static_cast<size_t>(tiles * tileBytes));
    for (size_t t = 0; t < tiles; ++t) {
        encodeTile(format, picture.pixels.data() + tileOrigin(arrangement, t, picture.width), picture.width,
                   bytes.data() + t * tileBytes);
    }
    bytes.resize(length);
    return bytes;
}
