// Tiles to an indexed PNG and back, over byte buffers: what brelquim-png
// does to each file and to each graphic of the gallery, without the files.
#pragma once

#include "tiles/Palette.h"
#include "tiles/TileFormat.h"
#include "tiles/TileSheet.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The palette that the options name: the grey ramp, or the colours of a
// palette file from row * 2^bpp on.
struct PaletteChoice {
    bool fromFile = false;
    std::vector<Colour> colours;  // every colour of the file
    uint32_t row = 0;

    // The 2^bpp colours (256 for Mode 7) that pictures of the format use.
    std::vector<Colour> forFormat(TileFormat format) const;
};

struct ConversionSettings {
    TileFormat format = TileFormat::Bpp4;
    // Whether format was chosen (--bpp, --mode7); otherwise a picture
    // without its record takes the format of its bit depth (see pngToTiles).
    bool formatChosen = true;
    Arrangement arrangement;
    PaletteChoice palette;
};

// What the way back took its format from.
struct TilesSource {
    bool recorded = true;                  // the picture's text chunk
    bool fromDepth = false;                // no chunk, no format chosen: the PNG's bit depth of 1, 2 or 4
    int bitDepth = 0;                      // the PNG's bit depth
    TileFormat format = TileFormat::Bpp4;  // the format taken
};

// Why a conversion refused, with the numbers that say where.
struct ConversionProblem {
    enum Kind {
        None,
        PictureTooLarge,     // past MAX_PICTURE_WIDTH pixels wide or MAX_PICTURE_PIXELS in all
        PngNotWritten,       // the PNG library could not write the picture
        BadPng,              // no PNG, or a damaged one
        BadRecord,           // the "brelquim" text chunk cannot be read
        NotWholeCells,       // width x height is no whole number of side x side cells
        WidthNotRecorded,    // width pixels, but the record says columns
        RecordPastPicture,   // the record's length bytes need tiles, the picture holds capacity
        ColourNotInPalette,  // colour at pixel (x, y); greyRamp: no palette file was given
        ColourTwice,         // colour at pixel (x, y) is entries first and second
        IndexPastFormat,     // index at pixel (x, y) is past the colours of format
        DrawnPastRecord,     // drawn tiles past the record's length bytes (tiles)
    } kind = None;
    uint32_t x = 0, y = 0;
    uint32_t colour = 0;                     // 0xRRGGBB
    uint32_t first = 0, second = 0;          // palette entries
    uint32_t index = 0;
    TileFormat format = TileFormat::Bpp4;
    bool greyRamp = false;
    uint32_t width = 0, height = 0, side = 0, columns = 0;
    uint64_t length = 0, tiles = 0, capacity = 0, drawn = 0;
};

struct PngOfTiles {
    std::vector<uint8_t> png;
    uint32_t width = 0, height = 0;
};

// The indexed PNG of length bytes of tiles, with the "brelquim" text chunk
// that records format, columns and length. False, with problem said, when
// the picture would be larger than a PNG may be here.
bool tilesToPng(const uint8_t* bytes, size_t length, const ConversionSettings& settings, PngOfTiles& out,
                ConversionProblem& problem);

// The bytes of the tiles of a PNG. With the text chunk, its format,
// arrangement and length hold; without it, the settings' format and
// arrangement (the columns from the picture's width), and the whole tiles
// of the picture; when the settings' format was not chosen, a picture of
// bit depth 1, 2 or 4 is 1, 2 or 4 bpp (any other keeps the settings').
// An indexed picture gives its indices; any other is mapped back through
// settings.palette.forFormat(format). False, with problem said (the first
// offending pixel where there is one), for any picture that does not give
// exact bytes, and for a picture grown in the editor past its record whose
// added tiles are not blank. source, when given, says where the format
// came from.
bool pngToTiles(const uint8_t* png, size_t length, const ConversionSettings& settings,
                std::vector<uint8_t>& bytes, ConversionProblem& problem, TilesSource* source = nullptr);
