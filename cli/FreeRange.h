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

// Ranges that overlap or repeat made one: each group of them becomes the
// range from its lowest start to its highest end, where the first of them
// stood; the others keep their order. Gives the ranges that took others in,
// so that the run can say so.
std::vector<Span> mergeFreeRanges(std::vector<Span>& ranges);

}  // namespace cli
