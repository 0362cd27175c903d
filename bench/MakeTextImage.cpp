// Writes the image and table of the dump benchmark: the 4 MiB sample with
// 20 000 strings behind one table of 24-bit pointers (bench/BenchText.h),
// and prints the pointer table as brelquim-text's --long-pointers takes
// it.
//
//   make_text_image <image> <table>
#include "bench/BenchText.h"
#include "rom/RomImage.h"

#include <cstdio>

namespace {

bool writeFile(const char* path, const void* bytes, size_t length) {
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes, 1, length, file) == length;
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_text_image <image> <table>\n");
        return 2;
    }
    const BenchTextImage& text = benchTextImage();
    const std::string& table = benchTableFile();
    if (!writeFile(argv[1], text.image.data(), text.image.size()) || !writeFile(argv[2], table.data(), table.size())) {
        std::fprintf(stderr, "cannot write %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    const uint32_t address = fileToLoRom(text.pointers.offset);
    std::printf("$%02X:%04X:%u\n", static_cast<unsigned>(address >> 16), static_cast<unsigned>(address & 0xFFFF),
                static_cast<unsigned>(text.pointers.count));
    return 0;
}
