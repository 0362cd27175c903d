// Writes bytes of noise that do not compress, the same for the same seed:
// an edit that makes a graphic's stream grow.
//   write_noise <output> <length> <seed>
#include "tests/sample/SampleRom.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: write_noise <output> <length> <seed>\n");
        return 2;
    }
    const unsigned long length = std::strtoul(argv[2], nullptr, 0);
    const unsigned long seed = std::strtoul(argv[3], nullptr, 0);
    if (length == 0 || length > 65535 || seed == 0 || seed > 0xFFFFFFFFul) {
        std::fprintf(stderr, "write_noise: length 1 to 65535, seed 1 to 4294967295\n");
        return 2;
    }
    if (!writeBytes(argv[1], noiseBytes(length, static_cast<uint32_t>(seed)))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
