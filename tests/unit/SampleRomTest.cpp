// The sample image as other tests and the emulator cases rely on it: a
// true header, the text where its tables say, room kept apart.
#include "tests/sample/SampleRom.h"

#include "graphics/GameLayout.h"
#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"

#include <gtest/gtest.h>

#include <numeric>
#include <set>
#include <sstream>

namespace {

uint32_t wordAt(const std::vector<uint8_t>& image, uint32_t at) { return image.at(at) | image.at(at + 1) << 8; }

class EveryKind : public testing::TestWithParam<SampleKind> {};

TEST_P(EveryKind, HeaderHoldsATrueChecksumComplementAndRomSize) {
    const SampleRom sample = buildSampleRom(GetParam());
    const std::vector<uint8_t>& image = sample.image;
    // Power-of-two sizes: the checksum is the plain sum of every byte.
    const uint16_t sum = static_cast<uint16_t>(std::accumulate(image.begin(), image.end(), 0u));
    EXPECT_EQ(wordAt(image, LOROM_HEADER_OFFSET + HEADER_CHECKSUM), sum);
    EXPECT_EQ(wordAt(image, LOROM_HEADER_OFFSET + HEADER_CHECKSUM_COMPLEMENT), sum ^ 0xFFFFu);
    EXPECT_EQ(size_t(1024) << image[LOROM_HEADER_OFFSET + HEADER_ROM_SIZE], image.size());
    // The boot program's reset vector ($FFFC) points into its code.
    const uint32_t reset = wordAt(image, LOROM_HEADER_OFFSET + 0x3C);
    EXPECT_GE(reset, 0x8000u);
    EXPECT_LT(reset, 0x8000u + sample.bootEnd);
    // No graphic's stream covers the boot program.
    for (const SampleGraphic& g : sample.graphics) EXPECT_GE(g.fileOffset, sample.bootEnd);
}

INSTANTIATE_TEST_SUITE_P(Sample, EveryKind, testing::Values(SampleKind::Standard, SampleKind::Large),
                         [](const testing::TestParamInfo<SampleKind>& info) {
                             return info.param == SampleKind::Standard ? "Standard" : "Large";
                         });

TEST(SampleText, PointersReachTheirStringsInTheBanksTheTablesSay) {
    const SampleRom sample = buildSampleRom();
    const SampleText& text = sample.text;
    ASSERT_EQ(text.tables.size(), 2u);
    EXPECT_EQ(text.tables[0].busAddress, "$98:8000");
    EXPECT_EQ(text.tables[0].pointerBytes, 2);
    EXPECT_EQ(text.tables[1].busAddress, "$99:8000");
    EXPECT_EQ(text.tables[1].pointerBytes, 3);
    for (const SamplePointerTable& table : text.tables) {
        SCOPED_TRACE(table.busAddress);
        EXPECT_EQ(fileToLoRom(table.fileOffset) & 0xFFFFFF,
                  std::stoul(table.busAddress.substr(1, 2), nullptr, 16) << 16 |
                      std::stoul(table.busAddress.substr(4), nullptr, 16));
        ASSERT_EQ(table.strings.size(), table.count);
        for (uint32_t i = 0; i < table.count; ++i) {
            const uint32_t at = table.fileOffset + i * table.pointerBytes;
            uint32_t address = wordAt(sample.image, at);
            if (table.pointerBytes == 3) {
                address |= uint32_t(sample.image[at + 2]) << 16;
                EXPECT_NE(address >> 16, fileToLoRom(table.fileOffset) >> 16) << "strings in another bank";
            } else {
                address |= fileToLoRom(table.fileOffset) & 0xFF0000;  // the table's bank
            }
            EXPECT_GE(address & 0xFFFF, 0x8000u);
            EXPECT_EQ(loRomToFile(address), table.stringOffsets[i]);
            const std::vector<uint8_t>& string = table.strings[i];
            ASSERT_FALSE(string.empty());
            EXPECT_EQ(string.back(), SAMPLE_END_TOKEN);
            EXPECT_EQ(std::vector<uint8_t>(sample.image.begin() + table.stringOffsets[i],
                                           sample.image.begin() + table.stringOffsets[i] + string.size()),
                      string);
            // A string stays in its bank.
            EXPECT_EQ(table.stringOffsets[i] / LOROM_BANK_SIZE,
                      (table.stringOffsets[i] + string.size() - 1) / LOROM_BANK_SIZE);
        }
    }
    // The first string: what the boot program shows, within its 32 tiles.
    EXPECT_LE(text.tables[0].strings[0].size(), 32u);
    // Two pointers of the 16-bit table reach one string.
    const auto& offsets = text.tables[0].stringOffsets;
    EXPECT_NE(std::set<uint32_t>(offsets.begin(), offsets.end()).size(), offsets.size());

    // The unused room: 0xFF to the end of bank $98, after every string.
    EXPECT_EQ(text.unusedStart / LOROM_BANK_SIZE, text.tables[0].fileOffset / LOROM_BANK_SIZE);
    EXPECT_EQ(text.unusedEnd, text.tables[0].fileOffset + LOROM_BANK_SIZE);
    for (uint32_t at = text.unusedStart; at < text.unusedEnd; ++at) ASSERT_EQ(sample.image[at], 0xFF) << at;
    for (size_t i = 0; i < offsets.size(); ++i) {
        EXPECT_LE(offsets[i] + text.tables[0].strings[i].size(), text.unusedStart);
    }
}

// The stream of the picture that the boot program shows runs over a bank
// end, so that the console's reading of it crosses one too.
TEST(SampleImage, ThePicturesStreamRunsOverABankEnd) {
    const SampleRom sample = buildSampleRom();
    const SampleGraphic& picture = sample.graphics[12];
    EXPECT_NE(picture.fileOffset / LOROM_BANK_SIZE, (picture.fileOffset + picture.packedLength - 1) / LOROM_BANK_SIZE);
}

TEST(SampleText, NoGraphicUsesTheTextBanks) {
    const SampleRom sample = buildSampleRom();
    const uint32_t first = sample.text.tables[0].fileOffset;
    const uint32_t last = sample.text.tables[1].stringOffsets.back() / LOROM_BANK_SIZE * LOROM_BANK_SIZE + LOROM_BANK_SIZE;
    for (size_t graphic = 0; graphic < sample.graphics.size(); ++graphic) {
        const SampleGraphic& g = sample.graphics[graphic];
        EXPECT_TRUE(g.fileOffset + g.stream.size() <= first || g.fileOffset >= last) << graphic;
    }
}

// Every line of the table is one of the forms the text program reads, and
// each byte of every string has an entry or is one the table leaves out
// on purpose (written raw).
TEST(SampleText, TheTableCoversTheStringsButOneByte) {
    const SampleRom sample = buildSampleRom();
    std::istringstream lines(sample.text.table);
    std::set<std::string> codes;  // hex of each entry's bytes
    std::string line;
    bool endToken = false;
    while (std::getline(lines, line)) {
        ASSERT_EQ(line.find('\r'), std::string::npos);
        if (line.empty() || line[0] == '#') continue;
        std::string entry = line;
        if (entry[0] == '/' || entry[0] == '*' || entry[0] == '$') entry = entry.substr(1);
        const size_t equals = entry.find('=');
        ASSERT_NE(equals, std::string::npos) << line;
        ASSERT_TRUE(equals > 0 && equals % 2 == 0) << line;
        EXPECT_EQ(entry.find_first_not_of("0123456789ABCDEF"), equals) << line;
        EXPECT_TRUE(codes.insert(entry.substr(0, equals)).second) << "twice: " << line;
        if (line[0] == '/') endToken = entry.substr(0, equals) == "00";
        if (line[0] == '$') {
            EXPECT_NE(entry.find(",1", equals), std::string::npos) << line;
        }
    }
    EXPECT_TRUE(endToken);
    std::set<uint8_t> uncovered;
    for (const SamplePointerTable& table : sample.text.tables) {
        for (const auto& string : table.strings) {
            for (size_t i = 0; i < string.size(); ++i) {
                char hex[5];
                std::snprintf(hex, sizeof hex, "%02X", string[i]);
                if (codes.count(hex)) {
                    if (string[i] == 0x02) ++i;  // the control code's parameter
                    continue;
                }
                if (i + 1 < string.size()) {
                    std::snprintf(hex, sizeof hex, "%02X%02X", string[i], string[i + 1]);
                    if (codes.count(hex)) {
                        ++i;
                        continue;
                    }
                }
                uncovered.insert(string[i]);
            }
        }
    }
    EXPECT_EQ(uncovered, (std::set<uint8_t>{0x9F}));
}

TEST(SampleText, TheTableFileIsNamedAfterTheImage) {
    EXPECT_EQ(tablePathFor("sample.sfc"), "sample.tbl");
    EXPECT_EQ(tablePathFor("dir.v2/game"), "dir.v2/game.tbl");
    EXPECT_EQ(tablePathFor("a/b.c/jogo.smc"), "a/b.c/jogo.tbl");
    EXPECT_EQ(tablePathFor(".hidden"), ".hidden.tbl");
}

}  // namespace
