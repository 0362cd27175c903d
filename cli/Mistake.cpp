#include "cli/Mistake.h"

#include "graphics/GameLayout.h"
#include "platform/Platform.h"
#include "project/Project.h"

#include <cstdio>

namespace cli {

namespace {

constexpr char USAGE_HEADING[] = "Uso:\n";

// The usage of one spec: its synopsis, its option table and its notes.
std::string specUsage(const std::string& start, const Spec& spec) {
    return synopsis(start, spec) + optionTable(spec) + (spec.notes.empty() ? "" : spec.notes + "\n");
}

// A project may give what the line leaves out: --project is on it, or the
// current folder holds brelquim.toml.
bool projectAround(int argc, char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--project") return true;
    }
    return fileKind(PROJECT_FILE) != FileKind::Missing;
}

}  // namespace

void printBanner(const Program& program) { std::printf("%s v%s\n", program.title.c_str(), PROGRAM_VERSION); }

std::string usage(const Program& program, int command, const std::string& shownName) {
    std::string text = USAGE_HEADING;
    if (command >= 0) {
        const Command& chosen = program.commands[command];
        text += specUsage(shownName + " " + chosen.name, *chosen.spec);
    } else if (program.commands.empty()) {
        text += specUsage(shownName, *program.spec);
    } else {
        for (const Command& each : program.commands) text += synopsis(shownName + " " + each.name, *each.spec);
        text += optionTable(*program.spec, program.commands);
        if (!program.spec->notes.empty()) text += program.spec->notes + "\n";
    }
    return text + "\n";
}

void printUsage(const Program& program, int command) {
    std::printf("%s", usage(program, command, executableName(program.name.c_str())).c_str());
}

void printMistake(const Parse& parse) {
    const char* text = nullptr;
    switch (parse.outcome) {
        case Parse::UnknownOption: text = "Op\xE7\xE3o desconhecida: "; break;
        case Parse::UnknownCommand: text = "Comando desconhecido: "; break;
        case Parse::MissingValue: text = "Falta o valor de "; break;
        case Parse::RepeatedOption: text = "Op\xE7\xE3o repetida: "; break;
        case Parse::MalformedValue: text = "Valor inv\xE1lido para "; break;
        case Parse::MissingOption: text = "Falta a op\xE7\xE3o "; break;
        case Parse::UnexpectedArgument: text = "Argumento inesperado: "; break;
        case Parse::MissingArgument: text = "Falta "; break;
        case Parse::MissingCommand:
        case Parse::Parsed:
        case Parse::HelpAsked:
        case Parse::VersionAsked: return;
    }
    std::printf("%s", text);
    printVerbatim(parse.entry.c_str());
    if (parse.outcome == Parse::MalformedValue) {
        std::printf(": ");
        printVerbatim(parse.value.c_str());
    }
    std::printf("\n");
}

bool readCommandLine(const Program& program, int argc, char* const* argv, CommandParse& parse, int& status) {
    const bool nothingGiven = argc <= 1;
    parse = parseCommand(program, nothingGiven ? 0 : argc - 1, argv + (argc > 0), projectAround(argc, argv));
    switch (parse.parse.outcome) {
        case Parse::Parsed: return true;
        case Parse::HelpAsked:
            printUsage(program, parse.command);
            status = 0;
            return false;
        case Parse::VersionAsked: status = 0; return false;
        default:
            // A bare command asks for the usage; it is no mistake to name.
            if (!nothingGiven) printMistake(parse.parse);
            printUsage(program, parse.command);
            status = 1;
            return false;
    }
}

}  // namespace cli
