#include "programs/brelquim-insert/Run.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
    const ConsoleTextScope console;
    const CommandLine commandLine(argc, argv);
    return insert_program::runInsert(commandLine.argc(), commandLine.argv());
}
