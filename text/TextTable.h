// The table of a game's text, in the form translators write for every
// game: "HEX=text" lines that give the bytes one or more characters are
// stored as, with marks for the end token ("/"), the line break ("*") and
// control codes that carry parameter bytes ("$HEX=text,N"). Pure code over
// the file's bytes; texts are held in UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TableEntry {
    enum Kind { Text, End, LineBreak, Control };
    std::vector<uint8_t> bytes;  // as stored, first byte first
    std::string text;            // UTF-8, never empty
    Kind kind = Text;
    int parameters = 0;          // Control: parameter bytes after the code
};

// What is wrong with a line of a table file.
struct TableProblem {
    enum Kind {
        None,
        NoEquals,           // no "=" after the hexadecimal digits
        NoDigits,           // nothing but hexadecimal digits before "="
        OddDigits,          // an odd number of hexadecimal digits
        EmptyText,          // nothing after "="
        ParameterCount,     // "$HEX=text,N" without a count of 0 to 16
    } kind = None;
    size_t line = 0;        // from 1
};

constexpr int MOST_PARAMETERS = 16;

class TextTable {
public:
    // Reads a table file's bytes: UTF-8 (a byte-order mark skipped), or
    // Windows-1252 when they are not valid UTF-8. Blank lines and lines that
    // start with "#" are skipped. The table is replaced only on success.
    TableProblem read(const uint8_t* bytes, size_t length);

    const std::vector<TableEntry>& entries() const { return table; }
    bool hasEndTokens() const { return endTokens; }

    // The entry that reading uses at bytes[0..length): the longest whose
    // bytes start there, the first in the file among equal ones; -1 when
    // none does.
    int longestMatch(const uint8_t* bytes, size_t length) const;

    // Every entry whose text starts text[0..length), shortest text first;
    // among entries of one text only the one of fewest bytes (the first in
    // the file among equal ones), leaving out entries whose bytes an
    // earlier entry also has. Calls take(entry) for each.
    template <typename Take>
    void textMatches(const char* text, size_t length, Take take) const;

private:
    // A trie: the root's children by every byte value, deeper nodes' in a
    // short sorted list.
    class Trie {
    public:
        void clear();
        void add(const uint8_t* key, size_t length, int32_t entry, bool keepFirst);
        int32_t rootChild(uint8_t c) const { return root[c]; }
        int32_t child(int32_t node, uint8_t c) const;
        int32_t entry(int32_t node) const { return nodes[static_cast<size_t>(node)].entry; }

    private:
        struct Node {
            int32_t entry = -1;
            std::vector<std::pair<uint8_t, int32_t>> children;
        };
        int32_t root[256];
        std::vector<Node> nodes;
    };
    Trie byBytes;  // reading
    Trie byText;   // writing
    std::vector<TableEntry> table;
    bool endTokens = false;

    void index();
};

template <typename Take>
void TextTable::textMatches(const char* text, size_t length, Take take) const {
    if (length == 0) return;
    int32_t node = byText.rootChild(static_cast<uint8_t>(text[0]));
    for (size_t i = 1; node >= 0; ++i) {
        const int32_t entry = byText.entry(node);
        if (entry >= 0) take(static_cast<int>(entry));
        if (i == length) return;
        node = byText.child(node, static_cast<uint8_t>(text[i]));
    }
}
