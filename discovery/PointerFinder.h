// The pointer tables that reach the text: runs of 16-bit pointers (into
// the bank of the table itself, at or past $8000) or of 24-bit LoROM bus
// addresses, at any byte position, each of which reaches the start of a
// string that reads through the table to an end token within its bank.
// Pure code over the ROM data.
#pragma once

#include "text/StringSurvey.h"
#include "text/TextTable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct FoundTable {
    PointerTable table;
    uint32_t strings = 0;  // distinct strings its pointers reach
    uint32_t bytes = 0;    // of those strings, end tokens included
    // The option of a dump that reads it: "--pointers $98:8000:7",
    // "--long-pointers $99:8000:4".
    std::string option() const;
    // The option's name and its value apart: "--pointers", "$98:8000:7".
    const char* optionName() const;
    std::string optionValue() const;
};

struct PointerSearch {
    std::vector<FoundTable> tables;  // in address order, none overlapping another
    uint32_t runs = 0;               // scanned runs of DEFAULT_LEAST_PIECES pieces or more
    uint32_t unreached = 0;          // of them, those no string of a table overlaps
};

constexpr uint32_t DEFAULT_LEAST_POINTERS = 3;

PointerSearch findPointerTables(const uint8_t* data, uint32_t size, const TextTable& table, uint32_t leastPointers);
