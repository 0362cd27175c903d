// The command line of brelquim-insert.
#pragma once

#include "placement/Placement.h"

#include <string>
#include <vector>

struct InsertOptions {
    std::string input;                // -i
    std::string output;               // -o
    std::string folder;               // --dir, the extraction's folder by default
    std::vector<Span> freeRanges;     // --free, as given (end exclusive)
    bool allowResize = false;         // --allow-resize
};

// Reads the entries after the program's name: -i and -o once each, --dir
// at most once, --free any number of times (hexadecimal start:end, "0x"
// optional, start below end), --allow-resize. False for an unknown entry,
// a missing or malformed value, an option given twice, or -i or -o
// missing.
bool parseInsertOptions(int argc, char** argv, InsertOptions& options);

// Reads one --free value; false when malformed.
bool parseFreeRange(const char* text, Span& range);
