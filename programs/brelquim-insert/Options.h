// The command line of brelquim-insert.
#pragma once

#include "cli/Options.h"
#include "placement/Placement.h"

#include <string>
#include <vector>

namespace insert_program {

struct InsertOptions {
    std::string input;                // -i
    std::string output;               // -o
    std::string folder;               // --dir, the extraction's folder by default
    std::vector<Span> freeRanges;     // --free, as given (end exclusive)
    bool allowResize = false;         // --allow-resize
    std::string patch;                // --patch, none by default
};

// The options as brelquim-insert declares them (Words.cpp holds their
// help lines): -i and -o once each and required, --dir at most once,
// --free any number of times, --allow-resize once, --patch at most once,
// -h/--help, --version; no positional words.
const cli::Spec& insertOptionSpec();
// The program: its name, its banner and its options.
const cli::Program& insertProgram();

// The options of a command line that parsed.
InsertOptions insertOptionsOf(const cli::Parse& parse);

// Reads one --free value: a range of positions (rom/Position.h), such as
// 80000:90000 or $90:8000:$91:8000; false when malformed.
bool parseFreeRange(const char* text, Span& range);
// The same, as the option layer checks a value.
bool isFreeRange(const std::string& text);

}  // namespace insert_program
