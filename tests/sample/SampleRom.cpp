#include "tests/sample/SampleRom.h"

#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicCodec.h"
#include "tiles/TileFormat.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

constexpr uint32_t DATA_START = 0x038000;        // $87:8000, after the directory's bank
constexpr uint32_t WORKED_EXAMPLE_OFFSET = 0x040000;  // $88:8000
constexpr int WORKED_EXAMPLE_GRAPHIC = 7;

class Random {
public:
    explicit Random(uint32_t seed) : state(seed) {}
    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    uint32_t below(uint32_t bound) { return next() % bound; }

private:
    uint32_t state;
};

// Contents of the kinds a game's graphics have: large blank areas, noisy
// tiles, tile rows with repeating bitplanes, and mixtures.
std::vector<uint8_t> makeContent(int kind, size_t length, Random& random) {
    std::vector<uint8_t> bytes(length);
    const uint8_t fill = static_cast<uint8_t>(random.next());
    for (size_t i = 0; i < length; ++i) {
        const uint8_t noise = static_cast<uint8_t>(random.next());
        switch (kind) {
            case 0: bytes[i] = random.below(16) == 0 ? noise : fill; break;    // mostly fill
            case 1: bytes[i] = noise; break;                                    // random
            case 2: bytes[i] = i < length / 2 ? fill : noise; break;            // half and half
            case 3: bytes[i] = (i / 16) % 3 == 0 ? noise : uint8_t(i % 8); break;  // tile rows
            default: bytes[i] = (i % 8 < 5) ? fill : noise; break;              // sparse literals
        }
    }
    return bytes;
}

// Content kind of a graphic. The large sample has no kind that expands
// (random bytes, tile rows): 169 graphics of 8 to 64 KiB fit in 4 MiB only
// when they compress, and its half-random graphics still hold plenty of
// literals.
int contentKind(SampleKind kind, int graphic) {
    static const int largeKinds[] = {0, 0, 2, 2, 4};
    return kind == SampleKind::Large ? largeKinds[graphic % 5] : graphic % 5;
}

size_t sampleSize(SampleKind kind, int graphic, Random& random) {
    if (kind == SampleKind::Large) return 8192 + random.below(65536 - 8192);
    static const size_t edgeSizes[] = {0, 1, 8, 9, 16, 3000, 15, 0, 17, 4096, 7, 65535, 20000};
    if (graphic < static_cast<int>(std::size(edgeSizes))) return edgeSizes[graphic];
    return 1 + random.below(graphic % 4 == 0 ? 8192 : 1024);
}

// Graphics of the standard sample drawn as a game holds them, at the sizes
// their records give: a font in 2 bpp, a checkerboard and a picture in
// 4 bpp (tiles in 16 columns, as the gallery shows them).
constexpr int FONT_GRAPHIC = 9;          // 4096 bytes: 256 tiles, the first 36 drawn
constexpr int CHECKERBOARD_GRAPHIC = 5;  // 3000 bytes: 93 tiles and 24 bytes of one more
constexpr int PICTURE_GRAPHIC = 12;      // 20000 bytes: 625 tiles

// Letters A to Z and digits 0 to 9, 5 x 7 pixels, bit 4 leftmost.
constexpr uint8_t GLYPHS[36][7] = {
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E},
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E},
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10},
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}, {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},
    {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C},
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}, {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F},
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}, {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11},
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10},
    {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}, {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11},
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}, {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04},
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}, {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11},
    {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F},
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

// One glyph a tile, in columns 1 to 5 and rows 0 to 6: colour 3 with a
// shadow of colour 1 one pixel right and down.
std::vector<uint8_t> drawFont(size_t length) {
    std::vector<uint8_t> bytes(length, 0);
    constexpr size_t TILE_BYTES = 16;
    for (size_t glyph = 0; glyph < std::size(GLYPHS) && (glyph + 1) * TILE_BYTES <= length; ++glyph) {
        uint8_t* tile = bytes.data() + glyph * TILE_BYTES;
        for (int row = 0; row < 8; ++row) {
            const uint8_t shape = row < 7 ? uint8_t(GLYPHS[glyph][row] << 2) : 0;
            const uint8_t shadow = row > 0 ? uint8_t(GLYPHS[glyph][row - 1] << 1) : 0;
            tile[2 * row] = shape | shadow;  // plane 0: colours 1 and 3
            tile[2 * row + 1] = shape;       // plane 1: colour 3
        }
    }
    return bytes;
}

// A 4 bpp picture of length bytes, tiles in 16 columns, each pixel from
// paint(x, y).
template <class Paint>
std::vector<uint8_t> drawPicture(size_t length, Paint paint) {
    constexpr size_t TILE_BYTES = 32;
    constexpr int COLUMNS = 16;
    const size_t tiles = (length + TILE_BYTES - 1) / TILE_BYTES;
    std::vector<uint8_t> bytes(tiles * TILE_BYTES);
    uint8_t pixels[TILE_PIXELS];
    for (size_t t = 0; t < tiles; ++t) {
        const int left = int(t % COLUMNS) * TILE_SIDE, top = int(t / COLUMNS) * TILE_SIDE;
        for (int y = 0; y < TILE_SIDE; ++y) {
            for (int x = 0; x < TILE_SIDE; ++x) pixels[y * TILE_SIDE + x] = paint(left + x, top + y);
        }
        encodeTile(TileFormat::Bpp4, pixels, TILE_SIDE, bytes.data() + t * TILE_BYTES);
    }
    bytes.resize(length);
    return bytes;
}

// Squares of 8 pixels, colours 1 and 14.
uint8_t checkerboard(int x, int y) { return ((x / 8 + y / 8) % 2) ? 14 : 1; }

// A gradient of the sixteen colours from top to bottom, a ring, a box
// and a triangle, outlined in colour 0 and 15.
uint8_t scene(int x, int y) {
    const int dx = x - 64, dy = y - 80;
    const int distance = dx * dx + dy * dy;
    if (distance <= 40 * 40 && distance >= 30 * 30) return 15;
    if (x >= 16 && x < 112 && y >= 160 && y < 216) return (x == 16 || x == 111 || y == 160 || y == 215) ? 0 : 12;
    if (y >= 240 && y < 300 && x >= 64 - (y - 240) && x <= 64 + (y - 240)) return 3;
    return static_cast<uint8_t>(y * 16 / 320);
}

// The drawn content of a graphic of the standard sample; empty for the
// others.
std::vector<uint8_t> drawnContent(int graphic, size_t length) {
    switch (graphic) {
        case FONT_GRAPHIC: return drawFont(length);
        case CHECKERBOARD_GRAPHIC: return drawPicture(length, checkerboard);
        case PICTURE_GRAPHIC: return drawPicture(length, scene);
        default: return {};
    }
}

}  // namespace

ImageBuilder::ImageBuilder(size_t size) : image(size, 0) {
    title(EXPECTED_TITLE);
    byte(LOROM_HEADER_OFFSET + HEADER_MAP_MODE, LOROM_MAP_MODES[0]);
    version(EXPECTED_VERSION);
    checksum(0x5A3C);
}

ImageBuilder& ImageBuilder::title(const char* text) {
    const size_t length = std::strlen(text);
    for (uint32_t i = 0; i < HEADER_TITLE_LENGTH; ++i) {
        byte(LOROM_HEADER_OFFSET + HEADER_TITLE + i, i < length ? uint8_t(text[i]) : uint8_t(' '));
    }
    return *this;
}

ImageBuilder& ImageBuilder::version(uint8_t value) {
    return byte(LOROM_HEADER_OFFSET + HEADER_VERSION, value);
}

ImageBuilder& ImageBuilder::checksum(uint16_t value) {
    const uint16_t complement = static_cast<uint16_t>(~value);
    bytes(LOROM_HEADER_OFFSET + HEADER_CHECKSUM_COMPLEMENT,
          {uint8_t(complement), uint8_t(complement >> 8), uint8_t(value), uint8_t(value >> 8)});
    return *this;
}

ImageBuilder& ImageBuilder::byte(uint32_t offset, uint8_t value) {
    image.at(offset) = value;
    return *this;
}

ImageBuilder& ImageBuilder::bytes(uint32_t offset, const std::vector<uint8_t>& values) {
    if (offset > image.size() || values.size() > image.size() - offset) {
        throw std::out_of_range("bytes past the end of the image");
    }
    std::copy(values.begin(), values.end(), image.begin() + offset);
    return *this;
}

ImageBuilder& ImageBuilder::record(int graphic, uint16_t unpackedSize, uint32_t dataAddress) {
    return bytes(GRAPHICS_DIRECTORY_OFFSET + GRAPHIC_RECORD_SIZE * graphic,
                 {uint8_t(unpackedSize), uint8_t(unpackedSize >> 8), uint8_t(dataAddress),
                  uint8_t(dataAddress >> 8), uint8_t(dataAddress >> 16)});
}

ImageBuilder& ImageBuilder::fillDirectory(uint32_t fileOffset) {
    bytes(fileOffset, {0x00, 0x5A});  // one group: eight fill bytes 5A
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) record(graphic, 8, fileToLoRom(fileOffset));
    return *this;
}

SampleRom buildSampleRom(SampleKind kind) {
    const size_t imageSize = kind == SampleKind::Large ? 4 << 20 : 1 << 20;
    ImageBuilder builder(imageSize);
    SampleRom sample;
    Random random(kind == SampleKind::Large ? 0xB16B00B5u : 0x5EED1234u);

    uint32_t offset = DATA_START;
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        SampleGraphic g;
        if (kind == SampleKind::Standard && graphic == WORKED_EXAMPLE_GRAPHIC) {
            g.unpackedSize = 10;
            g.decoded = {0x11, 0x00, 0x22, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x33};
            g.stream = {0xA0, 0x00, 0x11, 0x22, 0x60, 0xFF, 0x33, 0x44};
            g.packedLength = 7;  // the size is reached before the last literal is read
            g.fileOffset = WORKED_EXAMPLE_OFFSET;
        } else {
            const size_t length = sampleSize(kind, graphic, random);
            g.unpackedSize = static_cast<uint16_t>(length);
            g.decoded = makeContent(contentKind(kind, graphic), std::max<size_t>(length, 1), random);
            if (kind == SampleKind::Standard) {
                std::vector<uint8_t> drawn = drawnContent(graphic, length);
                if (!drawn.empty()) g.decoded = std::move(drawn);
            }
            g.stream = compressGraphic(g.decoded.data(), g.decoded.size());
            g.packedLength = static_cast<uint32_t>(g.stream.size());
            if (kind == SampleKind::Standard && graphic == WORKED_EXAMPLE_GRAPHIC + 1) {
                offset = WORKED_EXAMPLE_OFFSET + 8;
            }
            g.fileOffset = offset;
            offset += static_cast<uint32_t>(g.stream.size());
        }
        if (g.fileOffset + g.stream.size() > imageSize) throw std::length_error("sample graphics do not fit");
        g.dataAddress = fileToLoRom(g.fileOffset);
        builder.bytes(g.fileOffset, g.stream).record(graphic, g.unpackedSize, g.dataAddress);
        sample.graphics.push_back(std::move(g));
    }
    sample.image = std::move(builder.image);
    return sample;
}

std::string expectedLogLine(int graphic, const SampleGraphic& sample) {
    char line[64];
    std::snprintf(line, sizeof line, LOG_LINE_FORMAT, graphic, sample.dataAddress,
                  sample.packedLength, sample.fileOffset + sample.packedLength);
    return line;
}

std::vector<uint8_t> withCopierHeader(const std::vector<uint8_t>& image) {
    std::vector<uint8_t> result(COPIER_HEADER_SIZE + image.size(), 0);
    std::copy(image.begin(), image.end(), result.begin() + COPIER_HEADER_SIZE);
    return result;
}

std::vector<uint8_t> noiseBytes(size_t length, uint32_t seed) {
    Random random(seed);
    std::vector<uint8_t> bytes(length);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random.next() >> 7);
    return bytes;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
