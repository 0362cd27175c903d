#include "tiles/TileFormat.h"

#include <array>
#include <cstring>

// Eight pixels of a row travel as one 64-bit word, pixel x in byte x.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixel rows are packed little-endian");

namespace {

// Where plane k of row r lies in a tile: byte offset + step * r.
struct PlanePlace {
    uint8_t offset;
    uint8_t step;
};

// Planes go in pairs, rows interleaved (row r of planes 2p and 2p + 1 in
// bytes 16p + 2r and 16p + 2r + 1); 1 bpp has one plane byte per row, and
// the third plane of 3 bpp follows the first pair with one byte per row.
constexpr PlanePlace PAIRED_PLANES[8] = {{0, 2}, {1, 2}, {16, 2}, {17, 2}, {32, 2}, {33, 2}, {48, 2}, {49, 2}};
constexpr PlanePlace SINGLE_PLANE[1] = {{0, 1}};
constexpr PlanePlace THREE_PLANES[3] = {{0, 2}, {1, 2}, {16, 1}};

const PlanePlace* planesOf(TileFormat format) {
    switch (format) {
        case TileFormat::Bpp1: return SINGLE_PLANE;
        case TileFormat::Bpp3: return THREE_PLANES;
        default: return PAIRED_PLANES;
    }
}

// A plane byte spread over a pixel row: bit 7 - x of the byte becomes bit 0
// of byte x.
constexpr std::array<uint64_t, 256> makeSpread() {
    std::array<uint64_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        uint64_t row = 0;
        for (int x = 0; x < 8; ++x) row |= uint64_t((value >> (7 - x)) & 1) << (8 * x);
        table[value] = row;
    }
    return table;
}
constexpr std::array<uint64_t, 256> SPREAD = makeSpread();

// Bit 0 of every byte of a row.
constexpr uint64_t LOW_BITS = 0x0101010101010101ull;
// Multiplying bit 0 of byte x by this moves it to bit 63 - x, with no two
// products meeting: the top byte is then the plane byte.
constexpr uint64_t GATHER = 0x8040201008040201ull;

uint8_t gatherPlane(uint64_t row, int plane) {
    return static_cast<uint8_t>((((row >> plane) & LOW_BITS) * GATHER) >> 56);
}

}  // namespace

int bitsPerPixel(TileFormat format) {
    switch (format) {
        case TileFormat::Bpp1: return 1;
        case TileFormat::Bpp2: return 2;
        case TileFormat::Bpp3: return 3;
        case TileFormat::Bpp4: return 4;
        case TileFormat::Bpp8:
        case TileFormat::Mode7: return 8;
    }
    return 8;
}

int colourCount(TileFormat format) { return 1 << bitsPerPixel(format); }

size_t bytesPerTile(TileFormat format) { return static_cast<size_t>(bitsPerPixel(format)) * TILE_SIDE; }

const char* formatName(TileFormat format) {
    switch (format) {
        case TileFormat::Bpp1: return "1bpp";
        case TileFormat::Bpp2: return "2bpp";
        case TileFormat::Bpp3: return "3bpp";
        case TileFormat::Bpp4: return "4bpp";
        case TileFormat::Bpp8: return "8bpp";
        case TileFormat::Mode7: return "mode7";
    }
    return "";
}

bool formatFromName(const std::string& name, TileFormat& format) {
    for (TileFormat candidate : {TileFormat::Bpp1, TileFormat::Bpp2, TileFormat::Bpp3, TileFormat::Bpp4,
                                 TileFormat::Bpp8, TileFormat::Mode7}) {
        if (name == formatName(candidate)) {
            format = candidate;
            return true;
        }
    }
    return false;
}

void decodeTile(TileFormat format, const uint8_t* tile, uint8_t* pixels, size_t stride) {
    if (format == TileFormat::Mode7) {
        for (int r = 0; r < TILE_SIDE; ++r) std::memcpy(pixels + r * stride, tile + r * TILE_SIDE, TILE_SIDE);
        return;
    }
    const PlanePlace* planes = planesOf(format);
    const int planeCount = bitsPerPixel(format);
    for (int r = 0; r < TILE_SIDE; ++r) {
        uint64_t row = 0;
        for (int k = 0; k < planeCount; ++k) row |= SPREAD[tile[planes[k].offset + planes[k].step * r]] << k;
        std::memcpy(pixels + r * stride, &row, sizeof row);
    }
}

void encodeTile(TileFormat format, const uint8_t* pixels, size_t stride, uint8_t* tile) {
    if (format == TileFormat::Mode7) {
        for (int r = 0; r < TILE_SIDE; ++r) std::memcpy(tile + r * TILE_SIDE, pixels + r * stride, TILE_SIDE);
        return;
    }
    const PlanePlace* planes = planesOf(format);
    const int planeCount = bitsPerPixel(format);
    for (int r = 0; r < TILE_SIDE; ++r) {
        uint64_t row;
        std::memcpy(&row, pixels + r * stride, sizeof row);
        for (int k = 0; k < planeCount; ++k) tile[planes[k].offset + planes[k].step * r] = gatherPlane(row, k);
    }
}
