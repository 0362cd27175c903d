#include "text/StringSurvey.h"

#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"

#include <algorithm>

namespace {

constexpr uint32_t BANK_BITS = 0xFF0000;
constexpr uint32_t LOW_BITS = 0xFFFF;
constexpr uint32_t FAST_HALF = 0x800000;

// File offset of a LoROM bus address that holds ROM data; false for one
// that does not.
bool romOffset(uint32_t address, uint32_t size, uint32_t& offset) {
    if (!loRomShowsRom(address)) return false;
    offset = loRomToFile(address);
    return offset < size;
}

// The strings found so far by their offset: open addressing over a table
// of at least twice as many slots as strings, each an offset and its
// string's place plus one (0: empty).
class StringsByOffset {
public:
    explicit StringsByOffset(size_t expected) : slots(slotCountFor(expected)) {}

    // The place plus one of the string at offset, or 0 where a new one
    // goes.
    uint32_t& find(uint32_t offset) {
        for (size_t i = hash(offset);; i = (i + 1) & (slots.size() - 1)) {
            if (slots[i].place == 0) {
                slots[i].offset = offset;
                return slots[i].place;
            }
            if (slots[i].offset == offset) return slots[i].place;
        }
    }
    // After a string was added: the table grows before it is half full.
    void added() {
        if (++count * 2 < slots.size()) return;
        std::vector<Slot> old(slots.size() * 2);
        old.swap(slots);
        for (const Slot& slot : old) {
            if (slot.place != 0) find(slot.offset) = slot.place;
        }
    }

private:
    struct Slot {
        uint32_t offset = 0;
        uint32_t place = 0;
    };
    static size_t slotCountFor(size_t expected) {
        size_t slots = 1024;
        while (slots < expected * 2) slots *= 2;
        return slots;
    }
    size_t hash(uint32_t offset) const {
        return static_cast<size_t>((uint64_t{offset} * 0x9E3779B97F4A7C15ull) >> 32) & (slots.size() - 1);
    }
    std::vector<Slot> slots;
    size_t count = 0;
};

}  // namespace

bool GameString::bankBound() const {
    for (const StringPointer& pointer : pointers) {
        if (!pointer.isLong) return true;
    }
    return false;
}

uint32_t bankStart(uint32_t offset) { return offset / LOROM_BANK_SIZE * LOROM_BANK_SIZE; }
uint32_t bankEnd(uint32_t offset) { return bankStart(offset) + LOROM_BANK_SIZE; }

uint32_t pointerValueFor(const StringPointer& pointer, uint32_t offset) {
    const uint32_t address = fileToLoRom(offset);
    if (!pointer.isLong) return address & LOW_BITS;
    return (address & ~FAST_HALF) | (pointer.value & FAST_HALF);
}

StringSurvey surveyStrings(const uint8_t* romData, uint32_t size, const std::vector<PointerTable>& tables,
                           const TextTable& table) {
    StringSurvey survey;
    uint64_t pointerCount = 0;
    for (const PointerTable& pointers : tables) pointerCount += pointers.count;
    // Room for the usual counts at once; a count past them grows.
    const auto expected = static_cast<size_t>(std::min<uint64_t>(pointerCount, uint64_t{1} << 16));
    survey.strings.reserve(expected);
    StringsByOffset byOffset(expected);
    std::vector<TextPiece> pieces;  // of the string being read
    auto refuse = [&](StringSurvey::Outcome outcome, const StringPointer& pointer) {
        survey.outcome = outcome;
        survey.pointer = pointer;
        survey.strings.clear();
        return survey;
    };
    for (size_t t = 0; t < tables.size(); ++t) {
        const PointerTable& pointers = tables[t];
        for (uint32_t i = 0; i < pointers.count; ++i) {
            StringPointer pointer{t, i, 0, 0, pointers.isLong};
            const uint64_t at = uint64_t{pointers.offset} + uint64_t{i} * pointers.width();
            pointer.at = static_cast<uint32_t>(std::min<uint64_t>(at, UINT32_MAX));
            if (at + pointers.width() > size) return refuse(StringSurvey::TableOutside, pointer);
            const uint8_t* p = romData + at;
            pointer.value = p[0] | p[1] << 8 | (pointers.isLong ? p[2] << 16 : 0);
            const uint32_t address =
                pointers.isLong ? pointer.value : (fileToLoRom(pointer.at) & BANK_BITS) | pointer.value;
            uint32_t offset = 0;
            if (!romOffset(address, size, offset)) return refuse(StringSurvey::StringOutside, pointer);
            uint32_t& known = byOffset.find(offset);
            if (known != 0) {
                survey.strings[known - 1].pointers.push_back(pointer);
                continue;
            }
            GameString string{address, offset, 0, {pointer}};
            const uint32_t available = std::min(bankEnd(offset), size) - offset;
            if (!readString(table, romData + offset, available, pieces)) return refuse(StringSurvey::NoEnd, pointer);
            string.length = pieces.back().start + pieces.back().length;
            survey.strings.push_back(std::move(string));
            known = static_cast<uint32_t>(survey.strings.size());
            byOffset.added();
        }
    }
    return survey;
}
