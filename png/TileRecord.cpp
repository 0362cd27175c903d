#include "png/TileRecord.h"

#include <cstdio>

namespace {

constexpr char FORMAT_FIELD[] = "formato";
constexpr char COLUMNS_FIELD[] = "colunas";
constexpr char BLOCKS_FIELD[] = "blocos";
constexpr char LENGTH_FIELD[] = "bytes";
constexpr char BLOCKS_16[] = "16x16";
// Lengths above this are no file that a picture can hold.
constexpr uint64_t MAX_RECORDED_LENGTH = uint64_t(1) << 40;

// A decimal number without sign or leading zeros, at most limit.
bool parseNumber(const std::string& text, uint64_t limit, uint64_t& value) {
    if (text.empty() || (text.size() > 1 && text[0] == '0')) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + uint64_t(c - '0');
        if (value > limit) return false;
    }
    return true;
}

}  // namespace

std::string recordText(const TileRecord& record) {
    std::string text = std::string(FORMAT_FIELD) + "=" + formatName(record.format) + " " + COLUMNS_FIELD + "=" +
                       std::to_string(record.arrangement.columns);
    if (record.arrangement.blocks16) text += std::string(" ") + BLOCKS_FIELD + "=" + BLOCKS_16;
    return text + " " + LENGTH_FIELD + "=" + std::to_string(record.length);
}

bool parseRecordText(const std::string& text, TileRecord& record) {
    TileRecord parsed;
    bool haveFormat = false, haveColumns = false, haveBlocks = false, haveLength = false;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        const std::string field = text.substr(at, end - at);
        const size_t equals = field.find('=');
        if (equals == std::string::npos) return false;
        const std::string name = field.substr(0, equals), value = field.substr(equals + 1);
        uint64_t number = 0;
        if (name == FORMAT_FIELD && !haveFormat) {
            if (!formatFromName(value, parsed.format)) return false;
            haveFormat = true;
        } else if (name == COLUMNS_FIELD && !haveColumns) {
            if (!parseNumber(value, MAX_COLUMNS, number) || number == 0) return false;
            parsed.arrangement.columns = static_cast<uint32_t>(number);
            haveColumns = true;
        } else if (name == BLOCKS_FIELD && !haveBlocks) {
            if (value != BLOCKS_16) return false;
            parsed.arrangement.blocks16 = true;
            haveBlocks = true;
        } else if (name == LENGTH_FIELD && !haveLength) {
            if (!parseNumber(value, MAX_RECORDED_LENGTH, number)) return false;
            parsed.length = number;
            haveLength = true;
        } else {
            return false;
        }
        at = end + 1;
    }
    if (!haveFormat || !haveColumns || !haveLength) return false;
    if (parsed.arrangement.blocks16 && parsed.arrangement.columns % 2 != 0) return false;
    record = parsed;
    return true;
}
