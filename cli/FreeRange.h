// The value of --free, which both inserting programs take: a range of the
// ROM data as rom/Position.h reads positions (80000:90000,
// $90:8000:$91:8000), end exclusive.
#pragma once

#include "placement/Placement.h"

#include <string>
#include <vector>

namespace cli {

// False, with range as it was, when text is no range.
bool readFreeRange(const std::string& text, Span& range);
// The same, as the option layer checks a value.
bool isFreeRange(const std::string& text);
// Every --free value the option layer took, as ranges, in their order.
std::vector<Span> readFreeRanges(const std::vector<std::string>& values);


}  // namespace cli
