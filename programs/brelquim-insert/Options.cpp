#include "programs/brelquim-insert/Options.h"

#include "graphics/GameLayout.h"
#include "rom/Position.h"

namespace insert_program {

bool parseFreeRange(const char* text, Span& range) {
    Position start, end;
    if (parseRange(text, start, end) != PositionParse::Parsed) return false;
    range = {start.offset, end.offset};
    return true;
}

bool isFreeRange(const std::string& text) {
    Span range{0, 0};
    return parseFreeRange(text.c_str(), range);
}

InsertOptions insertOptionsOf(const cli::Parse& parse) {
    InsertOptions options;
    options.input = parse.last("-i");
    options.output = parse.last("-o");
    options.folder = parse.has("--dir") ? parse.last("--dir") : OUTPUT_FOLDER;
    options.allowResize = parse.has("--allow-resize");
    options.patch = parse.last("--patch");
    for (const std::string& value : parse.all("--free")) {
        Span range{0, 0};
        parseFreeRange(value.c_str(), range);
        options.freeRanges.push_back(range);
    }
    return options;
}

}  // namespace insert_program
