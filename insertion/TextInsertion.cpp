#include "insertion/TextInsertion.h"

#include "graphics/GraphicsDirectory.h"
#include "placement/Growth.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace {

class TextInsertion {
public:
    TextInsertion(RomImage& rom, const TextTable& table, const ScriptReading& script, const std::vector<Span>& freeRanges)
        : rom(rom), table(table), script(script), freeRanges(freeRanges) {}

    TextInsertResult run();

private:
    bool readGraphics();
    bool newTexts();
    void describeRoom();
    bool place();
    bool noPointerInAStringThatStays();
    bool apply();
    bool pointAt(const GameString& string, uint32_t offset);
    bool check();
    bool readsOn(uint32_t offset, uint32_t length);
    bool refuseReadingOn(size_t string, size_t at);
    const TextChange* firstChangeAfter(const GameString& string) const;
    bool noStringReadsOn();
    bool everyPointerLeadsToItsString();
    bool graphicsAsBefore();

    bool refuse(TextInsertResult::Outcome outcome) {
        result.outcome = outcome;
        return false;
    }

    RomImage& rom;
    const TextTable& table;
    const ScriptReading& script;
    const std::vector<Span>& freeRanges;
    TextInsertResult result;
    PlacementInput input;
    PlacementPlan plan;
    std::vector<std::vector<uint8_t>> graphics;      // every graphic, decoded from the input
    std::vector<std::vector<uint8_t>> newBytes;      // per string: empty when unchanged
    std::vector<const ScriptEntry*> entryOf;         // per string: its block in the script
    std::vector<uint8_t> original;                   // the input's ROM data
    std::vector<TextPiece> placed;                   // a string read where it now lies
};

// The header, the directory and every graphic's stream, never written
// over, and every graphic's bytes decoded, which the new image must give
// again.
bool TextInsertion::readGraphics() {
    input.reserved = headerAndDirectory(rom);
    const DirectoryWalk walk = walkGraphicsDirectory(rom, [&](const DecodedGraphic& g) {
        const uint32_t start = g.dataIndex - rom.headerBytes();
        input.reserved.push_back({start, start + g.decoded.packedLength});
        graphics.emplace_back(g.bytes, g.bytes + g.decoded.producedLength);
        return true;
    });
    if (walk.outcome != DirectoryWalk::Complete) {
        result.graphic = walk.graphic;
        return refuse(TextInsertResult::GraphicUnreadable);
    }
    return true;
}

// Each block of the script against the string it names: a text that
// differs from the dump's is written anew, and stays unchanged when that
// gives the bytes it had.
bool TextInsertion::newTexts() {
    const std::vector<GameString>& strings = result.survey.strings;
    newBytes.assign(strings.size(), {});
    entryOf.assign(strings.size(), nullptr);
    for (const ScriptEntry& entry : script.entries) {
        if (entry.number > strings.size()) {
            result.line = entry.headerLine;
            return refuse(TextInsertResult::UnknownString);
        }
        const size_t s = entry.number - 1;
        entryOf[s] = &entry;
        const GameString& string = strings[s];
        const uint8_t* old = rom.romData() + string.offset;
        if (withoutLineEnds(stringText(table, old, string.length)) == entry.text) continue;
        Encoding encoding = encodeText(table, entry.text);
        if (encoding.outcome != Encoding::Done) {
            encoding.bytes.clear();
            result.mistakes.push_back({&entry, std::move(encoding)});
            continue;
        }
        if (encoding.bytes.size() == string.length && std::memcmp(encoding.bytes.data(), old, string.length) == 0) {
            continue;
        }
        newBytes[s] = std::move(encoding.bytes);
    }
    if (result.mistakes.empty()) return true;
    result.entry = result.mistakes.front().entry;
    result.encoding = result.mistakes.front().encoding;
    return refuse(TextInsertResult::NotWritable);
}

// What placement works on: the header, the directory, every graphic's
// stream and every pointer table reserved; the strings the blocks, each
// changed one to be placed in its bank when a 16-bit pointer reaches it.
void TextInsertion::describeRoom() {
    const std::vector<GameString>& strings = result.survey.strings;
    input.romDataSize = rom.romDataSize();
    for (const PointerTable& pointers : script.tables) {
        input.reserved.push_back({pointers.offset, pointers.offset + pointers.count * pointers.width()});
    }
    for (const GameString& string : strings) input.blocks.push_back({string.offset, string.offset + string.length});
    input.freeRanges = freeRanges;
    for (size_t s = 0; s < strings.size(); ++s) {
        if (newBytes[s].empty()) continue;
        BlockToPlace placing{static_cast<int>(s), static_cast<uint32_t>(newBytes[s].size()), {0, UINT32_MAX}, true};
        if (strings[s].bankBound()) {
            placing.region = {bankStart(strings[s].offset), bankEnd(strings[s].offset)};
            placing.mayGrow = false;
        }
        input.changed.push_back(placing);
    }
}

bool TextInsertion::place() {
    describeRoom();
    result.freeRange = freeRangeRefusal(checkFreeRanges(input), graphics.size(), Obstacle::String);
    if (result.freeRange.kind != FreeRangeRefusal::None) return refuse(TextInsertResult::BadFreeRange);

    plan = placeBlocks(input);
    if (plan.outcome == PlacementPlan::Placed) return true;
    const auto s = static_cast<size_t>(plan.block);
    result.entry = entryOf[s];
    result.needed = static_cast<uint32_t>(newBytes[s].size());
    result.room = plan.largestRoom;
    switch (plan.outcome) {
        case PlacementPlan::LongerThanBank: return refuse(TextInsertResult::LongerThanBank);
        case PlacementPlan::NoRoom: return refuse(TextInsertResult::NoRoom);
        default: return refuse(TextInsertResult::PastLoRomLimit);
    }
}

// A moved string's pointers are rewritten: none may lie inside the bytes of
// a string left as it is, which would change with it.
bool TextInsertion::noPointerInAStringThatStays() {
    const std::vector<GameString>& strings = result.survey.strings;
    std::vector<size_t> staying;  // unchanged strings, by offset
    for (size_t s = 0; s < strings.size(); ++s) {
        if (newBytes[s].empty()) staying.push_back(s);
    }
    std::sort(staying.begin(), staying.end(),
              [&](size_t a, size_t b) { return strings[a].offset < strings[b].offset; });
    std::vector<uint32_t> reach(staying.size());  // the furthest end among staying[0..i]
    for (size_t i = 0; i < staying.size(); ++i) {
        const GameString& string = strings[staying[i]];
        reach[i] = std::max(i > 0 ? reach[i - 1] : 0, string.offset + string.length);
    }
    for (const Placement& placement : plan.placements) {
        const auto s = static_cast<size_t>(placement.block);
        if (placement.offset == strings[s].offset) continue;
        for (const StringPointer& pointer : strings[s].pointers) {
            const uint32_t end = pointer.at + (pointer.isLong ? 3 : 2);
            // The staying strings that start before the pointer ends; one of
            // them reaches into it when the furthest end passes its start.
            size_t i = static_cast<size_t>(
                std::lower_bound(staying.begin(), staying.end(), end,
                                 [&](size_t t, uint32_t at) { return strings[t].offset < at; }) -
                staying.begin());
            if (i == 0 || reach[i - 1] <= pointer.at) continue;
            while (strings[staying[i - 1]].offset + strings[staying[i - 1]].length <= pointer.at) --i;
            result.entry = entryOf[s];
            result.pointer = pointer;
            result.under = staying[i - 1];
            return refuse(TextInsertResult::PointerInString);
        }
    }
    return true;
}

// Writes the plan: new space, the strings' bytes, the pointers of those
// that moved, the checksum.
bool TextInsertion::apply() {
    const std::vector<GameString>& strings = result.survey.strings;
    result.oldRomDataSize = rom.romDataSize();
    result.newRomDataSize = plan.romDataSize;
    if (plan.romDataSize > rom.romDataSize() && !growImage(rom, plan.romDataSize)) return refuse(TextInsertResult::Mismatch);
    std::vector<Span> taken;
    for (const Placement& placement : plan.placements) {
        const auto s = static_cast<size_t>(placement.block);
        const std::vector<uint8_t>& bytes = newBytes[s];
        if (!rom.writeBytes(placement.offset, bytes.data(), bytes.size()) ||
            (placement.offset != strings[s].offset && !pointAt(strings[s], placement.offset))) {
            return refuse(TextInsertResult::Mismatch);
        }
        if (placement.kind == PlaceKind::FreeRange) {
            taken.push_back({placement.offset, static_cast<uint32_t>(placement.offset + bytes.size())});
        }
        result.changes.push_back({s, strings[s].pointers.front().at, strings[s].offset, strings[s].length,
                                  placement.offset, static_cast<uint32_t>(bytes.size()), placement.kind});
    }
    if (!plan.placements.empty() && !rom.updateChecksum()) return refuse(TextInsertResult::Mismatch);
    FreeRoomLeft room = freeRoomLeft(freeRanges, taken);
    result.freeLeft = std::move(room.left);
    result.freeUsed = std::move(room.used);
    return true;
}

// Every pointer of string made to lead to offset.
bool TextInsertion::pointAt(const GameString& string, uint32_t offset) {
    for (const StringPointer& pointer : string.pointers) {
        const uint32_t value = pointerValueFor(pointer, offset);
        const uint8_t little[3] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                                   static_cast<uint8_t>(value >> 16)};
        if (!rom.writeBytes(pointer.at, little, pointer.isLong ? 3 : 2)) return false;
    }
    return true;
}

// The new image read as a dump reads it: every pointer leads to exactly the
// bytes meant for its string, which read to their end there, and every
// graphic decodes as before.
bool TextInsertion::check() { return noStringReadsOn() && everyPointerLeadsToItsString() && graphicsAsBefore(); }

// Reading takes the longest entry that matches: where a string's last bytes
// and the bytes placed after it make a longer entry, the string read at
// offset does not end after length bytes.
bool TextInsertion::readsOn(uint32_t offset, uint32_t length) {
    const uint32_t available = std::min(bankEnd(offset), rom.romDataSize()) - offset;
    return !readString(table, rom.romData() + offset, available, placed) ||
           placed.back().start + placed.back().length != length;
}

// The text of a changed string refused as one whose bytes read back
// otherwise, at an offset into its text.
bool TextInsertion::refuseReadingOn(size_t string, size_t at) {
    result.entry = entryOf[string];
    result.encoding = Encoding{};
    result.encoding.outcome = Encoding::ReadsOtherwise;
    result.encoding.at = at;
    result.mistakes.assign(1, {result.entry, result.encoding});
    return refuse(TextInsertResult::NotWritable);
}

// The first changed string placed after string, in string's bank.
const TextChange* TextInsertion::firstChangeAfter(const GameString& string) const {
    const uint32_t end = string.offset + string.length;
    const TextChange* next = nullptr;
    for (const TextChange& change : result.changes) {
        if (change.newOffset >= end && change.newOffset < bankEnd(string.offset) &&
            (!next || change.newOffset < next->newOffset)) {
            next = &change;
        }
    }
    return next;
}

// Writing cannot see what follows a string. A changed string that reads on
// is refused at the end of its text; an unchanged one that reads on into a
// changed one placed after it refuses the changed one at the start of its
// text.
bool TextInsertion::noStringReadsOn() {
    for (const TextChange& change : result.changes) {
        if (readsOn(change.newOffset, change.newLength)) {
            return refuseReadingOn(change.string, entryOf[change.string]->text.size());
        }
    }
    const std::vector<GameString>& strings = result.survey.strings;
    for (size_t s = 0; s < strings.size(); ++s) {
        if (!newBytes[s].empty() || !readsOn(strings[s].offset, strings[s].length)) continue;
        if (const TextChange* next = firstChangeAfter(strings[s])) return refuseReadingOn(next->string, 0);
    }
    return true;
}

// The new image surveyed again: every pointer is one the input had, and
// leads to its string's new bytes, or, for a string left as it is, to the
// input's bytes where they were.
bool TextInsertion::everyPointerLeadsToItsString() {
    const StringSurvey after = surveyStrings(rom.romData(), rom.romDataSize(), script.tables, table);
    if (after.outcome != StringSurvey::Done) return refuse(TextInsertResult::Mismatch);
    const std::vector<GameString>& before = result.survey.strings;
    std::vector<const uint8_t*> meant(before.size(), nullptr);
    std::vector<uint32_t> length(before.size());
    for (const TextChange& change : result.changes) {
        meant[change.string] = newBytes[change.string].data();
        length[change.string] = change.newLength;
    }
    std::unordered_map<uint32_t, size_t> ownerOf;  // a pointer's offset -> its string before
    for (size_t s = 0; s < before.size(); ++s) {
        for (const StringPointer& pointer : before[s].pointers) ownerOf.emplace(pointer.at, s);
    }
    for (const GameString& string : after.strings) {
        const uint8_t* now = rom.romData() + string.offset;
        for (const StringPointer& pointer : string.pointers) {
            const auto owner = ownerOf.find(pointer.at);
            if (owner == ownerOf.end()) return refuse(TextInsertResult::Mismatch);
            const size_t s = owner->second;
            const bool same = meant[s] ? string.length == length[s] && std::memcmp(now, meant[s], length[s]) == 0
                                       : string.offset == before[s].offset && string.length == before[s].length &&
                                             std::memcmp(now, &original[string.offset], string.length) == 0;
            if (!same) return refuse(TextInsertResult::Mismatch);
        }
    }
    return true;
}

bool TextInsertion::graphicsAsBefore() {
    size_t graphic = 0;
    const DirectoryWalk walk = walkGraphicsDirectory(rom, [&](const DecodedGraphic& g) {
        const std::vector<uint8_t>& was = graphics[graphic++];
        return g.decoded.producedLength == was.size() && std::equal(was.begin(), was.end(), g.bytes);
    });
    return walk.outcome == DirectoryWalk::Complete || refuse(TextInsertResult::Mismatch);
}

TextInsertResult TextInsertion::run() {
    original.assign(rom.romData(), rom.romData() + rom.romDataSize());
    result.reserved = tableOverReserved(rom, script.tables);
    if (result.reserved.kind != ReservedOverlap::None) {
        refuse(TextInsertResult::OverReserved);
        return result;
    }
    result.survey = surveyStrings(rom.romData(), rom.romDataSize(), script.tables, table);
    if (result.survey.outcome != StringSurvey::Done) {
        refuse(TextInsertResult::SurveyRefused);
        return result;
    }
    result.reserved = stringOverReserved(rom, result.survey.strings);
    if (result.reserved.kind != ReservedOverlap::None) {
        refuse(TextInsertResult::OverReserved);
        return result;
    }
    if (readGraphics() && newTexts() && place() && noPointerInAStringThatStays() && apply()) check();
    return result;
}

}  // namespace

TextInsertResult insertText(RomImage& rom, const TextTable& table, const ScriptReading& script,
                            const std::vector<Span>& freeRanges) {
    TextInsertResult result = TextInsertion(rom, table, script, freeRanges).run();
    if (result.outcome != TextInsertResult::Done) result.changes.clear();
    return result;
}
