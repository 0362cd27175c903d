#include "tests/sample/TextImage.h"

#include "tests/sample/Random.h"
#include "tests/sample/SampleRom.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicCodec.h"
#include "rom/Checksum.h"
#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

constexpr uint8_t END = 0x00, BREAK = 0x01, COLOR = 0x02;
constexpr uint8_t FILL = 0xFF;  // no entry covers it
constexpr uint8_t UNCOVERED[] = {0x9F, 0xC5, 0xE8};
constexpr uint8_t DTE_FIRST = 0x80;
constexpr const char* DTE[] = {"the ", "you ", "and ", "ing", "er", "on", "an", "es"};
constexpr uint8_t KANJI_LEAD = 0xF0;  // F0 xx: two-byte names
constexpr int NAMES = 4;
constexpr char PUNCTUATION[] = ".,!?'";
// 16-bit tables reach strings in [0, STRINGS16_END) of their bank; 24-bit
// ones strings in [STRINGS24_START, STRINGS24_END) of theirs; the rest of
// a bank is fill, so that the value next to a table never reads as a
// pointer to text.
constexpr uint32_t STRINGS16_END = 0x6000;
constexpr uint32_t STRINGS24_START = 0x6000;
constexpr uint32_t STRINGS24_END = 0x7F00;
constexpr uint32_t FIRST_FREE_BANK = 8;  // after the directory's bank and the first graphics

const char* const VOCABULARY[] = {"Welcome", "castle", "sword", "potion", "dragon", "Hero", "village", "key",
                                  "door", "gold", "King", "Queen", "forest", "magic", "shield", "river",
                                  "tower", "Elder", "friend", "journey", "north", "south", "power", "crystal"};

enum BankKind { Text16, Strings24, Graphics, FillFF, Fill00, Noise, CodeTable, Repeated };

struct Layout {
    TextImage text;
    std::vector<uint8_t>& image;
    Random& random;
    // Per 24-bit string bank: where its next string goes.
    std::vector<uint32_t> longBanks;
    std::vector<uint32_t> longNext;
};

void put(std::vector<uint8_t>& image, uint32_t at, const std::vector<uint8_t>& bytes) {
    std::copy(bytes.begin(), bytes.end(), image.begin() + at);
}

std::string hexByte(uint8_t value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

// The encoding's blocks (upper, lower, digits, space and punctuation) in
// a random order with random gaps, in 03-7F.
void chooseCodes(TextImage& text, Random& random) {
    const uint32_t sizes[4] = {26, 26, 10, 1 + sizeof PUNCTUATION - 1};
    int order[4] = {0, 1, 2, 3};
    for (int i = 3; i > 0; --i) std::swap(order[i], order[random.below(i + 1)]);
    uint32_t free = 0x80 - 3 - (26 + 26 + 10 + 6);
    uint32_t at = 3;
    uint8_t starts[4];
    for (int k : order) {
        const uint32_t gap = random.below(free / 2 + 1);
        free -= gap;
        at += gap;
        starts[k] = static_cast<uint8_t>(at);
        at += sizes[k];
    }
    text.upper = starts[0];
    text.lower = starts[1];
    text.digit = starts[2];
    text.space = starts[3];
}

std::string tableText(const TextImage& text) {
    std::string table = "/00=<end>\n*01=<br>\n$02=<color>,1\n";
    for (int k = 0; k < 26; ++k) table += hexByte(uint8_t(text.upper + k)) + "=" + char('A' + k) + "\n";
    for (int k = 0; k < 26; ++k) table += hexByte(uint8_t(text.lower + k)) + "=" + char('a' + k) + "\n";
    for (int k = 0; k < 10; ++k) table += hexByte(uint8_t(text.digit + k)) + "=" + char('0' + k) + "\n";
    table += hexByte(text.space) + "= \n";
    for (size_t k = 0; k + 1 < sizeof PUNCTUATION; ++k) {
        table += hexByte(uint8_t(text.space + 1 + k)) + "=" + PUNCTUATION[k] + "\n";
    }
    for (size_t k = 0; k < sizeof DTE / sizeof DTE[0]; ++k) table += hexByte(uint8_t(DTE_FIRST + k)) + "=" + DTE[k] + "\n";
    for (int k = 0; k < NAMES; ++k) {
        table += hexByte(KANJI_LEAD) + hexByte(uint8_t(0x10 + k)) + "=<name" + std::to_string(k) + ">\n";
    }
    return table;
}

// A string: a capitalised word, then words, numbers, punctuation, table
// words, names, colour codes, line breaks and now and then a byte no
// entry covers (never more than one in eight bytes, never the first), and
// the end token.
std::vector<uint8_t> makeString(const TextImage& text, Random& random) {
    std::string first = VOCABULARY[random.below(sizeof VOCABULARY / sizeof VOCABULARY[0])];
    first[0] = static_cast<char>(first[0] >= 'a' ? first[0] - 32 : first[0]);
    std::vector<uint8_t> bytes = encodeWord(text, first);
    const uint32_t parts = random.between(0, 8);
    size_t lastUncovered = 0;
    for (uint32_t p = 0; p < parts; ++p) {
        const uint32_t kind = random.below(12);
        if (kind < 6) {
            bytes.push_back(text.space);
            const std::vector<uint8_t> word =
                encodeWord(text, VOCABULARY[random.below(sizeof VOCABULARY / sizeof VOCABULARY[0])]);
            bytes.insert(bytes.end(), word.begin(), word.end());
        } else if (kind == 6) {
            bytes.push_back(text.space);
            const std::vector<uint8_t> number = encodeWord(text, std::to_string(random.below(1000)));
            bytes.insert(bytes.end(), number.begin(), number.end());
        } else if (kind == 7) {
            bytes.push_back(uint8_t(text.space + 1 + random.below(sizeof PUNCTUATION - 1)));
        } else if (kind == 8) {
            bytes.push_back(uint8_t(DTE_FIRST + random.below(sizeof DTE / sizeof DTE[0])));
        } else if (kind == 9) {
            bytes.insert(bytes.end(), {KANJI_LEAD, uint8_t(0x10 + random.below(NAMES))});
        } else if (kind == 10) {
            bytes.insert(bytes.end(), {COLOR, uint8_t(random.below(256))});
        } else {
            bytes.push_back(BREAK);
        }
        // Eight bytes or more since the last one (or the start).
        if (bytes.size() >= lastUncovered + 8 && random.below(4) == 0) {
            bytes.push_back(UNCOVERED[random.below(sizeof UNCOVERED)]);
            lastUncovered = bytes.size();
        }
    }
    bytes.push_back(END);
    return bytes;
}

void writePointer(std::vector<uint8_t>& image, uint32_t at, uint32_t target, bool isLong) {
    const uint32_t address = fileToLoRom(target);
    image[at] = uint8_t(address);
    image[at + 1] = uint8_t(address >> 8);
    if (isLong) image[at + 2] = uint8_t(address >> 16);
}

// Pointers to count strings, some shared: new strings placed from
// next on (within limit), their offsets per pointer.
std::vector<uint32_t> placeStrings(Layout& layout, uint32_t count, uint32_t& next, uint32_t limit) {
    std::vector<uint32_t> offsets;
    for (uint32_t i = 0; i < count; ++i) {
        // Shared pointers from the third on: a table reaches two strings
        // at least.
        if (offsets.size() >= 2 && layout.random.below(10) == 0) {
            offsets.push_back(offsets[layout.random.below(static_cast<uint32_t>(offsets.size()))]);
            continue;
        }
        const std::vector<uint8_t> bytes = makeString(layout.text, layout.random);
        if (next + bytes.size() > limit) {
            if (offsets.size() < 2) throw std::length_error("no room for a string");
            offsets.push_back(offsets.back());
            continue;
        }
        put(layout.image, next, bytes);
        layout.text.strings.push_back({next, bytes});
        offsets.push_back(next);
        next += static_cast<uint32_t>(bytes.size());
    }
    return offsets;
}

// A 24-bit table of count pointers at `at`, its strings in a string bank.
PlantedTable longTable(Layout& layout, uint32_t at, uint32_t count) {
    // The string bank with the most room left.
    size_t bank = 0;
    for (size_t b = 1; b < layout.longBanks.size(); ++b) {
        if (layout.longNext[b] - layout.longBanks[b] < layout.longNext[bank] - layout.longBanks[bank]) bank = b;
    }
    const uint32_t limit = layout.longBanks[bank] + STRINGS24_END;
    PlantedTable table{at, count, true, placeStrings(layout, count, layout.longNext[bank], limit)};
    for (uint32_t i = 0; i < count; ++i) writePointer(layout.image, at + 3 * i, table.stringOffsets[i], true);
    return table;
}

// A bank of text: fill, a 16-bit table at an even or odd place, maybe a
// 24-bit table right after it, and the strings of the 16-bit one.
void textBank(Layout& layout, uint32_t bank) {
    Random& random = layout.random;
    uint32_t at = bank + 1 + random.below(64);
    const uint32_t count = random.below(3) == 0 ? random.between(100, 300) : random.between(3, 60);
    const bool adjacent = !layout.longBanks.empty() && random.below(2) == 0;
    const uint32_t longCount = adjacent ? random.between(3, 40) : 0;
    uint32_t next = at + 2 * count + 3 * longCount + 1;  // one fill byte before the strings
    PlantedTable table{at, count, false, placeStrings(layout, count, next, bank + STRINGS16_END)};
    if (adjacent) {
        // The 24-bit table reads back (from its first byte) the last
        // pointer's high byte of the 16-bit table as a bank: its low byte
        // below $80 makes that no address of ROM.
        for (uint32_t& offset : table.stringOffsets) {
            if ((offset & 0x80) == 0) {
                std::swap(offset, table.stringOffsets.back());
                break;
            }
        }
    }
    for (uint32_t i = 0; i < count; ++i) writePointer(layout.image, at + 2 * i, table.stringOffsets[i], false);
    if (adjacent && (table.stringOffsets.back() & 0x80) != 0) {
        layout.image[at + 2 * count] = FILL;  // no string of a low byte below $80: not adjacent after all
        ++at;
    }
    layout.text.tables.push_back(table);
    if (adjacent) layout.text.tables.push_back(longTable(layout, at + 2 * count, longCount));
}

// Compressed graphics of tiles, one after another, their records in the
// directory.
void graphicsBank(Layout& layout, uint32_t bank, int& graphic) {
    uint32_t at = bank;
    while (graphic < GRAPHICS_COUNT) {
        const uint32_t length = layout.random.between(256, 4096);
        std::vector<uint8_t> decoded(length);
        for (uint32_t i = 0; i < length; ++i) {
            decoded[i] = i % 32 < 16 ? uint8_t(layout.random.below(4) == 0 ? layout.random.next() : 0) : decoded[i - 16];
        }
        const std::vector<uint8_t> stream = compressGraphic(decoded.data(), decoded.size());
        if (at + stream.size() > bank + STRINGS24_END) break;
        put(layout.image, at, stream);
        const uint32_t address = fileToLoRom(at);
        put(layout.image, GRAPHICS_DIRECTORY_OFFSET + GRAPHIC_RECORD_SIZE * graphic,
            {uint8_t(length), uint8_t(length >> 8), uint8_t(address), uint8_t(address >> 8), uint8_t(address >> 16)});
        at += static_cast<uint32_t>(stream.size());
        ++graphic;
    }
}

void noise(Layout& layout, uint32_t from, uint32_t to) {
    for (uint32_t i = from; i < to; ++i) layout.image[i] = uint8_t(layout.random.next() >> 11);
}

// Code: noise, and a table of ascending addresses into it.
void codeBank(Layout& layout, uint32_t bank) {
    noise(layout, bank, bank + STRINGS24_END);
    const uint32_t count = layout.random.between(8, 64);
    const uint32_t at = bank + layout.random.below(64);
    uint32_t address = 0x8000 + 0x100 + layout.random.below(0x100);
    for (uint32_t i = 0; i < count; ++i) {
        layout.image[at + 2 * i] = uint8_t(address);
        layout.image[at + 2 * i + 1] = uint8_t(address >> 8);
        address += layout.random.between(4, 200);
    }
}

void repeatedBank(Layout& layout, uint32_t bank) {
    noise(layout, bank, bank + STRINGS24_END);
    for (int run = 0; run < 4; ++run) {
        const uint8_t low = uint8_t(layout.random.next()), high = uint8_t(0x80 | layout.random.next());
        const uint32_t at = bank + 0x1000 * run + layout.random.below(2);
        for (uint32_t i = 0; i < 0x200; i += 2) {
            layout.image[at + i] = low;
            layout.image[at + i + 1] = high;
        }
    }
}

}  // namespace

std::vector<uint8_t> encodeWord(const TextImage& image, const std::string& text) {
    std::vector<uint8_t> bytes;
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') bytes.push_back(uint8_t(image.upper + (c - 'A')));
        else if (c >= 'a' && c <= 'z') bytes.push_back(uint8_t(image.lower + (c - 'a')));
        else if (c >= '0' && c <= '9') bytes.push_back(uint8_t(image.digit + (c - '0')));
        else bytes.push_back(image.space);
    }
    return bytes;
}

TextImage buildTextImage(uint32_t size, uint32_t seed) {
    ImageBuilder builder(size);
    std::fill(builder.image.begin() + LOROM_BANK_SIZE, builder.image.end(), FILL);
    builder.fillDirectory(GRAPHICS_DIRECTORY_OFFSET + GRAPHIC_RECORD_SIZE * GRAPHICS_COUNT);
    Random random(seed ? seed : 0x9E3779B9u);
    Layout layout{TextImage{}, builder.image, random, {}, {}};
    chooseCodes(layout.text, random);
    layout.text.table = tableText(layout.text);
    for (const char* word : VOCABULARY) layout.text.words.push_back(word);

    const uint32_t banks = size / LOROM_BANK_SIZE;
    std::vector<BankKind> kinds = {Text16, Text16, Text16, Strings24, Strings24, Graphics, FillFF,
                                   Fill00, Noise,  CodeTable, Repeated};
    while (kinds.size() < banks - FIRST_FREE_BANK) kinds.push_back(BankKind(random.below(Repeated + 1)));
    for (size_t i = kinds.size() - 1; i > 0; --i) std::swap(kinds[i], kinds[random.below(uint32_t(i + 1))]);
    // The string banks first, so that the text banks' 24-bit tables have
    // somewhere to point.
    for (size_t b = 0; b < kinds.size(); ++b) {
        if (kinds[b] != Strings24) continue;
        const uint32_t bank = uint32_t(FIRST_FREE_BANK + b) * LOROM_BANK_SIZE;
        layout.longBanks.push_back(bank);
        layout.longNext.push_back(bank + STRINGS24_START + 1);
    }
    int graphic = 0;
    for (size_t b = 0; b < kinds.size(); ++b) {
        const uint32_t bank = uint32_t(FIRST_FREE_BANK + b) * LOROM_BANK_SIZE;
        switch (kinds[b]) {
            case Text16: textBank(layout, bank); break;
            case Strings24: {
                // A 24-bit table of its own, amid noise, fill around it.
                noise(layout, bank, bank + 0x4000);
                const uint32_t at = bank + 0x4100 + random.below(3);
                layout.text.tables.push_back(longTable(layout, at, random.between(3, 60)));
                break;
            }
            case Graphics: graphicsBank(layout, bank, graphic); break;
            case FillFF: break;
            case Fill00: std::fill(builder.image.begin() + bank, builder.image.begin() + bank + STRINGS24_END, 0); break;
            case Noise: noise(layout, bank, bank + STRINGS24_END); break;
            case CodeTable: codeBank(layout, bank); break;
            case Repeated: repeatedBank(layout, bank); break;
        }
    }
    std::sort(layout.text.tables.begin(), layout.text.tables.end(),
              [](const PlantedTable& a, const PlantedTable& b) { return a.offset < b.offset; });
    std::sort(layout.text.strings.begin(), layout.text.strings.end(),
              [](const PlantedString& a, const PlantedString& b) { return a.offset < b.offset; });
    builder.byte(LOROM_HEADER_OFFSET + HEADER_ROM_SIZE, uint8_t(size == 1u << 20 ? 10 : size == 2u << 20 ? 11 : 12));
    builder.checksum(0x0000);
    builder.checksum(romChecksum(builder.image.data(), builder.image.size()));
    layout.text.image = std::move(builder.image);
    return layout.text;
}
