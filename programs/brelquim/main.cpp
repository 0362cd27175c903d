#include "programs/brelquim/Run.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
    const ConsoleTextScope console;
    const CommandLine commandLine(argc, argv);
    return extract_program::runTool(commandLine.argc(), commandLine.argv());
}
