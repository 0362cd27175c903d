#include "png/Conversion.h"

#include "png/PngImage.h"
#include "png/TileRecord.h"

#include <algorithm>
#include <map>

namespace {

ConversionProblem refusal(ConversionProblem::Kind kind) {
    ConversionProblem problem;
    problem.kind = kind;
    return problem;
}

// The first pixel whose index the format cannot hold.
bool checkIndices(const Picture& picture, TileFormat format, ConversionProblem& problem) {
    const int colours = colourCount(format);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        if (picture.pixels[i] >= colours) {
            problem = refusal(ConversionProblem::IndexPastFormat);
            problem.index = picture.pixels[i];
            problem.x = static_cast<uint32_t>(i % picture.width);
            problem.y = static_cast<uint32_t>(i / picture.width);
            problem.format = format;
            return false;
        }
    }
    return true;
}

uint32_t packed(const Colour& c) { return uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | c.blue; }

// Colours back to the indices of the palette: each colour must be in it
// exactly once.
bool mapColours(const std::vector<Colour>& colours, uint32_t width, const std::vector<Colour>& palette,
                Picture& picture, ConversionProblem& problem) {
    // Colour to its entry; entries of a colour met twice keep both numbers.
    constexpr uint32_t NONE = ~uint32_t(0);
    std::map<uint32_t, std::pair<uint32_t, uint32_t>> entries;
    for (uint32_t i = 0; i < palette.size(); ++i) {
        auto [place, fresh] = entries.emplace(packed(palette[i]), std::make_pair(i, NONE));
        if (!fresh && place->second.second == NONE) place->second.second = i;
    }
    picture.pixels.resize(colours.size());
    uint32_t lastColour = NONE;
    uint8_t lastIndex = 0;
    for (size_t i = 0; i < colours.size(); ++i) {
        const uint32_t colour = packed(colours[i]);
        if (colour != lastColour) {
            const auto found = entries.find(colour);
            if (found == entries.end() || found->second.second != NONE) {
                problem = refusal(found == entries.end() ? ConversionProblem::ColourNotInPalette
                                                         : ConversionProblem::ColourTwice);
                problem.colour = colour;
                problem.x = static_cast<uint32_t>(i % width);
                problem.y = static_cast<uint32_t>(i / width);
                if (found != entries.end()) {
                    problem.first = found->second.first;
                    problem.second = found->second.second;
                }
                return false;
            }
            lastColour = colour;
            lastIndex = static_cast<uint8_t>(found->second.first);
        }
        picture.pixels[i] = lastIndex;
    }
    return true;
}

}  // namespace

std::vector<Colour> PaletteChoice::forFormat(TileFormat format) const {
    const int count = colourCount(format);
    return fromFile ? paletteRow(colours, row, count) : greyRamp(count);
}

bool tilesToPng(const uint8_t* bytes, size_t length, const ConversionSettings& settings, PngOfTiles& out,
                ConversionProblem& problem) {
    uint64_t width = 0, height = 0;
    sheetSize(settings.arrangement, tilesFor(settings.format, length), width, height);
    if (width > MAX_PICTURE_WIDTH || width * height > MAX_PICTURE_PIXELS) {
        problem = refusal(ConversionProblem::PictureTooLarge);
        return false;
    }
    const Picture picture = tilesToPicture(settings.format, settings.arrangement, bytes, length);
    TileRecord record;
    record.format = settings.format;
    record.arrangement = settings.arrangement;
    record.length = length;
    const int colours = colourCount(settings.format);
    if (!writeIndexedPng(picture, pngBitDepthFor(colours), settings.palette.forFormat(settings.format),
                         RECORD_KEYWORD, recordText(record), out.png)) {
        problem = refusal(ConversionProblem::PngNotWritten);
        return false;
    }
    out.width = picture.width;
    out.height = picture.height;
    return true;
}

namespace {

// The picture read, or why it cannot be.
bool readPicture(const uint8_t* png, size_t length, ReadPng& read, ConversionProblem& problem) {
    read = readPng(png, length, RECORD_KEYWORD);
    if (read.outcome == ReadPng::TooLarge) {
        problem = refusal(ConversionProblem::PictureTooLarge);
        return false;
    }
    if (read.outcome != ReadPng::Read) {
        problem = refusal(ConversionProblem::BadPng);
        return false;
    }
    return true;
}

// The format a picture of a bit depth of 1, 2 or 4 is drawn in; false,
// format kept, for any other depth.
bool formatOfDepth(int bitDepth, TileFormat& format) {
    switch (bitDepth) {
        case 1: format = TileFormat::Bpp1; return true;
        case 2: format = TileFormat::Bpp2; return true;
        case 4: format = TileFormat::Bpp4; return true;
        default: return false;
    }
}

// What the picture holds: its text chunk's record, which its size must
// agree with, or, without one, the settings' format and arrangement with
// the columns of its width and the length of all of its whole tiles; and
// how many tiles it has room for.
bool recordOf(const ReadPng& read, const ConversionSettings& settings, TileRecord& record, uint64_t& capacity,
              ConversionProblem& problem) {
    const uint32_t width = read.picture.width, height = read.picture.height;
    record.format = settings.format;
    if (!read.hasText && !settings.formatChosen) formatOfDepth(read.bitDepth, record.format);
    record.arrangement = settings.arrangement;
    if (read.hasText && !parseRecordText(read.text, record)) {
        problem = refusal(ConversionProblem::BadRecord);
        return false;
    }
    const uint32_t side = cellSide(record.arrangement);
    if (width % side != 0 || height % side != 0) {
        problem = refusal(ConversionProblem::NotWholeCells);
        problem.width = width;
        problem.height = height;
        problem.side = side;
        return false;
    }
    if (!read.hasText) {
        record.arrangement.columns = width / TILE_SIDE;
    } else if (record.arrangement.columns * TILE_SIDE != width) {
        problem = refusal(ConversionProblem::WidthNotRecorded);
        problem.width = width;
        problem.columns = record.arrangement.columns;
        return false;
    }
    capacity = sheetCapacity(record.arrangement, width, height);
    if (!read.hasText) {
        record.length = capacity * bytesPerTile(record.format);
    } else if (tilesFor(record.format, record.length) > capacity) {
        problem = refusal(ConversionProblem::RecordPastPicture);
        problem.length = record.length;
        problem.tiles = tilesFor(record.format, record.length);
        problem.capacity = capacity;
        return false;
    }
    return true;
}

// The picture as indices the format holds: an indexed picture's own, any
// other's colours mapped back through the palette.
bool toIndices(ReadPng& read, const ConversionSettings& settings, TileFormat format, ConversionProblem& problem) {
    if (!read.indexed &&
        !mapColours(read.colours, read.picture.width, settings.palette.forFormat(format), read.picture, problem)) {
        problem.greyRamp = !settings.palette.fromFile;
        return false;
    }
    return checkIndices(read.picture, format, problem);
}

// A picture made larger in the editor than its record says: the tiles past
// the record are dropped only when they are blank (index 0).
bool keepRecordedTiles(const TileRecord& record, uint64_t capacity, std::vector<uint8_t>& bytes,
                       ConversionProblem& problem) {
    const uint64_t tileBytes = bytesPerTile(record.format);
    const uint64_t keptTiles = tilesFor(record.format, record.length);
    uint64_t drawn = 0;
    for (uint64_t tile = keptTiles; tile < capacity; ++tile) {
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(tile * tileBytes);
        drawn += std::any_of(first, first + static_cast<std::ptrdiff_t>(tileBytes), [](uint8_t b) { return b != 0; });
    }
    if (drawn > 0) {
        problem = refusal(ConversionProblem::DrawnPastRecord);
        problem.drawn = drawn;
        problem.length = record.length;
        problem.tiles = keptTiles;
        return false;
    }
    bytes.resize(static_cast<size_t>(record.length));
    return true;
}

}  // namespace

bool pngToTiles(const uint8_t* png, size_t length, const ConversionSettings& settings,
                std::vector<uint8_t>& bytes, ConversionProblem& problem, TilesSource* source) {
    ReadPng read;
    TileRecord record;
    uint64_t capacity = 0;
    if (!readPicture(png, length, read, problem) || !recordOf(read, settings, record, capacity, problem) ||
        !toIndices(read, settings, record.format, problem)) {
        return false;
    }
    bytes = pictureToTiles(record.format, record.arrangement, read.picture,
                           static_cast<size_t>(capacity * bytesPerTile(record.format)));
    if (!keepRecordedTiles(record, capacity, bytes, problem)) return false;
    if (source) {
        TileFormat depthFormat = record.format;
        source->recorded = read.hasText;
        source->fromDepth = !read.hasText && !settings.formatChosen && formatOfDepth(read.bitDepth, depthFormat);
        source->bitDepth = read.bitDepth;
        source->format = record.format;
    }
    return true;
}
