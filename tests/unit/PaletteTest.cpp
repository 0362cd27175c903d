// Palettes: the grey ramp, BGR555 colours and the three palette files.
#include "tiles/Palette.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

void PrintTo(const Colour& c, std::ostream* out) { *out << int(c.red) << " " << int(c.green) << " " << int(c.blue); }

namespace {

using Colours = std::vector<Colour>;

std::vector<uint8_t> bytesOf(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// "" for a file read, else why it was refused: the kind and the colour.
std::string parse(const std::vector<uint8_t>& bytes, Colours& colours) {
    const PaletteProblem problem = parsePaletteFile(bytes.data(), bytes.size(), colours);
    const char* kinds[] = {"", "JascHeader", "JascColour ", "RiffNoData", "OddBgr555"};
    const std::string kind = kinds[problem.kind];
    return problem.kind == PaletteProblem::JascColour ? kind + std::to_string(problem.colour) : kind;
}

TEST(Palette, TheGreyRampRoundsTwoHundredFiftyFiveITimesOverNMinusOne) {
    const std::vector<std::pair<int, std::vector<int>>> table = {
        {2, {0, 255}}, {4, {0, 85, 170, 255}}, {8, {0, 36, 73, 109, 146, 182, 219, 255}}};  // 36.43, 72.86...
    for (const auto& [n, levels] : table) {
        Colours greys;
        for (int level : levels) greys.push_back(Colour{uint8_t(level), uint8_t(level), uint8_t(level)});
        EXPECT_EQ(greyRamp(n), greys);
    }
    for (int i = 0; i < 256; ++i) EXPECT_EQ(greyRamp(256)[i], (Colour{uint8_t(i), uint8_t(i), uint8_t(i)}));
    for (int i = 0; i < 16; ++i) EXPECT_EQ(greyRamp(16)[i], (Colour{uint8_t(17 * i), uint8_t(17 * i), uint8_t(17 * i)}));
}

TEST(Palette, FiveBitChannelsWidenToEight) {
    const std::vector<std::pair<uint16_t, Colour>> table = {
        {0x0000, {0, 0, 0}},   {0x7FFF, {255, 255, 255}}, {0x001F, {255, 0, 0}},
        {0x03E0, {0, 255, 0}}, {0x7C00, {0, 0, 255}},     {0x0421, {8, 8, 8}},
        {0x0010, {132, 0, 0}}, {0x8000, {0, 0, 0}},       {0x294A, {82, 82, 82}},  // 10: 80 | 2
    };
    for (const auto& [value, colour] : table) EXPECT_EQ(colourFromBgr555(value), colour) << std::hex << value;
}

// A RIFF PAL file: an optional chunk before "data", then the colours.
std::vector<uint8_t> riff(const Colours& colours, bool chunkBefore, uint16_t claimed) {
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

TEST(Palette, RawJascAndRiffFilesAreRead) {
    const Colours three = {{10, 20, 30}, {255, 254, 253}, {0, 0, 1}};
    const std::vector<std::pair<std::vector<uint8_t>, Colours>> table = {
        {{0x1F, 0x00, 0x00, 0x7C, 0xE0, 0x03}, {{255, 0, 0}, {0, 0, 255}, {0, 255, 0}}},  // little-endian BGR555
        {{}, {}},
        {bytesOf("JASC-PAL\r\n0100\r\n2\r\n255 0 10\r\n1 2 3\r\n"), {{255, 0, 10}, {1, 2, 3}}},
        {bytesOf("JASC-PAL\n0100\n2\n255 0 10\n1 2 3\n"), {{255, 0, 10}, {1, 2, 3}}},
        {riff(three, false, 3), three},
        {riff(three, true, 3), three},
    };
    for (const auto& [bytes, expected] : table) {
        Colours colours;
        EXPECT_EQ(parse(bytes, colours), "");
        EXPECT_EQ(colours, expected);
    }
}

TEST(Palette, MalformedFilesAreRefusedWithTheirReason) {
    const std::string version = "JascHeader";
    const std::string colour0 = "JascColour 0";
    const std::string riffData = "RiffNoData";
    std::vector<uint8_t> cut = riff({{1, 2, 3}}, true, 1);
    cut.pop_back();
    const std::vector<std::pair<std::vector<uint8_t>, std::string>> table = {
        {{0x1F, 0x00, 0x00}, "OddBgr555"},
        {bytesOf("JASC-PAL\n0200\n1\n0 0 0\n"), version},
        {bytesOf("JASC-PAL\n0100\n\n"), version},
        {bytesOf("JASC-PAL\n0100\n2\n0 0 0\n"), "JascColour 1"},
        {bytesOf("JASC-PAL\n0100\n1\n256 0 0\n"), colour0},
        {bytesOf("JASC-PAL\n0100\n1\n1 2\n"), colour0},
        {bytesOf("JASC-PAL\n0100\n1\n1 2 x\n"), colour0},
        {riff({{1, 2, 3}}, false, 2), riffData},  // claims more than it holds
        {cut, riffData},
        {bytesOf(std::string("RIFF\x04\x00\x00\x00WAVE", 12)), riffData},
    };
    for (const auto& [bytes, reason] : table) {
        Colours colours;
        EXPECT_EQ(parse(bytes, colours), reason);
    }
}

TEST(Palette, ARowStartsAtRowTimesCountAndMissingColoursAreBlack) {
    Colours colours;
    for (int i = 0; i < 20; ++i) colours.push_back(Colour{uint8_t(i), uint8_t(100 + i), 7});
    Colours expected(colours.begin() + 16, colours.end());
    expected.resize(16);
    EXPECT_EQ(paletteRow(colours, 1, 16), expected);
    EXPECT_EQ(paletteRow(colours, 65535, 256), Colours(256));
}

}  // namespace
