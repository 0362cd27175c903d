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

bool parseTextOptions(int argc, char** argv, TextOptions& options, cli::CommandParse& parse) {
    parse = cli::parseCommand(textCommands(), argc > 0 ? argc - 1 : 0, argv + (argc > 0));
    if (parse.command < 0 || parse.parse.outcome != cli::Parse::Parsed) return false;
    const cli::Parse& p = parse.parse;
    options.command = parse.command == 0 ? TextOptions::Dump : TextOptions::Insert;
    options.input = p.last("-i");
    options.table = p.last("--table");
    options.output = p.last("-o");
    if (options.command == TextOptions::Dump) {
        if (options.output.empty()) options.output = DEFAULT_SCRIPT;
        options.labels = p.last("--labels");
        // The tables in the order they were given, whichever the kind.
        std::vector<std::string> words;
        for (int i = 1; i < argc; ++i) words.emplace_back(argv[i]);
        for (size_t i = 0; i + 1 < words.size(); ++i) {
            if (words[i] == "--") break;
            const bool isLong = words[i] == "--long-pointers";
            if (!isLong && words[i] != "--pointers") {
                if (words[i] == "-i" || words[i] == "-o" || words[i] == "--table" || words[i] == "--labels") ++i;
                continue;
            }
            PointerTable table{0, 0, isLong};
            parseTable(words[++i], isLong, table);
            options.tables.push_back(table);
        }
        if (options.tables.empty()) {
            parse.parse.outcome = cli::Parse::MissingOption;
            parse.parse.entry = "--pointers";
            return false;
        }
    } else {
        options.patch = p.last("--patch");
        for (const std::string& value : p.all("--free")) {
            Span range{0, 0};
            cli::readFreeRange(value, range);
            options.freeRanges.push_back(range);
        }
        if (p.positionals.size() != 1) {
            parse.parse.outcome = p.positionals.empty() ? cli::Parse::MissingArgument : cli::Parse::UnexpectedArgument;
            parse.parse.entry = p.positionals.empty() ? "<roteiro>" : p.positionals[1];
            return false;
        }
        options.script = p.positionals[0];
    }
    return true;
}

}  // namespace text_program
