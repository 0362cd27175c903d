#include "cli/FreeRange.h"

#include "rom/Position.h"

#include <algorithm>

namespace cli {

bool readFreeRange(const std::string& text, Span& range) {
    Position start, end;
    if (parseRange(text, start, end) != PositionParse::Parsed) return false;
    range = {start.offset, end.offset};
    return true;
}

bool isFreeRange(const std::string& text) {
    Span range{0, 0};
    return readFreeRange(text, range);
}


std::vector<Span> readFreeRanges(const std::vector<std::string>& values) {
    std::vector<Span> ranges;
    for (const std::string& value : values) {
        Span range{0, 0};
        readFreeRange(value, range);
        ranges.push_back(range);
    }
    return ranges;
}

}  // namespace cli
