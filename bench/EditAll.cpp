// Changes every graphic file of a folder in place, for the benchmark of a
// whole insertion: bit 0 of every byte flips, so that every graphic
// differs from the image and compresses to a stream of the same length.
//
//   edit_all <folder>
#include "graphics/GameLayout.h"
#include "graphics/GraphicsDirectory.h"

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: edit_all <folder>\n");
        return 2;
    }
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        const std::string path = graphicPath(argv[1], graphic);
        FILE* file = std::fopen(path.c_str(), "r+b");
        if (!file) {
            std::fprintf(stderr, "cannot open %s\n", path.c_str());
            return 1;
        }
        std::vector<uint8_t> bytes(65536);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
        for (uint8_t& byte : bytes) byte ^= 1;
        const bool written = std::fseek(file, 0, SEEK_SET) == 0 &&
                             std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (std::fclose(file) != 0 || !written) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
