#include "tests/sample/SampleRom.h"

#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicCodec.h"

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

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
