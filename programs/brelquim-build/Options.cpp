#include "programs/brelquim-build/Options.h"

namespace build_program {

bool isInit(const std::string& word) { return word == "init"; }

BuildOptions buildOptionsOf(const cli::Parse& parse) {
    BuildOptions options;
    options.init = !parse.positionals.empty();
    options.input = parse.last("-i");
    options.table = parse.last("--table");
    options.project = parse.last("--project");
    options.allowOverflow = parse.has("--allow-overflow");
    return options;
}

}  // namespace build_program
