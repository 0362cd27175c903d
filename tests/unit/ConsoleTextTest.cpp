// The console text in UTF-8: what a UTF-8 terminal is shown for each of the
// tool's Windows-1252 bytes.
#include "platform/Platform.h"
#include "encoding/Encoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string utf8(const std::string& windows1252) {
    return windows1252ToUtf8(windows1252.data(), windows1252.size());
}

// Reads well-formed UTF-8 back into code points; any malformed sequence
// fails the test that gave it.
std::vector<uint32_t> decodeUtf8(const std::string& text) {
    std::vector<uint32_t> codePoints;
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 0;
        if (length == 0 || i + length > text.size()) {
            ADD_FAILURE() << "bad lead byte at " << i;
            return codePoints;
        }
        uint32_t codePoint = length == 1 ? lead : lead & (length == 2 ? 0x1F : 0x0F);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                ADD_FAILURE() << "bad continuation byte at " << i + k;
                return codePoints;
            }
            codePoint = codePoint << 6 | (next & 0x3F);
        }
        const uint32_t shortest = length == 1 ? 0 : length == 2 ? 0x80 : 0x800;
        if (codePoint < shortest) ADD_FAILURE() << "overlong sequence at " << i;
        codePoints.push_back(codePoint);
        i += length;
    }
    return codePoints;
}

// The Windows-1252 code chart from 0x80 to 0x9F; the five bytes it leaves
// undefined are shown as U+FFFD.
const uint32_t CHART_80_TO_9F[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

uint32_t chart(int byte) {
    if (byte >= 0x80 && byte < 0xA0) return CHART_80_TO_9F[byte - 0x80];
    return static_cast<uint32_t>(byte);  // ASCII below, ISO 8859-1 above
}

TEST(ConsoleTextInUtf8, EveryByteBecomesItsCharacter) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string text(1, static_cast<char>(byte));
        EXPECT_EQ(decodeUtf8(utf8(text)), std::vector<uint32_t>{chart(byte)}) << std::hex << byte;
    }
}

TEST(ConsoleTextInUtf8, AsciiStaysByteForByte) {
    std::string ascii;
    for (int byte = 0; byte < 0x80; ++byte) ascii += static_cast<char>(byte);
    EXPECT_EQ(utf8(ascii), ascii);
}

TEST(ConsoleTextInUtf8, AllBytesInOneTextKeepTheirOrder) {
    std::string all;
    std::vector<uint32_t> expected;
    for (int byte = 255; byte >= 0; --byte) {
        all += static_cast<char>(byte);
        expected.push_back(chart(byte));
    }
    EXPECT_EQ(decodeUtf8(utf8(all)), expected);
}

TEST(ConsoleTextInUtf8, TheToolsMessagesAsATerminalShowsThem) {
    EXPECT_EQ(utf8("Arquivo n\xE3o encontrado.\n"), "Arquivo n\xC3\xA3o encontrado.\n");
    EXPECT_EQ(utf8("ROM incompat\xEDvel! Utilizar a vers\xE3o 1.1\n"),
              "ROM incompat\xC3\xADvel! Utilizar a vers\xC3\xA3o 1.1\n");
    EXPECT_EQ(utf8("Rom inv\xE1lida!\r\n"), "Rom inv\xC3\xA1lida!\r\n");
}

TEST(ConsoleTextInUtf8, TheHighControlRangeUsesTheWindowsChart) {
    EXPECT_EQ(utf8("\x80"), "\xE2\x82\xAC");          // euro sign
    EXPECT_EQ(utf8("\x93x\x94"), "\xE2\x80\x9Cx\xE2\x80\x9D");  // curly quotes
    EXPECT_EQ(utf8("\x83"), "\xC6\x92");              // florin, two bytes
    EXPECT_EQ(utf8("\x9F"), "\xC5\xB8");              // Y with diaeresis
    EXPECT_EQ(utf8("\x81\x8D\x8F\x90\x9D"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(ConsoleTextInUtf8, NulBytesAndEmptyTexts) {
    EXPECT_EQ(utf8(std::string("a\0\xFF", 3)), std::string("a\0\xC3\xBF", 4));
    EXPECT_EQ(windows1252ToUtf8("", 0), "");
}

}  // namespace
