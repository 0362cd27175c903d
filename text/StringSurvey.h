// The game's strings, found through pointer tables: which pointers reach
// which string, where each string lies and how it reads. Pure code over
// the ROM data (an image without copier header).
#pragma once

#include "text/TextCodec.h"
#include "text/TextTable.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A table of pointers: 16-bit pointers into the bank the table lies in, or
// 24-bit LoROM bus addresses.
struct PointerTable {
    uint32_t offset;  // file offset of the first pointer
    uint32_t count;
    bool isLong;
    uint32_t width() const { return isLong ? 3 : 2; }
};

struct StringPointer {
    size_t table;    // index into the tables
    uint32_t index;  // index into the table
    uint32_t at;     // file offset of the pointer
    uint32_t value;  // what it holds: 16 bits, or a 24-bit bus address
    bool isLong;
};

// A string, once for every pointer that reaches it, in the order of their
// first pointer.
struct GameString {
    uint32_t address;  // LoROM bus address, as its first pointer gives it
    uint32_t offset;   // file offset
    uint32_t length;   // bytes, the end token included
    std::vector<StringPointer> pointers;
    // True when a 16-bit pointer reaches it: it must stay in its bank.
    bool bankBound() const;
};

struct StringSurvey {
    enum Outcome {
        Done,
        TableOutside,   // the pointer lies outside the ROM data
        StringOutside,  // the pointer leads outside the ROM data
        NoEnd,          // the string has no end within its bank
    } outcome = Done;
    StringPointer pointer{};  // the pointer a refusal names
    std::vector<GameString> strings;
};

// The LoROM bank (32 KiB of ROM data) that holds a file offset: where it
// starts and ends.
uint32_t bankStart(uint32_t offset);
uint32_t bankEnd(uint32_t offset);

// Reads every pointer of every table and every string they reach.
StringSurvey surveyStrings(const uint8_t* romData, uint32_t size, const std::vector<PointerTable>& tables,
                           const TextTable& table);

// The bus address a pointer of this kind holds for a string moved to a
// file offset: 16 bits, or a 24-bit address in the same half of the bus
// ($00-$7D or $80-$FF) as before.
uint32_t pointerValueFor(const StringPointer& pointer, uint32_t offset);
