#include "insert/Options.h"

#include "graphics/GameLayout.h"

#include <cstring>

namespace {

// Offsets are at most eight hexadecimal digits, after an optional "0x".
constexpr size_t MOST_DIGITS = 8;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads an offset from text up to the stop character (or the end); false
// when it is empty, too long or holds anything but hexadecimal digits.
bool parseOffset(const char*& text, char stop, uint32_t& value) {
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text += 2;
    value = 0;
    size_t digits = 0;
    for (; *text && *text != stop; ++text, ++digits) {
        const int digit = hexDigit(*text);
        if (digit < 0 || digits == MOST_DIGITS) return false;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return digits > 0;
}

}  // namespace

bool parseFreeRange(const char* text, Span& range) {
    if (!parseOffset(text, ':', range.start) || *text != ':') return false;
    ++text;
    return parseOffset(text, '\0', range.end) && range.start < range.end;
}

bool parseInsertOptions(int argc, char** argv, InsertOptions& options) {
    bool haveFolder = false;
    options.folder = OUTPUT_FOLDER;
    for (int i = 1; i < argc; ++i) {
        const char* entry = argv[i];
        if (std::strcmp(entry, "--allow-resize") == 0) {
            if (options.allowResize) return false;
            options.allowResize = true;
            continue;
        }
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        if (std::strcmp(entry, "-i") == 0 && options.input.empty() && *value) {
            options.input = value;
        } else if (std::strcmp(entry, "-o") == 0 && options.output.empty() && *value) {
            options.output = value;
        } else if (std::strcmp(entry, "--dir") == 0 && !haveFolder && *value) {
            options.folder = value;
            haveFolder = true;
        } else if (std::strcmp(entry, "--free") == 0) {
            Span range;
            if (!parseFreeRange(value, range)) return false;
            options.freeRanges.push_back(range);
        } else {
            return false;
        }
    }
    return !options.input.empty() && !options.output.empty();
}
