// The label list: keys and short texts read from a label file, and the
// expansion of a key into its text or into a hexadecimal placeholder.
#include "rom/RomImage.h"
#include "text/TextFile.h"

#include <cstring>

namespace {

// A line is read in pieces of at most 127 characters, each handled as a
// line of its own.
constexpr int PIECE_BUFFER = 128;
constexpr size_t TEXT_LIMIT = sizeof(LabelEntry::text) - 1;
// Placeholder digits shown for keys of 2^20 and more.
constexpr int PLACEHOLDER_DIGITS = 6;

// One piece: optional white space, a hexadecimal key (optional 0x prefix),
// optional white space, then the rest of the piece as the text, cut to 31
// characters. A carriage return just before the piece's last character
// ends the piece, which drops a CR LF line end whole; a lone LF stays in
// the text. Gives false when the piece has no key or no text.
bool parsePiece(char* piece, LabelEntry& entry) {
    const size_t length = std::strlen(piece);
    if (length >= 2 && piece[length - 2] == '\r') piece[length - 2] = '\0';

    const char* p = piece;
    while (textfile::isSpace(*p)) ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && textfile::hexDigit(p[2]) >= 0) p += 2;
    uint32_t key = 0;  // wraps: an over-long number keeps its low 32 bits
    bool digits = false;
    for (int digit; (digit = textfile::hexDigit(*p)) >= 0; ++p) {
        key = key * 16 + static_cast<uint32_t>(digit);
        digits = true;
    }
    if (!digits) return false;
    while (textfile::isSpace(*p)) ++p;
    if (*p == '\0') return false;

    entry.key = key;
    size_t n = 0;
    while (n < TEXT_LIMIT && p[n] != '\0') {
        entry.text[n] = p[n];
        ++n;
    }
    entry.text[n] = '\0';
    return true;
}

}  // namespace

int32_t RomImage::readLabels() {
    FILE* file = textfile::openForReading(labelPath);
    if (!file) {
        reportOpenFailure(labelPath);
        return 1;
    }
    // Read aside, so that a file that fails half-way adds nothing.
    std::vector<LabelEntry> read;
    char piece[PIECE_BUFFER];
    while (std::fgets(piece, sizeof piece, file)) {
        LabelEntry entry{};  // nothing carries over from an earlier piece
        if (parsePiece(piece, entry)) read.push_back(entry);
    }
    if (!textfile::closeAfterReading(file)) {
        reportOpenFailure(labelPath);
        return 1;
    }
    labels.insert(labels.end(), read.begin(), read.end());
    return 0;
}

int32_t RomImage::loadLabels(const char* path) {
    if (!textfile::storePath(labelPath, path)) {
        reportOpenFailure(path);
        return 1;
    }
    return readLabels();
}

void RomImage::expandKey(uint32_t key, char* out, int32_t& pos) const {
    for (const LabelEntry& label : labels) {
        if (label.key != key) continue;
        for (size_t i = 0; i < TEXT_LIMIT && label.text[i] != '\0'; ++i) out[pos++] = label.text[i];
        return;
    }
    // No label: "{" and the "%04x" digits, at most the first six, and "}".
    char digits[9];
    std::snprintf(digits, sizeof digits, "%04x", static_cast<unsigned>(key));
    out[pos++] = '{';
    for (int i = 0; i < PLACEHOLDER_DIGITS && digits[i] != '\0'; ++i) out[pos++] = digits[i];
    out[pos++] = '}';
}
