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


}  // namespace cli
