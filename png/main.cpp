#include "png/Run.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
    const ConsoleTextScope console;
    const CommandLine commandLine(argc, argv);
    return runPngTool(commandLine.argc(), commandLine.argv());
}
