#include "png/Conversion.h"

#include "png/PngImage.h"
#include "png/TileRecord.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <map>

namespace {

std::string formatted(const char* format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

const char* const TOO_LARGE = "imagem grande demais (o limite \xE9 de %u pixels de largura e %u pixels ao todo)";

// The first pixel whose index the format cannot hold.
bool checkIndices(const Picture& picture, TileFormat format, std::string& reason) {
    const int colours = colourCount(format);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        if (picture.pixels[i] >= colours) {
            reason = formatted("\xEDndice %u no pixel (%u, %u) fora das %d cores do formato %s",
                               unsigned(picture.pixels[i]), unsigned(i % picture.width),
                               unsigned(i / picture.width), colours, formatName(format));
            return false;
        }
    }
    return true;
}

uint32_t packed(const Colour& c) { return uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | c.blue; }

// Colours back to the indices of the palette: each colour must be in it
// exactly once.
bool mapColours(const std::vector<Colour>& colours, uint32_t width, const std::vector<Colour>& palette,
                Picture& picture, std::string& reason) {
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
            const unsigned x = unsigned(i % width), y = unsigned(i / width);
            if (found == entries.end()) {
                reason = formatted("cor #%06X no pixel (%u, %u) n\xE3o est\xE1 na paleta", colour, x, y);
                return false;
            }
            if (found->second.second != NONE) {
                reason = formatted("cor #%06X no pixel (%u, %u) est\xE1 em duas entradas da paleta (%u e %u)",
                                   colour, x, y, found->second.first, found->second.second);
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
                std::string& reason) {
    uint64_t width = 0, height = 0;
    sheetSize(settings.arrangement, tilesFor(settings.format, length), width, height);
    if (width > MAX_PICTURE_WIDTH || width * height > MAX_PICTURE_PIXELS) {
        reason = formatted(TOO_LARGE, MAX_PICTURE_WIDTH, MAX_PICTURE_PIXELS);
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
        reason = "a biblioteca PNG n\xE3o conseguiu escrever a imagem";
        return false;
    }
    out.width = picture.width;
    out.height = picture.height;
    return true;
}

namespace {

bool readPicture(const uint8_t* png, size_t length, ReadPng& read, std::string& reason) {
    read = readPng(png, length, RECORD_KEYWORD);
    if (read.outcome == ReadPng::TooLarge) {
        reason = formatted(TOO_LARGE, MAX_PICTURE_WIDTH, MAX_PICTURE_PIXELS);
        return false;
    }
    if (read.outcome != ReadPng::Read) {
        reason = "PNG inv\xE1lido ou danificado";
        return false;
    }
    return true;
}

// What the picture holds: its text chunk's record, which its size must
// agree with, or, without one, the settings' format and arrangement with
// the columns of its width and the length of all of its whole tiles; and
// how many tiles it has room for.
bool recordOf(const ReadPng& read, const ConversionSettings& settings, TileRecord& record, uint64_t& capacity,
              std::string& reason) {
    const uint32_t width = read.picture.width, height = read.picture.height;
    record.format = settings.format;
    record.arrangement = settings.arrangement;
    if (read.hasText && !parseRecordText(read.text, record)) {
        reason = "registro brelquim ileg\xEDvel";
        return false;
    }
    const uint32_t side = cellSide(record.arrangement);
    if (width % side != 0 || height % side != 0) {
        reason = formatted("tamanho %u x %u n\xE3o \xE9 de %s inteiros de %u x %u", width, height,
                           side == TILE_SIDE ? "tiles" : "blocos", side, side);
        return false;
    }
    if (!read.hasText) {
        record.arrangement.columns = width / TILE_SIDE;
    } else if (record.arrangement.columns * TILE_SIDE != width) {
        reason = formatted("largura de %u pixels, mas o registro brelquim diz %u colunas (%u pixels)", width,
                           record.arrangement.columns, record.arrangement.columns * TILE_SIDE);
        return false;
    }
    capacity = sheetCapacity(record.arrangement, width, height);
    if (!read.hasText) {
        record.length = capacity * bytesPerTile(record.format);
    } else if (tilesFor(record.format, record.length) > capacity) {
        reason = formatted("o registro brelquim pede %llu bytes (%llu tiles), a imagem tem %llu tiles",
                           static_cast<unsigned long long>(record.length),
                           static_cast<unsigned long long>(tilesFor(record.format, record.length)),
                           static_cast<unsigned long long>(capacity));
        return false;
    }
    return true;
}

// The picture as indices the format holds: an indexed picture's own, any
// other's colours mapped back through the palette.
bool toIndices(ReadPng& read, const ConversionSettings& settings, TileFormat format, std::string& reason) {
    if (!read.indexed &&
        !mapColours(read.colours, read.picture.width, settings.palette.forFormat(format), read.picture, reason)) {
        if (!settings.palette.fromFile) {
            reason += "; sem --palette vale a escala de cinza: d\xEA com --palette a paleta com que a imagem foi "
                      "desenhada";
        }
        return false;
    }
    return checkIndices(read.picture, format, reason);
}

// A picture made larger in the editor than its record says: the tiles past
// the record are dropped only when they are blank (index 0).
bool keepRecordedTiles(const TileRecord& record, uint64_t capacity, std::vector<uint8_t>& bytes,
                       std::string& reason) {
    const uint64_t tileBytes = bytesPerTile(record.format);
    const uint64_t keptTiles = tilesFor(record.format, record.length);
    uint64_t drawn = 0;
    for (uint64_t tile = keptTiles; tile < capacity; ++tile) {
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(tile * tileBytes);
        drawn += std::any_of(first, first + static_cast<std::ptrdiff_t>(tileBytes), [](uint8_t b) { return b != 0; });
    }
    if (drawn > 0) {
        reason = formatted("%llu tiles desenhados al\xE9m dos %llu bytes (%llu tiles) do registro brelquim; para "
                           "mant\xEA-los, tire do PNG o registro (chunk tEXt brelquim), converta de novo dando o "
                           "formato (--bpp/--mode7, --blocks16) e insira com --allow-resize",
                           static_cast<unsigned long long>(drawn), static_cast<unsigned long long>(record.length),
                           static_cast<unsigned long long>(keptTiles));
        return false;
    }
    bytes.resize(static_cast<size_t>(record.length));
    return true;
}

}  // namespace

bool pngToTiles(const uint8_t* png, size_t length, const ConversionSettings& settings,
                std::vector<uint8_t>& bytes, std::string& reason, bool* recorded) {
    ReadPng read;
    TileRecord record;
    uint64_t capacity = 0;
    if (!readPicture(png, length, read, reason) || !recordOf(read, settings, record, capacity, reason) ||
        !toIndices(read, settings, record.format, reason)) {
        return false;
    }
    bytes = pictureToTiles(record.format, record.arrangement, read.picture,
                           static_cast<size_t>(capacity * bytesPerTile(record.format)));
    if (!keepRecordedTiles(record, capacity, bytes, reason)) return false;
    if (recorded) *recorded = read.hasText;
    return true;
}
