// The project of a companion program's run: the file --project names, or
// brelquim.toml in the current folder. What the program takes from it is
// the program's; an option given on the command line wins.
#pragma once

#include "cli/Options.h"
#include "project/Project.h"

#include <optional>
#include <string>

namespace cli {

// --project <arquivo>.
Option projectOption();

// Reads the project file at path. False, after the refusal and "Nada foi
// gravado.", when it cannot be read or is wrong.
bool loadProjectFile(const std::string& path, Project& project);

// The run's project: that of --project, or brelquim.toml when the current
// folder holds one; none otherwise. False after the refusal.
bool loadRunProject(const Parse& parse, std::optional<Project>& project);

// A required option or word that neither the command line nor the project
// gave ("-i", "<roteiro>"): the mistake and the usage. Returns the exit
// status, 1.
int refuseMissing(const Program& program, int command, const std::string& name, bool positional = false);

}  // namespace cli
