// Writes a synthetic image of the expected game and, beside the standard
// one, the table file of its text (the same name with the extension .tbl).
//   make_sample_rom <output> [--large] [--copier-header]
#include "tests/sample/SampleRom.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const char* output = nullptr;
    SampleKind kind = SampleKind::Standard;
    bool copierHeader = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--large") == 0) {
            kind = SampleKind::Large;
        } else if (std::strcmp(argv[i], "--copier-header") == 0) {
            copierHeader = true;
        } else if (!output && argv[i][0] != '-') {
            output = argv[i];
        } else {
            output = nullptr;
            break;
        }
    }
    if (!output) {
        std::printf("Uso:\nmake_sample_rom <arquivo> [--large] [--copier-header]\n");
        return 1;
    }
    const SampleRom sample = buildSampleRom(kind);
    if (!writeBytes(output, copierHeader ? withCopierHeader(sample.image) : sample.image)) {
        std::fprintf(stderr, "cannot write %s\n", output);
        return 1;
    }
    if (sample.text.table.empty()) return 0;  // the large kind has no text
    const std::string table = tablePathFor(output);
    if (!writeBytes(table, std::vector<uint8_t>(sample.text.table.begin(), sample.text.table.end()))) {
        std::fprintf(stderr, "cannot write %s\n", table.c_str());
        return 1;
    }
    return 0;
}
