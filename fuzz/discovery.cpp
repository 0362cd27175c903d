// The three commands that find a game's text over arbitrary images and
// tables: the relative search, the scan and the pointer finder.
//
// Input: the length of the table file (2 bytes), the table file, a byte
// of settings (the least pieces of a run and pointers of a table, whether
// the search is wide, which words it looks for), then the ROM data. Every
// hit reads as its word under its mapping; the runs lie in the data in
// address order, each as long as a read there; the tables lie in the
// data, none over another, and a dump through them reads every string.
#include "discovery/PointerFinder.h"
#include "discovery/RelativeSearch.h"
#include "discovery/TextScan.h"
#include "fuzz/FuzzSupport.h"
#include "text/StringSurvey.h"

#include <string>

namespace {

const char* const WORDS[] = {"abc", "Hello", "a b c", "A*CD", "123", "zzz", "Go on", "x y*z"};

void checkSearch(const std::vector<uint8_t>& rom, uint8_t settings) {
    const bool wide = settings & 0x80;
    const std::vector<std::string> words = {WORDS[settings & 7], WORDS[(settings >> 3) & 7]};
    const RelativeSearch search = searchWords(rom.data(), rom.size(), words, wide);
    if (search.outcome != RelativeSearch::Done) {
        FUZZ_CHECK(search.outcome == RelativeSearch::NoHit && search.mappings.empty());
        return;
    }
    for (const FoundMapping& found : search.mappings) {
        FUZZ_CHECK(!found.hits.empty() && found.words >= 1 && found.words <= words.size());
        for (const SearchHit& hit : found.hits) {
            CodeMapping own;
            FUZZ_CHECK(hit.offset < rom.size());
            FUZZ_CHECK(hitAt(rom.data() + hit.offset, rom.size() - hit.offset, words[hit.word], wide, own));
            FUZZ_CHECK(found.mapping.agreesWith(own));
        }
    }
}

void checkScan(const std::vector<uint8_t>& rom, const TextTable& table, uint32_t least) {
    const uint32_t size = static_cast<uint32_t>(rom.size());
    const TextScanResult scan = scanText(rom.data(), size, table, least);
    uint32_t after = 0;
    for (const TextRun& run : scan.runs) {
        FUZZ_CHECK(run.offset >= after && run.length > 0 && run.pieces >= least);
        FUZZ_CHECK(run.length <= size - run.offset);
        uint32_t pieces = 0;
        bool ended = false;
        FUZZ_CHECK(readRun(table, rom.data() + run.offset, run.length, pieces, ended) == run.length);
        FUZZ_CHECK(pieces == run.pieces && ended == run.ended);
        runText(table, rom.data(), run);
        after = run.offset + run.length;
    }
}

void checkPointers(const std::vector<uint8_t>& rom, const TextTable& table, uint32_t least) {
    const uint32_t size = static_cast<uint32_t>(rom.size());
    const PointerSearch search = findPointerTables(rom.data(), size, table, least);
    FUZZ_CHECK(search.unreached <= search.runs);
    uint64_t after = 0;
    std::vector<PointerTable> tables;
    for (const FoundTable& found : search.tables) {
        const PointerTable& t = found.table;
        FUZZ_CHECK(t.offset >= after && t.count >= least && found.strings >= 2 && found.strings <= t.count);
        after = uint64_t{t.offset} + uint64_t{t.count} * t.width();
        FUZZ_CHECK(after <= size);
        tables.push_back(t);
    }
    const StringSurvey survey = surveyStrings(rom.data(), size, tables, table);
    FUZZ_CHECK(survey.outcome == StringSurvey::Done);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const std::vector<uint8_t> file = input.bytes(input.word());
    const uint8_t settings = input.byte();
    const std::vector<uint8_t> rom = input.rest();
    checkSearch(rom, settings);
    TextTable table;
    if (table.read(file.data(), file.size()).kind != TableProblem::None) return 0;
    const uint32_t least = 1 + (settings & 7);
    checkScan(rom, table, least);
    checkPointers(rom, table, least);
    return 0;
}
