// The sample image's boot program (tests/sample/boot/boot.s), assembled
// at build time: it shows graphic 12 and the first string of the text on
// the console's screen.
#pragma once

#include <cstddef>
#include <cstdint>

// The code, placed at the image's first byte ($80:8000, mirrored at
// $00:8000 where the reset vector points).
extern const uint8_t BOOT_CODE[];
extern const size_t BOOT_CODE_SIZE;
// The native and emulation vectors, the 32 bytes after the internal
// header.
extern const uint8_t BOOT_VECTORS[32];
