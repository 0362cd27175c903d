#include "programs/brelquim-png/Run.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
    const ConsoleTextScope console;
    const CommandLine commandLine(argc, argv);
    return png_program::runPngTool(commandLine.argc(), commandLine.argv());
}
