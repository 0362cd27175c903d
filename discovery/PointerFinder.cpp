#include "discovery/PointerFinder.h"

#include "discovery/TextScan.h"
#include "rom/HeaderLayout.h"
#include "rom/Position.h"
#include "rom/RomImage.h"

#include <algorithm>
#include <unordered_map>

namespace {

constexpr uint32_t FIRST_POINTER = 0x8000;
// A string holds at most one uncovered byte in UNCOVERED_SHARE of its
// bytes; while it is read, the uncovered bytes may not pass
// UNCOVERED_SLACK and a quarter of the bytes read, so that bytes that are
// no text are left early.
constexpr uint32_t UNCOVERED_SHARE = 8;
constexpr uint32_t UNCOVERED_SLACK = 2;
// A table reaches at least LEAST_STRINGS strings of FULL_STRING bytes or
// more (three characters and the end token), and no fewer of them than
// of shorter ones.
constexpr size_t LEAST_STRINGS = 2;
constexpr uint32_t FULL_STRING = 4;

// Reads a string from data[0..available) as a dump does, uncovered bytes
// taken as raw bytes; its length, or 0 when it is no string.
uint32_t readString(const TextTable& table, const uint8_t* data, uint32_t available) {
    const std::vector<TableEntry>& entries = table.entries();
    uint32_t at = 0, uncovered = 0;
    while (at < available) {
        const int found = table.longestMatch(data + at, available - at);
        if (found < 0) {
            if (at == 0) return 0;
            ++uncovered;
            ++at;
            if (uncovered > UNCOVERED_SLACK + at / 4) return 0;
            continue;
        }
        const TableEntry& entry = entries[static_cast<size_t>(found)];
        const uint32_t length = pieceLength(entry);
        if (length > available - at) return 0;
        at += length;
        // A lone end token is no string: in 0x00 fill every byte would be one.
        if (entry.kind == TableEntry::End) return at > length && uncovered * UNCOVERED_SHARE <= at ? at : 0;
    }
    return 0;
}

uint32_t bankLimit(uint32_t offset, uint32_t size) { return std::min(bankEnd(offset), size); }

// Where the strings start and how long they are, learnt as pointers ask.
class StringPlaces {
public:
    StringPlaces(const uint8_t* data, uint32_t size, const TextTable& table)
        : data(data), size(size), table(table), starts(size / 64 + 1), read(size / 64 + 1), holds(size / 64 + 1) {
        // A string starts where a scanned run does, or after an end token.
        forEachRun(data, size, table, [&](const TextRun& run) {
            if (run.pieces >= DEFAULT_LEAST_PIECES) {
                mark(run.offset);
                listed.push_back(run);
            }
            if (run.ended && run.offset + run.length < size) mark(run.offset + run.length);
        });
    }
    // Whether a string may start at offset after a table: an entry that
    // is no end token starts there (checked in full by reads).
    bool mayStart(uint32_t offset) const {
        const int entry = table.longestMatch(data + offset, size - offset);
        return entry >= 0 && table.entries()[static_cast<size_t>(entry)].kind != TableEntry::End;
    }
    // The runs a scan lists, in address order.
    std::vector<TextRun> listed;
    // The length of the string at offset, 0 for none.
    uint32_t at(uint32_t offset) { return has(starts, offset) ? reads(offset) : 0; }
    // The same wherever reading starts.
    uint32_t reads(uint32_t offset) {
        if (has(read, offset)) return has(holds, offset) ? lengths.at(offset) : 0;
        set(read, offset);
        const uint32_t length = readString(table, data + offset, bankLimit(offset, size) - offset);
        if (length != 0) {
            set(holds, offset);
            lengths.emplace(offset, length);
        }
        return length;
    }

private:
    const uint8_t* data;
    uint32_t size;
    const TextTable& table;
    // A bit per offset, small enough to stay in the cache: where strings
    // may start, where reading was tried, where it found a string.
    std::vector<uint64_t> starts, read, holds;
    std::unordered_map<uint32_t, uint32_t> lengths;  // of the strings found
    static bool has(const std::vector<uint64_t>& bits, uint32_t offset) { return bits[offset / 64] >> (offset % 64) & 1; }
    static void set(std::vector<uint64_t>& bits, uint32_t offset) { bits[offset / 64] |= uint64_t{1} << (offset % 64); }
    void mark(uint32_t offset) { set(starts, offset); }
};

// The file offset a pointer at `at` leads to, or false.
bool targetOf(const uint8_t* data, uint32_t size, uint32_t at, bool isLong, uint32_t& target) {
    const uint32_t value = data[at] | data[at + 1] << 8 | (isLong ? data[at + 2] << 16 : 0);
    if (!isLong) {
        if (value < FIRST_POINTER) return false;
        target = bankStart(at) + (value - FIRST_POINTER);
    } else {
        if (!loRomShowsRom(value)) return false;
        target = loRomToFile(value);
    }
    return target < size;
}

struct Candidate {
    FoundTable found;
    std::vector<uint32_t> targets;  // distinct, sorted
};

// A run of pointers that closed: the strings each reaches, and whether
// that string starts where strings start (else it reads as a string and
// lies after the pointer: it counts where it follows the run itself, the
// first string after its table, whose bytes a scan may have read on from
// the table's).
struct PointerRun {
    uint32_t first = 0;
    std::vector<uint32_t> targets;
    std::vector<uint8_t> known;
};

// Takes the longest stretches of pointers of the run that reach strings,
// when they make a table.
void takeRun(const PointerRun& run, uint32_t width, bool isLong, StringPlaces& places, uint32_t leastPointers,
             std::vector<Candidate>& candidates) {
    const uint32_t end = run.first + width * static_cast<uint32_t>(run.targets.size());
    size_t from = 0;
    for (size_t i = 0; i <= run.targets.size(); ++i) {
        if (i < run.targets.size() && (run.known[i] || (run.targets[i] == end && places.reads(end) != 0))) continue;
        const uint32_t count = static_cast<uint32_t>(i - from);
        if (count >= leastPointers) {
            std::vector<uint32_t> distinct(run.targets.begin() + from, run.targets.begin() + i);
            std::sort(distinct.begin(), distinct.end());
            distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
            // Pointers that all reach one string are fill or a repeated
            // word; bytes that are no text (compressed graphics, code)
            // hold strings of a character or two between their zeros: at
            // least half of a table's strings, and two at least, are
            // longer.
            size_t full = 0;
            for (uint32_t target : distinct) full += places.reads(target) >= FULL_STRING;
            if (full >= LEAST_STRINGS && 2 * full >= distinct.size()) {
                const uint32_t offset = run.first + width * static_cast<uint32_t>(from);
                Candidate candidate{{{offset, count, isLong}, static_cast<uint32_t>(distinct.size()), 0}, distinct};
                for (uint32_t target : distinct) candidate.found.bytes += places.reads(target);
                candidates.push_back(std::move(candidate));
            }
        }
        from = i + 1;
    }
}

// The runs of pointers of one kind at one alignment.
void collectRuns(const uint8_t* data, uint32_t size, StringPlaces& places, bool isLong, uint32_t residue,
                 uint32_t leastPointers, std::vector<Candidate>& candidates) {
    const uint32_t width = isLong ? 3 : 2;
    PointerRun run;
    auto close = [&]() {
        if (run.targets.size() >= leastPointers) takeRun(run, width, isLong, places, leastPointers, candidates);
        run.targets.clear();
        run.known.clear();
    };
    for (uint32_t at = residue; size >= width && at <= size - width; at += width) {
        // A table lies within one bank.
        if (bankStart(at) != bankStart(at + width - 1)) {
            close();
            continue;
        }
        if (at % LOROM_BANK_SIZE < width) close();
        uint32_t target = 0;
        bool known = false;
        if (!targetOf(data, size, at, isLong, target) ||
            !((known = places.at(target) != 0) ||
              (target > at && bankStart(target) == bankStart(at) && places.mayStart(target)))) {
            close();
            continue;
        }
        if (run.targets.empty()) run.first = at;
        run.targets.push_back(target);
        run.known.push_back(known);
    }
    close();
}

bool overlaps(const PointerTable& a, const PointerTable& b) {
    const uint64_t aEnd = uint64_t{a.offset} + uint64_t{a.count} * a.width();
    const uint64_t bEnd = uint64_t{b.offset} + uint64_t{b.count} * b.width();
    return a.offset < bEnd && b.offset < aEnd;
}

// Of the runs that overlap, the one of more bytes (the earlier among
// equal ones); the rest in address order.
std::vector<Candidate> keepLargest(std::vector<Candidate> candidates) {
    auto bytes = [](const Candidate& c) { return uint64_t{c.found.table.count} * c.found.table.width(); };
    std::sort(candidates.begin(), candidates.end(), [&](const Candidate& a, const Candidate& b) {
        if (bytes(a) != bytes(b)) return bytes(a) > bytes(b);
        return a.found.table.offset < b.found.table.offset;
    });
    std::vector<Candidate> kept;
    for (Candidate& candidate : candidates) {
        bool free = true;
        for (const Candidate& other : kept) free = free && !overlaps(candidate.found.table, other.found.table);
        if (free) kept.push_back(std::move(candidate));
    }
    std::sort(kept.begin(), kept.end(),
              [](const Candidate& a, const Candidate& b) { return a.found.table.offset < b.found.table.offset; });
    return kept;
}

}  // namespace

const char* FoundTable::optionName() const { return table.isLong ? "--long-pointers" : "--pointers"; }

std::string FoundTable::optionValue() const {
    return formatBusAddress(table.offset) + ":" + std::to_string(table.count);
}

std::string FoundTable::option() const { return std::string(optionName()) + " " + optionValue(); }

PointerSearch findPointerTables(const uint8_t* data, uint32_t size, const TextTable& table, uint32_t leastPointers) {
    PointerSearch search;
    StringPlaces places(data, size, table);
    std::vector<Candidate> candidates;
    for (uint32_t residue = 0; residue < 2; ++residue) {
        collectRuns(data, size, places, false, residue, leastPointers, candidates);
    }
    for (uint32_t residue = 0; residue < 3; ++residue) {
        collectRuns(data, size, places, true, residue, leastPointers, candidates);
    }
    // The strings the tables reach, as [start, end) in address order.
    std::vector<std::pair<uint32_t, uint32_t>> reached;
    for (Candidate& candidate : keepLargest(std::move(candidates))) {
        for (uint32_t target : candidate.targets) reached.push_back({target, target + places.reads(target)});
        search.tables.push_back(candidate.found);
    }
    std::sort(reached.begin(), reached.end());
    // The furthest end among the strings that start before each one's end.
    std::vector<uint32_t> furthest(reached.size());
    for (size_t i = 0; i < reached.size(); ++i) {
        furthest[i] = std::max(reached[i].second, i > 0 ? furthest[i - 1] : 0);
    }
    for (const TextRun& run : places.listed) {
        ++search.runs;
        const uint32_t end = run.offset + run.length;
        // The last string that starts before the run ends.
        const auto after = std::lower_bound(reached.begin(), reached.end(), std::make_pair(end, uint32_t{0}));
        const bool hit = after != reached.begin() && furthest[static_cast<size_t>(after - reached.begin()) - 1] > run.offset;
        if (!hit) ++search.unreached;
    }
    return search;
}
