// The character table: reading table files, their odd and broken entries,
// the path rule and lookups.
#include "rom/RomImage.h"
#include "tests/unit/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Table files in a folder of their own.
class TableFiles : public testing::Test {
protected:
    std::string write(const std::string& name, const std::string& content) { return files.write(name, content); }
    static std::string capture(int32_t& result, RomImage& rom, const std::string& path) {
        return printedBy([&] { result = rom.loadTable(path.c_str()); });
    }
    TempFolder files;
};

using Entries = std::vector<std::pair<uint8_t, char>>;

Entries entriesOf(const RomImage& rom) {
    Entries entries;
    for (int32_t i = 0; i < rom.tableCount; ++i) entries.emplace_back(rom.tableCodes[i], rom.tableChars[i]);
    return entries;
}

std::string tableText(const Entries& entries, const std::string& lineEnd) {
    std::string text;
    char code[8];
    for (const auto& [value, character] : entries) {
        std::snprintf(code, sizeof code, "%x=", value);
        text += code + std::string(1, character) + lineEnd;
    }
    return text;
}

TEST_F(TableFiles, LineEndsBlankLinesAndAMissingLastLineEndReadAlike) {
    const Entries entries = {{0x41, 'A'}, {0x20, ' '}, {0x3D, '='}, {0xFF, 'z'}, {0x00, '!'}};
    const std::string lf = tableText(entries, "\n");
    const std::string variants[] = {lf, tableText(entries, "\r\n"), "\n\r\n" + tableText(entries, "\n\n \t\r\n"),
                                    lf.substr(0, lf.size() - 1)};
    for (const std::string& text : variants) {
        RomImage rom;
        int32_t result = -1;
        EXPECT_EQ(capture(result, rom, write("table.tbl", text)), "");
        EXPECT_EQ(result, 0);
        EXPECT_EQ(entriesOf(rom), entries) << text;
    }
}

TEST_F(TableFiles, NumberAndCharacterForms) {
    const std::pair<std::string, std::pair<uint8_t, char>> cases[] = {
        {"141=A", {0x41, 'A'}},       {"0x42=B", {0x42, 'B'}},  {"0X4a=j", {0x4A, 'j'}},
        {" \t4A=J", {0x4A, 'J'}},     {"0a=\n", {0x0A, '\n'}},  {"0d=\r\n", {0x0D, '\r'}},
        {"123456789=Z", {0x89, 'Z'}}, {"0=\xE9", {0x00, '\xE9'}},
    };
    for (const auto& [text, entry] : cases) {
        RomImage rom;
        int32_t result = -1;
        capture(result, rom, write("table.tbl", text));
        EXPECT_EQ(entriesOf(rom), Entries{entry}) << text;
    }
}

TEST_F(TableFiles, MalformedEntriesAreSkippedToTheirLineEndAndNotCounted) {
    const std::string text =
        "41=A\nZZ=Q\n42 =B\n43B\n=C\n0x=D\n-44=E\n47=GZ\n"  // stray "Z" after an entry
        "48=H\n49";                                      // the file ends inside an entry
    RomImage rom;
    int32_t result = -1;
    capture(result, rom, write("table.tbl", text));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(entriesOf(rom), (Entries{{0x41, 'A'}, {0x47, 'G'}, {0x48, 'H'}}));

    capture(result, rom, write("cut.tbl", "41=A\n42="));
    EXPECT_EQ(entriesOf(rom), (Entries{{0x41, 'A'}}));
}

TEST_F(TableFiles, ByteOrderMarkIsSkipped) {
    RomImage rom;
    int32_t result = -1;
    capture(result, rom, write("table.tbl", "\xEF\xBB\xBF" "41=A\r\n42=B\r\n"));
    EXPECT_EQ(entriesOf(rom), (Entries{{0x41, 'A'}, {0x42, 'B'}}));
}

TEST_F(TableFiles, BinaryGarbageEnds) {
    std::string garbage(8192, '\0');
    uint32_t state = 12345;
    for (char& c : garbage) c = static_cast<char>((state = state * 1103515245 + 12345) >> 16);
    RomImage rom;
    int32_t result = -1;
    capture(result, rom, write("garbage.tbl", garbage));
    EXPECT_EQ(result, 0);
    EXPECT_LE(rom.tableCount, 256);
}

TEST_F(TableFiles, AtMost256EntriesAreKept) {
    Entries entries;
    for (int i = 0; i < 300; ++i) entries.emplace_back(static_cast<uint8_t>(i), static_cast<char>('a' + i % 26));
    RomImage rom;
    int32_t result = -1;
    capture(result, rom, write("big.tbl", tableText(entries, "\n")));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(entriesOf(rom), Entries(entries.begin(), entries.begin() + 256));
    // Code 3 appears again as entry 259: the first entry keeps it.
    EXPECT_EQ(rom.lookupChar(3), static_cast<uint8_t>(entries[3].second));
}

TEST_F(TableFiles, LookupTakesTheFirstMatchAndGivesZeroOtherwise) {
    RomImage rom;
    int32_t result = -1;
    capture(result, rom, write("table.tbl", std::string("41=A\n41=B\n42=\0\n", 15)));
    ASSERT_EQ(rom.tableCount, 3);
    EXPECT_EQ(rom.lookupChar(0x41), 'A');
    EXPECT_EQ(rom.lookupChar(0x42), 0);  // character 0
    EXPECT_EQ(rom.lookupChar(0x43), 0);  // not in the table

    // A new table replaces the old one; the old slots are not looked at.
    capture(result, rom, write("empty.tbl", ""));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(rom.tableCount, 0);
    EXPECT_EQ(rom.lookupChar(0x41), 0);
}

TEST_F(TableFiles, FailuresLeaveTheTableInUse) {
    RomImage rom;
    int32_t result = -1;
    const std::string good = write("table.tbl", "41=A\n42=B\n");
    capture(result, rom, good);
    const Entries before = entriesOf(rom);
    ASSERT_EQ(before.size(), 2u);

    const std::string missing = (files.dir() / "missing.tbl").string();
    EXPECT_EQ(capture(result, rom, missing), "Erro ao abrir arquivo [" + missing + "]\n");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(entriesOf(rom), before);
    EXPECT_STREQ(rom.tablePath, missing.c_str());

    const std::string folder = files.dir().string();
    EXPECT_EQ(capture(result, rom, folder), "Erro ao abrir arquivo [" + folder + "]\n");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(entriesOf(rom), before);

    // 255 characters fit the path field; 256 are refused whole, never cut.
    const std::string path = files.pathOfLength(255);
    capture(result, rom, path);
    EXPECT_STREQ(rom.tablePath, path.c_str());
    capture(result, rom, good);
    const std::string tooLong = path + "y";
    EXPECT_EQ(capture(result, rom, tooLong), "Erro ao abrir arquivo [" + tooLong + "]\n");
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(rom.tablePath, good.c_str());
    EXPECT_EQ(entriesOf(rom), before);
}

}  // namespace
