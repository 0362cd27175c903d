// Names as Windows holds them (UTF-16) and as the programs carry them
// (UTF-8): every name comes back unchanged, and text that is not UTF-8
// (bytes in a code page) is told apart.
#include "platform/Platform.h"
#include "encoding/Encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Name {
    const char* what;
    std::u16string utf16;
    std::string utf8;
};

const std::vector<Name> NAMES = {
    {"ASCII", u"arquivos\\grafico_000.bin", "arquivos\\grafico_000.bin"},
    {"Portuguese", u"tradu\u00E7\u00E3o.sfc", "tradu\xC3\xA7\xC3\xA3o.sfc"},
    {"Japanese", u"\u30B2\u30FC\u30E0.sfc", "\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0.sfc"},
    {"beyond U+FFFF (a surrogate pair)", u"\U0001F3AE.sfc", "\xF0\x9F\x8E\xAE.sfc"},
    {"a high surrogate alone", std::u16string{u'a', char16_t(0xD83C), u'b'}, "a\xED\xA0\xBC" "b"},
    {"a low surrogate alone", std::u16string{char16_t(0xDFAE)}, "\xED\xBE\xAE"},
    {"a low surrogate before a high one", std::u16string{char16_t(0xDC00), char16_t(0xD800)},
     "\xED\xB0\x80\xED\xA0\x80"},
    {"empty", u"", ""},
};

TEST(NameEncoding, EveryNameGoesToUtf8AndBackUnchanged) {
    for (const Name& name : NAMES) {
        SCOPED_TRACE(name.what);
        EXPECT_EQ(utf8FromUtf16(name.utf16), name.utf8);
        std::u16string back;
        ASSERT_TRUE(utf16FromUtf8(name.utf8, back));
        EXPECT_EQ(back, name.utf16);
    }
}

TEST(NameEncoding, TextThatIsNotUtf8IsRefused) {
    const std::vector<std::string> notUtf8 = {
        "tradu\xE7\xE3o.sfc",          // Windows-1252
        "\xC3",                        // cut short
        "\xC0\xAF",                    // overlong slash
        "\xE0\x80\xAF",                // overlong slash, three bytes
        "\xF4\x90\x80\x80",            // past U+10FFFF
        "\x80",                        // continuation byte first
        "\xED\xA0\xBC\xED\xBE\xAE",    // a pair written as two halves: one character has one form
    };
    for (const std::string& text : notUtf8) {
        std::u16string out;
        EXPECT_FALSE(utf16FromUtf8(text, out)) << testing::PrintToString(text);
    }
}

}  // namespace
