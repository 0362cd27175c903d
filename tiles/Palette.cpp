#include "tiles/Palette.h"

#include <cstring>

namespace {

// JASC-PAL: a text file of lines "JASC-PAL", "0100", the colour count,
// then one "red green blue" line per colour.
constexpr char JASC_MAGIC[] = "JASC-PAL";
// RIFF PAL: "RIFF", size, "PAL ", then chunks; the "data" chunk holds a
// version word, a colour count word and four bytes per colour (red, green,
// blue, flags).
constexpr size_t RIFF_HEADER = 12;
constexpr size_t RIFF_CHUNK_HEADER = 8;
constexpr size_t RIFF_DATA_PREFIX = 4;
constexpr size_t RIFF_ENTRY = 4;
// Palettes hold at most this many colours (a full CGRAM and more).
constexpr uint32_t MAX_FILE_COLOURS = 65536;

uint32_t little32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t little16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// The lines of a text, without their line ends (LF or CR LF).
std::vector<std::string> textLines(const uint8_t* bytes, size_t length) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < length; ++i) {
        if (bytes[i] == '\n') {
            if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
            lines.emplace_back();
        } else {
            lines.back() += static_cast<char>(bytes[i]);
        }
    }
    if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
    return lines;
}

// Whole numbers in a line, separated by spaces; false for anything else
// or a number above limit.
bool numbersOf(const std::string& line, std::vector<uint32_t>& numbers, uint32_t limit) {
    numbers.clear();
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        uint64_t value = 0;
        const size_t start = i;
        while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
            value = value * 10 + uint64_t(line[i] - '0');
            if (value > limit) return false;
            ++i;
        }
        if (i == start) return false;
        numbers.push_back(static_cast<uint32_t>(value));
    }
    return true;
}

PaletteProblem parseJasc(const uint8_t* bytes, size_t length, std::vector<Colour>& colours) {
    const std::vector<std::string> lines = textLines(bytes, length);
    std::vector<uint32_t> numbers;
    if (lines.size() < 3 || lines[1] != "0100" || !numbersOf(lines[2], numbers, MAX_FILE_COLOURS) ||
        numbers.size() != 1) {
        return {PaletteProblem::JascHeader};
    }
    const uint32_t count = numbers[0];
    for (uint32_t i = 0; i < count; ++i) {
        const size_t line = 3 + size_t(i);
        if (line >= lines.size() || !numbersOf(lines[line], numbers, 255) || numbers.size() != 3) {
            return {PaletteProblem::JascColour, i};
        }
        colours.push_back(Colour{uint8_t(numbers[0]), uint8_t(numbers[1]), uint8_t(numbers[2])});
    }
    return {};
}

// True when the file holds a valid data chunk, its colours then read.
bool parseRiff(const uint8_t* bytes, size_t length, std::vector<Colour>& colours) {
    if (length < RIFF_HEADER || std::memcmp(bytes + 8, "PAL ", 4) != 0) return false;
    size_t at = RIFF_HEADER;
    while (length - at >= RIFF_CHUNK_HEADER) {
        const uint32_t size = little32(bytes + at + 4);
        const size_t body = at + RIFF_CHUNK_HEADER;
        if (size > length - body) return false;
        if (std::memcmp(bytes + at, "data", 4) == 0) {
            if (size < RIFF_DATA_PREFIX) return false;
            const uint32_t count = little16(bytes + body + 2);
            if (uint64_t(count) * RIFF_ENTRY > size - RIFF_DATA_PREFIX) return false;
            for (uint32_t i = 0; i < count; ++i) {
                const uint8_t* entry = bytes + body + RIFF_DATA_PREFIX + size_t(i) * RIFF_ENTRY;
                colours.push_back(Colour{entry[0], entry[1], entry[2]});
            }
            return true;
        }
        // Chunks are padded to an even length.
        const uint64_t next = uint64_t(body) + size + (size & 1);
        if (next > length) return false;
        at = static_cast<size_t>(next);
    }
    return false;
}

bool startsWith(const uint8_t* bytes, size_t length, const char* magic) {
    const size_t size = std::strlen(magic);
    return length >= size && std::memcmp(bytes, magic, size) == 0;
}

}  // namespace

std::vector<Colour> greyRamp(int count) {
    std::vector<Colour> ramp(static_cast<size_t>(count));
    for (int i = 0; i < count && count > 1; ++i) {
        // round(255 i / (count - 1)), in integers.
        const uint8_t level = static_cast<uint8_t>((510 * i + (count - 1)) / (2 * (count - 1)));
        ramp[i] = Colour{level, level, level};
    }
    return ramp;
}

Colour colourFromBgr555(uint16_t value) {
    auto channel = [](unsigned c) { return static_cast<uint8_t>((c << 3) | (c >> 2)); };
    return Colour{channel(value & 0x1F), channel((value >> 5) & 0x1F), channel((value >> 10) & 0x1F)};
}

PaletteProblem parsePaletteFile(const uint8_t* bytes, size_t length, std::vector<Colour>& colours) {
    colours.clear();
    if (startsWith(bytes, length, JASC_MAGIC)) return parseJasc(bytes, length, colours);
    if (startsWith(bytes, length, "RIFF")) {
        return parseRiff(bytes, length, colours) ? PaletteProblem{} : PaletteProblem{PaletteProblem::RiffNoData};
    }
    if (length % 2 != 0) return {PaletteProblem::OddBgr555};
    for (size_t i = 0; i + 1 < length; i += 2) colours.push_back(colourFromBgr555(little16(bytes + i)));
    return {};
}

std::vector<Colour> paletteRow(const std::vector<Colour>& colours, uint32_t row, int count) {
    std::vector<Colour> result(static_cast<size_t>(count));
    const uint64_t first = uint64_t(row) * uint64_t(count);
    for (int i = 0; i < count; ++i) {
        if (first + i < colours.size()) result[i] = colours[static_cast<size_t>(first + i)];
    }
    return result;
}
