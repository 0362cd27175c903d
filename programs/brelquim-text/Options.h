// The command line of brelquim-text: the commands dump and insert, and
// search, scan and pointers, which find the text of a game not yet mapped.
#pragma once

#include "cli/FreeRange.h"
#include "cli/Options.h"
#include "placement/Placement.h"
#include "preview/Layout.h"
#include "project/Project.h"
#include "text/StringSurvey.h"

#include <string>
#include <vector>

namespace text_program {

struct TextOptions {
    // In the order the program declares them.
    enum Command { Dump, Insert, Search, Scan, Pointers, Preview, Check } command = Dump;
    std::string input;                 // -i
    std::string output;                // -o (dump: the script, "textos.txt" by default)
    std::string table;                 // --table
    std::string labels;                // --labels (dump)
    std::vector<PointerTable> tables;  // --pointers and --long-pointers (dump), in their order
    std::vector<Span> freeRanges;      // --free (insert), those that overlap merged
    std::vector<Span> mergedFreeRanges;  // the free ranges that several --free made
    std::string script;                // insert: the script to put back
    std::string patch;                 // --patch (insert)
    std::vector<std::string> words;    // search: the words to find
    bool wide = false;                 // --wide (search)
    bool save = false;                 // --save (pointers)
    std::string projectFile;           // the run's project file, when there is one
    uint32_t least = 0;                // --min (scan), --min-count (pointers)
    // preview and check: the script is optional (the dump's text without
    // one); -o is the page, "previa.html" by default.
    PreviewSettings preview;           // --font-graphic ... --break
    std::string pngFolder;             // --png (preview)
};

// The default name of the preview's page.
constexpr char DEFAULT_PAGE[] = "previa.html";

// The default name of a dump's script.
constexpr char DEFAULT_SCRIPT[] = "textos.txt";

// The declarations of each command and of the program (Words.cpp holds
// their help lines).
const cli::Spec& dumpOptionSpec();
const cli::Spec& insertOptionSpec();
const cli::Spec& searchOptionSpec();
const cli::Spec& scanOptionSpec();
const cli::Spec& pointersOptionSpec();
const cli::Spec& previewOptionSpec();
const cli::Spec& checkOptionSpec();
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
// A word of a search: A-Z, a-z, 0-9, '*' and the space, not empty.
bool isSearchWord(const std::string& text);
// A count of --min and --min-count: decimal, 1 to 65535.
bool isLeastCount(const std::string& text);
// --font-graphic, --bpp, --first and --spacing (0 to 255), --advance and
// the box's sizes.
bool isGraphicNumber(const std::string& text);
bool isFontDepth(const std::string& text);
bool isSmallNumber(const std::string& text);
bool isAdvance(const std::string& text);
bool isPixels(const std::string& text);
bool isLineHeight(const std::string& text);
bool isLineCount(const std::string& text);

}  // namespace text_program
