// Fixed facts of the one game the tools work on (revision 1.1), and the
// names of the files they share.
#pragma once

#include <cstdint>

// Version of the tools, shown in their banners.
constexpr char PROGRAM_VERSION[] = "1.0";

// The internal header's title: nine letters and twelve spaces filling the
// 21-character field, and its terminator.
constexpr char EXPECTED_TITLE[22] = "ZELBRANOK            ";
constexpr uint8_t EXPECTED_VERSION = 1;

// The graphics directory: GRAPHICS_COUNT records of GRAPHIC_RECORD_SIZE
// bytes, back to back, from this LoROM bus address on; in an image without
// copier header, from this file offset on.
constexpr uint32_t GRAPHICS_DIRECTORY_ADDR = 0x86F6F7;
constexpr uint32_t GRAPHICS_DIRECTORY_OFFSET = 0x0376F7;
constexpr int GRAPHICS_COUNT = 169;
constexpr uint32_t GRAPHIC_RECORD_SIZE = 5;
// Fields of a record: little-endian decoded size, then the 24-bit LoROM
// address of the compressed data.
constexpr uint32_t RECORD_UNPACKED_SIZE = 0;
constexpr uint32_t RECORD_DATA_ADDRESS = 2;

// Where the decoded graphics go, in the working directory, and the name
// of graphic j's file there.
constexpr const char* OUTPUT_FOLDER = "arquivos";
constexpr const char* GRAPHIC_FILE_FORMAT = "grafico_%03d.bin";
constexpr const char* LOG_FILE = "log.txt";
// A line of the log: the graphic's file name, the LoROM address of its
// compressed data, the compressed length and the file offset (no copier
// header) of the first byte after the compressed data.
constexpr const char* LOG_LINE_FORMAT = "grafico_%03d.bin %06x %04x %06x\n";
