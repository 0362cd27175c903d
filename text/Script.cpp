#include "text/Script.h"

#include "rom/Position.h"
#include "rom/RomImage.h"

#include <cstdio>
#include <set>

namespace {

constexpr char HEADER_MARK[] = "#[";
constexpr char TABLE_MARK[] = "#!";
constexpr char SHORT_TABLE[] = "pointers";
constexpr char LONG_TABLE[] = "long-pointers";

// A bus address as the script shows it: "$98:800E".
std::string busAddress(uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof text, "$%02X:%04X", static_cast<unsigned>(address >> 16 & 0xFF),
                  static_cast<unsigned>(address & 0xFFFF));
    return text;
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

std::string writeScript(const ScriptSource& source, const std::vector<GameString>& strings,
                        const std::vector<std::string>& texts) {
    std::string script =
        "# Brelquim-text: textos do jogo. Cada texto tem o cabe\xC3\xA7" "alho \"#[n]\" (endere\xC3\xA7o, tamanho e\n"
        "# ponteiros), o original nas linhas \"# \" e, abaixo, a c\xC3\xB3pia a editar. Linhas que\n"
        "# come\xC3\xA7" "am com # n\xC3\xA3o s\xC3\xA3o texto; <$XX> \xC3\xA9 um byte escrito como est\xC3\xA1; uma quebra de\n"
        "# linha s\xC3\xB3 conta depois do texto de uma quebra da tabela.\n";
    for (const PointerTable& table : source.tables) {
        script += TABLE_MARK;
        script += table.isLong ? LONG_TABLE : SHORT_TABLE;
        script += ' ' + formatBusAddress(table.offset) + ':' + std::to_string(table.count) + '\n';
    }
    for (size_t n = 0; n < strings.size(); ++n) {
        const GameString& string = strings[n];
        script += '\n';
        script += HEADER_MARK + std::to_string(n + 1) + "] " + busAddress(string.address) + ", " +
                  std::to_string(string.length) + " bytes; ponteiros:";
        for (size_t p = 0; p < string.pointers.size(); ++p) {
            const StringPointer& pointer = string.pointers[p];
            script += (p == 0 ? " " : ", ") + formatBusAddress(pointer.at) + " (" +
                      (pointer.isLong ? "24" : "16") + " bits, tabela " + std::to_string(pointer.table + 1) +
                      ", n.\xC2\xBA " + std::to_string(pointer.index) + ")";
        }
        script += '\n';
        if (n < source.labels.size()) script += "#  r\xC3\xB3tulo: " + source.labels[n] + '\n';
        const std::string& text = texts[n];
        for (size_t start = 0; start <= text.size();) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            if (end > start || end < text.size()) script += "# " + text.substr(start, end - start) + '\n';
            start = end + 1;
        }
        script += text;
        if (text.empty() || text.back() != '\n') script += '\n';
    }
    return script;
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
