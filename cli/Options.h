// The command line of the companion programs. A program declares each of
// its options once (names, value, help line, repeatable, required, a
// check of the value), the words it takes by their place, and its
// commands if it has any; it gets back the values, or the first thing
// that was wrong. This part prints nothing and holds no words: the
// synopsis lines and the option table of the usage are laid out here from
// the declarations, and cli/Mistake.h prints them with the words every
// program shares.
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
    bool lastHolds = false;          // may come more than once: the last value holds
    bool required = false;
    bool (*check)(const std::string& value) = nullptr;  // false: a malformed value
    Role role = Plain;
    // A form of the command line of its own: given, it takes no
    // positional words (none is required), and the usage shows it on a
    // line of its own.
    bool form = false;
    // A project (brelquim.toml) may give its value: with a project around,
    // the parse does not ask for it, even when required (the usage still
    // shows it so); the program does, once the project is read.
    bool projectGives = false;
};

// A word taken by its place.
struct Positional {
    std::string name;         // as the usage shows it and a mistake names it: "<roteiro>"
    bool required = true;
    bool repeatable = false;  // takes every word left: the last one declared
    bool (*check)(const std::string& word) = nullptr;  // false: a malformed word
    bool projectGives = false;  // as Option::projectGives
};

// The check of a value that may be anything but empty.
bool nonEmpty(const std::string& value);

// -h and --help; --version. Their help text is the program's.
Option helpOption(std::string help);
Option versionOption(std::string help);

struct Spec {
    std::vector<Option> options;
    // In their order, the required ones first. None: a positional word is
    // a mistake.
    std::vector<Positional> positionals;
    // Options of which at least one must come, each group by its first
    // names ("--pointers", "--long-pointers"); missing, the first is named
    // (unless a project may give the first).
    std::vector<std::vector<std::string>> oneRequired;
    std::string notes;  // lines the usage shows under the option table
};

struct Parse {
    enum Outcome {
        Parsed,
        HelpAsked,           // -h or --help
        VersionAsked,        // --version
        UnknownOption,       // entry: the word
        MissingValue,        // entry: the option, last word of the line
        RepeatedOption,      // entry: the option given again
        MalformedValue,      // entry: the option, or the positional's name; value: what it was given
        MissingOption,       // entry: the first name of a required option
        UnexpectedArgument,  // entry: a positional word where none is taken
        MissingArgument,     // entry: the name of the positional that is missing
        MissingCommand,      // parseCommand: no word at all
        UnknownCommand,      // parseCommand, entry: the word
    } outcome = Parsed;
    std::string entry;
    std::string value;
    std::vector<std::string> positionals;  // in their order

    // An option as it came: the first name of its declaration and its
    // value (empty for a flag).
    struct Given {
        std::string option;
        std::string value;
    };
    std::vector<Given> given;  // every option, in the order of the line

    // By any of an option's names: whether it was given, its last value
    // (empty for none), every value in order, how often a flag came.
    bool has(const std::string& name) const;
    std::string last(const std::string& name) const;
    std::vector<std::string> all(const std::string& name) const;
    // The options of any of these names, in the order of the line.
    std::vector<Given> inOrder(const std::vector<std::string>& names) const;

    const Spec* spec = nullptr;
};

// Parses the words after the program's name (argv[0] is not among them).
// projectAround: a project may give what Option::projectGives marks.
Parse parse(const Spec& spec, int argc, char* const* argv, bool projectAround = false);

// A command of a program of commands ("dump", "insert"): the first word
// names it, and its spec parses the rest.
struct Command {
    std::string name;
    const Spec* spec;
    std::string help;  // its line in the program's table
};

// A companion program as its command line declares it.
struct Program {
    std::string name;   // as it is called, without an ending: "brelquim-text"
    std::string title;  // as the banner names it: "Brelquim-text"
    // Without commands, every option and positional of the program; with
    // commands, those of the program itself (-h, --help, --version), which
    // the first word may ask for.
    const Spec* spec = nullptr;
    std::vector<Command> commands;
};

struct CommandParse {
    int command = -1;  // index into the commands; -1: the program itself
    Parse parse;
};

// Parses the words after the program's name: by its spec, or by the
// command that the first word names.
CommandParse parseCommand(const Program& program, int argc, char* const* argv, bool projectAround = false);

// The synopsis of a spec, starting with start (the program as called, and
// the command): the options other than -h, --help and --version, required
// ones bare, others in brackets, "..." after a repeatable one; then the
// positional words. One line for the spec, one more for each form (with
// the form first and no positional words). A line longer than 100
// columns goes on under four spaces.
std::string synopsis(const std::string& start, const Spec& spec);

// The option table of the usage: one line per command (its name and help)
// and per option, "  " then its names and value, padded to the widest,
// "  " and its help; further lines of the help under the first.
std::string optionTable(const Spec& spec, const std::vector<Command>& commands = {});

}  // namespace cli
