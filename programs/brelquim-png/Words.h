// A message line around a path or name the user gave, which is printed
// as its bytes came.
#pragma once

#include <string>

namespace png_program {

// before, the path verbatim, then after (a line end by default).
void printWithPath(const char* before, const std::string& path, const char* after = "\n");

}  // namespace png_program
