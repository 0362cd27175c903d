#include "programs/brelquim-insert/Options.h"

#include "graphics/GameLayout.h"

namespace insert_program {

bool parseInsertOptions(int argc, char** argv, InsertOptions& options, cli::Parse* parse) {
    cli::Parse parsed = cli::parse(insertOptionSpec(), argc > 0 ? argc - 1 : 0, argv + (argc > 0));
    const bool ok = parsed.outcome == cli::Parse::Parsed;
    if (ok) {
        options.input = parsed.last("-i");
        options.output = parsed.last("-o");
        options.folder = parsed.has("--dir") ? parsed.last("--dir") : OUTPUT_FOLDER;
        options.allowResize = parsed.has("--allow-resize");
        options.patch = parsed.last("--patch");
        options.freeRanges.clear();
        for (const std::string& value : parsed.all("--free")) {
            Span range{0, 0};
            cli::readFreeRange(value, range);
            options.freeRanges.push_back(range);
        }
    }
    if (parse) *parse = std::move(parsed);
    return ok;
}

}  // namespace insert_program
