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

}  // namespace

bool isPointerTable(const std::string& text) {
    PointerTable table{0, 0, false};
    return parseTable(text, false, table);
}

TextOptions textOptionsOf(const cli::CommandParse& parse) {
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
        options.mergedFreeRanges = cli::mergeFreeRanges(options.freeRanges);
        options.script = p.positionals.front();
    }
    return options;
}

}  // namespace text_program
