#include "programs/brelquim-text/Options.h"

#include "rom/Position.h"

namespace text_program {

namespace {

bool parseTable(const std::string& text, bool isLong, PointerTable& table) {
    Position at;
    uint32_t count = 0;
    if (parseAtCount(text, at, count) != PositionParse::Parsed) return false;
    table = {at.offset, count, isLong};
    return true;
}

// What the command line leaves out, the project gives.
void takeFromProject(const cli::Parse& p, const Project& project, TextOptions& options) {
    if (!p.has("-i")) options.input = project.path(project.original);
    if (!p.has("--table") && !project.table.empty()) options.table = project.path(project.table);
    if (options.command == TextOptions::Dump) {
        if (!p.has("-o") && !project.script.empty()) options.output = project.path(project.script);
        if (!p.has("--labels") && !project.labels.empty()) options.labels = project.path(project.labels);
        if (options.tables.empty()) options.tables = project.pointerTables;
    } else {
        if (p.positionals.empty() && !project.script.empty()) options.script = project.path(project.script);
        if (!p.has("--free")) options.freeRanges = project.freeRanges;
    }
}

}  // namespace

std::string missingOption(const TextOptions& options) {
    if (options.input.empty()) return "-i";
    if (options.table.empty()) return "--table";
    if (options.command == TextOptions::Dump && options.tables.empty()) return "--pointers";
    if (options.command == TextOptions::Insert && options.script.empty()) return "<roteiro>";
    return "";
}

bool isPointerTable(const std::string& text) {
    PointerTable table{0, 0, false};
    return parseTable(text, false, table);
}

TextOptions textOptionsOf(const cli::CommandParse& parse, const Project* project) {
    const cli::Parse& p = parse.parse;
    TextOptions options;
    options.command = parse.command == 0 ? TextOptions::Dump : TextOptions::Insert;
    options.input = p.last("-i");
    options.table = p.last("--table");
    options.output = p.last("-o");
    if (options.command == TextOptions::Dump) {
        if (options.output.empty()) options.output = DEFAULT_SCRIPT;
        options.labels = p.last("--labels");
        // The tables in the order they were given, whichever the kind.
        for (const cli::Parse::Given& given : p.inOrder({"--pointers", "--long-pointers"})) {
            const bool isLong = given.option == "--long-pointers";
            PointerTable table{0, 0, isLong};
            parseTable(given.value, isLong, table);
            options.tables.push_back(table);
        }
    } else {
        options.patch = p.last("--patch");
        for (const std::string& value : p.all("--free")) {
            Span range{0, 0};
            cli::readFreeRange(value, range);
            options.freeRanges.push_back(range);
        }
        if (!p.positionals.empty()) options.script = p.positionals.front();
    }
    if (project) takeFromProject(p, *project, options);
    return options;
}

}  // namespace text_program
