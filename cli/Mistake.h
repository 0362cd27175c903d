// What every companion program prints about its command line, in the same
// words (Windows-1252): the banner, the usage made from the declarations,
// and a mistake named before the usage.
#pragma once

#include "cli/Options.h"

#include <string>

namespace cli {

// "<title> v<version>", the first line of every run.
void printBanner(const Program& program);

// The usage of the program (command -1) or of one of its commands:
// "Uso:", the synopsis lines, the option table, the notes, a blank line.
// shownName: the program as the user calls it ("brelquim-png.exe" on
// Windows).
std::string usage(const Program& program, int command, const std::string& shownName);
void printUsage(const Program& program, int command);

// Prints the mistake, the word the user gave as it came; nothing for a
// parse that holds none (help, version, no command at all).
void printMistake(const Parse& parse);

// Reads the program's command line (argv[0] is its name); with a project
// around (--project on the line, or brelquim.toml in the current folder)
// what a project may give is not asked for. True when the
// program is to run with parse. Otherwise the run ends with status: 0
// after the usage for -h or --help, or for --version (the banner is all);
// 1 after the mistake (none for no words at all) and the usage.
bool readCommandLine(const Program& program, int argc, char* const* argv, CommandParse& parse, int& status);

}  // namespace cli
