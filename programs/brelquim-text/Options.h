// The command line of brelquim-text: the commands dump and insert.
#pragma once

#include "cli/FreeRange.h"
#include "cli/Options.h"
#include "placement/Placement.h"
#include "text/StringSurvey.h"

#include <string>
#include <vector>

namespace text_program {

struct TextOptions {
    enum Command { Dump, Insert } command = Dump;
    std::string input;                 // -i
    std::string output;                // -o (dump: the script, "textos.txt" by default)
    std::string table;                 // --table
    std::string labels;                // --labels (dump)
    std::vector<PointerTable> tables;  // --pointers and --long-pointers (dump), in their order
    std::vector<Span> freeRanges;      // --free (insert)
    std::string script;                // insert: the script to put back
    std::string patch;                 // --patch (insert)
};

// The default name of a dump's script.
constexpr char DEFAULT_SCRIPT[] = "textos.txt";

// The declarations of each command (Report.cpp holds their help lines).
const cli::Spec& dumpOptionSpec();
const cli::Spec& insertOptionSpec();
const std::vector<cli::Command>& textCommands();

// Reads the words after the program's name. False for any mistake, and
// for -h, --help and --version; parse says which.
bool parseTextOptions(int argc, char** argv, TextOptions& options, cli::CommandParse& parse);

// Checks of values, as the option layer takes them; that of a --free
// value is shared with brelquim-insert.
bool isPointerTable(const std::string& text);
using cli::isFreeRange;

}  // namespace text_program
