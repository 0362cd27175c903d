#include "png/PathMessage.h"

#include "platform/Platform.h"

#include <cstdio>

void printWithPath(const char* before, const std::string& path, const char* after) {
    std::fputs(before, stdout);
    printVerbatim(path.c_str());
    std::fputs(after, stdout);
}
