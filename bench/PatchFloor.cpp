// The I/O floor of a brelquim-patch run: its file work and nothing else.
// It reads its two inputs whole, looks at one byte of every page of each
// (a run reads every byte of both), and writes a file of the given size to
// a temporary file beside the output, renamed over it when complete, as a
// run does. For create: the two images and the patch's size; for apply:
// the patch, the original and the result's size.
//
//   patch_floor <input> <input> <output> <size>
#include "bench/FloorSupport.h"
#include "platform/ReplacingFile.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: patch_floor <input> <input> <output> <size>\n");
        return 2;
    }
    WholeFile first, second;
    if (!readWhole(argv[1], first) || !readWhole(argv[2], second)) {
        std::fprintf(stderr, "cannot read the inputs\n");
        return 1;
    }
    std::vector<uint8_t> output(std::strtoull(argv[4], nullptr, 10));
    output[0] = static_cast<uint8_t>(touchPages(first) + touchPages(second));
    if (ReplacingFile::replaceWith(argv[3], output.data(), output.size()) != ReplacingFile::Outcome::Replaced) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
