// The command line of brelquim-patch, as Words.cpp declares it: the
// commands create and apply, three files each, and -h, --help, --version.
#pragma once

#include "cli/Options.h"
#include "patch/Patch.h"

#include <string>

namespace patch_program {

struct PatchCommand {
    enum Kind { Create, Apply } kind = Create;
    // create: original, modified, patch; apply: patch, original, output.
    std::string files[3];
    PatchFormat format = PatchFormat::Unknown;
    const std::string& patchPath() const { return kind == Create ? files[2] : files[0]; }
};

// The program: its name, its banner and its two commands.
const cli::Program& patchProgram();

// The command of a command line that parsed.
PatchCommand patchCommandOf(const cli::CommandParse& parse);

// The check of a patch's name, as the option layer takes it: it ends in
// .bps or .ips, in any case.
bool isPatchName(const std::string& path);

}  // namespace patch_program
