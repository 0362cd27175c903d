#include "programs/brelquim-insert/Options.h"

#include "graphics/GameLayout.h"

namespace insert_program {

InsertOptions insertOptionsOf(const cli::Parse& parse) {
    InsertOptions options;
    options.input = parse.last("-i");
    options.output = parse.last("-o");
    options.folder = parse.has("--dir") ? parse.last("--dir") : OUTPUT_FOLDER;
    options.allowResize = parse.has("--allow-resize");
    options.patch = parse.last("--patch");
    for (const std::string& value : parse.all("--free")) {
        Span range{0, 0};
        cli::readFreeRange(value, range);
        options.freeRanges.push_back(range);
    }
    options.mergedFreeRanges = cli::mergeFreeRanges(options.freeRanges);
    return options;
}

}  // namespace insert_program
