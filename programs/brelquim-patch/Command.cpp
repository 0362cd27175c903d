#include "programs/brelquim-patch/Command.h"

#include <cstring>

namespace patch_program {

namespace {

constexpr int FILES = 3;

}  // namespace

CommandReading readPatchCommand(int argc, char** argv, PatchCommand& command) {
    CommandReading reading;
    if (argc < 2) {
        reading.problem = CommandProblem::NoCommand;
        return reading;
    }
    const char* name = argv[1];
    if (std::strcmp(name, "-h") == 0 || std::strcmp(name, "--help") == 0) {
        command.kind = PatchCommand::Help;
    } else if (std::strcmp(name, "--version") == 0) {
        command.kind = PatchCommand::Version;
    } else if (std::strcmp(name, "create") == 0) {
        command.kind = PatchCommand::Create;
    } else if (std::strcmp(name, "apply") == 0) {
        command.kind = PatchCommand::Apply;
    } else {
        reading.problem = CommandProblem::UnknownCommand;
        reading.entry = name;
        return reading;
    }
    const int given = argc - 2;
    if (command.kind == PatchCommand::Help || command.kind == PatchCommand::Version) {
        if (given != 0) {
            reading.problem = CommandProblem::UnknownCommand;
            reading.entry = argv[2];
        }
        return reading;
    }
    if (given != FILES) {
        reading.problem = CommandProblem::WrongCount;
        reading.given = given;
        return reading;
    }
    for (int i = 0; i < FILES; ++i) {
        command.files[i] = argv[2 + i];
        if (command.files[i].empty()) {
            reading.problem = CommandProblem::EmptyName;
            return reading;
        }
    }
    command.format = patchFormatOf(command.patchPath());
    if (command.format == PatchFormat::Unknown) {
        reading.problem = CommandProblem::UnknownFormat;
        reading.entry = command.patchPath();
    }
    return reading;
}

}  // namespace patch_program
