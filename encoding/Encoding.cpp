#include "encoding/Encoding.h"

namespace {

// Unicode code points of the bytes 0x80 to 0x9F in Windows-1252, where it
// differs from ISO 8859-1; 0 marks the bytes it leaves undefined.
constexpr uint16_t WINDOWS_1252_HIGH_CONTROLS[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 0x88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 0x98
};
constexpr uint16_t REPLACEMENT_CHARACTER = 0xFFFD;

uint16_t codePointOf(unsigned char byte) {
    if (byte < 0x80 || byte >= 0xA0) return byte;
    const uint16_t codePoint = WINDOWS_1252_HIGH_CONTROLS[byte - 0x80];
    return codePoint != 0 ? codePoint : REPLACEMENT_CHARACTER;
}

// Code points of this table all lie below U+10000: one to three bytes.
void appendUtf8(std::string& out, uint16_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace

int windows1252ByteOf(uint32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i) {
        if (WINDOWS_1252_HIGH_CONTROLS[i] != 0 && WINDOWS_1252_HIGH_CONTROLS[i] == codePoint) return 0x80 + i;
    }
    return -1;
}

std::string windows1252ToUtf8(const char* text, size_t length) {
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) appendUtf8(out, codePointOf(static_cast<unsigned char>(text[i])));
    return out;
}

namespace {

bool isHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The bytes of a code point below U+110000; a lone surrogate takes its
// three-byte form.
void appendCodePoint(std::string& out, uint32_t codePoint) {
    if (codePoint < 0x10000) {
        appendUtf8(out, static_cast<uint16_t>(codePoint));
        return;
    }
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
}

}  // namespace

std::string utf8FromUtf16(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const uint32_t unit = text[i];
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            appendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00u));
        } else {
            appendCodePoint(out, unit);
        }
    }
    return out;
}

bool utf16FromUtf8(const std::string& text, std::u16string& out) {
    out.clear();
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                              : lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
        if (length == 0 || text.size() - i < length) return false;
        uint32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            codePoint = codePoint << 6 | (next & 0x3F);
        }
        const uint32_t shortest = length == 1 ? 0 : length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (codePoint < shortest || codePoint > 0x10FFFF) return false;
        // A pair of surrogates written as two three-byte forms would come
        // back as one code point: not the form utf8FromUtf16 writes.
        if (isLowSurrogate(codePoint) && !out.empty() && isHighSurrogate(out.back())) return false;
        if (codePoint < 0x10000) {
            out += static_cast<char16_t>(codePoint);
        } else {
            out += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        }
        i += length;
    }
    return true;
}

std::string escapeControls(const char* text, bool c1) {
    static const char DIGITS[] = "0123456789abcdef";
    std::string out;
    for (const char* c = text; *c; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte < 0x20 || byte == 0x7F || (c1 && byte >= 0x80 && byte < 0xA0)) {
            out += "\\x";
            out += DIGITS[byte >> 4];
            out += DIGITS[byte & 0xF];
        } else {
            out += *c;
        }
    }
    return out;
}

size_t firstNonUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t more = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 9;
        if (more == 9 || text.size() - i <= more) return i;
        uint32_t value = more == 0 ? c : c & (0x3Fu >> more);
        for (size_t k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return i;
            value = value << 6 | (next & 0x3F);
        }
        static const uint32_t LEAST[] = {0, 0x80, 0x800, 0x10000};
        if (value < LEAST[more] || value > 0x10FFFF) return i;
        i += more + 1;
    }
    return text.size();
}

size_t utf8WithoutCutEnd(const std::string& text) {
    const size_t valid = firstNonUtf8(text);
    if (valid == text.size()) return valid;
    const auto lead = static_cast<unsigned char>(text[valid]);
    const size_t more = (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : 0;
    const size_t rest = text.size() - valid - 1;
    if (more == 0 || rest >= more) return text.size();
    for (size_t k = 1; k <= rest; ++k) {
        if ((static_cast<unsigned char>(text[valid + k]) & 0xC0) != 0x80) return text.size();
    }
    return valid;
}

uint32_t codePointAt(const std::string& text, size_t at, size_t* length) {
    const auto c = static_cast<unsigned char>(text[at]);
    const size_t more = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : 3;
    uint32_t value = more == 0 ? c : c & (0x3Fu >> more);
    size_t k = 1;
    for (; k <= more && at + k < text.size(); ++k) value = value << 6 | (text[at + k] & 0x3F);
    if (length) *length = k;
    return value;
}
