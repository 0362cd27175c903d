// The command line of brelquim-text: the commands dump and insert.
#pragma once

#include "cli/FreeRange.h"
#include "cli/Options.h"
#include "placement/Placement.h"
#include "project/Project.h"
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

// The declarations of each command and of the program (Words.cpp holds
// their help lines).
const cli::Spec& dumpOptionSpec();
const cli::Spec& insertOptionSpec();
const cli::Program& textProgram();

// The options of a command line that parsed, with what the project gives
// where the line is silent: -i, --table, and for dump the pointer tables,
// the labels and the script to write (-o), for insert the script and the
// free ranges.
TextOptions textOptionsOf(const cli::CommandParse& parse, const Project* project = nullptr);
// The first required option or word that neither the line nor the
// project gave ("-i", "--table", "--pointers", "<roteiro>"), or "".
std::string missingOption(const TextOptions& options);

// Checks of values, as the option layer takes them; that of a --free
// value is shared with brelquim-insert.
bool isPointerTable(const std::string& text);

}  // namespace text_program
