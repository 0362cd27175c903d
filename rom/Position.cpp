#include "rom/Position.h"

#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"

#include <cstdio>

namespace {

constexpr char BUS_PREFIX = '$';
constexpr char SEPARATOR = ':';
constexpr size_t MOST_OFFSET_DIGITS = 8;
constexpr size_t MOST_BANK_DIGITS = 2;
constexpr size_t ADDRESS_DIGITS = 4;
constexpr size_t MOST_BUS_DIGITS = 6;
constexpr size_t MOST_COUNT_DIGITS = 5;
constexpr uint32_t MOST_COUNT = 65535;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// All of text, 1 to most hexadecimal digits.
bool parseHex(const std::string& text, size_t most, uint32_t& value) {
    if (text.empty() || text.size() > most) return false;
    value = 0;
    for (char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0) return false;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return true;
}

PositionParse parseBusAddress(const std::string& text, uint32_t& address) {
    const size_t colon = text.find(SEPARATOR);
    if (colon == std::string::npos) {
        if (!parseHex(text, MOST_BUS_DIGITS, address)) return PositionParse::Malformed;
    } else {
        uint32_t bank = 0, low = 0;
        const std::string low16 = text.substr(colon + 1);
        if (!parseHex(text.substr(0, colon), MOST_BANK_DIGITS, bank) || low16.size() != ADDRESS_DIGITS ||
            !parseHex(low16, ADDRESS_DIGITS, low)) {
            return PositionParse::Malformed;
        }
        address = bank << 16 | low;
    }
    return loRomShowsRom(address) ? PositionParse::Parsed : PositionParse::NotRom;
}

// Outcomes of one position from the best to the worst: Parsed, NotRom,
// Malformed.
int rank(PositionParse parsed) {
    return parsed == PositionParse::Parsed ? 0 : parsed == PositionParse::NotRom ? 1 : 2;
}

PositionParse worse(PositionParse a, PositionParse b) { return rank(a) >= rank(b) ? a : b; }

}  // namespace

PositionParse parsePosition(const std::string& text, Position& position) {
    if (!text.empty() && text[0] == BUS_PREFIX) {
        uint32_t address = 0;
        const PositionParse parsed = parseBusAddress(text.substr(1), address);
        if (parsed != PositionParse::Parsed) return parsed;
        position = {loRomToFile(address), true};
        return parsed;
    }
    const bool prefixed = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    uint32_t offset = 0;
    if (!parseHex(prefixed ? text.substr(2) : text, MOST_OFFSET_DIGITS, offset)) return PositionParse::Malformed;
    position = {offset, false};
    return PositionParse::Parsed;
}

PositionParse parseRange(const std::string& text, Position& start, Position& end) {
    // Every colon is tried: exactly one must leave a position on each side.
    PositionParse best = PositionParse::Malformed;
    int splits = 0;
    for (size_t colon = text.find(SEPARATOR); colon != std::string::npos; colon = text.find(SEPARATOR, colon + 1)) {
        Position left, right;
        const PositionParse parsed =
            worse(parsePosition(text.substr(0, colon), left), parsePosition(text.substr(colon + 1), right));
        if (parsed == PositionParse::Parsed) {
            start = left;
            end = right;
            ++splits;
        }
        if (rank(parsed) < rank(best)) best = parsed;
    }
    if (splits > 1) return PositionParse::Malformed;
    if (splits == 0) return best;
    return start.offset < end.offset ? PositionParse::Parsed : PositionParse::EmptyRange;
}

PositionParse parseAtCount(const std::string& text, Position& at, uint32_t& count) {
    const size_t colon = text.rfind(SEPARATOR);
    if (colon == std::string::npos) return PositionParse::Malformed;
    const PositionParse parsed = parsePosition(text.substr(0, colon), at);
    if (parsed != PositionParse::Parsed) return parsed;
    const std::string digits = text.substr(colon + 1);
    if (digits.empty() || digits.size() > MOST_COUNT_DIGITS) return PositionParse::Malformed;
    count = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return PositionParse::Malformed;
        count = count * 10 + static_cast<uint32_t>(c - '0');
    }
    return count >= 1 && count <= MOST_COUNT ? PositionParse::Parsed : PositionParse::BadCount;
}

std::string formatBusAddress(uint32_t offset) {
    char text[16];
    if (offset >= LOROM_DATA_LIMIT) {
        std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(offset));
        return text;
    }
    const uint32_t address = fileToLoRom(offset);
    std::snprintf(text, sizeof text, "$%02X:%04X", static_cast<unsigned>(address >> 16),
                  static_cast<unsigned>(address & 0xFFFF));
    return text;
}
