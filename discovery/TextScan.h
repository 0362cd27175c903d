// Where the text lies: every run of bytes that reads through a table as a
// dump reads, and what the bytes around the runs suggest the table lacks.
// Pure code over the ROM data.
#pragma once

#include "rom/HeaderLayout.h"
#include "text/TextCodec.h"
#include "text/TextTable.h"

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <string>
#include <vector>

// A run of text: entries one after another (a control code with its
// parameters, whatever their values), up to a byte no entry covers, an
// end token (which belongs to it) or the end of its bank.
struct TextRun {
    uint32_t offset;     // file offset of its first byte
    uint32_t length;     // bytes
    uint32_t pieces;     // entries read
    bool ended;          // its last entry is an end token
};

// A byte and how often it was seen where the summary counts.
struct ByteCount {
    uint8_t byte;
    uint32_t count;
};

struct BankTotal {
    uint32_t bank;       // LoROM bank of the bus ($80 on)
    uint32_t runs = 0;
    uint32_t bytes = 0;
};

struct TextScanResult {
    std::vector<TextRun> runs;       // of at least the least pieces, in address order
    std::vector<BankTotal> banks;    // of the runs, in bank order
    // For a table without an end token: the uncovered bytes that most
    // often stop a run, most often first (at most three).
    std::vector<ByteCount> likelyEnds;
    // For a table without a space: the uncovered byte that most often
    // stands between two reads of two entries or more; none when none does.
    std::vector<ByteCount> likelySpace;
};

constexpr uint32_t DEFAULT_LEAST_PIECES = 4;

// Calls take(run) for every read of the ROM data, of any length (a read
// of no piece is never taken: an uncovered byte stands there), in address
// order. Reading restarts after each run, past the uncovered byte that
// stopped it.
template <typename Take>
void forEachRun(const uint8_t* data, uint32_t size, const TextTable& table, Take take);

TextScanResult scanText(const uint8_t* data, uint32_t size, const TextTable& table, uint32_t leastPieces);

// Whether the table has an entry whose text is a single space.
bool hasSpace(const TextTable& table);

// The run's text as one line: the script's text without its line ends.
std::string runText(const TextTable& table, const uint8_t* data, const TextRun& run);

// The bytes an entry takes where it is read: its own, and a control
// code's parameters.
inline uint32_t pieceLength(const TableEntry& entry) {
    return static_cast<uint32_t>(entry.bytes.size()) +
           (entry.kind == TableEntry::Control ? static_cast<uint32_t>(entry.parameters) : 0);
}

// The pieces of a read at data[0..available): as a dump reads, stopping
// at an uncovered byte (left out), after an end token, or where an entry
// or its parameters would pass the end.
uint32_t readRun(const TextTable& table, const uint8_t* data, uint32_t available, uint32_t& pieces, bool& ended);

template <typename Take>
void forEachRun(const uint8_t* data, uint32_t size, const TextTable& table, Take take) {
    uint32_t at = 0;
    while (at < size) {
        const uint32_t end = std::min<uint32_t>(size, (at / LOROM_BANK_SIZE + 1) * LOROM_BANK_SIZE);
        uint32_t pieces = 0;
        bool ended = false;
        const uint32_t length = readRun(table, data + at, end - at, pieces, ended);
        if (pieces == 0) {
            ++at;
            continue;
        }
        take(TextRun{at, length, pieces, ended});
        at += length;
    }
}
