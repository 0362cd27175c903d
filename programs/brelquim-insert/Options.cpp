#include "programs/brelquim-insert/Options.h"

#include "graphics/GameLayout.h"

namespace insert_program {

InsertOptions insertOptionsOf(const cli::Parse& parse, const Project* project) {
    InsertOptions options;
    options.input = parse.last("-i");
    options.output = parse.last("-o");
    options.folder = parse.has("--dir") ? parse.last("--dir") : OUTPUT_FOLDER;
    options.allowResize = parse.has("--allow-resize");
    options.patch = parse.last("--patch");
    options.freeRanges = cli::readFreeRanges(parse.all("--free"));
    options.mergedFreeRanges = mergeOverlapping(options.freeRanges);
    if (!project) return options;
    // What the command line leaves out, the project gives.
    if (!parse.has("-i")) options.input = project->path(project->original);
    if (!parse.has("--dir")) options.folder = project->path(project->graphicsFolder);
    if (!parse.has("--free")) {
        options.freeRanges = project->freeRanges;
        options.mergedFreeRanges = mergeOverlapping(options.freeRanges);
    }
    options.allowResize = options.allowResize || project->allowResize;
    return options;
}

}  // namespace insert_program
