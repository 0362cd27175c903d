#include "patch-tool/Run.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
    const ConsoleTextScope console;
    const CommandLine commandLine(argc, argv);
    return runPatchTool(commandLine.argc(), commandLine.argv());
}
