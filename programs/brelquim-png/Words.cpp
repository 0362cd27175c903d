#include "programs/brelquim-png/Words.h"

#include "platform/Platform.h"

#include <cstdio>

namespace png_program {

void printWithPath(const char* before, const std::string& path, const char* after) {
    std::fputs(before, stdout);
    printVerbatim(path.c_str());
    std::fputs(after, stdout);
}

}  // namespace png_program
