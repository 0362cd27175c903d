// A whole run over an arbitrary image: the image is written to a file,
// loaded (copier header and internal header included) and its graphics
// directory walked by the tool's own walk, which decodes every graphic
// whose data lies inside the image and stops at the first that does not.
// Nothing is written; each graphic handed over is checked against bounds
// computed here from the bytes of the file, without the ROM context object.
//
// Input, by its first byte:
//  - even: the rest is the image file, byte for byte;
//  - odd: the rest is a list of edits to a small complete image of the
//    game, so that the walk is reached on most inputs:
//      0 record   graphic, unpackedSize (2), dataAddress (3)
//      1 bytes    file offset (3), count, bytes
//      2 bytes    offset from the directory's first record (2, signed), count, bytes
//      3 bytes    offset from the first graphic's data (2), count, bytes
//      4 resize   new length (3), cut or padded with zeros
//      5 header   puts a 512-byte copier header in front at the end
//      6 tail     graphic, unpackedSize (2), count, bytes: the bytes end the
//                 image and the graphic's record points at them
#include "fuzz/FuzzSupport.h"
#include "rom/RomImage.h"
#include "tests/sample/SampleRom.h"
#include "graphics/Decompress.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicCodec.h"
#include "graphics/GraphicsDirectory.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr uint32_t DATA_OFFSET = 0x038000;       // the skeleton's first graphic
constexpr uint32_t SKELETON_SIZE = 0x40000;      // 8 banks of 32 KiB
constexpr uint32_t LARGEST_IMAGE = 0x48000;
constexpr uint32_t GROUP_FLAGS = 8;
constexpr uint32_t BANK_SIZE = 0x8000;
constexpr size_t COPIER_HEADER_BYTES = 512;
// Graphics up to this size are also decoded by the per-byte reference.
constexpr uint32_t CROSS_CHECKED_SIZE = 4096;

// The game's image at its smallest: header, directory, and graphics of the
// sizes the tests single out (0, 1, 8, 9, 17 and a few hundred bytes).
const std::vector<uint8_t>& skeleton() {
    static const std::vector<uint8_t> image = [] {
        ImageBuilder builder(SKELETON_SIZE);
        builder.fillDirectory(DATA_OFFSET);
        uint32_t offset = DATA_OFFSET + 2;
        const uint16_t sizes[] = {0, 1, 8, 9, 17, 300};
        for (int graphic = 0; graphic < 6; ++graphic) {
            std::vector<uint8_t> bytes(std::max<uint16_t>(sizes[graphic], 1));
            for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i % 3 == 0 ? i : 0x5A);
            const std::vector<uint8_t> stream = compressGraphic(bytes.data(), bytes.size());
            builder.bytes(offset, stream).record(graphic, sizes[graphic], fileToLoRom(offset));
            offset += static_cast<uint32_t>(stream.size());
        }
        return builder.image;
    }();
    return image;
}

void put(std::vector<uint8_t>& image, int64_t offset, const std::vector<uint8_t>& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int64_t at = offset + static_cast<int64_t>(i);
        if (at >= 0 && at < static_cast<int64_t>(image.size())) image[static_cast<size_t>(at)] = bytes[i];
    }
}

void putRecord(std::vector<uint8_t>& image, int graphic, uint16_t unpackedSize, uint32_t dataAddress) {
    put(image, GRAPHICS_DIRECTORY_OFFSET + GRAPHIC_RECORD_SIZE * static_cast<uint32_t>(graphic),
        {uint8_t(unpackedSize), uint8_t(unpackedSize >> 8), uint8_t(dataAddress), uint8_t(dataAddress >> 8),
         uint8_t(dataAddress >> 16)});
}

// Edits into image, whose storage is kept from run to run: a fresh quarter
// megabyte each run would cost more in page faults than the run itself.
void editSkeleton(FuzzInput& input, std::vector<uint8_t>& image) {
    image.assign(skeleton().begin(), skeleton().end());
    bool copierHeader = false;
    while (!input.empty()) {
        switch (input.byte() % 7) {
            case 0: {
                const int graphic = input.byte() % GRAPHICS_COUNT;
                const uint16_t unpackedSize = input.word();
                putRecord(image, graphic, unpackedSize, input.long24());
                break;
            }
            case 1: {
                const uint32_t offset = input.long24();
                put(image, offset, input.bytes(input.byte()));
                break;
            }
            case 2: {
                const int16_t offset = static_cast<int16_t>(input.word());
                put(image, int64_t{GRAPHICS_DIRECTORY_OFFSET} + offset, input.bytes(input.byte()));
                break;
            }
            case 3: {
                const uint16_t offset = input.word();
                put(image, int64_t{DATA_OFFSET} + offset, input.bytes(input.byte()));
                break;
            }
            case 4:
                image.resize(input.long24() % (LARGEST_IMAGE + 1), 0);
                break;
            case 5:
                copierHeader = true;
                break;
            case 6: {
                const int graphic = input.byte() % GRAPHICS_COUNT;
                const uint16_t unpackedSize = input.word();
                const std::vector<uint8_t> tail = input.bytes(input.byte());
                const int64_t offset = static_cast<int64_t>(image.size()) - static_cast<int64_t>(tail.size());
                put(image, offset, tail);
                putRecord(image, graphic, unpackedSize, fileToLoRom(static_cast<uint32_t>(std::max<int64_t>(offset, 0))));
                break;
            }
        }
    }
    if (copierHeader) image.insert(image.begin(), COPIER_HEADER_BYTES, 0);
}

// Image index of a LoROM bus address in an image with h bytes of copier
// header, without wrapping: negative or huge when the address is not ROM.
int64_t loRomIndex(uint32_t address, int64_t h) {
    const int64_t bank = (address >> 16) & 0xFF;
    const int64_t offset = address & 0xFFFF;
    return (bank - 0x80) * BANK_SIZE + offset - BANK_SIZE + h;
}

// The checks of one graphic that the walk handed over.
class Checker {
public:
    Checker(const std::vector<uint8_t>& image, RomImage& rom)
        : image(image), rom(rom), size(static_cast<int64_t>(image.size())),
          h(image.size() % BANK_SIZE != 0 ? COPIER_HEADER_BYTES : 0) {}

    bool take(const DecodedGraphic& g) {
        FUZZ_CHECK(g.number == next);
        ++next;
        const int64_t record = recordIndex(g.number);
        FUZZ_CHECK(record + GRAPHIC_RECORD_SIZE <= size);
        FUZZ_CHECK(g.record.unpackedSize == (image[record] | image[record + 1] << 8));
        FUZZ_CHECK(g.record.dataAddress == uint32_t(image[record + 2] | image[record + 3] << 8 | image[record + 4] << 16));

        // The stream lies inside the ROM data, and the lengths are those
        // any stream of this size can give.
        const int64_t start = loRomIndex(g.record.dataAddress, h);
        const uint32_t produced = std::max<uint32_t>(g.record.unpackedSize, 1);
        const uint32_t groups = (produced + GROUP_FLAGS - 1) / GROUP_FLAGS;
        FUZZ_CHECK(start >= h);
        FUZZ_CHECK(start + g.decoded.packedLength <= size);
        FUZZ_CHECK(g.dataIndex == start);
        FUZZ_CHECK(g.decoded.producedLength == produced);
        FUZZ_CHECK(g.decoded.packedLength >= 2 * groups && g.decoded.packedLength <= 2 * groups + produced);
        FUZZ_CHECK(g.endOffset == start - h + g.decoded.packedLength);

        // The bytes are those of the per-byte reference decoder, up to the
        // size the decoder target checks too: larger graphics, which the
        // fuzzer favours as they run longer loops, would double the time of
        // every run and check nothing new.
        if (produced > CROSS_CHECKED_SIZE) return true;
        uint8_t expected[CROSS_CHECKED_SIZE];
        const uint32_t cursor = rom.cursor;
        rom.cursor = static_cast<uint32_t>(start);
        const GraphicDecode reference = decompressGraphicPerByte(rom, g.record.unpackedSize, expected);
        rom.cursor = cursor;
        FUZZ_CHECK(reference.packedLength == g.decoded.packedLength);
        FUZZ_CHECK(std::memcmp(expected, g.bytes, produced) == 0);
        return true;
    }

    // A walk that stopped at graphic j had good reason: its record or its
    // stream does not lie inside the ROM data.
    void checkStop(const DirectoryWalk& walk) {
        FUZZ_CHECK(walk.graphic == next);
        if (walk.outcome == DirectoryWalk::Complete) {
            FUZZ_CHECK(next == GRAPHICS_COUNT);
            return;
        }
        FUZZ_CHECK(walk.outcome == DirectoryWalk::ReadError);
        const int64_t record = recordIndex(walk.graphic);
        if (record + GRAPHIC_RECORD_SIZE > size) return;
        const uint16_t unpackedSize = static_cast<uint16_t>(image[record] | image[record + 1] << 8);
        const uint32_t address = uint32_t(image[record + 2] | image[record + 3] << 8 | image[record + 4] << 16);
        const int64_t start = loRomIndex(address, h);
        if (start < h || start >= size) return;
        std::unique_ptr<uint8_t[]> out(new uint8_t[std::max<uint32_t>(unpackedSize, 1)]);
        const GraphicDecode decoded = decodeGraphic(&image[start], static_cast<size_t>(size - start), unpackedSize, out.get());
        FUZZ_CHECK(start + decoded.packedLength > size);
    }

private:
    int64_t recordIndex(int graphic) const {
        return int64_t{GRAPHICS_DIRECTORY_OFFSET} + GRAPHIC_RECORD_SIZE * graphic + h;
    }

    const std::vector<uint8_t>& image;
    RomImage& rom;
    const int64_t size;
    const int64_t h;
    int next = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceConsole();
    skeleton();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    static std::vector<uint8_t> image;
    if (input.byte() % 2 == 0) {
        const std::vector<uint8_t> raw = input.rest();
        image.assign(raw.begin(), raw.end());
    } else {
        editSkeleton(input, image);
    }

    const std::string& path = scratchPath("image.sfc");
    writeScratch(path, image.data(), image.size());
    // One object for every input, as the tool's run has one: a load of an
    // image of the same length reads into the memory of the last one,
    // without a fresh mapping to fault in page by page. The copier header
    // is decided anew by this image's length alone.
    static RomImage rom;
    rom.hasCopierHeader = 0;
    rom.setRomPath(path.c_str());
    FUZZ_CHECK(rom.load() == 0);
    FUZZ_CHECK(rom.size == static_cast<int32_t>(image.size()));

    Checker checker(image, rom);
    const DirectoryWalk walk = walkGraphicsDirectory(rom, [&](const DecodedGraphic& g) { return checker.take(g); });
    checker.checkStop(walk);
    return 0;
}
