// The readers of brelquim-text's two text inputs, the table file and the
// script, over arbitrary bytes.
//
// Input: the length of the table file (2 bytes), the table file, then the
// script. A table that reads has entries of some bytes and some text, a
// control code's parameter count in range, and a reader that never runs
// past what it is given; a table that does not read leaves the one before
// it as it was. A script that reads names some pointer table, gives every
// string a distinct number from 1 on, and places every offset of a
// string's text on a line of the script.
#include "encoding/Encoding.h"
#include "fuzz/FuzzSupport.h"
#include "text/Script.h"
#include "text/TextCodec.h"
#include "text/TextTable.h"

#include <algorithm>
#include <set>
#include <string>

namespace {

// A table of a few entries of each kind, read once: what a refused table
// must leave in place.
const char PREVIOUS_TABLE[] = "/00=<end>\n*01=<br>\n$02=<color>,1\n41=A\n4142=AB\n";

bool sameEntries(const std::vector<TableEntry>& a, const std::vector<TableEntry>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].bytes != b[i].bytes || a[i].text != b[i].text || a[i].kind != b[i].kind ||
            a[i].parameters != b[i].parameters) {
            return false;
        }
    }
    return true;
}

void checkTable(const std::vector<uint8_t>& file, const std::vector<uint8_t>& probe) {
    static TextTable previous = [] {
        TextTable table;
        const auto* bytes = reinterpret_cast<const uint8_t*>(PREVIOUS_TABLE);
        FUZZ_CHECK(table.read(bytes, sizeof PREVIOUS_TABLE - 1).kind == TableProblem::None);
        return table;
    }();
    TextTable table = previous;
    const TableProblem problem = table.read(file.data(), file.size());
    if (problem.kind != TableProblem::None) {
        FUZZ_CHECK(problem.line >= 1);
        FUZZ_CHECK(sameEntries(table.entries(), previous.entries()));
        return;
    }
    bool ends = false;
    for (const TableEntry& entry : table.entries()) {
        FUZZ_CHECK(!entry.bytes.empty() && !entry.text.empty());
        FUZZ_CHECK(entry.parameters >= 0 && entry.parameters <= MOST_PARAMETERS);
        FUZZ_CHECK(entry.kind == TableEntry::Control || entry.parameters == 0);
        FUZZ_CHECK(firstNonUtf8(entry.text) == entry.text.size());
        FUZZ_CHECK(entry.text.find('\n') == std::string::npos);
        ends = ends || entry.kind == TableEntry::End;
    }
    FUZZ_CHECK(ends == table.hasEndTokens());

    // Reading through the table, from every start within the probe: pieces
    // back to back, inside what was given, entries whose bytes are there.
    std::vector<TextPiece> pieces;
    for (size_t start = 0; start < probe.size(); ++start) {
        const size_t available = probe.size() - start;
        const bool ended = readString(table, probe.data() + start, available, pieces);
        uint32_t at = 0;
        for (const TextPiece& piece : pieces) {
            FUZZ_CHECK(piece.start == at && piece.length >= 1 && piece.length <= available - at);
            if (piece.entry >= 0) {
                const TableEntry& entry = table.entries().at(static_cast<size_t>(piece.entry));
                FUZZ_CHECK(piece.length == entry.bytes.size() + static_cast<size_t>(entry.parameters));
                FUZZ_CHECK(std::equal(entry.bytes.begin(), entry.bytes.end(), probe.data() + start + at));
            }
            at += piece.length;
        }
        if (ended) {
            FUZZ_CHECK(!pieces.empty() && table.entries()[static_cast<size_t>(pieces.back().entry)].kind ==
                                              TableEntry::End);
            const std::string text = scriptText(table, probe.data() + start, pieces);
            FUZZ_CHECK(firstNonUtf8(text) == text.size());
        }
    }
}

void checkScript(const std::string& script) {
    const ScriptReading reading = readScript(script);
    if (reading.outcome != ScriptReading::Done) {
        FUZZ_CHECK(reading.entries.empty());
        FUZZ_CHECK(reading.outcome == ScriptReading::NoTables || reading.line >= 1);
        return;
    }
    FUZZ_CHECK(!reading.tables.empty());
    for (const PointerTable& table : reading.tables) FUZZ_CHECK(table.count >= 1 && table.count <= 65535);
    std::set<size_t> numbers;
    for (const ScriptEntry& entry : reading.entries) {
        FUZZ_CHECK(entry.number >= 1);
        FUZZ_CHECK(numbers.insert(entry.number).second);
        FUZZ_CHECK(entry.text.find('\n') == std::string::npos);
        size_t previousOffset = 0, previousLine = entry.headerLine;
        for (const auto& line : entry.lines) {
            FUZZ_CHECK(line.first >= previousOffset && line.first <= entry.text.size());
            FUZZ_CHECK(line.second > previousLine);
            previousOffset = line.first;
            previousLine = line.second;
        }
        for (size_t offset = 0; offset <= entry.text.size(); offset += 1 + entry.text.size() / 8) {
            const auto place = entry.place(offset);
            FUZZ_CHECK(place.first >= entry.headerLine && place.second >= 1);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceConsole();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const std::vector<uint8_t> table = input.bytes(input.word());
    const std::vector<uint8_t> rest = input.rest();
    // The script's bytes also serve as the bytes read through the table.
    checkTable(table, std::vector<uint8_t>(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(rest.size(), 64))));
    checkScript(std::string(rest.begin(), rest.end()));
    return 0;
}
