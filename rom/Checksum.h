// The internal checksum of a SNES cartridge image.
#pragma once

#include <cstddef>
#include <cstdint>

// The sum, modulo 0x10000, of every byte of the ROM data (copier header
// not included). ROM data whose size is not a power of two counts as its
// largest power-of-two part P followed by the rest repeated, from its
// first byte, until the rest fills P bytes too: 3 MiB counts as the first
// 2 MiB and the last 1 MiB twice. The bytes are summed as they are; the
// caller puts a valid checksum pair into the header first.
uint16_t romChecksum(const uint8_t* romData, size_t size);
