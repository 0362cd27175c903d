// The table of a game's text, in the form translators write for every
// game: "HEX=text" lines that give the bytes one or more characters are
// stored as, with marks for the end token ("/"), the line break ("*") and
// control codes that carry parameter bytes ("$HEX=text,N"). Pure code over
// the file's bytes; texts are held in UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

struct TableEntry {
    enum Kind { Text, End, LineBreak, Control };
    std::vector<uint8_t> bytes;  // as stored, first byte first
    std::string text;            // UTF-8, never empty
    Kind kind = Text;
    int parameters = 0;          // Control: parameter bytes after the code
    size_t line = 0;             // of the table file, from 1
};

// Two entries of the same bytes, by their lines: reading takes the first,
// writing never the second.
struct SameBytes {
    size_t first = 0, second = 0;
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
        TooManyBytes,       // more than MOST_ENTRY_BYTES bytes before "="
        TextTooLong,        // more than MOST_ENTRY_TEXT bytes of text after "="
    } kind = None;
    size_t line = 0;        // from 1
};

constexpr int MOST_PARAMETERS = 16;
// An entry's bytes and its text (in UTF-8) are at most this long: no game
// stores a character or a word in more, and reading a table then takes
// memory in proportion to its file.
constexpr size_t MOST_ENTRY_BYTES = 32;
constexpr size_t MOST_ENTRY_TEXT = 256;

class TextTable {
public:
    // Reads a table file's bytes: UTF-8 (a byte-order mark skipped), or
    // Windows-1252 when they are not valid UTF-8. Blank lines and lines that
    // start with "#" are skipped. The table is replaced only on success.
    TableProblem read(const uint8_t* bytes, size_t length);
    // After a read: the first line (from 1) that is not UTF-8 when the file
    // was read as Windows-1252, or 0 when it was read as UTF-8.
    size_t windows1252Line() const { return firstWindows1252Line; }

    const std::vector<TableEntry>& entries() const { return table; }
    // True for an entry whose text holds a control character: the script
    // shows it in raw form.
    bool unsafeInScript(int entry) const { return controlInText[static_cast<size_t>(entry)] != 0; }
    bool hasEndTokens() const { return endTokens; }
    // Every entry whose bytes an earlier entry has, with that entry, in
    // the order of the file.
    std::vector<SameBytes> sameBytes() const;

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
    // A trie: the root's children by every byte value; a deeper node's by
    // every byte value too when it has many, else in a short list looked
    // through in turn.
    class Trie {
    public:
        void clear();
        void add(const uint8_t* key, size_t length, int32_t entry, bool keepFirst);
        // Lays the children out for looking up; after the last add.
        void compact();
        int32_t rootChild(uint8_t c) const { return root[c]; }
        int32_t child(int32_t node, uint8_t c) const {
            const Node& n = nodes[static_cast<size_t>(node)];
            if (n.dense >= 0) return dense[static_cast<size_t>(n.dense) + c];
            for (uint32_t i = n.first, end = n.first + n.count; i < end; ++i) {
                if (keys[i] == c) return targets[i];
            }
            return -1;
        }
        int32_t entry(int32_t node) const { return nodes[static_cast<size_t>(node)].entry; }

    private:
        struct Node {
            int32_t entry = -1;
            int32_t dense = -1;     // where its 256 children start in dense, or -1
            uint32_t first = 0;     // else its children in keys and targets
            uint32_t count = 0;
        };
        // Children while the trie is built: (node, byte) -> child.
        struct Edge {
            int32_t node;
            uint8_t key;
            int32_t child;
        };
        int32_t find(int32_t node, uint8_t c) const;
        int32_t root[256];
        std::vector<Node> nodes;
        std::vector<Edge> edges;
        std::unordered_map<uint64_t, int32_t> building;  // (node, byte) -> child
        std::vector<uint8_t> keys;
        std::vector<int32_t> targets;
        std::vector<int32_t> dense;
    };
    Trie byBytes;  // reading
    Trie byText;   // writing
    std::vector<TableEntry> table;
    std::vector<uint8_t> controlInText;  // per entry
    bool endTokens = false;
    size_t firstWindows1252Line = 0;

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
