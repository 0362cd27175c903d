// The text table's lines, the reading of strings into the script's text
// and the shortest writing back: a table of lines and their refusals, the
// round trip of arbitrary bytes, and the writing checked against a brute
// force on short texts.
#include "text/TextCodec.h"
#include "text/TextTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>

namespace {

TextTable tableOf(const std::string& text) {
    TextTable table;
    const TableProblem problem = table.read(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    EXPECT_EQ(problem.kind, TableProblem::None) << "line " << problem.line;
    return table;
}

TEST(TextTableLines, ReadOrRefusedWithTheirLine) {
    struct Case {
        std::string file;
        TableProblem::Kind problem;
        size_t line;
    };
    const Case cases[] = {
        {"41=A\r\n\r\n# a comment\n8A20=the \n/00=<end>\n*01=<br>\n$02=<color>,1\n", TableProblem::None, 0},
        {"41=A\n42B\n", TableProblem::NoEquals, 2},
        {"41=A\n123=x\n", TableProblem::OddDigits, 2},
        {"=x\n", TableProblem::NoDigits, 1},
        {"4G=x\n", TableProblem::NoDigits, 1},
        {"41=\n", TableProblem::EmptyText, 1},
        {"$02=<color>\n", TableProblem::ParameterCount, 1},
        {"$02=<color>,17\n", TableProblem::ParameterCount, 1},
        {"$02=,3\n", TableProblem::EmptyText, 1},
        {"41=A\n" + std::string(2 * MOST_ENTRY_BYTES, '0') + "=x\n", TableProblem::None, 0},
        {"41=A\n" + std::string(2 * MOST_ENTRY_BYTES + 2, '0') + "=x\n", TableProblem::TooManyBytes, 2},
        {"41=" + std::string(MOST_ENTRY_TEXT, 'a') + "\n", TableProblem::None, 0},
        {"41=" + std::string(MOST_ENTRY_TEXT + 1, 'a') + "\n", TableProblem::TextTooLong, 1},
        {"41=A\n$02=" + std::string(MOST_ENTRY_TEXT + 1, 'a') + ",1\n", TableProblem::TextTooLong, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TextTable table;
        const TableProblem problem = table.read(reinterpret_cast<const uint8_t*>(c.file.data()), c.file.size());
        EXPECT_EQ(problem.kind, c.problem);
        EXPECT_EQ(problem.line, c.line);
    }
}

TEST(TextTableLines, KindsTextsAndEncodings) {
    // A byte-order mark, then Windows-1252 after it: the file is not UTF-8.
    const TextTable utf8 = tableOf("\xEF\xBB\xBF" "E3=\xC3\xA3\n/FF=<fim>\n*FE=<br>\n$F0=<c>,2\n20= \n");
    ASSERT_EQ(utf8.entries().size(), 5u);
    EXPECT_EQ(utf8.entries()[0].text, "\xC3\xA3");
    EXPECT_EQ(utf8.entries()[1].kind, TableEntry::End);
    EXPECT_EQ(utf8.entries()[2].kind, TableEntry::LineBreak);
    EXPECT_EQ(utf8.entries()[3].kind, TableEntry::Control);
    EXPECT_EQ(utf8.entries()[3].parameters, 2);
    EXPECT_EQ(utf8.entries()[4].text, " ");
    EXPECT_EQ(utf8.windows1252Line(), 0u);
    const TextTable cp1252 = tableOf("E3=\xE3\n40=@\n");
    EXPECT_EQ(cp1252.entries()[0].text, "\xC3\xA3");
    EXPECT_EQ(cp1252.windows1252Line(), 1u);
    // UTF-8 up to one stray byte: all of it Windows-1252, and that line named.
    const TextTable stray = tableOf("E3=\xC3\xA3\n# \xC3\xA1\n\nE1=\xE1\n");
    EXPECT_EQ(stray.entries()[0].text, "\xC3\x83\xC2\xA3");
    EXPECT_EQ(stray.windows1252Line(), 4u);
    // No end token: the entry "@" ends strings.
    EXPECT_TRUE(cp1252.hasEndTokens());
    EXPECT_EQ(cp1252.entries()[1].kind, TableEntry::End);
}

TEST(TextReading, LongestMatchFirstEntryAndRawBytes) {
    const TextTable table = tableOf("41=A\n4142=AB\n4142=X\n$10=<c>,1\n/00=<end>\n*01=<br>\n");
    const std::vector<uint8_t> bytes = {0x41, 0x42, 0x43, 0x10, 0x00, 0x01, 0x41, 0x00, 0x55};
    std::vector<TextPiece> pieces;
    ASSERT_TRUE(readString(table, bytes.data(), bytes.size(), pieces));
    EXPECT_EQ(scriptText(table, bytes.data(), pieces), "AB<$43><c><$00><br>\nA<end>");
    EXPECT_EQ(pieces.back().start + pieces.back().length, 8u);
    EXPECT_FALSE(readString(table, bytes.data(), 4, pieces));  // a parameter past the end
}

// The entry reading takes, from the table of pairs and the trie, against
// every entry tried in turn: the longest whose bytes start there, the first
// in the file among equal ones.
TEST(TextReading, LongestMatchAsEveryEntryTriedInTurnFindsIt) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        std::string file;
        const int entries = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < entries; ++i) {
            const int length = 1 + static_cast<int>(random() % 4);
            for (int k = 0; k < length; ++k) file += "0123"[random() % 4], file += "0123"[random() % 4];
            file += "=x\n";
        }
        const TextTable table = tableOf(file);
        std::vector<uint8_t> bytes(64);
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(random() % 4 * 16 + random() % 4);
        for (size_t at = 0; at < bytes.size(); ++at) {
            const size_t length = bytes.size() - at;
            int expected = -1;
            for (size_t e = 0; e < table.entries().size(); ++e) {
                const std::vector<uint8_t>& b = table.entries()[e].bytes;
                if (b.size() > length || !std::equal(b.begin(), b.end(), bytes.begin() + static_cast<long>(at))) continue;
                if (expected < 0 || b.size() > table.entries()[static_cast<size_t>(expected)].bytes.size()) {
                    expected = static_cast<int>(e);
                }
            }
            ASSERT_EQ(table.longestMatch(bytes.data() + at, length), expected) << file << " at " << at;
        }
    }
}

TEST(TextReading, TextsTheScriptWouldMisreadAreWrittenRaw) {
    // "<", "$", "4", "1", ">" would read back as the raw byte 41; "#" first
    // on a line would read as a comment.
    const TextTable table = tableOf("3C=<\n24=$\n34=4\n31=1\n3E=>\n23=#\n*01=<br>\n/00=<end>\n41=A\n");
    const std::vector<uint8_t> bytes = {0x23, 0x41, 0x3C, 0x24, 0x34, 0x31, 0x3E, 0x01, 0x23, 0x23, 0x00};
    std::vector<TextPiece> pieces;
    ASSERT_TRUE(readString(table, bytes.data(), bytes.size(), pieces));
    const std::string text = scriptText(table, bytes.data(), pieces);
    EXPECT_EQ(text, "<$23>A<$3C>$41><br>\n<$23>#<end>");
    const Encoding back = encodeText(table, withoutLineEnds(text));
    ASSERT_EQ(back.outcome, Encoding::Done);
    EXPECT_EQ(back.bytes, bytes);
}

// A random table of one- to three-byte entries, some sharing bytes or
// texts, with an end token, a line break and a control code.
std::string randomTable(std::mt19937& random) {
    static const char* const TEXTS[] = {"a", "b", "ab", "ba", "<", "$", ">", "#", "c", "abc", "\xC3\xA3", "<e>"};
    std::string file = "/00=<end>\n*01=<br>\n$02=<k>,1\n";
    const int entries = 4 + static_cast<int>(random() % 12);
    for (int i = 0; i < entries; ++i) {
        char code[8];
        const int length = 1 + static_cast<int>(random() % 3);
        std::string hex;
        for (int k = 0; k < length; ++k) {
            std::snprintf(code, sizeof code, "%02X", static_cast<unsigned>(3 + random() % 8));
            hex += code;
        }
        file += hex + "=" + TEXTS[random() % std::size(TEXTS)] + "\n";
    }
    return file;
}

TEST(TextRoundTrip, ArbitraryBytesReadAndWrittenBackGiveTheSameText) {
    std::mt19937 random(20261207);
    int written = 0;
    for (int round = 0; round < 3000; ++round) {
        const TextTable table = tableOf(randomTable(random));
        std::vector<uint8_t> bytes(random() % 24);
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(1 + random() % 12);
        bytes.push_back(0x00);
        std::vector<TextPiece> pieces;
        if (!readString(table, bytes.data(), bytes.size(), pieces)) continue;  // the end was a parameter
        const std::string text = scriptText(table, bytes.data(), pieces);
        const Encoding encoding = encodeText(table, withoutLineEnds(text));
        // Written anew, the text reads back as itself, in no more bytes.
        ASSERT_TRUE(encoding.outcome == Encoding::Done || encoding.outcome == Encoding::ReadsOtherwise) << text;
        if (encoding.outcome != Encoding::Done) continue;
        ++written;
        const size_t length = pieces.back().start + pieces.back().length;
        EXPECT_LE(encoding.bytes.size(), length) << text;
        std::vector<TextPiece> again;
        ASSERT_TRUE(readString(table, encoding.bytes.data(), encoding.bytes.size(), again)) << text;
        EXPECT_EQ(withoutLineEnds(scriptText(table, encoding.bytes.data(), again)), withoutLineEnds(text)) << text;
    }
    EXPECT_GT(written, 2000);
}

// The fewest bytes of any way to cut text into entries and raw forms (a
// control code followed by its parameters) that ends with an end token and
// has none before it, by trying every way.
size_t bruteForce(const TextTable& table, const std::string& text, size_t at = 0, bool ended = false) {
    if (at == text.size()) return ended ? 0 : SIZE_MAX;
    if (ended) return SIZE_MAX;
    size_t best = SIZE_MAX;
    const auto raw = [&](size_t i) {
        return i + RAW_FORM_LENGTH <= text.size() && text.compare(i, 2, "<$") == 0 && text[i + 4] == '>' &&
               std::isxdigit(static_cast<unsigned char>(text[i + 2])) &&
               std::isxdigit(static_cast<unsigned char>(text[i + 3]));
    };
    if (raw(at)) {
        const size_t rest = bruteForce(table, text, at + RAW_FORM_LENGTH);
        if (rest != SIZE_MAX) best = std::min(best, 1 + rest);
    }
    for (size_t i = 0; i < table.entries().size(); ++i) {
        const TableEntry& e = table.entries()[i];
        if (text.compare(at, e.text.size(), e.text) != 0) continue;
        // An entry whose bytes an earlier one has reads as that one.
        if (table.longestMatch(e.bytes.data(), e.bytes.size()) != static_cast<int>(i)) continue;
        size_t next = at + e.text.size();
        bool complete = true;
        for (int k = 0; k < e.parameters && complete; ++k, next += RAW_FORM_LENGTH) complete = raw(next);
        if (!complete) continue;
        const size_t rest = bruteForce(table, text, next, e.kind == TableEntry::End);
        if (rest != SIZE_MAX) best = std::min(best, e.bytes.size() + e.parameters + rest);
    }
    return best;
}

TEST(TextWriting, FewestBytesAsABruteForceFindsThem) {
    std::mt19937 random(7);
    static const char* const PIECES[] = {"a", "b", "c", "ab", "<", "$", ">", "<$0A>", "<k><$05>", "\xC3\xA3"};
    int written = 0, refused = 0;  // of the texts a way writes
    for (int round = 0; round < 2000; ++round) {
        const TextTable table = tableOf(randomTable(random));
        std::string text;
        const int pieces = static_cast<int>(random() % 7);
        for (int i = 0; i < pieces; ++i) text += PIECES[random() % std::size(PIECES)];
        text += "<end>";
        const size_t fewest = bruteForce(table, text);
        const Encoding encoding = encodeText(table, text);
        SCOPED_TRACE(text);
        if (fewest == SIZE_MAX) {
            EXPECT_TRUE(encoding.outcome == Encoding::Uncovered || encoding.outcome == Encoding::NoParameters ||
                        encoding.outcome == Encoding::NoEndToken || encoding.outcome == Encoding::EndBeforeEnd);
        } else if (encoding.outcome == Encoding::Done) {
            EXPECT_EQ(encoding.bytes.size(), fewest);
            ++written;
        } else {
            EXPECT_TRUE(encoding.outcome == Encoding::ReadsOtherwise || encoding.outcome == Encoding::EndBeforeEnd);
            ++refused;
        }
    }
    // Most texts that can be written are: a refusal is the exception.
    EXPECT_GT(written, 10 * refused);
}

// A table may give the same bytes twice: reading takes the first, so the
// second is never read, and writing its text takes another entry of that
// text, or refuses, rather than bytes that read as the first.
TEST(TextWriting, AnEntryWhoseBytesAnEarlierOneHasIsNotWritten) {
    const TextTable table = tableOf("/23=a\n00=ba\n00=aab\n9F=aab\n01=xy\n");
    const Encoding aab = encodeText(table, "aabbaa");
    EXPECT_EQ(aab.outcome, Encoding::Done);
    EXPECT_EQ(aab.bytes, (std::vector<uint8_t>{0x9F, 0x00, 0x23}));
    const TextTable shadowed = tableOf("/23=a\n00=ba\n00=xy\n");
    const Encoding xy = encodeText(shadowed, "xya");
    EXPECT_EQ(xy.outcome, Encoding::Uncovered);
    EXPECT_EQ(xy.at, 0u);
}

// A way without the end token can be shorter than every way with it: the
// writing is the shortest of those that end with it.
TEST(TextWriting, EndsWithTheEndTokenEvenWhenAShorterWayDoesNot) {
    const TextTable table = tableOf("/C29F07=ab\n00=aaa\n01=aa\n810200=aab\n61=a\n");
    const Encoding encoding = encodeText(table, "aaaaab");
    ASSERT_EQ(encoding.outcome, Encoding::Done);
    EXPECT_EQ(encoding.bytes, (std::vector<uint8_t>{0x00, 0x61, 0xC2, 0x9F, 0x07}));
}

TEST(TextWriting, RefusalsSayWhere) {
    const TextTable table = tableOf("41=A\n/00=<end>\n$02=<c>,1\n");
    struct Case {
        std::string text;
        Encoding::Outcome outcome;
        size_t at;
        std::vector<uint8_t> bytes;  // Done: what it writes
    };
    const Case cases[] = {
        {"AA<end>", Encoding::Done, 0, {0x41, 0x41, 0x00}},
        {"<c><$7F>A<$41><end>", Encoding::Done, 0, {0x02, 0x7F, 0x41, 0x41, 0x00}},
        {"AxA<end>", Encoding::Uncovered, 1, {}},
        {"A<c>A<end>", Encoding::NoParameters, 1, {}},
        {"AA", Encoding::NoEndToken, 2, {}},
        {"A<end>A<end>", Encoding::EndBeforeEnd, 1, {}},
        {"A\xFF<end>", Encoding::NotUtf8, 1, {}},
    };
    for (const Case& c : cases) {
        const Encoding encoding = encodeText(table, c.text);
        EXPECT_EQ(encoding.outcome, c.outcome) << c.text;
        EXPECT_EQ(encoding.at, c.at) << c.text;
        if (c.outcome == Encoding::Done) {
            EXPECT_EQ(encoding.bytes, c.bytes) << c.text;
        }
    }
}

}  // namespace
