// The label list: reading label files piece by piece, appending, and the
// expansion of keys into texts or placeholders.
#include "rom/RomImage.h"
#include "tests/unit/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Label files in a folder of their own.
class LabelFiles : public testing::Test {
protected:
    std::string write(const std::string& name, const std::string& content) { return files.write(name, content); }
    static std::string load(RomImage& rom, const std::string& path, int32_t& result) {
        return printedBy([&] { result = rom.loadLabels(path.c_str()); });
    }
    TempFolder files;
    const std::filesystem::path& dir = files.dir();
};

using Labels = std::vector<std::pair<uint32_t, std::string>>;

Labels labelsOf(const RomImage& rom) {
    Labels labels;
    for (const LabelEntry& label : rom.labels) labels.emplace_back(label.key, label.text);
    return labels;
}

// What expandKey writes from a position inside a marked buffer; checks that
// pos moves by what was written and that nothing else is touched.
std::string expand(const RomImage& rom, uint32_t key) {
    constexpr int32_t start = 5;
    char out[64];
    std::fill(std::begin(out), std::end(out), '#');
    int32_t pos = start;
    rom.expandKey(key, out, pos);
    EXPECT_GE(pos, start);
    EXPECT_LE(pos, start + 31);
    EXPECT_EQ(std::string(out, start), std::string(start, '#'));
    EXPECT_EQ(std::string(out + pos, sizeof out - pos), std::string(sizeof out - pos, '#'));
    return std::string(out + start, pos - start);
}

TEST_F(LabelFiles, KeysSeparatorsAndLineEnds) {
    const std::pair<std::string, Labels::value_type> lines[] = {
        {"1a2b  Hello world", {0x1A2B, "Hello world"}},
        {"  0x2C\t \tTab\tinside ", {0x2C, "Tab\tinside "}},
        {"ABCDEF lower", {0xABCDEF, "lower"}},
        {"abcdeg", {0xABCDE, "g"}},
    };
    for (const std::string lineEnd : {"\n", "\r\n"}) {
        std::string text;
        Labels expected;
        for (const auto& [line, label] : lines) {
            text += line + lineEnd;
            expected.emplace_back(label.first, label.second + (lineEnd == "\n" ? "\n" : ""));
        }
        text += "7 last line";
        expected.emplace_back(7, "last line");
        RomImage rom;
        int32_t result = -1;
        EXPECT_EQ(load(rom, write("game.lbl", text), result), "");
        EXPECT_EQ(result, 0);
        EXPECT_EQ(labelsOf(rom), expected);
        EXPECT_EQ(expand(rom, 0x1A2B), expected[0].second);  // a lone LF is copied too
    }
}

TEST_F(LabelFiles, PiecesWithoutKeyOrTextAddNothing) {
    const std::string text =
        "\n   \r\nzz text\n1234   \n5678\r\n9abc\t\n-5 minus\n1 one\r\n\xEF\xBB\xBF" "2 mark\n";
    RomImage rom;
    int32_t result = -1;
    load(rom, write("game.lbl", text), result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(labelsOf(rom), (Labels{{1, "one"}}));
    EXPECT_EQ(expand(rom, 0x1234), "{1234}");

    load(rom, write("empty.lbl", ""), result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(rom.labels.size(), 1u);

    // A byte-order mark at the start of a file is not part of its first line.
    load(rom, write("bom.lbl", "\xEF\xBB\xBF" "3 three\r\n"), result);
    EXPECT_EQ(labelsOf(rom), (Labels{{1, "one"}, {3, "three"}}));
}

TEST_F(LabelFiles, LongTextsAndPiecesOf127Characters) {
    const std::string letters = "the quick brown fox jumps over the lazy dog";
    const std::string text = "1 " + letters + "\r\n" +
                             "2 " + std::string(198, 'z') + "\n" +               // two pieces
                             "3" + std::string(120, ' ') + "abcd\r\n" +          // 127 characters
                             "4" + std::string(121, ' ') + "abcd\r\n";           // 128: the LF is a piece
    RomImage rom;
    int32_t result = -1;
    load(rom, write("long.lbl", text), result);
    EXPECT_EQ(labelsOf(rom),
              (Labels{{1, letters.substr(0, 31)}, {2, std::string(31, 'z')}, {3, "abcd"}, {4, "abcd\r"}}));
}

TEST_F(LabelFiles, LaterFilesAppendAndTheFirstLabelWins) {
    RomImage rom;
    int32_t result = -1;
    load(rom, write("a.lbl", "10 first\r\n20 alpha\r\n10 again\r\n"), result);
    load(rom, write("b.lbl", "10 second\r\n30 beta\r\n"), result);
    EXPECT_EQ(labelsOf(rom), (Labels{{0x10, "first"}, {0x20, "alpha"}, {0x10, "again"}, {0x10, "second"},
                                     {0x30, "beta"}}));
    EXPECT_EQ(expand(rom, 0x10), "first");
    EXPECT_EQ(expand(rom, 0x30), "beta");
}

TEST_F(LabelFiles, PlaceholdersForKeysWithoutLabel) {
    RomImage rom;
    int32_t result = -1;
    load(rom, write("game.lbl", "11A2B long key\r\n"), result);
    const std::pair<uint32_t, std::string> cases[] = {
        {0x0, "{0000}"},       {0x1A2B, "{1a2b}"},     {0xFFFF, "{ffff}"},         {0x10000, "{10000}"},
        {0xFFFFF, "{fffff}"}, {0x100000, "{100000}"}, {0x12ABCD, "{12abcd}"},     {0x1234567, "{123456}"},
        {0xFFFFFFFF, "{ffffff}"},
    };
    for (const auto& [key, placeholder] : cases) EXPECT_EQ(expand(rom, key), placeholder) << std::hex << key;
    EXPECT_EQ(expand(rom, 0x11A2B), "long key");
}

TEST_F(LabelFiles, FailuresLeaveTheListAsItWas) {
    RomImage rom;
    int32_t result = -1;
    const std::string good = write("game.lbl", "1 one\n");
    load(rom, good, result);
    const Labels before = labelsOf(rom);
    ASSERT_EQ(before.size(), 1u);

    const std::string missing = (dir / "missing.lbl").string();
    EXPECT_EQ(load(rom, missing, result), "Erro ao abrir arquivo [" + missing + "]\n");
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(rom.labelPath, missing.c_str());
    const std::string folder = dir.string();
    EXPECT_EQ(load(rom, folder, result), "Erro ao abrir arquivo [" + folder + "]\n");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(labelsOf(rom), before);

    // 255 characters fit the path field; 256 are refused whole, never cut.
    const std::string path = files.pathOfLength(255);
    load(rom, path, result);
    EXPECT_STREQ(rom.labelPath, path.c_str());
    load(rom, good, result);
    const std::string tooLong = path + "y";
    EXPECT_EQ(load(rom, tooLong, result), "Erro ao abrir arquivo [" + tooLong + "]\n");
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(rom.labelPath, good.c_str());
    EXPECT_EQ(labelsOf(rom), (Labels{before[0], before[0]}));
}

}  // namespace
