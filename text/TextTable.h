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
    int longestMatch(const uint8_t* bytes, size_t length) const { return stepEntry(step(bytes, length)); }

    // A step of reading at bytes[0..length), packed: the entry longestMatch
    // gives plus one (0 for a raw byte), the bytes the step takes (a
    // control code's parameters included; 1 for a raw byte) and whether it
    // ends the string. The first two bytes pick it from a table of every
    // pair; only pairs that begin a longer entry walk the trie.
    uint64_t step(const uint8_t* bytes, size_t length) const {
        if (length >= 2) {
            const uint64_t slot = pairs[size_t{pairRow[bytes[0]]} << 8 | bytes[1]];
            if ((slot & LONGER) == 0) return slot;
        }
        return stepOf(walk(bytes, length));
    }
    static int stepEntry(uint64_t step) { return static_cast<int>(static_cast<uint32_t>(step)) - 1; }
    static size_t stepLength(uint64_t step) { return static_cast<size_t>(step >> STEP_LENGTH_SHIFT & STEP_LENGTH_MASK); }
    static bool stepEnds(uint64_t step) { return (step & STEP_ENDS) != 0; }
    // Whether an entry's text starts with "#", or holds a "<" that begins
    // a raw form ("<$", two hexadecimal digits, ">") or could begin one
    // with the texts that follow: the texts the script may have to show in
    // raw form.
    bool textStartsComment(int entry) const { return shapes[static_cast<size_t>(entry)].startsComment; }
    bool textMayMakeRawForm(int entry) const { return shapes[static_cast<size_t>(entry)].mayMakeRawForm; }
    // An entry's text and the count of its bytes, from one block that
    // holds every text; the most characters any entry shows in the script
    // (its text, its parameters' raw forms and a line end).
    const char* textOf(int entry) const { return texts.data() + shapes[static_cast<size_t>(entry)].textAt; }
    uint32_t textLength(int entry) const { return shapes[static_cast<size_t>(entry)].textLength; }
    uint32_t byteCount(int entry) const { return shapes[static_cast<size_t>(entry)].byteCount; }
    TableEntry::Kind entryKind(int entry) const { return shapes[static_cast<size_t>(entry)].kind; }
    size_t widestShown() const { return widest; }

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
        Trie() { clear(); }
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
        bool hasChildren(int32_t node) const {
            const Node& n = nodes[static_cast<size_t>(node)];
            return n.dense >= 0 || n.count > 0;
        }

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
    // What reading and the script look at of each entry, side by side.
    struct Shape {
        uint32_t textAt;
        uint32_t textLength;
        uint32_t byteCount;
        uint32_t readLength;
        TableEntry::Kind kind;
        bool startsComment;
        bool mayMakeRawForm;
    };
    // pairs[pairRow[first] << 8 | second]: the step of the longest entry
    // of one or two bytes that the pair starts with (a raw byte's when
    // none does), with LONGER set when an entry of more bytes starts with
    // the pair. Row 0 holds raw bytes, for every first byte that starts no
    // entry.
    static constexpr int STEP_LENGTH_SHIFT = 32;
    static constexpr uint64_t STEP_LENGTH_MASK = 0x3FFFFFFF;
    static constexpr uint64_t STEP_ENDS = uint64_t{1} << 62;
    static constexpr uint64_t LONGER = uint64_t{1} << 63;
    uint16_t pairRow[256] = {};
    uint64_t stepOf(int entry) const;
    int walk(const uint8_t* bytes, size_t length) const;
    Trie byBytes;  // reading
    std::vector<uint64_t> pairs = std::vector<uint64_t>(256, uint64_t{1} << STEP_LENGTH_SHIFT);
    std::vector<Shape> shapes;
    std::string texts;
    size_t widest = 0;
    Trie byText;   // writing
    std::vector<TableEntry> table;
    std::vector<uint8_t> controlInText;  // per entry
    bool endTokens = false;
    size_t firstWindows1252Line = 0;

    void index();
    void indexPairs();
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
