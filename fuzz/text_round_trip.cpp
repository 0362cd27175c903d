// brelquim-text's round trip, in memory, over arbitrary tables, strings,
// pointers and edits. A small image of the game (every directory record
// on one tiny graphic) gets a table made from the input, a table of
// 16-bit pointers with its strings in bank 1 and a table of 24-bit
// pointers in bank 2 with its strings in bank 3; pointers may share a
// string or point into the middle of one. The strings are dumped
// (surveyStrings, scriptText, writeScript) and read back (readScript):
//   - inserted unchanged, the image comes back byte for byte;
//   - with some texts edited (table texts, raw forms, line ends), the
//     insertion either succeeds, and then every string reads as its edit
//     or as before, unchanged strings stay where they were, nothing but
//     the new strings, the moved strings' pointers and the checksum pair
//     changes, and a second dump and insertion give that image back; or
//     it refuses for a reason the input holds: a text the table cannot
//     write, bytes that read on into those placed after them (or placed
//     after an unchanged string that then reads on), a free
//     range over something, or no room in the bank of a string a 16-bit
//     pointer reaches.
//
// Input: flags (1 copier header, 2 a second free range at the end of
// bank 1, 4 no free range in bank 4), the byte that fills unused room,
// the table, the strings of each pointer table, extra pointers, then
// edits until the end (see readCase).
#include "fuzz/FuzzSupport.h"
#include "graphics/GameLayout.h"
#include "rom/Checksum.h"
#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"
#include "tests/sample/SampleRom.h"
#include "insertion/TextInsertion.h"
#include "text/Script.h"
#include "text/StringSurvey.h"
#include "text/TextCodec.h"
#include "text/TextTable.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr uint32_t IMAGE_SIZE = 0x40000;
constexpr uint32_t TINY_GRAPHIC = 0x37F00;   // after the directory, in bank 6
constexpr uint32_t SHORT_TABLE = 0x08000;    // bank 1: pointers, then their strings
constexpr uint32_t LONG_TABLE = 0x10000;     // bank 2: pointers
constexpr uint32_t LONG_STRINGS = 0x18000;   // bank 3: their strings
constexpr Span FREE_BANK{0x20000, 0x28000};  // bank 4, unused
constexpr uint32_t MOST_ENTRIES = 24;
constexpr uint32_t MOST_STRINGS = 8;

// Texts of table entries: short ones that start one another, a raw form,
// a comment mark, a space and an accented letter.
const char* const TEXT_PIECES[] = {"a", "b", "ab", "<", "$", ">", "4", "1", "#", " ", "\xC3\xA9", "<$41>", "x", "ba"};
constexpr size_t TEXT_PIECE_COUNT = sizeof TEXT_PIECES / sizeof TEXT_PIECES[0];

const std::vector<uint8_t>& skeleton() {
    static const std::vector<uint8_t> image = ImageBuilder(IMAGE_SIZE).fillDirectory(TINY_GRAPHIC).image;
    return image;
}

const char HEX[] = "0123456789ABCDEF";

void appendHex(std::string& text, uint8_t byte) {
    text += HEX[byte >> 4];
    text += HEX[byte & 15];
}

std::string rawForm(uint8_t byte) {
    std::string text = "<$";
    appendHex(text, byte);
    return text + ">";
}

struct Entry {
    std::vector<uint8_t> bytes;
    std::string text;
    char mark;  // 0, '/', '*', '$'
    int parameters;
};

struct Case {
    std::vector<uint8_t> image = std::vector<uint8_t>(COPIER_HEADER_SIZE + IMAGE_SIZE, 0x5C);
    uint8_t* romData() { return image.data() + COPIER_HEADER_SIZE; }
    bool copierHeader = false;
    std::vector<Entry> entries;
    std::string tableFile;
    std::vector<PointerTable> tables;
    std::vector<Span> freeRanges;
    std::vector<std::pair<uint32_t, std::string>> edits;  // string index (mod count), new text
};

// An entry's text (a control code's with its parameters in raw form) or a
// raw byte or a line end, as an edit is made of.
void appendPiece(FuzzInput& input, const Case& c, std::string& text) {
    const uint8_t choice = input.byte();
    if (choice >= 0xE0) {
        text += '\n';
    } else if (choice >= 0xC0) {
        text += rawForm(input.byte());
    } else {
        const Entry& entry = c.entries[choice % c.entries.size()];
        text += entry.text;
        for (int k = 0; k < entry.parameters; ++k) text += rawForm(input.byte());
    }
}

// A string's bytes: entries (a control code with parameters from the
// input) or raw bytes, then the end token's bytes.
std::vector<uint8_t> readStringBytes(FuzzInput& input, const Case& c) {
    std::vector<uint8_t> bytes;
    const int pieces = input.byte() % 12;
    for (int p = 0; p < pieces; ++p) {
        const uint8_t choice = input.byte();
        if (choice >= 0xC0) {
            bytes.push_back(input.byte());
            continue;
        }
        const Entry& entry = c.entries[choice % c.entries.size()];
        bytes.insert(bytes.end(), entry.bytes.begin(), entry.bytes.end());
        for (int k = 0; k < entry.parameters; ++k) bytes.push_back(input.byte());
    }
    bytes.insert(bytes.end(), c.entries[0].bytes.begin(), c.entries[0].bytes.end());
    return bytes;
}

// Strings one after the other from `at`, then pointers to each and some
// into the middle of one; the pointer table's count.
uint32_t placeStrings(FuzzInput& input, Case& c, uint32_t tableAt, uint32_t at, bool isLong) {
    const uint32_t count = input.byte() % (MOST_STRINGS + 1);
    std::vector<Span> strings;
    for (uint32_t s = 0; s < count; ++s) {
        const std::vector<uint8_t> bytes = readStringBytes(input, c);
        std::copy(bytes.begin(), bytes.end(), c.romData() + at);
        strings.push_back({at, static_cast<uint32_t>(at + bytes.size())});
        at += static_cast<uint32_t>(bytes.size());
    }
    if (count == 0) return 0;
    std::vector<uint32_t> targets;
    for (const Span& string : strings) targets.push_back(string.start);
    const uint32_t extra = input.byte() % 3;
    for (uint32_t e = 0; e < extra; ++e) {
        const Span& string = strings[input.byte() % count];
        targets.push_back(string.start + input.byte() % string.length());
    }
    const uint32_t width = isLong ? 3 : 2;
    for (size_t p = 0; p < targets.size(); ++p) {
        const uint32_t address = fileToLoRom(targets[p]);
        uint8_t* pointer = c.romData() + tableAt + p * width;
        for (uint32_t k = 0; k < width; ++k) pointer[k] = static_cast<uint8_t>(address >> (8 * k));
    }
    return static_cast<uint32_t>(targets.size());
}

void readCase(FuzzInput& input, Case& c) {
    std::copy(skeleton().begin(), skeleton().end(), c.romData());
    const uint8_t flags = input.byte();
    c.copierHeader = flags & 1;
    const uint8_t filler = input.byte();
    std::fill(c.romData() + SHORT_TABLE, c.romData() + LONG_STRINGS + LOROM_BANK_SIZE, filler);

    // The table: the first entry is the end token.
    c.entries.clear();
    const uint32_t count = 1 + input.byte() % MOST_ENTRIES;
    for (uint32_t e = 0; e < count; ++e) {
        Entry entry{{}, {}, 0, 0};
        const uint8_t kind = input.byte();
        entry.mark = e == 0 ? '/' : "\0\0\0\0\0*$/"[kind % 8];
        const int length = 1 + input.byte() % 3;
        for (int k = 0; k < length; ++k) entry.bytes.push_back(input.byte());
        const int pieces = 1 + input.byte() % 3;
        for (int k = 0; k < pieces; ++k) entry.text += TEXT_PIECES[input.byte() % TEXT_PIECE_COUNT];
        if (entry.mark == '$') entry.parameters = kind / 8 % 3;
        c.entries.push_back(std::move(entry));
    }
    c.tableFile.clear();
    for (const Entry& entry : c.entries) {
        if (entry.mark) c.tableFile += entry.mark;
        for (const uint8_t byte : entry.bytes) appendHex(c.tableFile, byte);
        c.tableFile += '=' + entry.text;
        if (entry.mark == '$') c.tableFile += ',' + std::to_string(entry.parameters);
        c.tableFile += '\n';
    }

    c.tables.clear();
    const uint32_t shortCount = placeStrings(input, c, SHORT_TABLE, SHORT_TABLE + 2 * (MOST_STRINGS + 2), false);
    const uint32_t longCount = placeStrings(input, c, LONG_TABLE, LONG_STRINGS, true);
    if (shortCount) c.tables.push_back({SHORT_TABLE, shortCount, false});
    if (longCount) c.tables.push_back({LONG_TABLE, longCount, true});

    c.freeRanges.clear();
    if ((flags & 4) == 0) c.freeRanges.push_back(FREE_BANK);
    if (flags & 2) {
        const uint32_t start = SHORT_TABLE + LOROM_BANK_SIZE - 1 - (input.word() % 0x7C00);
        c.freeRanges.push_back({start, SHORT_TABLE + LOROM_BANK_SIZE});
    }

    c.edits.clear();
    while (!input.empty()) {
        std::pair<uint32_t, std::string> edit{input.byte(), {}};
        const uint8_t shape = input.byte();
        const int pieces = shape % 16;
        for (int p = 0; p < pieces; ++p) appendPiece(input, c, edit.second);
        if (shape < 0xF0) edit.second += c.entries[0].text;  // mostly a text with its end
        c.edits.push_back(std::move(edit));
    }
}

struct Dump {
    StringSurvey survey;
    std::vector<std::string> texts;
    std::string script;
};

Dump dump(const RomImage& rom, const TextTable& table, const std::vector<PointerTable>& tables) {
    Dump d;
    const uint8_t* romData = rom.romData();
    d.survey = surveyStrings(romData, rom.romDataSize(), tables, table);
    if (d.survey.outcome != StringSurvey::Done) return d;
    for (const GameString& string : d.survey.strings) {
        d.texts.push_back(stringText(table, romData + string.offset, string.length));
    }
    d.script = writeScript({tables, {}}, d.survey.strings, d.texts);
    return d;
}

// The insertion of a dump's script, unchanged: done, and nothing changed.
void checkUnchanged(RomImage& rom, const TextTable& table, const Dump& d, const std::vector<Span>& freeRanges) {
    const ScriptReading reading = readScript(d.script);
    FUZZ_CHECK(reading.outcome == ScriptReading::Done);
    FUZZ_CHECK(reading.entries.size() == d.survey.strings.size());
    static std::vector<uint8_t> before;  // its memory kept from one input to the next
    before.assign(rom.data.get(), rom.data.get() + rom.size);
    const TextInsertResult result = insertText(rom, table, reading, freeRanges);
    FUZZ_CHECK(result.outcome == TextInsertResult::Done);
    FUZZ_CHECK(result.changes.empty());
    FUZZ_CHECK(static_cast<size_t>(rom.size) == before.size());
    FUZZ_CHECK(std::memcmp(rom.data.get(), before.data(), before.size()) == 0);
}

bool rangesAreRight(const Case& c, const StringSurvey& survey) {
    for (const Span& range : c.freeRanges) {
        for (const GameString& string : survey.strings) {
            if (range.overlaps({string.offset, string.offset + string.length})) return false;
        }
    }
    return true;
}

// True when the dump may show in raw form an entry that raw forms cannot
// write back (an end token, a control code, an entry of more than one
// byte): its text holds a control character or what may start a raw form
// or a comment line.
// Also true when entries of different kinds share a text: writing takes
// one entry for each text, so the end token's text, say, cannot stand for
// a letter as well.
bool showsEntryRaw(const TextTable& table) {
    for (const TableEntry& a : table.entries()) {
        for (const TableEntry& b : table.entries()) {
            if (a.text == b.text && a.kind != b.kind) return true;
        }
    }
    for (const TableEntry& entry : table.entries()) {
        if (entry.kind == TableEntry::Text && entry.bytes.size() == 1) continue;
        for (const char c : entry.text) {
            if (c == '<' || c == '#' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
        }
    }
    return false;
}

bool crossesBank(const Span& span) { return bankStart(span.start) != bankStart(span.end - 1); }

// True when the bytes that follow a string's bytes could make it read on:
// from one of its pieces to its end, its bytes and then those of next are
// the start of a longer entry's (next empty: any bytes may follow).
// encodeText reads its bytes back alone and cannot see this; the
// insertion, once the bytes are placed, refuses the text as one that
// reads back otherwise.
bool mayReadOn(const TextTable& table, const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& next) {
    std::vector<TextPiece> pieces;
    readString(table, bytes.data(), bytes.size(), pieces);
    std::vector<uint8_t> joined = bytes;
    joined.insert(joined.end(), next.begin(), next.end());
    for (const TextPiece& piece : pieces) {
        const size_t left = bytes.size() - piece.start;
        for (const TableEntry& entry : table.entries()) {
            if (entry.bytes.size() <= left) continue;
            const size_t compared = std::min(entry.bytes.size(), joined.size() - piece.start);
            if (std::equal(entry.bytes.begin(), entry.bytes.begin() + static_cast<std::ptrdiff_t>(compared),
                           joined.begin() + piece.start)) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceConsole();
    skeleton();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    static Case c;
    static RomImage rom;
    readCase(input, c);
    if (c.tables.empty()) return 0;

    TextTable table;
    FUZZ_CHECK(table.read(reinterpret_cast<const uint8_t*>(c.tableFile.data()), c.tableFile.size()).kind ==
               TableProblem::None);
    const uint32_t h = c.copierHeader ? COPIER_HEADER_SIZE : 0;
    auto load = [&] {
        rom.hasCopierHeader = 0;
        FUZZ_CHECK(rom.assign(c.romData() - h, h + IMAGE_SIZE) == 0);
    };
    load();

    const Dump first = dump(rom, table, c.tables);
    if (first.survey.outcome != StringSurvey::Done) {
        // A string that does not end in its bank (an end token swallowed
        // by a longer entry) or the like: the insertion refuses as well.
        const ScriptReading reading = readScript(writeScript({c.tables, {}}, {}, {}));
        FUZZ_CHECK(insertText(rom, table, reading, c.freeRanges).outcome == TextInsertResult::SurveyRefused);
        return 0;
    }
    const std::vector<GameString>& strings = first.survey.strings;
    const bool rangesRight = rangesAreRight(c, first.survey);
    if (!rangesRight) {
        const ScriptReading reading = readScript(first.script);
        FUZZ_CHECK(insertText(rom, table, reading, c.freeRanges).outcome == TextInsertResult::BadFreeRange);
        return 0;
    }
    checkUnchanged(rom, table, first, c.freeRanges);

    // The edited script, and what each block becomes as the insertion
    // must see it: the text its reading gives, unchanged when that is the
    // dump's text or writes the same bytes.
    std::vector<std::string> texts = first.texts;
    for (const auto& edit : c.edits) texts[edit.first % texts.size()] = edit.second;
    const ScriptReading edited = readScript(writeScript({c.tables, {}}, strings, texts));
    FUZZ_CHECK(edited.outcome == ScriptReading::Done && edited.entries.size() == strings.size());
    const uint8_t* oldData = c.romData();
    std::vector<std::vector<uint8_t>> meant(strings.size());
    std::vector<bool> changed(strings.size(), false);
    const ScriptEntry* unwritable = nullptr;
    Encoding unwritableEncoding;
    for (size_t s = 0; s < strings.size() && !unwritable; ++s) {
        const GameString& string = strings[s];
        const std::vector<uint8_t> old(oldData + string.offset, oldData + string.offset + string.length);
        meant[s] = old;
        if (edited.entries[s].text == withoutLineEnds(first.texts[s])) continue;
        Encoding encoding = encodeText(table, edited.entries[s].text);
        if (encoding.outcome != Encoding::Done) {
            unwritable = &edited.entries[s];
            unwritableEncoding = std::move(encoding);
            break;
        }
        changed[s] = encoding.bytes != old;
        meant[s] = std::move(encoding.bytes);
    }

    const TextInsertResult result = insertText(rom, table, edited, c.freeRanges);
    if (unwritable) {
        FUZZ_CHECK(result.outcome == TextInsertResult::NotWritable);
        FUZZ_CHECK(result.entry == unwritable);
        FUZZ_CHECK(result.encoding.outcome == unwritableEncoding.outcome && result.encoding.at == unwritableEncoding.at);
        return 0;
    }
    if (result.outcome == TextInsertResult::NoRoom) {
        // Only a string a 16-bit pointer reaches may find no room: the
        // others may go anywhere, the image growing if need be.
        FUZZ_CHECK(result.entry != nullptr);
        const size_t s = result.entry->number - 1;
        FUZZ_CHECK(changed[s] && strings[s].bankBound());
        FUZZ_CHECK(result.needed == meant[s].size() && result.room < result.needed);
        return 0;
    }
    if (result.outcome == TextInsertResult::NotWritable) {
        // Bytes that read on into what was placed after them, or placed
        // after an unchanged string that then reads on.
        FUZZ_CHECK(result.entry != nullptr && result.encoding.outcome == Encoding::ReadsOtherwise);
        const size_t s = result.entry->number - 1;
        FUZZ_CHECK(changed[s]);
        if (result.encoding.at == result.entry->text.size() && mayReadOn(table, meant[s], {})) return 0;
        FUZZ_CHECK(result.encoding.at == 0);
        bool readsOn = false;
        for (size_t t = 0; t < strings.size(); ++t) {
            const std::vector<uint8_t> old(oldData + strings[t].offset, oldData + strings[t].offset + strings[t].length);
            readsOn = readsOn || (!changed[t] && mayReadOn(table, old, {}));
        }
        FUZZ_CHECK(readsOn);
        return 0;
    }
    FUZZ_CHECK(result.outcome == TextInsertResult::Done);

    // The new image: every string as meant, where it may be.
    const uint32_t newSize = rom.romDataSize();
    const uint8_t* newData = rom.romData();
    FUZZ_CHECK(rom.headerBytes() == h);
    FUZZ_CHECK(newSize >= IMAGE_SIZE && newSize <= LOROM_DATA_LIMIT && (newSize & (newSize - 1)) == 0);
    std::vector<Span> touched;
    size_t changes = 0;
    for (size_t s = 0; s < strings.size(); ++s) {
        if (!changed[s]) continue;
        FUZZ_CHECK(changes < result.changes.size());
        const TextChange& change = result.changes[changes++];
        FUZZ_CHECK(change.string == s && change.newLength == meant[s].size());
        const Span now{change.newOffset, change.newOffset + change.newLength};
        FUZZ_CHECK(!crossesBank(now) && now.end <= newSize);
        if (strings[s].bankBound()) FUZZ_CHECK(bankStart(now.start) == bankStart(strings[s].offset));
        for (const PointerTable& pointers : c.tables) {
            FUZZ_CHECK(!now.overlaps({pointers.offset, pointers.offset + pointers.count * pointers.width()}));
        }
        for (size_t other = 0; other < strings.size(); ++other) {
            if (!changed[other]) FUZZ_CHECK(!now.overlaps({strings[other].offset, strings[other].offset + strings[other].length}));
        }
        if (change.kind == PlaceKind::FreeRange) {
            FUZZ_CHECK(std::any_of(c.freeRanges.begin(), c.freeRanges.end(), [&](const Span& range) {
                return range.start <= now.start && now.end <= range.end;
            }));
        }
        touched.push_back(now);
        if (change.newOffset != strings[s].offset) {
            for (const StringPointer& pointer : strings[s].pointers) {
                touched.push_back({pointer.at, pointer.at + (pointer.isLong ? 3u : 2u)});
            }
        }
    }
    FUZZ_CHECK(changes == result.changes.size());
    for (size_t a = 0; a < result.changes.size(); ++a) {
        for (size_t b = a + 1; b < result.changes.size(); ++b) {
            const TextChange& x = result.changes[a];
            const TextChange& y = result.changes[b];
            const Span first{x.newOffset, x.newOffset + x.newLength}, second{y.newOffset, y.newOffset + y.newLength};
            FUZZ_CHECK(!first.overlaps(second));
        }
    }
    const StringSurvey after = surveyStrings(newData, newSize, c.tables, table);
    FUZZ_CHECK(after.outcome == StringSurvey::Done);
    auto ownerOf = [&](uint32_t at) {  // the string a pointer reached before
        for (size_t s = 0; s < strings.size(); ++s) {
            for (const StringPointer& pointer : strings[s].pointers) {
                if (pointer.at == at) return static_cast<int>(s);
            }
        }
        return -1;
    };
    for (const GameString& string : after.strings) {
        for (const StringPointer& pointer : string.pointers) {
            const int s = ownerOf(pointer.at);
            FUZZ_CHECK(s >= 0);
            const std::vector<uint8_t>& bytes = meant[static_cast<size_t>(s)];
            FUZZ_CHECK(string.length == bytes.size() && std::memcmp(newData + string.offset, bytes.data(), bytes.size()) == 0);
            if (!changed[static_cast<size_t>(s)]) FUZZ_CHECK(string.offset == strings[static_cast<size_t>(s)].offset);
        }
    }

    // Nothing else changed: the copier header, the graphic, the directory,
    // the other strings, the pointers of strings that stayed.
    FUZZ_CHECK(std::all_of(rom.data.get(), rom.data.get() + h, [](uint8_t b) { return b == 0x5C; }));
    if (!result.changes.empty()) {
        const uint32_t pair = LOROM_HEADER_OFFSET + HEADER_CHECKSUM_COMPLEMENT;
        touched.push_back({pair, pair + 4});
        if (newSize > IMAGE_SIZE) touched.push_back({LOROM_HEADER_OFFSET + HEADER_ROM_SIZE, LOROM_HEADER_OFFSET + HEADER_ROM_SIZE + 1});
        const uint16_t checksum = static_cast<uint16_t>(newData[pair + 2] | newData[pair + 3] << 8);
        const uint16_t complement = static_cast<uint16_t>(newData[pair] | newData[pair + 1] << 8);
        FUZZ_CHECK((checksum ^ complement) == 0xFFFF && checksum == romChecksum(newData, newSize));
    }
    std::sort(touched.begin(), touched.end(), [](const Span& a, const Span& b) { return a.start < b.start; });
    uint32_t same = 0;
    for (const Span& span : touched) {
        const uint32_t end = std::min(span.start, IMAGE_SIZE);
        if (end > same) FUZZ_CHECK(std::memcmp(newData + same, oldData + same, end - same) == 0);
        same = std::max(same, span.end);
    }
    if (same < IMAGE_SIZE) FUZZ_CHECK(std::memcmp(newData + same, oldData + same, IMAGE_SIZE - same) == 0);

    // The new image's dump, inserted unchanged, gives it back.
    const Dump second = dump(rom, table, c.tables);
    FUZZ_CHECK(second.survey.outcome == StringSurvey::Done);
    // Each string where it was in the list, and an edit's text as the
    // dump shows it writes again to bytes that read as that text (unless
    // the dump must show raw an entry that raw forms do not write).
    FUZZ_CHECK(second.survey.strings.size() == strings.size());
    for (size_t s = 0; s < strings.size(); ++s) {
        FUZZ_CHECK(second.survey.strings[s].pointers.front().at == strings[s].pointers.front().at);
        if (!changed[s] || showsEntryRaw(table)) continue;
        const Encoding again = encodeText(table, withoutLineEnds(second.texts[s]));
        // Writing picks one entry for each text; bytes that read back as
        // another text are refused, never written (another entry of the
        // same text might have read back right: a limit of the writing).
        FUZZ_CHECK(again.outcome == Encoding::Done || again.outcome == Encoding::ReadsOtherwise);
        if (again.outcome != Encoding::Done) continue;
        std::vector<TextPiece> pieces;
        FUZZ_CHECK(readString(table, again.bytes.data(), again.bytes.size(), pieces));
        FUZZ_CHECK(withoutLineEnds(scriptText(table, again.bytes.data(), pieces)) == withoutLineEnds(second.texts[s]));
    }
    checkUnchanged(rom, table, second, {});
    return 0;
}
