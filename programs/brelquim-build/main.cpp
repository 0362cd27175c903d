#include "programs/brelquim-build/Run.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
    const ConsoleTextScope console;
    const CommandLine commandLine(argc, argv);
    return build_program::runBuild(commandLine.argc(), commandLine.argv());
}
