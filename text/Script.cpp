#include "text/Script.h"

#include "rom/HeaderLayout.h"
#include "rom/Position.h"
#include "rom/RomImage.h"

#include <cstring>
#include <set>

namespace {

constexpr char HEADER_MARK[] = "#[";
constexpr char TABLE_MARK[] = "#!";
constexpr char SHORT_TABLE[] = "pointers";
constexpr char LONG_TABLE[] = "long-pointers";

constexpr char HEX_DIGITS[] = "0123456789ABCDEF";

// Writers into room made for them: each returns where the next goes.
template <size_t N>
char* put(char* to, const char (&text)[N]) {
    std::memcpy(to, text, N - 1);
    return to + N - 1;
}

char* put(char* to, const std::string& text) {
    std::memcpy(to, text.data(), text.size());
    return to + text.size();
}

// A bus address as the script shows it: "$98:800E".
char* putBusAddress(char* to, uint32_t address) {
    to[0] = '$';
    to[1] = HEX_DIGITS[address >> 20 & 15];
    to[2] = HEX_DIGITS[address >> 16 & 15];
    to[3] = ':';
    to[4] = HEX_DIGITS[address >> 12 & 15];
    to[5] = HEX_DIGITS[address >> 8 & 15];
    to[6] = HEX_DIGITS[address >> 4 & 15];
    to[7] = HEX_DIGITS[address & 15];
    return to + 8;
}

char* putDecimal(char* to, uint64_t value) {
    char digits[20];
    size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0) *to++ = digits[--count];
    return to;
}

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// A decimal number of digits only, 1 to most; false for anything else.
bool parseCount(const std::string& text, uint32_t most, uint32_t& value) {
    if (text.empty() || text.size() > 6) return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return value >= 1 && value <= most;
}

// "$BB:AAAA:count", as a dump writes it, or any position the command line
// takes.
bool parseTable(const std::string& text, PointerTable& table) {
    Position at;
    if (parseAtCount(text, at, table.count) != PositionParse::Parsed) return false;
    table.offset = at.offset;
    return true;
}

}  // namespace

std::pair<size_t, size_t> ScriptEntry::place(size_t offset) const {
    size_t line = 0;
    while (line + 1 < lines.size() && lines[line + 1].first <= offset) ++line;
    if (lines.empty()) return {headerLine, 1};
    size_t column = 1;
    for (size_t i = lines[line].first; i < offset && i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++column;
    }
    return {lines[line].second, column};
}

ScriptWriter::ScriptWriter(const std::vector<PointerTable>& tables) {
    made =
        "# Brelquim-text: textos do jogo. Cada texto tem o cabe\xC3\xA7" "alho \"#[n]\" (endere\xC3\xA7o, tamanho e\n"
        "# ponteiros), o original nas linhas \"# \" e, abaixo, a c\xC3\xB3pia a editar. Linhas que\n"
        "# come\xC3\xA7" "am com # n\xC3\xA3o s\xC3\xA3o texto; <$XX> \xC3\xA9 um byte escrito como est\xC3\xA1; uma quebra de\n"
        "# linha s\xC3\xB3 conta depois do texto de uma quebra da tabela.\n";
    for (const PointerTable& table : tables) {
        made += TABLE_MARK;
        made += table.isLong ? LONG_TABLE : SHORT_TABLE;
        made += ' ' + formatBusAddress(table.offset) + ':' + std::to_string(table.count) + '\n';
    }
}

void ScriptWriter::add(const GameString& string, const std::string* label, const std::string& text) {
    // Written straight into room made for the longest block these can
    // make: the header's numbers at their widest, every text line with
    // its comment line.
    const size_t begin = made.size();
    made.resize(begin + 128 + 96 * string.pointers.size() + (label != nullptr ? label->size() + 16 : 0) +
                5 * text.size());
    char* to = &made[begin];
    to = put(to, "\n");
    to = put(to, HEADER_MARK);
    to = putDecimal(to, ++number);
    to = put(to, "] ");
    to = putBusAddress(to, string.address);
    to = put(to, ", ");
    to = putDecimal(to, string.length);
    to = put(to, " bytes; ponteiros:");
    for (size_t p = 0; p < string.pointers.size(); ++p) {
        const StringPointer& pointer = string.pointers[p];
        to = p == 0 ? put(to, " ") : put(to, ", ");
        if (pointer.at < LOROM_DATA_LIMIT) {
            to = putBusAddress(to, fileToLoRom(pointer.at));
        } else {
            to = put(to, formatBusAddress(pointer.at));
        }
        to = pointer.isLong ? put(to, " (24 bits, tabela ") : put(to, " (16 bits, tabela ");
        to = putDecimal(to, pointer.table + 1);
        to = put(to, ", n.\xC2\xBA ");
        to = putDecimal(to, pointer.index);
        to = put(to, ")");
    }
    to = put(to, "\n");
    if (label != nullptr) {
        to = put(to, "#  r\xC3\xB3tulo: ");
        to = put(to, *label);
        to = put(to, "\n");
    }
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end > start || end < text.size()) {
            to = put(to, "# ");
            std::memcpy(to, text.data() + start, end - start);
            to += end - start;
            to = put(to, "\n");
        }
        start = end + 1;
    }
    to = put(to, text);
    if (text.empty() || text.back() != '\n') to = put(to, "\n");
    made.resize(static_cast<size_t>(to - made.data()));
}

std::string writeScript(const ScriptSource& source, const std::vector<GameString>& strings,
                        const std::vector<std::string>& texts) {
    ScriptWriter writer(source.tables);
    for (size_t n = 0; n < strings.size(); ++n) {
        writer.add(strings[n], n < source.labels.size() ? &source.labels[n] : nullptr, texts[n]);
    }
    return std::move(writer.text());
}

ScriptReading readScript(const std::string& script) {
    ScriptReading reading;
    std::set<size_t> numbers;
    size_t start = script.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    for (size_t lineNumber = 1; start < script.size(); ++lineNumber) {
        size_t end = script.find('\n', start);
        if (end == std::string::npos) end = script.size();
        std::string line = script.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto refuse = [&](ScriptReading::Outcome outcome) {
            reading.outcome = outcome;
            reading.line = lineNumber;
            reading.entries.clear();
            return reading;
        };
        if (startsWith(line, HEADER_MARK)) {
            const size_t close = line.find(']');
            uint32_t number = 0;
            if (close == std::string::npos || !parseCount(line.substr(2, close - 2), UINT32_MAX >> 8, number)) {
                return refuse(ScriptReading::BadHeader);
            }
            if (!numbers.insert(number).second) return refuse(ScriptReading::Repeated);
            reading.entries.push_back({number, lineNumber, {}, {}});
        } else if (startsWith(line, TABLE_MARK)) {
            if (!reading.entries.empty()) return refuse(ScriptReading::TablesLate);
            const size_t space = line.find(' ');
            const std::string kind = line.substr(2, space == std::string::npos ? std::string::npos : space - 2);
            PointerTable table{0, 0, kind == LONG_TABLE};
            if ((kind != SHORT_TABLE && kind != LONG_TABLE) || space == std::string::npos ||
                !parseTable(line.substr(space + 1), table)) {
                return refuse(ScriptReading::BadTables);
            }
            reading.tables.push_back(table);
        } else if (!line.empty() && line[0] == '#') {
            continue;
        } else if (reading.entries.empty()) {
            if (line.find_first_not_of(" \t") != std::string::npos) return refuse(ScriptReading::TextOutsideEntry);
        } else if (!line.empty()) {
            ScriptEntry& entry = reading.entries.back();
            entry.lines.push_back({entry.text.size(), lineNumber});
            entry.text += line;
        }
    }
    if (reading.tables.empty()) {
        reading.outcome = ScriptReading::NoTables;
        reading.entries.clear();
    }
    return reading;
}
