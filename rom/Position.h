// Positions in an image as a user writes them on a command line:
//   $98:E000 or $98E000   a LoROM bus address (banks $7E and $7F, and any
//                         address whose low 16 bits are below $8000, hold
//                         no ROM there and are refused)
//   c6000 or 0xc6000      a file offset of the ROM data (no copier header),
//                         at most eight hexadecimal digits
// A pair of positions is split at the colon between them:
//   $98:E000:$99:8000     a range, end exclusive: a range that runs to the
//   c6000:c6100           end of a bank ends at the next bank's $8000
//   $98:8000:7            a position and a count, decimal, 1 to 65535
#pragma once

#include <cstdint>
#include <string>

enum class PositionParse {
    Parsed,
    Malformed,   // not of any form above
    NotRom,      // a bus address where LoROM holds no ROM
    EmptyRange,  // a range whose end is not after its start
    BadCount,    // a count of 0 or above 65535
};

struct Position {
    uint32_t offset = 0;      // file offset of the ROM data
    bool busAddress = false;  // it was written as a bus address
};

PositionParse parsePosition(const std::string& text, Position& position);
// start:end, end exclusive and after start.
PositionParse parseRange(const std::string& text, Position& start, Position& end);
// at:count.
PositionParse parseAtCount(const std::string& text, Position& at, uint32_t& count);

// A file offset as a user reads and writes it: the LoROM bus address
// ("$98:E000") where LoROM reaches it, below 4 MiB; past that, where no
// bus address names it, the offset itself ("400000"). Either form parses
// back to the offset.
std::string formatBusAddress(uint32_t offset);
