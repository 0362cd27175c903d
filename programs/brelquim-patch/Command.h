// The command line of brelquim-patch:
//   create <original> <modified> <patch.bps|patch.ips>
//   apply  <patch.bps|patch.ips> <original> <output>
//   -h | --help | --version
#pragma once

#include "patch/Patch.h"

#include <string>

namespace patch_program {

struct PatchCommand {
    enum Kind { Help, Version, Create, Apply } kind = Help;
    // create: original, modified, patch; apply: patch, original, output.
    std::string files[3];
    PatchFormat format = PatchFormat::Unknown;
    const std::string& patchPath() const { return kind == Create ? files[2] : files[0]; }
};

// What was wrong with a command line.
enum class CommandProblem { None, NoCommand, UnknownCommand, WrongCount, EmptyName, UnknownFormat };

struct CommandReading {
    CommandProblem problem = CommandProblem::None;
    std::string entry;   // UnknownCommand: the entry; UnknownFormat: the patch's path
    int given = 0;       // WrongCount: how many files came
};

// Reads the entries after the program's name.
CommandReading readPatchCommand(int argc, char** argv, PatchCommand& command);

}  // namespace patch_program
