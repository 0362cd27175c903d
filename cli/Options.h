// The command line of the companion programs. A program declares each of
// its options once (names, value, help line, repeatable, required, a
// check of the value) and gets back the values, or the first thing that
// was wrong. The layer prints nothing and holds no words of its own: the
// program turns each outcome into its text and prints the usage, whose
// option table comes from the declarations.
//
// Every option but a flag takes the next word as its value, whatever it
// is ("-o -x.sfc" writes -x.sfc). Words that do not start with '-' (and
// "-" itself) are positional, where the program takes them; after "--"
// every word is. Options and positional words may come in any order.
#pragma once

#include <string>
#include <vector>

namespace cli {

struct Option {
    enum Role { Plain, Help, Version };
    std::vector<std::string> names;  // "-h", "--help": every name it answers to
    std::string value;               // its value as the usage shows it ("<rom>"); empty: a flag
    std::string help;                // help text; each '\n' starts a line under the first
    bool repeatable = false;         // may come more than once: every value is kept
    bool required = false;
    bool (*check)(const std::string& value) = nullptr;  // false: a malformed value
    Role role = Plain;
};

// The check of a value that may be anything but empty.
bool nonEmpty(const std::string& value);

// -h and --help; --version. Their help text is the program's.
Option helpOption(std::string help);
Option versionOption(std::string help);

struct Spec {
    std::vector<Option> options;
    bool positionals = false;  // positional words taken (else each is a mistake)
};

struct Parse {
    enum Outcome {
        Parsed,
        HelpAsked,           // -h or --help
        VersionAsked,        // --version
        UnknownOption,       // entry: the word
        MissingValue,        // entry: the option, last word of the line
        RepeatedOption,      // entry: the option given again
        MalformedValue,      // entry: the option; value: what it was given
        MissingOption,       // entry: the first name of a required option
        UnexpectedArgument,  // entry: a positional word where none is taken
        MissingArgument,     // entry: how the usage names a positional word the program needs
        MissingCommand,      // parseCommand: no word at all
        UnknownCommand,      // parseCommand, entry: the word
    } outcome = Parsed;
    std::string entry;
    std::string value;
    std::vector<std::string> positionals;  // in their order

    // By any of an option's names: whether it was given, its last value
    // (empty for none), every value in order, how often a flag came.
    bool has(const std::string& name) const;
    std::string last(const std::string& name) const;
    std::vector<std::string> all(const std::string& name) const;

    // The values of each declared option, in the declaration's order.
    std::vector<std::vector<std::string>> values;
    const Spec* spec = nullptr;

private:
    int indexOf(const std::string& name) const;
};

// Parses the words after the program's name (argv[0] is not among them).
Parse parse(const Spec& spec, int argc, char* const* argv);

// A program of sub-commands ("dump", "insert"): the first word names the
// command, whose spec parses the rest. -h, --help and --version in the
// first place are asked of the program itself (command -1).
struct Command {
    std::string name;
    const Spec* spec;
};
struct CommandParse {
    int command = -1;  // index into the commands
    Parse parse;
};
CommandParse parseCommand(const std::vector<Command>& commands, int argc, char* const* argv);

// The option table of the usage: one line per option, "  " then its names
// and value, padded to the widest, "  " and its help; further lines of the
// help under the first.
std::string optionTable(const Spec& spec);

}  // namespace cli
