// The I/O floor of a brelquim-insert run: its file work and nothing else.
// It reads the image whole, reads each of the 169 files of the folder
// (missing ones skipped) into one buffer, and writes the image to a
// temporary file beside the output, renamed over it when complete, as a
// run does; it decodes, encodes and places nothing. Like the extraction's
// floor it looks at one byte of every page of the image once, which a run
// that decodes the image must do too.
//
//   insert_floor <rom> <folder> <output>
#include "bench/FloorSupport.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicsDirectory.h"
#include "platform/Platform.h"
#include "platform/ReplacingFile.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr size_t LARGEST_FILE = 65536;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: insert_floor <rom> <folder> <output>\n");
        return 2;
    }
    WholeFile image;
    if (!readWhole(argv[1], image)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    uint8_t pageSum = touchPages(image);

    const std::unique_ptr<uint8_t[]> buffer(new uint8_t[LARGEST_FILE]);
    size_t filesRead = 0;
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        FILE* file = openFile(graphicPath(argv[2], graphic).c_str(), "rb");
        if (!file) continue;
        const size_t got = std::fread(buffer.get(), 1, LARGEST_FILE, file);
        std::fclose(file);
        pageSum = static_cast<uint8_t>(pageSum + (got > 0 ? buffer[0] : 0));
        ++filesRead;
    }

    ReplacingFile output(argv[3]);
    if (!output.isOpen() || !output.write(image.bytes.get(), image.size) || output.commit() != ReplacingFile::Outcome::Replaced) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    const volatile uint8_t looked = pageSum;
    (void)looked;
    return filesRead == GRAPHICS_COUNT ? 0 : 1;
}
