// The script a translator edits: UTF-8 text with LF line ends. It names
// the pointer tables it was dumped from, then holds one block per string:
// a header line "#[n]" that names the string and its pointers, the
// original text as comment lines ("# "), and the text to edit. Lines that
// start with "#" are never text; "<$XX>" is a byte written as it is; a line
// end means nothing but after a line break's text, where the dump puts it.
#pragma once

#include "text/StringSurvey.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What a dump writes, besides the strings.
struct ScriptSource {
    std::vector<PointerTable> tables;
    std::vector<std::string> labels;  // per string, the label line's text (UTF-8), or none at all
};

// The script of the strings a survey found, their texts as scriptText
// writes them (one per string).
std::string writeScript(const ScriptSource& source, const std::vector<GameString>& strings,
                        const std::vector<std::string>& texts);

// The same script made block by block: text() holds what is made and not
// yet taken, which the caller may write out and empty between blocks.
class ScriptWriter {
public:
    // Starts with the script's head and the tables.
    explicit ScriptWriter(const std::vector<PointerTable>& tables);
    // The next string's block (numbered from 1 in the order of calls): its
    // header, its label line when label is not null, its text.
    void add(const GameString& string, const std::string* label, const std::string& text);
    std::string& text() { return made; }

private:
    std::string made;
    size_t number = 0;
};

// A string's block as read back: its number (from 1), its text with the
// line ends left out, and where each of its lines starts, to name a place
// in the text by line and column.
struct ScriptEntry {
    size_t number;
    size_t headerLine;
    std::string text;
    std::vector<std::pair<size_t, size_t>> lines;  // (offset into text, line number)
    // The line and column (in characters, from 1) of an offset into text.
    std::pair<size_t, size_t> place(size_t offset) const;
};

struct ScriptReading {
    enum Outcome {
        Done,
        TextOutsideEntry,  // line: text before the first string's header
        BadHeader,         // line: a "#[" line that is not a string's header
        BadTables,         // line: a "#!" line that does not name a table
        TablesLate,        // line: a table named after the first string
        Repeated,          // line: a string's number given twice
        NoTables,          // the script names no pointer table
    } outcome = Done;
    size_t line = 0;
    std::vector<PointerTable> tables;
    std::vector<ScriptEntry> entries;  // in the order of the script
};

// Reads a script (a UTF-8 byte-order mark and CR LF line ends are taken
// too).
ScriptReading readScript(const std::string& script);
