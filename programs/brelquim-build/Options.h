// The command line of brelquim-build: "init -i <rom> [--table <file>]",
// or a build from the project ("--project <file>" or brelquim.toml).
#pragma once

#include "cli/Options.h"

#include <string>

namespace build_program {

struct BuildOptions {
    bool init = false;
    std::string input;    // -i (init)
    std::string table;    // --table (init)
    std::string project;  // --project (a build); empty: brelquim.toml
    bool allowOverflow = false;  // --allow-overflow (a build)
};

// The program: its name, its banner and its options (Words.cpp holds
// their help lines).
const cli::Program& buildProgram();

BuildOptions buildOptionsOf(const cli::Parse& parse);

// The check of the positional word: "init".
bool isInit(const std::string& word);

}  // namespace build_program
