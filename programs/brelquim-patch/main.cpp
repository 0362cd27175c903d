#include "programs/brelquim-patch/Run.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
    const ConsoleTextScope console;
    const CommandLine commandLine(argc, argv);
    return patch_program::runPatchTool(commandLine.argc(), commandLine.argv());
}
