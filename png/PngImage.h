// Indexed PNG files written and read through libspng, in memory.
#pragma once

#include "tiles/Palette.h"
#include "tiles/TileSheet.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Pictures larger than these are refused before anything of their size
// is allocated: at most MAX_PICTURE_WIDTH pixels wide (MAX_COLUMNS tiles),
// MAX_PICTURE_HEIGHT high and MAX_PICTURE_PIXELS in all (a 16 MiB index
// buffer, 48 MiB as truecolour).
constexpr uint32_t MAX_PICTURE_WIDTH = MAX_COLUMNS * TILE_SIDE;
constexpr uint32_t MAX_PICTURE_PIXELS = uint32_t(1) << 24;
constexpr uint32_t MAX_PICTURE_HEIGHT = MAX_PICTURE_PIXELS / TILE_SIDE;

// The smallest PNG bit depth (1, 2, 4 or 8) that holds colours entries.
int pngBitDepthFor(int colours);

// How a PNG is compressed: the smallest file (zlib's default level, the
// row filters chosen per row), or quickly (zlib's fastest level, matching
// runs only, no row filter), for many small pictures written at once.
enum class PngCompression { Smallest, Fast };

// An indexed PNG of the picture, with the palette as its PLTE and one
// tEXt chunk of the keyword and text. False only when libspng fails.
bool writeIndexedPng(const Picture& picture, int bitDepth, const std::vector<Colour>& palette,
                     const char* keyword, const std::string& text, std::vector<uint8_t>& png,
                     PngCompression compression = PngCompression::Smallest);

// A PNG as read: indices of an indexed picture, or colours of any other.
struct ReadPng {
    enum Outcome { Read, Invalid, TooLarge } outcome = Invalid;
    bool indexed = false;
    int bitDepth = 0;            // the header's bits per sample (1, 2, 4, 8 or 16)
    Picture picture;             // indexed: one index a pixel
    std::vector<Colour> colours; // otherwise: one colour a pixel, row by row
    bool hasText = false;        // the text chunk of the keyword was found
    std::string text;            // its text (the first such chunk)
};

// Reads a PNG of any colour type. Damaged files (bad signature, bad CRC of
// any chunk, truncated data) are Invalid; sizes above the limits are
// TooLarge, refused before the image is decoded.
ReadPng readPng(const uint8_t* bytes, size_t length, const char* keyword);
