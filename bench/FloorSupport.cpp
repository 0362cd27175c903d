#include "bench/FloorSupport.h"

#include <cstdio>

bool readWhole(const char* path, WholeFile& whole) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    std::fseek(file, 0, SEEK_END);
    const long length = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    if (length <= 0) {
        std::fclose(file);
        return false;
    }
    whole.size = static_cast<size_t>(length);
    whole.bytes.reset(new uint8_t[whole.size]);
    const size_t read = std::fread(whole.bytes.get(), 1, whole.size, file);
    std::fclose(file);
    return read == whole.size;
}

uint8_t touchPages(const WholeFile& file) {
    constexpr size_t PAGE = 4096;
    uint8_t sum = 0;
    for (size_t at = 0; at < file.size; at += PAGE) sum = static_cast<uint8_t>(sum + file.bytes[at]);
    return sum;
}
