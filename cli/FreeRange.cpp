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

std::vector<Span> mergeFreeRanges(std::vector<Span>& ranges) {
    std::vector<bool> merged(ranges.size(), false);
    // A range grown by a merge may reach another one: look again until no
    // two overlap. The command line holds few ranges.
    for (bool again = true; again;) {
        again = false;
        for (size_t i = 0; i < ranges.size() && !again; ++i) {
            for (size_t j = i + 1; j < ranges.size() && !again; ++j) {
                if (!ranges[i].overlaps(ranges[j])) continue;
                ranges[i] = {std::min(ranges[i].start, ranges[j].start), std::max(ranges[i].end, ranges[j].end)};
                merged[i] = true;
                ranges.erase(ranges.begin() + static_cast<std::ptrdiff_t>(j));
                merged.erase(merged.begin() + static_cast<std::ptrdiff_t>(j));
                again = true;
            }
        }
    }
    std::vector<Span> grown;
    for (size_t i = 0; i < ranges.size(); ++i) {
        if (merged[i]) grown.push_back(ranges[i]);
    }
    return grown;
}

}  // namespace cli
