// Palettes: the grey ramp, BGR555 colours and the three palette files.
#include "tiles/Palette.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<uint8_t> bytesOf(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<int> levels(const std::vector<Colour>& ramp) {
    std::vector<int> result;
    for (const Colour& c : ramp) {
        EXPECT_TRUE(c.red == c.green && c.green == c.blue);
        result.push_back(c.red);
    }
    return result;
}

bool parse(const std::vector<uint8_t>& bytes, std::vector<Colour>& colours, std::string& reason) {
    return parsePaletteFile(bytes.data(), bytes.size(), colours, reason);
}

TEST(Palette, TheGreyRampRoundsTwoHundredFiftyFiveITimesOverNMinusOne) {
    EXPECT_EQ(levels(greyRamp(2)), (std::vector<int>{0, 255}));
    EXPECT_EQ(levels(greyRamp(4)), (std::vector<int>{0, 85, 170, 255}));
    // 36.43, 72.86, 109.29, 145.71, 182.14, 218.57
    EXPECT_EQ(levels(greyRamp(8)), (std::vector<int>{0, 36, 73, 109, 146, 182, 219, 255}));
    const std::vector<int> sixteen = levels(greyRamp(16));
    for (int i = 0; i < 16; ++i) EXPECT_EQ(sixteen[i], 17 * i);
    const std::vector<int> all = levels(greyRamp(256));
    for (int i = 0; i < 256; ++i) EXPECT_EQ(all[i], i);
}

TEST(Palette, FiveBitChannelsWidenToEight) {
    const std::vector<std::pair<uint16_t, Colour>> table = {
        {0x0000, {0, 0, 0}},       {0x7FFF, {255, 255, 255}}, {0x001F, {255, 0, 0}},
        {0x03E0, {0, 255, 0}},     {0x7C00, {0, 0, 255}},     {0x0421, {8, 8, 8}},
        {0x0010, {132, 0, 0}},     {0x8000, {0, 0, 0}},       {0x294A, {82, 82, 82}},  // 10: 80 | 2
    };
    for (const auto& [value, colour] : table) {
        const Colour got = colourFromBgr555(value);
        EXPECT_TRUE(got == colour) << std::hex << value << ": " << int(got.red) << " " << int(got.green) << " "
                                   << int(got.blue);
    }
}

TEST(Palette, RawFilesAreLittleEndianBgr555) {
    std::vector<Colour> colours;
    std::string reason;
    ASSERT_TRUE(parse({0x1F, 0x00, 0x00, 0x7C, 0xE0, 0x03}, colours, reason));
    ASSERT_EQ(colours.size(), 3u);
    EXPECT_TRUE(colours[0] == (Colour{255, 0, 0}));
    EXPECT_TRUE(colours[1] == (Colour{0, 0, 255}));
    EXPECT_TRUE(colours[2] == (Colour{0, 255, 0}));
    EXPECT_TRUE(parse({}, colours, reason));
    EXPECT_TRUE(colours.empty());
    EXPECT_FALSE(parse({0x1F, 0x00, 0x00}, colours, reason));
    EXPECT_EQ(reason, "paleta BGR555 com n\xFAmero \xEDmpar de bytes");
}

TEST(Palette, JascFilesAreReadWithEitherLineEnd) {
    for (const std::string end : {"\r\n", "\n"}) {
        std::vector<Colour> colours;
        std::string reason;
        ASSERT_TRUE(parse(bytesOf("JASC-PAL" + end + "0100" + end + "2" + end + "255 0 10" + end + "1 2 3" + end),
                          colours, reason));
        ASSERT_EQ(colours.size(), 2u);
        EXPECT_TRUE(colours[0] == (Colour{255, 0, 10}));
        EXPECT_TRUE(colours[1] == (Colour{1, 2, 3}));
    }
}

TEST(Palette, MalformedJascFilesAreRefused) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"JASC-PAL\n0200\n1\n0 0 0\n", "JASC-PAL sem a vers\xE3o 0100 e o n\xFAmero de cores"},
        {"JASC-PAL\n0100\n\n", "JASC-PAL sem a vers\xE3o 0100 e o n\xFAmero de cores"},
        {"JASC-PAL\n0100\n2\n0 0 0\n", "JASC-PAL com a cor 1 ausente ou malformada"},
        {"JASC-PAL\n0100\n1\n256 0 0\n", "JASC-PAL com a cor 0 ausente ou malformada"},
        {"JASC-PAL\n0100\n1\n1 2\n", "JASC-PAL com a cor 0 ausente ou malformada"},
        {"JASC-PAL\n0100\n1\n1 2 x\n", "JASC-PAL com a cor 0 ausente ou malformada"},
    };
    for (const auto& [text, expected] : table) {
        std::vector<Colour> colours;
        std::string reason;
        EXPECT_FALSE(parse(bytesOf(text), colours, reason)) << text;
        EXPECT_EQ(reason, expected) << text;
    }
}

// A RIFF PAL file: an optional chunk before "data", then the colours.
std::vector<uint8_t> riff(const std::vector<Colour>& colours, bool chunkBefore, uint16_t claimed) {
    std::vector<uint8_t> body = {'P', 'A', 'L', ' '};
    auto little32 = [](std::vector<uint8_t>& out, uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
    };
    if (chunkBefore) {
        body.insert(body.end(), {'n', 'o', 't', 'e'});
        little32(body, 3);
        body.insert(body.end(), {'a', 'b', 'c', 0});  // odd size, padded
    }
    body.insert(body.end(), {'d', 'a', 't', 'a'});
    little32(body, uint32_t(4 + 4 * colours.size()));
    body.insert(body.end(), {0x00, 0x03, uint8_t(claimed), uint8_t(claimed >> 8)});
    for (const Colour& c : colours) body.insert(body.end(), {c.red, c.green, c.blue, 0});
    std::vector<uint8_t> file = {'R', 'I', 'F', 'F'};
    little32(file, uint32_t(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

TEST(Palette, RiffPalFilesAreReadFromTheirDataChunk) {
    const std::vector<Colour> written = {{10, 20, 30}, {255, 254, 253}, {0, 0, 1}};
    for (bool chunkBefore : {false, true}) {
        std::vector<Colour> colours;
        std::string reason;
        ASSERT_TRUE(parse(riff(written, chunkBefore, 3), colours, reason)) << reason;
        ASSERT_EQ(colours.size(), 3u);
        for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(colours[i] == written[i]) << i;
    }
    std::vector<Colour> colours;
    std::string reason;
    EXPECT_FALSE(parse(riff(written, false, 4), colours, reason));  // claims more than it holds
    EXPECT_EQ(reason, "RIFF PAL sem bloco de dados v\xE1lido");
    std::vector<uint8_t> cut = riff(written, true, 3);
    cut.resize(cut.size() - 1);
    EXPECT_FALSE(parse(cut, colours, reason));
    EXPECT_FALSE(parse(bytesOf("RIFF\x04\x00\x00\x00WAVE"), colours, reason));
}

TEST(Palette, ARowStartsAtRowTimesCountAndMissingColoursAreBlack) {
    std::vector<Colour> colours;
    for (int i = 0; i < 20; ++i) colours.push_back(Colour{uint8_t(i), uint8_t(100 + i), 7});
    const std::vector<Colour> row1 = paletteRow(colours, 1, 16);
    ASSERT_EQ(row1.size(), 16u);
    for (int i = 0; i < 16; ++i) {
        const Colour expected = i < 4 ? Colour{uint8_t(16 + i), uint8_t(116 + i), 7} : Colour{0, 0, 0};
        EXPECT_TRUE(row1[i] == expected) << i;
    }
    EXPECT_TRUE(paletteRow(colours, 65535, 256)[255] == (Colour{0, 0, 0}));
}

}  // namespace
