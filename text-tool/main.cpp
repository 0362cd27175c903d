#include "platform/Platform.h"
#include "text-tool/Run.h"

int main(int argc, char** argv) {
    const ConsoleTextScope console;
    const CommandLine line(argc, argv);
    return runText(line.argc(), line.argv());
}
