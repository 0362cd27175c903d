// The command line of brelquim-insert.
#pragma once

#include "cli/FreeRange.h"
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

// The options as brelquim-insert declares them (Report.cpp holds their
// help lines): -i and -o once each and required, --dir at most once,
// --free any number of times, --allow-resize once, --patch at most once,
// -h/--help, --version.
const cli::Spec& insertOptionSpec();

// Reads the entries after the program's name (argv[0]). False for an
// unknown entry, a missing or malformed value (an empty -i, -o or --dir),
// an option given twice, -i or -o missing, and for -h, --help and
// --version; parse, when given, says which.
bool parseInsertOptions(int argc, char** argv, InsertOptions& options, cli::Parse* parse = nullptr);

// The check of a --free value, shared with brelquim-text.
using cli::isFreeRange;

}  // namespace insert_program
