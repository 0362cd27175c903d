// Where things stand in a SNES cartridge image.
#pragma once

#include <cstdint>

// Sizes of ROM data are told in KiB, and the internal header stores one
// as a power of two of them.
constexpr uint32_t ONE_KIB = 1024;

// LoROM: the ROM data is seen in banks of 32 KiB, each at $8000-$FFFF of
// a bank of the bus, at most 128 of them ($80:8000 to $FF:FFFF), so 4 MiB
// of ROM data at most.
constexpr uint32_t LOROM_BANK_SIZE = 0x8000;
constexpr uint32_t LOROM_DATA_LIMIT = 0x400000;

// The optional copier header in front of the ROM data.
constexpr uint32_t COPIER_HEADER_SIZE = 512;
// The classic field of a copier header: its first two bytes, little
// endian, hold the size of the ROM data in units of 8 KiB.
constexpr uint32_t COPIER_SIZE_FIELD = 0;
constexpr uint32_t COPIER_SIZE_UNIT = 0x2000;
// An image without copier header is a whole number of banks.
constexpr uint32_t ROM_BLOCK_MASK = LOROM_BANK_SIZE - 1;

// The 32-byte internal header, by mapping (offsets into the ROM data).
constexpr uint32_t LOROM_HEADER_OFFSET = 0x7FC0;
constexpr uint32_t HIROM_HEADER_OFFSET = 0xFFC0;
constexpr uint32_t INTERNAL_HEADER_SIZE = 32;
// The internal header and the interrupt vectors after it, up to the end of
// its bank: the console reads both, so nothing is ever placed there.
constexpr uint32_t HEADER_AND_VECTORS_SIZE = 0x40;

// Fields of the internal header, from its first byte.
constexpr uint32_t HEADER_TITLE = 0x00;
constexpr uint32_t HEADER_TITLE_LENGTH = 21;
constexpr uint32_t HEADER_MAP_MODE = 0x15;
// Size of the ROM data: 2^n KiB is stored as n.
constexpr uint32_t HEADER_ROM_SIZE = 0x17;
constexpr uint32_t HEADER_VERSION = 0x1B;
constexpr uint32_t HEADER_CHECKSUM_COMPLEMENT = 0x1C;
constexpr uint32_t HEADER_CHECKSUM = 0x1E;

// Map-mode bytes that each probe accepts.
constexpr uint8_t LOROM_MAP_MODES[] = {0x20, 0x30};
constexpr uint8_t HIROM_MAP_MODES[] = {0x21, 0x31};
