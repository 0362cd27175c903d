#include "programs/brelquim-text/Options.h"

#include "discovery/PointerFinder.h"
#include "discovery/RelativeSearch.h"
#include "discovery/TextScan.h"
#include "rom/Position.h"

#include <cstdlib>

namespace text_program {

namespace {

bool parseTable(const std::string& text, bool isLong, PointerTable& table) {
    Position at;
    uint32_t count = 0;
    if (parseAtCount(text, at, count) != PositionParse::Parsed) return false;
    table = {at.offset, count, isLong};
    return true;
}

constexpr unsigned long MOST_LEAST = 65535;

uint32_t countOf(const std::string& text, uint32_t otherwise) {
    return text.empty() ? otherwise : static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 10));
}

}  // namespace

bool isSearchWord(const std::string& text) { return constrainingCharacters(text) >= 0; }

bool isLeastCount(const std::string& text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const unsigned long value = std::strtoul(text.c_str(), nullptr, 10);
    return value >= 1 && value <= MOST_LEAST;
}

bool isPointerTable(const std::string& text) {
    PointerTable table{0, 0, false};
    return parseTable(text, false, table);
}

TextOptions textOptionsOf(const cli::CommandParse& parse) {
    const cli::Parse& p = parse.parse;
    TextOptions options;
    options.command = static_cast<TextOptions::Command>(parse.command);
    options.input = p.last("-i");
    options.table = p.last("--table");
    options.output = p.last("-o");
    if (options.command == TextOptions::Search) {
        options.words = p.positionals;
        options.wide = p.has("--wide");
        return options;
    }
    if (options.command == TextOptions::Scan) {
        options.least = countOf(p.last("--min"), DEFAULT_LEAST_PIECES);
        return options;
    }
    if (options.command == TextOptions::Pointers) {
        options.least = countOf(p.last("--min-count"), DEFAULT_LEAST_POINTERS);
        return options;
    }
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
