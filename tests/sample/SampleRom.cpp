#include "tests/sample/SampleRom.h"

#include "tests/sample/BootProgram.h"
#include "tests/sample/Random.h"
#include "rom/Checksum.h"
#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicCodec.h"
#include "tiles/TileFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <initializer_list>
#include <iterator>
#include <map>
#include <stdexcept>

namespace {

constexpr uint32_t DATA_START = 0x038000;        // $87:8000, after the directory's bank
constexpr uint32_t WORKED_EXAMPLE_OFFSET = 0x040000;  // $88:8000
constexpr int WORKED_EXAMPLE_GRAPHIC = 7;

// Contents of the kinds a game's graphics have: large blank areas, noisy
// tiles, tile rows with repeating bitplanes, and mixtures.
std::vector<uint8_t> makeContent(int kind, size_t length, Random& random) {
    std::vector<uint8_t> bytes(length);
    const uint8_t fill = static_cast<uint8_t>(random.next());
    for (size_t i = 0; i < length; ++i) {
        const uint8_t noise = static_cast<uint8_t>(random.next());
        switch (kind) {
            case 0: bytes[i] = random.below(16) == 0 ? noise : fill; break;    // mostly fill
            case 1: bytes[i] = noise; break;                                    // random
            case 2: bytes[i] = i < length / 2 ? fill : noise; break;            // half and half
            case 3: bytes[i] = (i / 16) % 3 == 0 ? noise : uint8_t(i % 8); break;  // tile rows
            default: bytes[i] = (i % 8 < 5) ? fill : noise; break;              // sparse literals
        }
    }
    return bytes;
}

// Content kind of a graphic. The large sample has no kind that expands
// (random bytes, tile rows): 169 graphics of 8 to 64 KiB fit in 4 MiB only
// when they compress, and its half-random graphics still hold plenty of
// literals.
int contentKind(SampleKind kind, int graphic) {
    static const int largeKinds[] = {0, 0, 2, 2, 4};
    return kind == SampleKind::Large ? largeKinds[graphic % 5] : graphic % 5;
}

size_t sampleSize(SampleKind kind, int graphic, Random& random) {
    if (kind == SampleKind::Large) return 8192 + random.below(65536 - 8192);
    static const size_t edgeSizes[] = {0, 1, 8, 9, 16, 3000, 15, 0, 17, 4096, 7, 65535, 20000};
    if (graphic < static_cast<int>(std::size(edgeSizes))) return edgeSizes[graphic];
    return 1 + random.below(graphic % 4 == 0 ? 8192 : 1024);
}

// Graphics of the standard sample drawn as a game holds them, at the sizes
// their records give: a font in 2 bpp, a checkerboard and a picture in
// 4 bpp (tiles in 16 columns, as the gallery shows them).
constexpr int FONT_GRAPHIC = 9;          // 4096 bytes: 256 tiles, tile c for code c
constexpr int CHECKERBOARD_GRAPHIC = 5;  // 3000 bytes: 93 tiles and 24 bytes of one more
constexpr int PICTURE_GRAPHIC = 12;      // 20000 bytes: 625 tiles

// Letters A to Z and digits 0 to 9, 5 x 7 pixels, bit 4 leftmost.
constexpr uint8_t GLYPHS[36][7] = {
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E},
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E},
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10},
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}, {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},
    {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C},
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}, {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F},
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}, {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11},
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10},
    {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}, {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11},
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}, {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04},
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}, {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11},
    {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F},
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

// Marks for the table's tokens and punctuation, in the same 5 x 7 cell.
constexpr uint8_t END_MARK[7] = {0x00, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x00};
constexpr uint8_t BREAK_MARK[7] = {0x01, 0x01, 0x05, 0x09, 0x1F, 0x08, 0x04};
constexpr uint8_t CONTROL_MARK[7] = {0x04, 0x0E, 0x1F, 0x0E, 0x04, 0x00, 0x00};
struct Punctuation {
    char character;
    uint8_t rows[7];
};
constexpr Punctuation PUNCTUATION[] = {
    {' ', {0, 0, 0, 0, 0, 0, 0}},
    {'!', {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}},
    {'\'', {0x04, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00}},
    {',', {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'?', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}},
};

// One entry of the sample's table: stored bytes and their text.
struct TableEntry {
    std::vector<uint8_t> code;
    std::string text;            // UTF-8
    char prefix = 0;             // 0, '/' end token, '*' line break, '$' control code
    int parameters = 0;          // bytes after a control code
};

// Accented letters of Portuguese: code (Windows-1252 byte) and UTF-8 text.
struct Accented {
    uint8_t code;
    const char* text;
    char base;  // the letter its tile draws
};
constexpr Accented ACCENTED[] = {
    {0xE0, "\xC3\xA0", 'A'}, {0xE1, "\xC3\xA1", 'A'}, {0xE2, "\xC3\xA2", 'A'}, {0xE3, "\xC3\xA3", 'A'},
    {0xE7, "\xC3\xA7", 'C'}, {0xE9, "\xC3\xA9", 'E'}, {0xEA, "\xC3\xAA", 'E'}, {0xED, "\xC3\xAD", 'I'},
    {0xF3, "\xC3\xB3", 'O'}, {0xF4, "\xC3\xB4", 'O'}, {0xF5, "\xC3\xB5", 'O'}, {0xFA, "\xC3\xBA", 'U'},
};

// The game's own codes, not ASCII: digits from 10, capitals from 20,
// small letters from 40, the space and punctuation from 60.
constexpr uint8_t DIGIT_CODES = 0x10;
constexpr uint8_t UPPER_CODES = 0x20;
constexpr uint8_t LOWER_CODES = 0x40;
constexpr uint8_t PUNCTUATION_CODES = 0x60;
constexpr size_t PUNCTUATION_COUNT = sizeof PUNCTUATION / sizeof PUNCTUATION[0];

// The code of a letter, digit, space or punctuation mark; 0xFF for
// anything else.
uint8_t codeOf(char c) {
    if (c >= '0' && c <= '9') return uint8_t(DIGIT_CODES + (c - '0'));
    if (c >= 'A' && c <= 'Z') return uint8_t(UPPER_CODES + (c - 'A'));
    if (c >= 'a' && c <= 'z') return uint8_t(LOWER_CODES + (c - 'a'));
    for (size_t p = 0; p < PUNCTUATION_COUNT; ++p) {
        if (PUNCTUATION[p].character == c) return uint8_t(PUNCTUATION_CODES + p);
    }
    return 0xFF;
}

std::vector<TableEntry> tableEntries() {
    std::vector<TableEntry> entries;
    entries.push_back({{SAMPLE_END_TOKEN}, "<end>", '/', 0});
    entries.push_back({{SAMPLE_LINE_BREAK}, "<br>", '*', 0});
    entries.push_back({{0x02}, "<color>", '$', 1});
    for (const Punctuation& p : PUNCTUATION) entries.push_back({{codeOf(p.character)}, std::string(1, p.character)});
    for (char c = '0'; c <= '9'; ++c) entries.push_back({{codeOf(c)}, std::string(1, c)});
    for (char c = 'A'; c <= 'Z'; ++c) entries.push_back({{codeOf(c)}, std::string(1, c)});
    for (char c = 'a'; c <= 'z'; ++c) entries.push_back({{codeOf(c)}, std::string(1, c)});
    // Words the game keeps in one byte, and one entry of two bytes.
    entries.push_back({{0x80}, "the "});
    entries.push_back({{0x81}, "Welcome"});
    entries.push_back({{0x82}, "You got "});
    entries.push_back({{0x8A, 0x20}, "the castle"});
    for (const Accented& a : ACCENTED) entries.push_back({{a.code}, a.text});
    return entries;
}

std::string tableText() {
    std::string text = "# The sample image's text: stored bytes = the text they stand for.\n";
    for (const TableEntry& entry : tableEntries()) {
        if (entry.prefix) text += entry.prefix;
        for (uint8_t byte : entry.code) {
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02X", byte);
            text += hex;
        }
        text += "=" + entry.text;
        if (entry.prefix == '$') text += "," + std::to_string(entry.parameters);
        text += "\n";
    }
    return text;
}

// The 5 x 7 rows that tile `code` draws: the letter, digit or mark of the
// table's text for that code (lower-case and accented letters as small
// capitals); nullptr for a blank tile.
const uint8_t* glyphFor(uint8_t code) {
    if (code == SAMPLE_END_TOKEN) return END_MARK;
    if (code == SAMPLE_LINE_BREAK) return BREAK_MARK;
    if (code == 0x02) return CONTROL_MARK;
    if (code >= PUNCTUATION_CODES && code < PUNCTUATION_CODES + PUNCTUATION_COUNT) {
        return PUNCTUATION[code - PUNCTUATION_CODES].rows;
    }
    if (code >= UPPER_CODES && code < UPPER_CODES + 26) return GLYPHS[code - UPPER_CODES];
    if (code >= LOWER_CODES && code < LOWER_CODES + 26) return GLYPHS[code - LOWER_CODES];
    if (code >= DIGIT_CODES && code < DIGIT_CODES + 10) return GLYPHS[26 + code - DIGIT_CODES];
    for (const Accented& a : ACCENTED) {
        if (a.code == code) return GLYPHS[a.base - 'A'];
    }
    return nullptr;
}

// Tile c draws the text of code c, in columns 1 to 5 and rows 0 to 6:
// colour 3 with a shadow of colour 1 one pixel right and down.
std::vector<uint8_t> drawFont(size_t length) {
    std::vector<uint8_t> bytes(length, 0);
    constexpr size_t TILE_BYTES = 16;
    for (size_t code = 0; code < 256 && (code + 1) * TILE_BYTES <= length; ++code) {
        const uint8_t* glyph = glyphFor(uint8_t(code));
        if (!glyph) continue;
        uint8_t* tile = bytes.data() + code * TILE_BYTES;
        for (int row = 0; row < 8; ++row) {
            const uint8_t shape = row < 7 ? uint8_t(glyph[row] << 2) : 0;
            const uint8_t shadow = row > 0 ? uint8_t(glyph[row - 1] << 1) : 0;
            tile[2 * row] = shape | shadow;  // plane 0: colours 1 and 3
            tile[2 * row + 1] = shape;       // plane 1: colour 3
        }
    }
    return bytes;
}

// A 4 bpp picture of length bytes, tiles in 16 columns, each pixel from
// paint(x, y).
template <class Paint>
std::vector<uint8_t> drawPicture(size_t length, Paint paint) {
    constexpr size_t TILE_BYTES = 32;
    constexpr int COLUMNS = 16;
    const size_t tiles = (length + TILE_BYTES - 1) / TILE_BYTES;
    std::vector<uint8_t> bytes(tiles * TILE_BYTES);
    uint8_t pixels[TILE_PIXELS];
    for (size_t t = 0; t < tiles; ++t) {
        const int left = int(t % COLUMNS) * TILE_SIDE, top = int(t / COLUMNS) * TILE_SIDE;
        for (int y = 0; y < TILE_SIDE; ++y) {
            for (int x = 0; x < TILE_SIDE; ++x) pixels[y * TILE_SIDE + x] = paint(left + x, top + y);
        }
        encodeTile(TileFormat::Bpp4, pixels, TILE_SIDE, bytes.data() + t * TILE_BYTES);
    }
    bytes.resize(length);
    return bytes;
}

// Squares of 8 pixels, colours 1 and 14.
uint8_t checkerboard(int x, int y) { return ((x / 8 + y / 8) % 2) ? 14 : 1; }

// A gradient of the sixteen colours from top to bottom, a ring, a box
// and a triangle, outlined in colour 0 and 15.
uint8_t scene(int x, int y) {
    const int dx = x - 64, dy = y - 80;
    const int distance = dx * dx + dy * dy;
    if (distance <= 40 * 40 && distance >= 30 * 30) return 15;
    if (x >= 16 && x < 112 && y >= 160 && y < 216) return (x == 16 || x == 111 || y == 160 || y == 215) ? 0 : 12;
    if (y >= 240 && y < 300 && x >= 64 - (y - 240) && x <= 64 + (y - 240)) return 3;
    return static_cast<uint8_t>(y * 16 / 320);
}

// The drawn content of a graphic of the standard sample; empty for the
// others.
std::vector<uint8_t> drawnContent(int graphic, size_t length) {
    switch (graphic) {
        case FONT_GRAPHIC: return drawFont(length);
        case CHECKERBOARD_GRAPHIC: return drawPicture(length, checkerboard);
        case PICTURE_GRAPHIC: return drawPicture(length, scene);
        default: return {};
    }
}

// Bytes of a string in the table's code: each letter, digit, space and
// punctuation mark by its code.
std::vector<uint8_t> codes(const char* text) {
    std::vector<uint8_t> bytes;
    for (const char* c = text; *c; ++c) bytes.push_back(codeOf(*c));
    return bytes;
}

std::vector<uint8_t> joined(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> bytes;
    for (const auto& part : parts) bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}

std::string busAddressText(uint32_t fileOffset) {
    const uint32_t address = fileToLoRom(fileOffset);
    char text[16];
    std::snprintf(text, sizeof text, "$%02X:%04X", unsigned(address >> 16), unsigned(address & 0xFFFF));
    return text;
}

// Strings one after another from `offset` on; the pointers name them by
// index (two may name the same string).
void placeStrings(ImageBuilder& builder, SamplePointerTable& table, uint32_t offset,
                  const std::vector<std::vector<uint8_t>>& strings, const std::vector<int>& pointers) {
    std::vector<uint32_t> offsets;
    for (const auto& string : strings) {
        builder.bytes(offset, string);
        offsets.push_back(offset);
        offset += static_cast<uint32_t>(string.size());
    }
    table.count = static_cast<uint32_t>(pointers.size());
    for (size_t i = 0; i < pointers.size(); ++i) {
        const uint32_t at = offsets[pointers[i]];
        const uint32_t address = fileToLoRom(at);
        const uint32_t pointerAt = table.fileOffset + static_cast<uint32_t>(i) * table.pointerBytes;
        if (table.pointerBytes == 2) {
            builder.bytes(pointerAt, {uint8_t(address), uint8_t(address >> 8)});
        } else {
            builder.bytes(pointerAt, {uint8_t(address), uint8_t(address >> 8), uint8_t(address >> 16)});
        }
        table.stringOffsets.push_back(at);
        table.strings.push_back(strings[pointers[i]]);
    }
}

constexpr uint32_t TEXT16_OFFSET = 0x0C0000;   // $98:8000: pointers and strings
constexpr uint32_t TEXT24_OFFSET = 0x0C8000;   // $99:8000: pointers
constexpr uint32_t TEXT24_STRINGS = 0x0D0000;  // $9A:8000: their strings
constexpr uint8_t END = SAMPLE_END_TOKEN;
constexpr uint8_t BREAK = SAMPLE_LINE_BREAK;
constexpr uint8_t COLOR = 0x02;       // control code, one parameter byte
constexpr uint8_t UNCOVERED = 0x9F;   // no entry of the table

SampleText placeText(ImageBuilder& builder) {
    SampleText text;
    text.table = tableText();

    SamplePointerTable short16{TEXT16_OFFSET, busAddressText(TEXT16_OFFSET), 0, 2, {}, {}};
    const std::vector<std::vector<uint8_t>> strings16 = {
        joined({codes("Welcome to the castle!"), {END}}),
        joined({{0x82, COLOR, 0x03}, codes("Magic Sword"), {COLOR, 0x00}, codes("!"), {END}}),
        joined({codes("Potion"), {END}}),
        joined({codes("Where is the key?"), {BREAK}, codes("Ask "), {0x80}, codes("guard."), {END}}),
        joined({codes("Gold"), {UNCOVERED}, codes("50"), {END}}),
        joined({{0x81}, codes(", hero."), {END}}),
    };
    // Pointer 5 reaches the same string as pointer 2.
    const uint32_t count16 = 7;
    placeStrings(builder, short16, TEXT16_OFFSET + count16 * 2, strings16, {0, 1, 2, 3, 4, 2, 5});
    uint32_t end = TEXT16_OFFSET + count16 * 2;
    for (const auto& string : strings16) end += static_cast<uint32_t>(string.size());
    text.unusedStart = end;
    text.unusedEnd = TEXT16_OFFSET + LOROM_BANK_SIZE;
    builder.bytes(text.unusedStart, std::vector<uint8_t>(text.unusedEnd - text.unusedStart, 0xFF));

    SamplePointerTable long24{TEXT24_OFFSET, busAddressText(TEXT24_OFFSET), 0, 3, {}, {}};
    const std::vector<std::vector<uint8_t>> strings24 = {
        joined({codes("Herb"), {END}}),
        joined({codes("The door is locked."), {END}}),
        joined({{0x8A, 0x20}, codes(" gate opens."), {BREAK}, codes("Go on!"), {END}}),
    };
    placeStrings(builder, long24, TEXT24_STRINGS, strings24, {0, 1, 2, 0});

    text.tables = {short16, long24};
    return text;
}

// The text descriptor (SampleRom.h), from the table's entries.
std::vector<uint8_t> textDescriptor() {
    const std::vector<TableEntry> entries = tableEntries();
    std::vector<uint8_t> head(5, 0);
    std::map<std::string, uint8_t> codeOf;  // a character's one-byte code, the first entry's
    for (const TableEntry& entry : entries) {
        if (entry.prefix == '/') head[0] = entry.code[0];
        if (entry.prefix == '*') head[1] = entry.code[0];
        if (entry.prefix == '$') {
            head[2] = entry.code[0];
            head[3] = static_cast<uint8_t>(entry.parameters);
        }
        if (entry.prefix == 0 && entry.code.size() == 1) codeOf.emplace(entry.text, entry.code[0]);
    }
    std::vector<std::vector<uint8_t>> words;
    for (const TableEntry& entry : entries) {
        if (entry.prefix != 0 || (entry.code.size() == 1 && codeOf.count(entry.text))) continue;
        std::vector<uint8_t> characters;
        for (size_t i = 0; i < entry.text.size();) {
            size_t length = 1;
            while (i + length < entry.text.size() && (uint8_t(entry.text[i + length]) & 0xC0) == 0x80) ++length;
            characters.push_back(codeOf.at(entry.text.substr(i, length)));
            i += length;
        }
        std::vector<uint8_t> record = {0, uint8_t(entry.code.size())};
        record.insert(record.end(), entry.code.begin(), entry.code.end());
        record.push_back(uint8_t(characters.size()));
        record.insert(record.end(), characters.begin(), characters.end());
        record[0] = uint8_t(record.size());
        words.push_back(record);
    }
    std::stable_sort(words.begin(), words.end(),
                     [](const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) { return a[1] > b[1]; });
    head[4] = uint8_t(words.size());
    for (const auto& word : words) head.insert(head.end(), word.begin(), word.end());
    return head;
}

void placeBootProgram(ImageBuilder& builder) {
    builder.bytes(0, std::vector<uint8_t>(BOOT_CODE, BOOT_CODE + BOOT_CODE_SIZE));
    builder.bytes(LOROM_HEADER_OFFSET + INTERNAL_HEADER_SIZE,
                  std::vector<uint8_t>(BOOT_VECTORS, BOOT_VECTORS + sizeof BOOT_VECTORS));
}

// The ROM-size byte (2^n KiB stored as n) and a checksum pair that the
// image's bytes add up to.
void sealHeader(ImageBuilder& builder) {
    uint8_t exponent = 0;
    while ((size_t(1024) << exponent) < builder.image.size()) ++exponent;
    builder.byte(LOROM_HEADER_OFFSET + HEADER_ROM_SIZE, exponent);
    // Any valid pair adds the same to the sum: sum with 0000/FFFF, then
    // store the sum.
    builder.checksum(0x0000);
    builder.checksum(romChecksum(builder.image.data(), builder.image.size()));
}

}  // namespace

ImageBuilder::ImageBuilder(size_t size) : image(size, 0) {
    title(EXPECTED_TITLE);
    byte(LOROM_HEADER_OFFSET + HEADER_MAP_MODE, LOROM_MAP_MODES[0]);
    version(EXPECTED_VERSION);
    checksum(0x5A3C);
}

ImageBuilder& ImageBuilder::title(const char* text) {
    const size_t length = std::strlen(text);
    for (uint32_t i = 0; i < HEADER_TITLE_LENGTH; ++i) {
        byte(LOROM_HEADER_OFFSET + HEADER_TITLE + i, i < length ? uint8_t(text[i]) : uint8_t(' '));
    }
    return *this;
}

ImageBuilder& ImageBuilder::version(uint8_t value) {
    return byte(LOROM_HEADER_OFFSET + HEADER_VERSION, value);
}

ImageBuilder& ImageBuilder::checksum(uint16_t value) {
    const uint16_t complement = static_cast<uint16_t>(~value);
    bytes(LOROM_HEADER_OFFSET + HEADER_CHECKSUM_COMPLEMENT,
          {uint8_t(complement), uint8_t(complement >> 8), uint8_t(value), uint8_t(value >> 8)});
    return *this;
}

ImageBuilder& ImageBuilder::byte(uint32_t offset, uint8_t value) {
    image.at(offset) = value;
    return *this;
}

ImageBuilder& ImageBuilder::bytes(uint32_t offset, const std::vector<uint8_t>& values) {
    if (offset > image.size() || values.size() > image.size() - offset) {
        throw std::out_of_range("bytes past the end of the image");
    }
    std::copy(values.begin(), values.end(), image.begin() + offset);
    return *this;
}

ImageBuilder& ImageBuilder::record(int graphic, uint16_t unpackedSize, uint32_t dataAddress) {
    return bytes(GRAPHICS_DIRECTORY_OFFSET + GRAPHIC_RECORD_SIZE * graphic,
                 {uint8_t(unpackedSize), uint8_t(unpackedSize >> 8), uint8_t(dataAddress),
                  uint8_t(dataAddress >> 8), uint8_t(dataAddress >> 16)});
}

ImageBuilder& ImageBuilder::fillDirectory(uint32_t fileOffset) {
    bytes(fileOffset, {0x00, 0x5A});  // one group: eight fill bytes 5A
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) record(graphic, 8, fileToLoRom(fileOffset));
    return *this;
}

SampleRom buildSampleRom(SampleKind kind) {
    const size_t imageSize = kind == SampleKind::Large ? 4 << 20 : 1 << 20;
    ImageBuilder builder(imageSize);
    SampleRom sample;
    Random random(kind == SampleKind::Large ? 0xB16B00B5u : 0x5EED1234u);

    uint32_t offset = DATA_START;
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        SampleGraphic g;
        if (kind == SampleKind::Standard && graphic == WORKED_EXAMPLE_GRAPHIC) {
            g.unpackedSize = 10;
            g.decoded = {0x11, 0x00, 0x22, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x33};
            g.stream = {0xA0, 0x00, 0x11, 0x22, 0x60, 0xFF, 0x33, 0x44};
            g.packedLength = 7;  // the size is reached before the last literal is read
            g.fileOffset = WORKED_EXAMPLE_OFFSET;
        } else {
            const size_t length = sampleSize(kind, graphic, random);
            g.unpackedSize = static_cast<uint16_t>(length);
            g.decoded = makeContent(contentKind(kind, graphic), std::max<size_t>(length, 1), random);
            if (kind == SampleKind::Standard) {
                std::vector<uint8_t> drawn = drawnContent(graphic, length);
                if (!drawn.empty()) g.decoded = std::move(drawn);
            }
            g.stream = compressGraphic(g.decoded.data(), g.decoded.size());
            g.packedLength = static_cast<uint32_t>(g.stream.size());
            if (kind == SampleKind::Standard && graphic == WORKED_EXAMPLE_GRAPHIC + 1) {
                offset = WORKED_EXAMPLE_OFFSET + 8;
            }
            if (kind == SampleKind::Standard && graphic == PICTURE_GRAPHIC) {
                // The picture's stream runs over a bank end, half in each
                // bank, as a game's may: who reads it (the boot program
                // too) must go on at the next bank's first byte.
                const uint32_t half = static_cast<uint32_t>(g.stream.size()) / 2;
                uint32_t bankEnd = (offset / LOROM_BANK_SIZE + 1) * LOROM_BANK_SIZE;
                if (bankEnd - offset < half) bankEnd += LOROM_BANK_SIZE;
                offset = bankEnd - half;
            }
            g.fileOffset = offset;
            offset += static_cast<uint32_t>(g.stream.size());
        }
        if (g.fileOffset + g.stream.size() > imageSize) throw std::length_error("sample graphics do not fit");
        g.dataAddress = fileToLoRom(g.fileOffset);
        builder.bytes(g.fileOffset, g.stream).record(graphic, g.unpackedSize, g.dataAddress);
        sample.graphics.push_back(std::move(g));
    }
    if (kind == SampleKind::Standard) {
        if (offset > TEXT16_OFFSET) throw std::length_error("sample graphics run into the text");
        sample.text = placeText(builder);
        builder.bytes(SAMPLE_TEXT_DESCRIPTOR, textDescriptor());
    }
    placeBootProgram(builder);
    sample.bootEnd = static_cast<uint32_t>(BOOT_CODE_SIZE);
    sealHeader(builder);
    sample.image = std::move(builder.image);
    return sample;
}

uint16_t headerChecksum(const std::vector<uint8_t>& romData) {
    const uint32_t at = LOROM_HEADER_OFFSET + HEADER_CHECKSUM;
    return static_cast<uint16_t>(romData.at(at) | romData.at(at + 1) << 8);
}

std::string extractionBanner(const std::vector<uint8_t>& romData) {
    char text[64];
    std::snprintf(text, sizeof text, "Brelquim v%s\nchecksum: %x\n", PROGRAM_VERSION, headerChecksum(romData));
    return text;
}

std::string expectedLogLine(int graphic, const SampleGraphic& sample) {
    char line[64];
    std::snprintf(line, sizeof line, LOG_LINE_FORMAT, graphic, sample.dataAddress,
                  sample.packedLength, sample.fileOffset + sample.packedLength);
    return line;
}

std::string tablePathFor(const std::string& imagePath) {
    const size_t slash = imagePath.find_last_of("/\\");
    const size_t dot = imagePath.find_last_of('.');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    // A name's leading dot starts no extension (".hidden").
    const bool hasExtension = dot != std::string::npos && dot > nameStart;
    return (hasExtension ? imagePath.substr(0, dot) : imagePath) + ".tbl";
}

std::vector<uint8_t> withCopierHeader(const std::vector<uint8_t>& image) {
    std::vector<uint8_t> result(COPIER_HEADER_SIZE + image.size(), 0);
    std::copy(image.begin(), image.end(), result.begin() + COPIER_HEADER_SIZE);
    return result;
}

std::vector<uint8_t> noiseBytes(size_t length, uint32_t seed) {
    Random random(seed);
    std::vector<uint8_t> bytes(length);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random.next() >> 7);
    return bytes;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
