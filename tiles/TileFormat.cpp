#include "tiles/TileFormat.h"

#include <array>
#include <cstring>

// Eight pixels of a row travel as one 64-bit word, pixel x in byte x.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixel rows are packed little-endian");

namespace {

// Where plane k of row r lies in a tile. Planes go in pairs, rows
// interleaved (row r of planes 2p and 2p + 1 in bytes 16p + 2r and
// 16p + 2r + 1); 1 bpp has one plane byte per row, and the third plane of
// 3 bpp follows the first pair with one byte per row.
template <int PLANES>
constexpr int planeOffset(int k, int r) {
    if (PLANES == 1) return r;
    if (PLANES == 3 && k == 2) return 16 + r;
    return 16 * (k / 2) + 2 * r + (k % 2);
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

template <int PLANES>
void decodePlanar(const uint8_t* tile, uint8_t* pixels, size_t stride) {
    for (int r = 0; r < TILE_SIDE; ++r) {
        uint64_t row = 0;
        for (int k = 0; k < PLANES; ++k) row |= SPREAD[tile[planeOffset<PLANES>(k, r)]] << k;
        std::memcpy(pixels + r * stride, &row, sizeof row);
    }
}

template <int PLANES>
void encodePlanar(const uint8_t* pixels, size_t stride, uint8_t* tile) {
    for (int r = 0; r < TILE_SIDE; ++r) {
        uint64_t row;
        std::memcpy(&row, pixels + r * stride, sizeof row);
        for (int k = 0; k < PLANES; ++k) tile[planeOffset<PLANES>(k, r)] = gatherPlane(row, k);
    }
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
    switch (format) {
        case TileFormat::Bpp1: return decodePlanar<1>(tile, pixels, stride);
        case TileFormat::Bpp2: return decodePlanar<2>(tile, pixels, stride);
        case TileFormat::Bpp3: return decodePlanar<3>(tile, pixels, stride);
        case TileFormat::Bpp4: return decodePlanar<4>(tile, pixels, stride);
        case TileFormat::Bpp8: return decodePlanar<8>(tile, pixels, stride);
        case TileFormat::Mode7:
            for (int r = 0; r < TILE_SIDE; ++r) std::memcpy(pixels + r * stride, tile + r * TILE_SIDE, TILE_SIDE);
            return;
    }
}

void encodeTile(TileFormat format, const uint8_t* pixels, size_t stride, uint8_t* tile) {
    switch (format) {
        case TileFormat::Bpp1: return encodePlanar<1>(pixels, stride, tile);
        case TileFormat::Bpp2: return encodePlanar<2>(pixels, stride, tile);
        case TileFormat::Bpp3: return encodePlanar<3>(pixels, stride, tile);
        case TileFormat::Bpp4: return encodePlanar<4>(pixels, stride, tile);
        case TileFormat::Bpp8: return encodePlanar<8>(pixels, stride, tile);
        case TileFormat::Mode7:
            for (int r = 0; r < TILE_SIDE; ++r) std::memcpy(tile + r * TILE_SIDE, pixels + r * stride, TILE_SIDE);
            return;
    }
}
