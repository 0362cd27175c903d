// The I/O floor of a brelquim-text dump: its file work and nothing else.
// It reads the image and the table whole and writes a script of the given
// length to a temporary file beside the output, renamed over it when
// complete, as a run does; it reads no string. Like the other floors it
// looks at one byte of every page of the image once.
//
//   dump_floor <rom> <table> <script-bytes> <output>
#include "bench/FloorSupport.h"
#include "platform/ReplacingFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: dump_floor <rom> <table> <script-bytes> <output>\n");
        return 2;
    }
    WholeFile image, table;
    if (!readWhole(argv[1], image) || !readWhole(argv[2], table)) {
        std::fprintf(stderr, "cannot read %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    const volatile uint8_t pageSum = static_cast<uint8_t>(touchPages(image) + table.bytes[0]);
    (void)pageSum;
    const std::string script(static_cast<size_t>(std::strtoull(argv[3], nullptr, 10)), '#');
    ReplacingFile output(argv[4]);
    if (!output.isOpen() || !output.write(script.data(), script.size()) || output.commit() != ReplacingFile::Outcome::Replaced) {
        std::fprintf(stderr, "cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
