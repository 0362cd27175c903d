#include "tool/Platform.h"
#include "tool/Run.h"

int main(int argc, char** argv) {
    const ConsoleTextScope console;
    return runTool(argc, argv);
}
