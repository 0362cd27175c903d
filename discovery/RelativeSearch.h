// Relative search: where the bytes of the ROM data differ as the letters
// of a word do. Letters of one case are consecutive in the game's
// encoding, digits too, each class from its own first code; a space is
// one code of its own, and '*' any value. Pure code over the ROM data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The classes of characters whose codes a word can fix.
enum CharClass { UPPER, LOWER, DIGIT, SPACE, CLASS_COUNT };

// The codes a hit implies: the code of 'A', 'a', '0' and the space, each
// where the word fixes it.
struct CodeMapping {
    bool fixed[CLASS_COUNT] = {};
    uint32_t code[CLASS_COUNT] = {};
    // True when no class both fix holds two codes, and the classes' codes
    // do not overlap (taken together, one mapping).
    bool agreesWith(const CodeMapping& other) const;
    void merge(const CodeMapping& other);
    bool operator==(const CodeMapping& other) const;
};

struct SearchHit {
    size_t word;      // index into the words
    uint32_t offset;  // file offset of its first byte
};

// A mapping and the hits that imply it, of one or several words.
struct FoundMapping {
    CodeMapping mapping;
    std::vector<SearchHit> hits;  // in the order of the words, then of offsets
    size_t words = 0;             // how many of the words hit
};

struct RelativeSearch {
    enum Outcome {
        Done,
        NoHit,      // no word is found anywhere
        Malformed,  // word: a character other than A-Z, a-z, 0-9, '*', ' ', or none at all
        TooShort,   // word: fewer than three characters that constrain anything
    } outcome = Done;
    size_t word = 0;
    // Ranked by the number of words, then of hits, then by the first hit.
    std::vector<FoundMapping> mappings;
};

// How many of a word's characters constrain a place: those of a class
// with two characters or more in the word; -1 for a malformed word.
int constrainingCharacters(const std::string& word);

// Searches every byte position for every word; wide: characters of 16
// bits, little-endian, codes 0000-FFFF.
RelativeSearch searchWords(const uint8_t* data, size_t size, const std::vector<std::string>& words, bool wide);

// Whether a word's characters read, at data[0..), as the mapping says:
// the mapping a hit there implies, or false.
bool hitAt(const uint8_t* data, size_t size, const std::string& word, bool wide, CodeMapping& mapping);

// The draft table of a mapping: A-Z, a-z, 0-9 and the space, each class
// only where the mapping fixes it, after a comment line that names the
// words that fixed it. Codes of 16 bits as their two bytes in stored
// (little-endian) order.
std::string draftTable(const CodeMapping& mapping, const std::vector<std::string>& words, bool wide);
