// The I/O floor of an extraction run: the file work of a run and nothing
// else. It reads the image whole, reads the graphics directory for the
// decoded sizes, and writes the same 169 files (same sizes, contents
// undecoded) into the output folder and a log of the same length, with
// the fewest calls: the folder made once, each file written in one write.
//
// Reading the image means having its bytes at hand: the floor looks at one
// byte of every page of it once. On most machines that costs nothing after
// the read; on some virtual machines the first access of a page from the
// program costs microseconds (after the system has filled it), which a run
// that decodes pays and a floor that never looks at the image would not.
//
//   io_floor <rom> <log-bytes>
//
// The log's length is taken from a real run's log.txt, since the packed
// lengths it shows are only known by decoding: the lines have the run's
// format with a packed length of 0, widened by as many digits as needed.
#include "bench/FloorSupport.h"
#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicsDirectory.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr size_t LARGEST_GRAPHIC = 65536;

// The decoded size of graphic j as its directory record gives it; 0 when
// the record lies outside the image.
uint32_t recordSize(const WholeFile& image, int graphic) {
    const uint32_t header = (image.size & ROM_BLOCK_MASK) != 0 ? COPIER_HEADER_SIZE : 0;
    const uint32_t record = header + loRomToFile(GRAPHICS_DIRECTORY_ADDR + GRAPHIC_RECORD_SIZE * graphic);
    if (uint64_t{record} + GRAPHIC_RECORD_SIZE > image.size) return 0;
    return image.bytes[record + RECORD_UNPACKED_SIZE] | image.bytes[record + RECORD_UNPACKED_SIZE + 1] << 8;
}

uint32_t recordAddress(const WholeFile& image, int graphic) {
    const uint32_t header = (image.size & ROM_BLOCK_MASK) != 0 ? COPIER_HEADER_SIZE : 0;
    const uint32_t field = header + loRomToFile(GRAPHICS_DIRECTORY_ADDR + GRAPHIC_RECORD_SIZE * graphic) +
                           RECORD_DATA_ADDRESS;
    if (uint64_t{field} + 3 > image.size) return 0;
    return image.bytes[field] | image.bytes[field + 1] << 8 | image.bytes[field + 2] << 16;
}

bool writeGraphic(int graphic, const uint8_t* bytes, size_t length) {
    FILE* file = std::fopen(graphicPath(OUTPUT_FOLDER, graphic).c_str(), "wb");
    if (!file) return false;
    std::setvbuf(file, nullptr, _IONBF, 0);
    std::fwrite(bytes, 1, length, file);
    std::fclose(file);
    return true;
}

// A line is 35 bytes with a four-digit packed length; the extra digits
// are spread over the lines from the first on.
bool writeLog(const WholeFile& image, long logBytes) {
    const long shortest = 35L * GRAPHICS_COUNT;
    if (logBytes < shortest) return false;
    FILE* log = std::fopen(LOG_FILE, "w");
    if (!log) return false;
    const long extra = logBytes - shortest;
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        const int width = 4 + static_cast<int>(extra / GRAPHICS_COUNT) + (graphic < extra % GRAPHICS_COUNT ? 1 : 0);
        const uint32_t address = recordAddress(image, graphic);
        std::fprintf(log, "grafico_%03d.bin %06x %0*x %06x\n", graphic, address, width, 0u, loRomToFile(address));
    }
    std::fclose(log);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: io_floor <rom> <log-bytes>\n");
        return 2;
    }
    WholeFile image;
    if (!readWhole(argv[1], image)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const volatile uint8_t pageSum = touchPages(image);
    (void)pageSum;
    const std::unique_ptr<uint8_t[]> buffer(new uint8_t[LARGEST_GRAPHIC]());
    makeFolder(OUTPUT_FOLDER);
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        const size_t length = std::max<uint32_t>(recordSize(image, graphic), 1);
        if (!writeGraphic(graphic, buffer.get(), length)) {
            std::fprintf(stderr, "cannot write graphic %d\n", graphic);
            return 1;
        }
    }
    if (!writeLog(image, std::strtol(argv[2], nullptr, 10))) {
        std::fprintf(stderr, "cannot write %s of %s bytes\n", LOG_FILE, argv[2]);
        return 1;
    }
    return 0;
}
