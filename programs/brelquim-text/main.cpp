#include "platform/Platform.h"
#include "programs/brelquim-text/Run.h"

int main(int argc, char** argv) {
    const ConsoleTextScope console;
    const CommandLine line(argc, argv);
    return text_program::runText(line.argc(), line.argv());
}
