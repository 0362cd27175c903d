// A string's bytes to the script's text and back, through a table: the
// reading that a dump shows and the shortest writing of an edited text.
// Pure code over buffers.
#pragma once

#include "text/TextTable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One step of a string: a table entry (a control code with its parameter
// bytes) or one raw byte, and the bytes it takes.
struct TextPiece {
    int entry;        // index into the table's entries; -1 for a raw byte
    uint32_t start;   // from the string's first byte
    uint32_t length;
};

// A byte that no entry covers, in the script: "<$" two upper-case
// hexadecimal digits ">".
constexpr size_t RAW_FORM_LENGTH = 5;

// Reads a string from bytes[0..available): at every position the longest
// entry whose bytes match, a control code with its parameter bytes, a raw
// byte where no entry matches, up to and including an end token. False
// when no end token is met within available bytes (pieces then hold what
// was read).
bool readString(const TextTable& table, const uint8_t* bytes, size_t available, std::vector<TextPiece>& pieces);

// The script's text of a string read into pieces: each entry's text, a
// line end after a line break's text, a control code's parameters and the
// bytes no entry covers in their raw form. A piece whose text the script
// could take for something else (a raw form, a comment line, a control
// character) is written in raw form instead, so that every text reads back
// as the same bytes.
std::string scriptText(const TextTable& table, const uint8_t* bytes, const std::vector<TextPiece>& pieces);
// The same text appended to out.
void appendScriptText(const TextTable& table, const uint8_t* bytes, const std::vector<TextPiece>& pieces,
                      std::string& out);

// The script's text of the string that bytes[0..length) hold whole (as a
// survey found it), appended to out.
void appendStringText(const TextTable& table, const uint8_t* bytes, size_t length, std::string& out);
std::string stringText(const TextTable& table, const uint8_t* bytes, size_t length);

// The script's text with its line ends, which mean nothing to writing,
// left out.
std::string withoutLineEnds(const std::string& text);

struct Encoding {
    enum Outcome {
        Done,
        Uncovered,       // at: a character no entry covers
        NoParameters,    // at: a control code without its parameters in raw form
        NoEndToken,      // the text does not end with an end token
        EndBeforeEnd,    // at: an end token before the end of the text
        ReadsOtherwise,  // at: the bytes would read back as another text
        NotUtf8,         // at: the text is not UTF-8
    } outcome = Done;
    size_t at = 0;     // offset into the text
    size_t after = 0;  // EndBeforeEnd: where the text after the end token starts
    std::vector<uint8_t> bytes;
};

// The fewest bytes the table writes text in (line ends left out): table
// entries, raw forms, and control codes each followed by its parameters
// in raw form. Checked by reading the bytes back: they must give the same
// entries at the same places.
Encoding encodeText(const TextTable& table, const std::string& text);
