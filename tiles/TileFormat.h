// The SNES tile formats: 8x8 pixels, one colour index per pixel, stored as
// bit planes (bit 7 of a plane byte is the leftmost pixel) or, for Mode 7,
// one byte per pixel. Pure functions over buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class TileFormat { Bpp1, Bpp2, Bpp3, Bpp4, Bpp8, Mode7 };

constexpr int TILE_SIDE = 8;
constexpr int TILE_PIXELS = TILE_SIDE * TILE_SIDE;
// The largest tile: 8 bpp and Mode 7.
constexpr size_t MAX_TILE_BYTES = 64;

// Bits of a pixel's index: 1, 2, 3, 4 or 8 (8 for Mode 7).
int bitsPerPixel(TileFormat format);
// Colours a tile of the format can name: 2 to the bits per pixel.
int colourCount(TileFormat format);
// Bytes of one tile: 8 times the bits per pixel.
size_t bytesPerTile(TileFormat format);
// "1bpp", "2bpp", "3bpp", "4bpp", "8bpp" or "mode7".
const char* formatName(TileFormat format);
// The format of a name that formatName gives; false for any other text.
bool formatFromName(const std::string& name, TileFormat& format);

// Pixels of one tile: row r of the tile goes to pixels[r * stride] to
// pixels[r * stride + 7].
void decodeTile(TileFormat format, const uint8_t* tile, uint8_t* pixels, size_t stride);
// The inverse: bytesPerTile bytes from 64 pixels read as decodeTile writes
// them. Bits of an index above the format's are dropped.
void encodeTile(TileFormat format, const uint8_t* pixels, size_t stride, uint8_t* tile);
