// Changes some graphic files of a folder in place, for the benchmarks of
// patches: every third graphic from graphic 1, count of them; the first
// noisy of those become noise of their own length, which compresses to a
// longer stream and so moves; the rest get bit 0 of every byte flipped,
// which keeps their stream's length, so they stay in place.
//
//   edit_some <folder> <count> <noisy>
#include "graphics/GameLayout.h"
#include "graphics/GraphicsDirectory.h"
#include "tests/sample/SampleRom.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: edit_some <folder> <count> <noisy>\n");
        return 2;
    }
    const int count = std::atoi(argv[2]), noisy = std::atoi(argv[3]);
    for (int n = 0; n < count; ++n) {
        const int graphic = 1 + 3 * n;
        if (graphic >= GRAPHICS_COUNT) break;
        const std::string path = graphicPath(argv[1], graphic);
        FILE* file = std::fopen(path.c_str(), "r+b");
        if (!file) {
            std::fprintf(stderr, "cannot open %s\n", path.c_str());
            return 1;
        }
        std::vector<uint8_t> bytes(65536);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
        if (n < noisy) {
            bytes = noiseBytes(bytes.size(), static_cast<uint32_t>(graphic));
        } else {
            for (uint8_t& byte : bytes) byte ^= 1;
        }
        const bool written = std::fseek(file, 0, SEEK_SET) == 0 &&
                             std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (std::fclose(file) != 0 || !written) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
