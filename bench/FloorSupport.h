// What the I/O floor programs share: reading an image whole and looking at
// one byte of each of its pages, as a run that decodes it must.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct WholeFile {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0;
};

// False when the file cannot be read whole or is empty.
bool readWhole(const char* path, WholeFile& file);

// One byte of every page, looked at once; the sum keeps the looks.
uint8_t touchPages(const WholeFile& file);
