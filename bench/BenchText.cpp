#include "bench/BenchText.h"

#include "bench/BenchInputs.h"
#include "rom/Checksum.h"
#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr uint8_t END_TOKEN = 0xFF;
constexpr uint8_t LINE_BREAK = 0xFE;
constexpr uint8_t CONTROL = 0xFD;
constexpr uint32_t TEXT_ENTRIES = BENCH_TABLE_ENTRIES - 3;

// xorshift32: the same inputs on every run and platform.
uint32_t nextRandom(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// The two bytes of text entry i: first byte 80 to 83, second any.
uint8_t firstByte(uint32_t entry) { return static_cast<uint8_t>(0x80 + entry / 256); }
uint8_t secondByte(uint32_t entry) { return static_cast<uint8_t>(entry % 256); }

// Distinct texts: 38 single characters, then pairs, then triples.
std::vector<std::string> entryTexts() {
    static const char* const LETTERS[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "l", "m", "n",
                                          "o", "p", "q", "r", "s", "t", "u", "v", "x", "z", " ", ".", ",",
                                          "\xC3\xA1", "\xC3\xA0", "\xC3\xA2", "\xC3\xA3", "\xC3\xA7", "\xC3\xA9",
                                          "\xC3\xAA", "\xC3\xAD", "\xC3\xB3", "\xC3\xB4", "\xC3\xB5", "\xC3\xBA"};
    const size_t n = sizeof LETTERS / sizeof LETTERS[0];
    std::vector<std::string> texts;
    for (size_t a = 0; a < n && texts.size() < TEXT_ENTRIES; ++a) texts.push_back(LETTERS[a]);
    for (size_t a = 0; a < n && texts.size() < TEXT_ENTRIES; ++a) {
        for (size_t b = 0; b < n && texts.size() < TEXT_ENTRIES; ++b) texts.push_back(std::string(LETTERS[a]) + LETTERS[b]);
    }
    return texts;
}

}  // namespace

const std::string& benchTableFile() {
    static const std::string file = [] {
        std::string text = "/FF=<fim>\n*FE=<br>\n$FD=<cor>,1\n";
        const std::vector<std::string> texts = entryTexts();
        for (uint32_t i = 0; i < TEXT_ENTRIES; ++i) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%02X%02X=", firstByte(i), secondByte(i));
            text += hex + texts[i] + "\n";
        }
        return text;
    }();
    return file;
}

std::vector<std::vector<uint8_t>> benchStrings(uint32_t count) {
    uint32_t state = 0x7E57ABCDu;
    std::vector<std::vector<uint8_t>> strings(count);
    for (std::vector<uint8_t>& bytes : strings) {
        const uint32_t pieces = 4 + nextRandom(state) % 15;
        for (uint32_t p = 0; p < pieces; ++p) {
            const uint32_t r = nextRandom(state);
            if (r % 29 == 0) {
                bytes.push_back(LINE_BREAK);
            } else if (r % 31 == 0) {
                bytes.push_back(CONTROL);
                bytes.push_back(static_cast<uint8_t>(r >> 8));
            } else {
                const uint32_t entry = (r >> 8) % TEXT_ENTRIES;
                bytes.push_back(firstByte(entry));
                bytes.push_back(secondByte(entry));
            }
        }
        bytes.push_back(END_TOKEN);
    }
    return strings;
}

const BenchTextImage& benchTextImage() {
    static const BenchTextImage text = [] {
        BenchTextImage made;
        made.image = largeSample().image;
        uint32_t end = 0;
        for (const SampleGraphic& g : largeSample().graphics) end = std::max<uint32_t>(end, g.fileOffset + g.packedLength);
        // The pointers from the next bank on, the strings after them, each
        // in one bank.
        uint32_t tableAt = (end + LOROM_BANK_SIZE - 1) / LOROM_BANK_SIZE * LOROM_BANK_SIZE;
        made.pointers = {tableAt, BENCH_STRING_COUNT, true};
        uint32_t at = tableAt + BENCH_STRING_COUNT * made.pointers.width();
        const std::vector<std::vector<uint8_t>> strings = benchStrings(BENCH_STRING_COUNT);
        for (uint32_t s = 0; s < BENCH_STRING_COUNT; ++s) {
            const std::vector<uint8_t>& bytes = strings[s];
            if (bankStart(at) != bankStart(at + static_cast<uint32_t>(bytes.size()) - 1)) at = bankEnd(at);
            if (at + bytes.size() > made.image.size()) {
                std::fprintf(stderr, "the strings do not fit in the room the graphics leave (%u bytes)\n",
                             static_cast<unsigned>(made.image.size() - tableAt));
                std::abort();
            }
            std::copy(bytes.begin(), bytes.end(), made.image.begin() + at);
            const uint32_t address = fileToLoRom(at);
            for (uint32_t k = 0; k < 3; ++k) made.image[tableAt + 3 * s + k] = static_cast<uint8_t>(address >> (8 * k));
            at += static_cast<uint32_t>(bytes.size());
            made.stringBytes += bytes.size();
        }
        // The checksum pair made true again: any valid pair adds the same.
        const uint32_t pair = LOROM_HEADER_OFFSET + HEADER_CHECKSUM_COMPLEMENT;
        const uint8_t blank[4] = {0xFF, 0xFF, 0x00, 0x00};
        std::copy(blank, blank + 4, made.image.begin() + pair);
        const uint16_t sum = romChecksum(made.image.data(), made.image.size());
        const uint8_t sealed[4] = {static_cast<uint8_t>(~sum), static_cast<uint8_t>(~sum >> 8), static_cast<uint8_t>(sum),
                                   static_cast<uint8_t>(sum >> 8)};
        std::copy(sealed, sealed + 4, made.image.begin() + pair);
        return made;
    }();
    return text;
}
