// Fixed facts of the one game this tool extracts from (revision 1.1).
#pragma once

#include <cstdint>

// The internal header's title: nine letters and twelve spaces filling the
// 21-character field, and its terminator.
constexpr char EXPECTED_TITLE[22] = "ZELBRANOK            ";
constexpr uint8_t EXPECTED_VERSION = 1;

// The graphics directory: GRAPHICS_COUNT records of GRAPHIC_RECORD_SIZE
// bytes, back to back, from this LoROM bus address on.
constexpr uint32_t GRAPHICS_DIRECTORY_ADDR = 0x86F6F7;
constexpr int GRAPHICS_COUNT = 169;
constexpr uint32_t GRAPHIC_RECORD_SIZE = 5;
// Fields of a record: little-endian decoded size, then the 24-bit LoROM
// address of the compressed data.
constexpr uint32_t RECORD_UNPACKED_SIZE = 0;
constexpr uint32_t RECORD_DATA_ADDRESS = 2;

// Where the decoded graphics go, in the working directory.
constexpr const char* OUTPUT_FOLDER = "arquivos";
constexpr const char* LOG_FILE = "log.txt";
