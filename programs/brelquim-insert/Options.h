// The command line of brelquim-insert.
#pragma once

#include "cli/FreeRange.h"
#include "cli/Options.h"
#include "placement/Placement.h"
#include "project/Project.h"

#include <string>
#include <vector>

namespace insert_program {

struct InsertOptions {
    std::string input;                // -i
    std::string output;               // -o
    std::string folder;               // --dir, the extraction's folder by default
    std::vector<Span> freeRanges;     // --free, as given (end exclusive), those that overlap merged
    std::vector<Span> mergedFreeRanges;  // the free ranges that several --free made
    bool allowResize = false;         // --allow-resize
    std::string patch;                // --patch, none by default
};

// The options as brelquim-insert declares them (Words.cpp holds their
// help lines): -i and -o once each and required (-i unless a project
// gives it), --dir at most once,
// --free any number of times, --allow-resize once, --patch at most once,
// -h/--help, --version; no positional words.
const cli::Spec& insertOptionSpec();
// The program: its name, its banner and its options.
const cli::Program& insertProgram();

// The options of a command line that parsed, with what the project gives
// where the line is silent (-i: the original, --dir: the graphics' folder,
// --free: the free ranges, --allow-resize when the project allows it).
InsertOptions insertOptionsOf(const cli::Parse& parse, const Project* project = nullptr);


}  // namespace insert_program
