#include "text/TextTable.h"
#include "encoding/Encoding.h"

#include "platform/Platform.h"
#include "text/TextCodec.h"
#include "text/TextFile.h"

#include <algorithm>
#include <cstring>

namespace {

// The string reader's end mark, used when a table marks no end token.
constexpr char READER_END_TEXT[] = "@";

bool isBlank(const std::string& line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// One line, without its line end, into an entry.
TableProblem::Kind parseLine(const std::string& line, TableEntry& entry) {
    size_t at = 0;
    while (line[at] == ' ' || line[at] == '\t') ++at;
    entry = TableEntry{};
    switch (line[at]) {
        case '/': entry.kind = TableEntry::End, ++at; break;
        case '*': entry.kind = TableEntry::LineBreak, ++at; break;
        case '$': entry.kind = TableEntry::Control, ++at; break;
        default: break;
    }
    const size_t equals = line.find('=', at);
    if (equals == std::string::npos) return TableProblem::NoEquals;
    if (equals - at > 2 && line[at] == '0' && (line[at + 1] == 'x' || line[at + 1] == 'X')) at += 2;
    if (equals == at) return TableProblem::NoDigits;
    for (size_t i = at; i < equals; ++i) {
        if (textfile::hexDigit(static_cast<unsigned char>(line[i])) < 0) return TableProblem::NoDigits;
    }
    if ((equals - at) % 2 != 0) return TableProblem::OddDigits;
    if ((equals - at) / 2 > MOST_ENTRY_BYTES) return TableProblem::TooManyBytes;
    for (size_t i = at; i < equals; i += 2) {
        entry.bytes.push_back(static_cast<uint8_t>(textfile::hexDigit(static_cast<unsigned char>(line[i])) * 16 +
                                                   textfile::hexDigit(static_cast<unsigned char>(line[i + 1]))));
    }
    // A control's text is followed by ",N", at most three more bytes.
    if (line.size() - equals - 1 > MOST_ENTRY_TEXT + 3) return TableProblem::TextTooLong;
    entry.text = line.substr(equals + 1);
    if (entry.kind == TableEntry::Control) {
        const size_t comma = entry.text.rfind(',');
        if (comma == std::string::npos || comma + 1 == entry.text.size() || entry.text.size() - comma > 3) {
            return TableProblem::ParameterCount;
        }
        int count = 0;
        for (size_t i = comma + 1; i < entry.text.size(); ++i) {
            const char c = entry.text[i];
            if (c < '0' || c > '9') return TableProblem::ParameterCount;
            count = count * 10 + (c - '0');
        }
        if (count > MOST_PARAMETERS) return TableProblem::ParameterCount;
        entry.parameters = count;
        entry.text.resize(comma);
    }
    if (entry.text.empty()) return TableProblem::EmptyText;
    if (entry.text.size() > MOST_ENTRY_TEXT) return TableProblem::TextTooLong;
    return TableProblem::None;
}

// Whether a "<" in text begins a raw form, or the start of one that the
// texts after it could complete.
bool mayMakeRawForm(const std::string& text) {
    const auto fits = [](char c, size_t k) {
        if (k == 1) return c == '$';
        if (k == 4) return c == '>';
        return textfile::hexDigit(static_cast<unsigned char>(c)) >= 0;
    };
    for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
        size_t k = 1;
        while (k < RAW_FORM_LENGTH && at + k < text.size() && fits(text[at + k], k)) ++k;
        if (k == RAW_FORM_LENGTH || at + k == text.size()) return true;
    }
    return false;
}

}  // namespace

namespace {

// A node with more children than this looks them up by byte value.
constexpr uint32_t LISTED_CHILDREN = 6;

}  // namespace

void TextTable::Trie::clear() {
    std::fill(std::begin(root), std::end(root), -1);
    nodes.clear();
    edges.clear();
    keys.clear();
    targets.clear();
    dense.clear();
    building.clear();
}

// While the trie is built, a node's children are found by hashing.
int32_t TextTable::Trie::find(int32_t node, uint8_t c) const {
    const auto found = building.find(static_cast<uint64_t>(node) << 8 | c);
    return found == building.end() ? -1 : found->second;
}

void TextTable::Trie::add(const uint8_t* key, size_t length, int32_t entry, bool keepFirst) {
    int32_t node = root[key[0]];
    if (node < 0) {
        node = static_cast<int32_t>(nodes.size());
        nodes.emplace_back();
        root[key[0]] = node;
    }
    for (size_t i = 1; i < length; ++i) {
        int32_t next = find(node, key[i]);
        if (next < 0) {
            next = static_cast<int32_t>(nodes.size());
            nodes.emplace_back();
            edges.push_back({node, key[i], next});
            building.emplace(static_cast<uint64_t>(node) << 8 | key[i], next);
        }
        node = next;
    }
    int32_t& held = nodes[static_cast<size_t>(node)].entry;
    if (held < 0 || !keepFirst) held = entry;
}

void TextTable::Trie::compact() {
    std::stable_sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.node < b.node; });
    keys.clear();
    targets.clear();
    dense.clear();
    for (size_t e = 0; e < edges.size();) {
        size_t end = e;
        while (end < edges.size() && edges[end].node == edges[e].node) ++end;
        Node& n = nodes[static_cast<size_t>(edges[e].node)];
        if (end - e > LISTED_CHILDREN) {
            n.dense = static_cast<int32_t>(dense.size());
            dense.resize(dense.size() + 256, -1);
            for (size_t k = e; k < end; ++k) dense[static_cast<size_t>(n.dense) + edges[k].key] = edges[k].child;
        } else {
            n.first = static_cast<uint32_t>(keys.size());
            n.count = static_cast<uint32_t>(end - e);
            for (size_t k = e; k < end; ++k) {
                keys.push_back(edges[k].key);
                targets.push_back(edges[k].child);
            }
        }
        e = end;
    }
    edges.clear();
    edges.shrink_to_fit();
    building.clear();
}

TableProblem TextTable::read(const uint8_t* bytes, size_t length) {
    static const uint8_t BYTE_ORDER_MARK[] = {0xEF, 0xBB, 0xBF};
    std::string text;
    if (length >= 3 && std::memcmp(bytes, BYTE_ORDER_MARK, 3) == 0) bytes += 3, length -= 3;
    text.assign(reinterpret_cast<const char*>(bytes), length);
    size_t windows1252 = 0;
    const size_t notUtf8 = firstNonUtf8(text);
    if (notUtf8 != text.size()) {
        const auto before = text.begin() + static_cast<std::ptrdiff_t>(notUtf8);
        windows1252 = 1 + static_cast<size_t>(std::count(text.begin(), before, '\n'));
        text = windows1252ToUtf8(text.data(), text.size());
    }

    std::vector<TableEntry> read;
    size_t lineNumber = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (isBlank(line) || line[line.find_first_not_of(" \t")] == '#') continue;
        TableEntry entry;
        const TableProblem::Kind problem = parseLine(line, entry);
        if (problem != TableProblem::None) return {problem, lineNumber};
        entry.line = lineNumber;
        read.push_back(std::move(entry));
    }
    table = std::move(read);
    firstWindows1252Line = windows1252;
    endTokens = std::any_of(table.begin(), table.end(), [](const TableEntry& e) { return e.kind == TableEntry::End; });
    if (!endTokens) {
        for (TableEntry& entry : table) {
            if (entry.kind == TableEntry::Text && entry.text == READER_END_TEXT) entry.kind = TableEntry::End, endTokens = true;
        }
    }
    index();
    return {};
}

uint64_t TextTable::stepOf(int entry) const {
    if (entry < 0) return uint64_t{1} << STEP_LENGTH_SHIFT;
    const Shape& shape = shapes[static_cast<size_t>(entry)];
    return static_cast<uint64_t>(entry + 1) | (uint64_t{shape.readLength} & STEP_LENGTH_MASK) << STEP_LENGTH_SHIFT |
           (shape.kind == TableEntry::End ? STEP_ENDS : 0);
}

void TextTable::indexPairs() {
    pairs.assign(256, stepOf(-1));
    for (uint32_t first = 0; first < 256; ++first) {
        pairRow[first] = 0;
        const int32_t node = byBytes.rootChild(static_cast<uint8_t>(first));
        if (node < 0) continue;
        pairRow[first] = static_cast<uint16_t>(pairs.size() >> 8);
        const int32_t alone = byBytes.entry(node);
        for (uint32_t second = 0; second < 256; ++second) {
            const int32_t next = byBytes.child(node, static_cast<uint8_t>(second));
            const int32_t entry = next >= 0 && byBytes.entry(next) >= 0 ? byBytes.entry(next) : alone;
            pairs.push_back(stepOf(entry) | (next >= 0 && byBytes.hasChildren(next) ? LONGER : 0));
        }
    }
}

void TextTable::index() {
    controlInText.clear();
    shapes.clear();
    texts.clear();
    widest = RAW_FORM_LENGTH;
    for (const TableEntry& entry : table) {
        controlInText.push_back(std::any_of(entry.text.begin(), entry.text.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        }));
        const auto byteCount = static_cast<uint32_t>(entry.bytes.size());
        shapes.push_back({static_cast<uint32_t>(texts.size()), static_cast<uint32_t>(entry.text.size()), byteCount,
                          byteCount + static_cast<uint32_t>(entry.parameters), entry.kind, entry.text[0] == '#',
                          mayMakeRawForm(entry.text)});
        texts += entry.text;
        widest = std::max(widest, entry.text.size() + RAW_FORM_LENGTH * static_cast<size_t>(entry.parameters) + 1);
    }
    byBytes.clear();
    byText.clear();
    for (size_t i = 0; i < table.size(); ++i) {
        const TableEntry& entry = table[i];
        byBytes.add(entry.bytes.data(), entry.bytes.size(), static_cast<int32_t>(i), true);
    }
    byBytes.compact();
    indexPairs();
    // Writing: among entries of one text, the one of fewest bytes, the first
    // among equals; so entries go in by their byte count, fewest first. An
    // entry whose bytes an earlier entry also has is never read, and
    // written it would read as that one: writing leaves it out.
    std::vector<size_t> order(table.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return table[a].bytes.size() < table[b].bytes.size(); });
    for (const size_t i : order) {
        const TableEntry& entry = table[i];
        if (longestMatch(entry.bytes.data(), entry.bytes.size()) != static_cast<int>(i)) continue;
        byText.add(reinterpret_cast<const uint8_t*>(entry.text.data()), entry.text.size(), static_cast<int32_t>(i),
                   true);
    }
    byText.compact();
}

std::vector<SameBytes> TextTable::sameBytes() const {
    std::vector<SameBytes> pairs;
    for (size_t i = 0; i < table.size(); ++i) {
        const int read = longestMatch(table[i].bytes.data(), table[i].bytes.size());
        const TableEntry& first = table[static_cast<size_t>(read)];
        if (read != static_cast<int>(i) && first.bytes == table[i].bytes) pairs.push_back({first.line, table[i].line});
    }
    return pairs;
}

int TextTable::walk(const uint8_t* bytes, size_t length) const {
    if (length == 0) return -1;
    int32_t node = byBytes.rootChild(bytes[0]);
    int found = -1;
    for (size_t i = 1; node >= 0; ++i) {
        const int32_t entry = byBytes.entry(node);
        if (entry >= 0) found = entry;
        if (i == length) break;
        node = byBytes.child(node, bytes[i]);
    }
    return found;
}
