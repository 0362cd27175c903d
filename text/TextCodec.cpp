#include "text/TextCodec.h"
#include "encoding/Encoding.h"

#include "text/TextFile.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr char HEX_DIGITS[] = "0123456789ABCDEF";
constexpr uint32_t NO_WAY = std::numeric_limits<uint32_t>::max();

void appendRawForm(std::string& text, uint8_t byte) {
    text += "<$";
    text += HEX_DIGITS[byte >> 4];
    text += HEX_DIGITS[byte & 15];
    text += '>';
}

char* writeRawForm(char* to, uint8_t byte) {
    to[0] = '<';
    to[1] = '$';
    to[2] = HEX_DIGITS[byte >> 4];
    to[3] = HEX_DIGITS[byte & 15];
    to[4] = '>';
    return to + RAW_FORM_LENGTH;
}

// The byte of a raw form at text[at], or -1 when none starts there.
int rawFormAt(const std::string& text, size_t at) {
    if (text.size() - at < RAW_FORM_LENGTH || text[at] != '<' || text[at + 1] != '$' || text[at + 4] != '>') return -1;
    const int high = textfile::hexDigit(static_cast<unsigned char>(text[at + 2]));
    const int low = textfile::hexDigit(static_cast<unsigned char>(text[at + 3]));
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

}  // namespace

bool readString(const TextTable& table, const uint8_t* bytes, size_t available, std::vector<TextPiece>& pieces) {
    pieces.clear();
    for (size_t at = 0; at < available;) {
        const uint64_t step = table.step(bytes + at, available - at);
        const size_t length = TextTable::stepLength(step);
        if (length > available - at) return false;
        // Each field stored by itself: a piece made whole first and copied
        // is read back from memory in wider words than it was written.
        TextPiece& piece = pieces.emplace_back();
        piece.entry = TextTable::stepEntry(step);
        piece.start = static_cast<uint32_t>(at);
        piece.length = static_cast<uint32_t>(length);
        if (TextTable::stepEnds(step)) return true;
        at += length;
    }
    return false;
}

namespace {

// The script's text of a string whose pieces include some that must be
// written in raw form: an entry whose text the script would take for
// something else, or a raw form that the texts of entries make up by
// chance.
std::string carefulScriptText(const TextTable& table, const uint8_t* bytes, const std::vector<TextPiece>& pieces) {
    const std::vector<TableEntry>& entries = table.entries();
    // Pieces written in raw form although an entry covers them, where each
    // piece starts in the text, and where a raw form does (both rising):
    // kept from call to call.
    thread_local std::vector<uint8_t> raw;
    thread_local std::vector<uint32_t> pieceStart, rawStart;
    raw.assign(pieces.size(), 0);
    bool lineStart = true;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const int entry = pieces[i].entry;
        if (entry < 0) {
            lineStart = false;
            continue;
        }
        const TableEntry& e = entries[static_cast<size_t>(entry)];
        raw[i] = table.unsafeInScript(entry) || (lineStart && e.text[0] == '#');
        lineStart = e.kind == TableEntry::LineBreak;
    }
    std::string text;
    for (;;) {
        text.clear();
        pieceStart.clear();
        rawStart.clear();
        for (size_t i = 0; i < pieces.size(); ++i) {
            const TextPiece& piece = pieces[i];
            const uint8_t* at = bytes + piece.start;
            pieceStart.push_back(static_cast<uint32_t>(text.size()));
            uint32_t k = 0;
            if (piece.entry >= 0 && !raw[i]) {
                const TableEntry& e = entries[static_cast<size_t>(piece.entry)];
                text += e.text;
                k = static_cast<uint32_t>(e.bytes.size());  // a control code's parameters follow
            }
            for (; k < piece.length; ++k) {
                rawStart.push_back(static_cast<uint32_t>(text.size()));
                appendRawForm(text, at[k]);
            }
            if (piece.entry >= 0 && entries[static_cast<size_t>(piece.entry)].kind == TableEntry::LineBreak) text += '\n';
        }
        // A raw form that the texts of entries make up by chance would read
        // back as a byte: the piece it starts in is written raw instead.
        bool changed = false;
        size_t nextRaw = 0;
        for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
            while (nextRaw < rawStart.size() && rawStart[nextRaw] < at) ++nextRaw;
            if (nextRaw < rawStart.size() && rawStart[nextRaw] == at) continue;
            if (rawFormAt(text, at) < 0) continue;
            const auto owner = std::upper_bound(pieceStart.begin(), pieceStart.end(), static_cast<uint32_t>(at)) - 1;
            raw[static_cast<size_t>(owner - pieceStart.begin())] = 1;
            changed = true;
        }
        if (!changed) return text;
    }
}

}  // namespace

void appendScriptText(const TextTable& table, const uint8_t* bytes, const std::vector<TextPiece>& pieces,
                      std::string& out) {
    // Most strings show every entry's text as it is: written straight
    // into room made for the widest pieces, unless a piece needs the
    // careful way.
    const size_t begin = out.size();
    out.resize(begin + pieces.size() * std::max(table.widestShown(), RAW_FORM_LENGTH));
    char* to = &out[begin];
    bool lineStart = true;
    for (const TextPiece& piece : pieces) {
        const uint8_t* at = bytes + piece.start;
        if (piece.entry < 0) {
            to = writeRawForm(to, at[0]);
            lineStart = false;
            continue;
        }
        if (table.textMayMakeRawForm(piece.entry) || table.unsafeInScript(piece.entry) ||
            (lineStart && table.textStartsComment(piece.entry))) {
            out.resize(begin);
            out += carefulScriptText(table, bytes, pieces);
            return;
        }
        const uint32_t textLength = table.textLength(piece.entry);
        std::memcpy(to, table.textOf(piece.entry), textLength);
        to += textLength;
        for (uint32_t k = table.byteCount(piece.entry); k < piece.length; ++k) to = writeRawForm(to, at[k]);
        lineStart = table.entryKind(piece.entry) == TableEntry::LineBreak;
        if (lineStart) *to++ = '\n';
    }
    out.resize(static_cast<size_t>(to - out.data()));
}

std::string scriptText(const TextTable& table, const uint8_t* bytes, const std::vector<TextPiece>& pieces) {
    std::string text;
    appendScriptText(table, bytes, pieces, text);
    return text;
}

void appendStringText(const TextTable& table, const uint8_t* bytes, size_t length, std::string& out) {
    thread_local std::vector<TextPiece> pieces;
    readString(table, bytes, length, pieces);
    appendScriptText(table, bytes, pieces, out);
}

std::string stringText(const TextTable& table, const uint8_t* bytes, size_t length) {
    std::string text;
    appendStringText(table, bytes, length, text);
    return text;
}

std::string withoutLineEnds(const std::string& text) {
    std::string joined;
    joined.reserve(text.size());
    for (const char c : text) {
        if (c != '\n' && c != '\r') joined += c;
    }
    return joined;
}

namespace {

// The cheapest way found to write each end of the text: best[i], the fewest
// bytes that write text[i..n); step[i] and chosen[i], the text the first
// piece takes and its entry (-1: raw). Kept from call to call, so that
// writing makes no buffers per string.
struct Ways {
    std::vector<uint32_t> best, step;
    std::vector<int> chosen;
};

Ways& ways() {
    thread_local Ways held;
    return held;
}

// End of a control code's text at `at` followed by its parameters in raw
// form, or text.size() + 1 when they are not all there.
size_t afterParameters(const std::string& text, size_t at, int parameters) {
    for (int k = 0; k < parameters; ++k, at += RAW_FORM_LENGTH) {
        if (at >= text.size() || rawFormAt(text, at) < 0) return text.size() + 1;
    }
    return at;
}

// Calls take(next, entry) for every piece that can start at text[i]: a raw
// form (entry -1), then every entry whose text is there, a control code
// with all of its parameters; next is where the text after the piece
// starts.
template <typename Take>
void forEachPiece(const TextTable& table, const std::string& text, size_t i, Take take) {
    const size_t n = text.size();
    if (rawFormAt(text, i) >= 0) take(i + RAW_FORM_LENGTH, -1);
    table.textMatches(text.data() + i, n - i, [&](int entry) {
        const TableEntry& e = table.entries()[static_cast<size_t>(entry)];
        const size_t next = afterParameters(text, i + e.text.size(), e.parameters);
        if (next <= n) take(next, entry);
    });
}

bool isEnd(const TextTable& table, int entry) {
    return entry >= 0 && table.entries()[static_cast<size_t>(entry)].kind == TableEntry::End;
}

// The bytes a piece takes: one for a raw form, an entry's bytes and its
// parameters.
uint32_t pieceBytes(const TextTable& table, int entry) {
    if (entry < 0) return 1;
    const TableEntry& e = table.entries()[static_cast<size_t>(entry)];
    return static_cast<uint32_t>(e.bytes.size()) + static_cast<uint32_t>(e.parameters);
}

// The search, from the end of the text back; of two ways of the same
// bytes, the one whose first piece takes more text. With endsWithToken,
// only ways that end with an end token, and have none before it, count: a
// shorter way without the end is no writing of a string.
void searchWays(const TextTable& table, const std::string& text, bool endsWithToken, Ways& w) {
    const size_t n = text.size();
    w.best.assign(n + 1, NO_WAY);
    w.step.assign(n + 1, 0);
    w.chosen.assign(n + 1, -1);
    w.best[n] = 0;
    for (size_t i = n; i-- > 0;) {
        forEachPiece(table, text, i, [&](size_t next, int entry) {
            if (w.best[next] == NO_WAY) return;
            if (endsWithToken && isEnd(table, entry) != (next == n)) return;
            const uint32_t cost = pieceBytes(table, entry) + w.best[next];
            if (cost < w.best[i] || (cost == w.best[i] && next - i > w.step[i])) {
                w.best[i] = cost;
                w.step[i] = static_cast<uint32_t>(next - i);
                w.chosen[i] = entry;
            }
        });
    }
}

Encoding refusal(Encoding::Outcome outcome, size_t at) {
    Encoding result;
    result.outcome = outcome;
    result.at = at;
    return result;
}

// A text no way writes: it gets stuck at the furthest place writing can
// reach, on a character no entry covers or on a control code without its
// parameters.
Encoding refusalWhereStuck(const TextTable& table, const std::string& text) {
    const size_t n = text.size();
    std::vector<bool> reached(n + 1, false);
    reached[0] = true;
    size_t stuck = 0;
    for (size_t i = 0; i < n; ++i) {
        if (!reached[i]) continue;
        stuck = i;
        forEachPiece(table, text, i, [&](size_t next, int) { reached[next] = true; });
    }
    Encoding result = refusal(Encoding::Uncovered, stuck);
    table.textMatches(text.data() + stuck, n - stuck, [&](int entry) {
        if (table.entries()[static_cast<size_t>(entry)].kind == TableEntry::Control) {
            result.outcome = Encoding::NoParameters;
        }
    });
    return result;
}

// The bytes of the way found into result, each piece as written and where
// its text starts; false, with EndBeforeEnd, at an end token before the
// end of the text.
bool writeWay(const TextTable& table, const std::string& text, const Ways& w, Encoding& result,
              std::vector<TextPiece>& written, std::vector<size_t>& textAt) {
    written.clear();
    textAt.clear();
    for (size_t i = 0; i < text.size(); i += w.step[i]) {
        const int entry = w.chosen[i];
        const auto start = static_cast<uint32_t>(result.bytes.size());
        textAt.push_back(i);
        if (entry < 0) {
            result.bytes.push_back(static_cast<uint8_t>(rawFormAt(text, i)));
        } else {
            const TableEntry& e = table.entries()[static_cast<size_t>(entry)];
            result.bytes.insert(result.bytes.end(), e.bytes.begin(), e.bytes.end());
            for (int k = 0; k < e.parameters; ++k) {
                const size_t at = i + e.text.size() + RAW_FORM_LENGTH * static_cast<size_t>(k);
                result.bytes.push_back(static_cast<uint8_t>(rawFormAt(text, at)));
            }
            if (e.kind == TableEntry::End && i + w.step[i] < text.size()) {
                result.outcome = Encoding::EndBeforeEnd;
                result.at = i;
                result.after = i + w.step[i];
                return false;
            }
        }
        written.push_back({entry, start, static_cast<uint32_t>(result.bytes.size()) - start});
    }
    return true;
}

// The bytes read back as a dump reads them must give the pieces written:
// the same places, entries of the same text and kind. Else ReadsOtherwise,
// at the first piece that differs.
void checkReadBack(const TextTable& table, const std::string& text, const std::vector<TextPiece>& written,
                   const std::vector<size_t>& textAt, Encoding& result) {
    const std::vector<TableEntry>& entries = table.entries();
    thread_local std::vector<TextPiece> read;
    readString(table, result.bytes.data(), result.bytes.size(), read);
    for (size_t k = 0; k < written.size(); ++k) {
        const TextPiece& w = written[k];
        bool same = k < read.size() && read[k].start == w.start && read[k].length == w.length;
        if (same && w.entry >= 0) {
            const TableEntry& a = entries[static_cast<size_t>(w.entry)];
            same = read[k].entry >= 0 && entries[static_cast<size_t>(read[k].entry)].text == a.text &&
                   entries[static_cast<size_t>(read[k].entry)].kind == a.kind;
        }
        if (!same) {
            result.outcome = Encoding::ReadsOtherwise;
            result.at = textAt[k];
            return;
        }
    }
    if (read.size() != written.size()) {
        result.outcome = Encoding::ReadsOtherwise;
        result.at = text.size();
    }
}

}  // namespace

Encoding encodeText(const TextTable& table, const std::string& text) {
    const size_t broken = firstNonUtf8(text);
    if (broken < text.size()) return refusal(Encoding::NotUtf8, broken);
    Ways& w = ways();
    searchWays(table, text, table.hasEndTokens(), w);
    // No way with the end where it belongs: the shortest way at all tells
    // what is wrong (the end missing or too early, or a character).
    if (w.best[0] == NO_WAY && table.hasEndTokens()) searchWays(table, text, false, w);
    if (w.best[0] == NO_WAY) return refusalWhereStuck(table, text);

    Encoding result;
    thread_local std::vector<TextPiece> written;
    thread_local std::vector<size_t> textAt;
    if (!writeWay(table, text, w, result, written, textAt)) return result;
    if (table.hasEndTokens() && (written.empty() || !isEnd(table, written.back().entry))) {
        result.outcome = Encoding::NoEndToken;
        result.at = text.size();
        return result;
    }
    checkReadBack(table, text, written, textAt, result);
    return result;
}
