// The I/O floor of a brelquim-insert run: its file work and nothing else.
// It reads the image whole, reads each of the 169 files of the folder
// (missing ones skipped) into one buffer, and writes the image to a
// temporary file beside the output, renamed over it when complete, as a
// run does; it decodes, encodes and places nothing. Like the extraction's
// floor it looks at one byte of every page of the image once, which a run
// that decodes the image must do too.
//
//   insert_floor <rom> <folder> <output>
#include "graphics/GameLayout.h"
#include "graphics/GraphicsDirectory.h"
#include "platform/Platform.h"
#include "platform/ReplacingFile.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr size_t LARGEST_FILE = 65536;
constexpr size_t PAGE = 4096;

bool readWhole(const char* path, std::unique_ptr<uint8_t[]>& bytes, size_t& size) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    std::fseek(file, 0, SEEK_END);
    const long length = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    if (length <= 0) {
        std::fclose(file);
        return false;
    }
    size = static_cast<size_t>(length);
    bytes.reset(new uint8_t[size]);
    const size_t read = std::fread(bytes.get(), 1, size, file);
    std::fclose(file);
    return read == size;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: insert_floor <rom> <folder> <output>\n");
        return 2;
    }
    std::unique_ptr<uint8_t[]> image;
    size_t size = 0;
    if (!readWhole(argv[1], image, size)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    uint8_t pageSum = 0;
    for (size_t at = 0; at < size; at += PAGE) pageSum = static_cast<uint8_t>(pageSum + image[at]);

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
    if (!output.isOpen() || !output.write(image.get(), size) || !output.commit()) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    const volatile uint8_t looked = pageSum;
    (void)looked;
    return filesRead == GRAPHICS_COUNT ? 0 : 1;
}
