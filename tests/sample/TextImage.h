// Images to find text in: a LoROM image of the expected game (header,
// directory and graphics as the extraction reads them) of 1, 2 or 4 MiB,
// whose text is in an encoding that is not ASCII and is reached through
// planted pointer tables, among decoys that look like tables or text:
// compressed graphics, 0xFF and 0x00 fill, noise, tables of code
// addresses and runs of one repeated word. Shared by the tests, the
// benchmarks and the fuzz target's seeds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PlantedTable {
    uint32_t offset;                     // file offset of the first pointer
    uint32_t count;
    bool isLong;                         // 24-bit LoROM addresses; else 16-bit, into the table's bank
    std::vector<uint32_t> stringOffsets;  // per pointer (two may share one)
};

struct PlantedString {
    uint32_t offset;
    std::vector<uint8_t> bytes;  // the end token included
};

struct TextImage {
    std::vector<uint8_t> image;          // ROM data, no copier header
    std::string table;                   // the table file, UTF-8, LF
    std::vector<PlantedTable> tables;    // in address order
    std::vector<PlantedString> strings;  // every string a table reaches, in address order
    // The codes of 'A', 'a', '0' and the space.
    uint8_t upper = 0, lower = 0, digit = 0, space = 0;
    // Words the strings are made of, each in some string.
    std::vector<std::string> words;
};

// size: 1, 2 or 4 MiB; the same image for the same seed.
TextImage buildTextImage(uint32_t size, uint32_t seed);

// Bytes of text in the image's encoding (letters, digits, the space).
std::vector<uint8_t> encodeWord(const TextImage& image, const std::string& text);
