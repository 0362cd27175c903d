#include "programs/brelquim-patch/Command.h"

namespace patch_program {

namespace {

constexpr int FILES = 3;

}  // namespace

PatchCommand patchCommandOf(const cli::CommandParse& parse) {
    PatchCommand command;
    command.kind = parse.command == 0 ? PatchCommand::Create : PatchCommand::Apply;
    for (int i = 0; i < FILES; ++i) command.files[i] = parse.parse.positionals[i];
    command.format = patchFormatOf(command.patchPath());
    return command;
}

bool isPatchName(const std::string& path) { return patchFormatOf(path) != PatchFormat::Unknown; }

}  // namespace patch_program
