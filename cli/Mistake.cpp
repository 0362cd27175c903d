#include "cli/Mistake.h"

#include "platform/Platform.h"

#include <cstdio>

namespace cli {

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

}  // namespace cli
