#include "discovery/TextScan.h"

#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"

#include <algorithm>

namespace {

constexpr size_t MOST_LIKELY_ENDS = 3;
constexpr uint32_t LEAST_WORD_PIECES = 2;

// The bytes of counts most often seen first (the lower byte first among
// equal counts), at most most of them.
std::vector<ByteCount> mostSeen(const uint32_t (&counts)[256], size_t most) {
    std::vector<ByteCount> seen;
    for (int b = 0; b < 256; ++b) {
        if (counts[b] > 0) seen.push_back({static_cast<uint8_t>(b), counts[b]});
    }
    std::stable_sort(seen.begin(), seen.end(), [](const ByteCount& a, const ByteCount& b) { return a.count > b.count; });
    if (seen.size() > most) seen.resize(most);
    return seen;
}

}  // namespace

uint32_t readRun(const TextTable& table, const uint8_t* data, uint32_t available, uint32_t& pieces, bool& ended) {
    uint32_t at = 0;
    pieces = 0;
    ended = false;
    const std::vector<TableEntry>& entries = table.entries();
    while (at < available) {
        const int found = table.longestMatch(data + at, available - at);
        if (found < 0) break;
        const TableEntry& entry = entries[static_cast<size_t>(found)];
        const uint32_t length = pieceLength(entry);
        if (length > available - at) break;
        at += length;
        ++pieces;
        if (entry.kind == TableEntry::End) {
            ended = true;
            break;
        }
    }
    return at;
}

bool hasSpace(const TextTable& table) {
    for (const TableEntry& entry : table.entries()) {
        if (entry.kind == TableEntry::Text && entry.text == " ") return true;
    }
    return false;
}

std::string runText(const TextTable& table, const uint8_t* data, const TextRun& run) {
    std::vector<TextPiece> pieces;
    uint32_t at = 0;
    const std::vector<TableEntry>& entries = table.entries();
    while (at < run.length) {
        const int found = table.longestMatch(data + run.offset + at, run.length - at);
        const TableEntry& entry = entries[static_cast<size_t>(found)];
        const uint32_t length = pieceLength(entry);
        pieces.push_back({found, at, length});
        at += length;
    }
    return withoutLineEnds(scriptText(table, data + run.offset, pieces));
}

TextScanResult scanText(const uint8_t* data, uint32_t size, const TextTable& table, uint32_t leastPieces) {
    TextScanResult result;
    uint32_t ends[256] = {}, spaces[256] = {};
    const bool countEnds = !table.hasEndTokens(), countSpaces = !hasSpace(table);
    // The end of the last read of two pieces or more, to find the byte
    // between two such reads.
    uint32_t wordEnd = UINT32_MAX;
    forEachRun(data, size, table, [&](const TextRun& run) {
        const uint32_t stop = run.offset + run.length;
        const bool stoppedByByte = !run.ended && stop < size && stop % LOROM_BANK_SIZE != 0;
        if (countSpaces) {
            const bool word = run.pieces >= LEAST_WORD_PIECES;
            if (word && wordEnd != UINT32_MAX && wordEnd + 1 == run.offset) ++spaces[data[wordEnd]];
            wordEnd = word && stoppedByByte ? stop : UINT32_MAX;
        }
        if (run.pieces < leastPieces) return;
        result.runs.push_back(run);
        const uint32_t bank = fileToLoRom(run.offset) >> 16;
        if (result.banks.empty() || result.banks.back().bank != bank) result.banks.push_back({bank});
        ++result.banks.back().runs;
        result.banks.back().bytes += run.length;
        if (countEnds && stoppedByByte) ++ends[data[stop]];
    });
    if (countEnds) result.likelyEnds = mostSeen(ends, MOST_LIKELY_ENDS);
    if (countSpaces) result.likelySpace = mostSeen(spaces, 1);
    return result;
}
