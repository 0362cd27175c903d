// The relative search against a brute force that tries every first code
// of every class at every place, and its ranking on images of the game
// whose text is in an encoding of their own.
#include "discovery/RelativeSearch.h"
#include "tests/sample/TextImage.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

namespace {

using Bytes = std::vector<uint8_t>;

const uint32_t SPAN[CLASS_COUNT] = {26, 26, 10, 1};

int classOf(char c) {
    if (c >= 'A' && c <= 'Z') return UPPER;
    if (c >= 'a' && c <= 'z') return LOWER;
    if (c >= '0' && c <= '9') return DIGIT;
    return c == ' ' ? SPACE : -1;
}

uint32_t ordinalOf(char c) {
    const int k = classOf(c);
    return k == UPPER ? c - 'A' : k == LOWER ? c - 'a' : k == DIGIT ? c - '0' : 0;
}

// Every (word, offset, mapping) by trying each first code of each class
// the word holds, and keeping the places where every character of the
// class reads as that code plus its place in the class.
std::set<std::tuple<size_t, uint32_t, std::vector<uint32_t>>> bruteForce(const Bytes& data,
                                                                         const std::vector<std::string>& words,
                                                                         bool wide) {
    std::set<std::tuple<size_t, uint32_t, std::vector<uint32_t>>> hits;
    const size_t width = wide ? 2 : 1;
    const uint32_t codes = wide ? 0x10000 : 0x100;
    for (size_t w = 0; w < words.size(); ++w) {
        const std::string& word = words[w];
        for (size_t p = 0; p + word.size() * width <= data.size(); ++p) {
            std::vector<uint32_t> mapping(CLASS_COUNT, UINT32_MAX);
            bool hit = true;
            for (int k = 0; k < CLASS_COUNT && hit; ++k) {
                bool inWord = false;
                for (char c : word) inWord = inWord || classOf(c) == k;
                if (!inWord) continue;
                hit = false;
                for (uint32_t first = 0; first < codes && !hit; ++first) {
                    bool all = true;
                    for (size_t i = 0; i < word.size() && all; ++i) {
                        if (classOf(word[i]) != k) continue;
                        const uint32_t value = wide ? data[p + 2 * i] | data[p + 2 * i + 1] << 8 : data[p + i];
                        all = value == first + ordinalOf(word[i]);
                    }
                    if (all) {
                        hit = true;
                        mapping[k] = first;
                    }
                }
            }
            for (int a = 0; a < CLASS_COUNT && hit; ++a) {
                for (int b = a + 1; b < CLASS_COUNT && hit; ++b) {
                    if (mapping[a] == UINT32_MAX || mapping[b] == UINT32_MAX) continue;
                    hit = !(mapping[a] < mapping[b] + SPAN[b] && mapping[b] < mapping[a] + SPAN[a]);
                }
            }
            if (hit) hits.insert({w, static_cast<uint32_t>(p), mapping});
        }
    }
    return hits;
}

std::vector<uint32_t> mappingOf(const CodeMapping& mapping) {
    std::vector<uint32_t> codes(CLASS_COUNT, UINT32_MAX);
    for (int k = 0; k < CLASS_COUNT; ++k) {
        if (mapping.fixed[k]) codes[k] = mapping.code[k];
    }
    return codes;
}

// Small images of few distinct byte values, so that words hit often,
// with words of every class, '*' and spaces.
TEST(RelativeSearch, FindsWhatABruteForceFinds) {
    const std::vector<std::vector<std::string>> cases = {
        {"abc"}, {"Hello"}, {"HELLO", "hello"}, {"a1b2c3"}, {"ab c d"}, {"A*CD", "x*yz"}, {"Go 999"}, {"zzz"},
    };
    uint32_t state = 12345;
    for (bool wide : {false, true}) {
        for (const auto& words : cases) {
            // Wide, the brute force tries 65536 codes: fewer places.
            Bytes data(wide ? 320 : 600);
            for (uint8_t& byte : data) {
                state = state * 1103515245u + 12345u;
                byte = static_cast<uint8_t>(30 + (state >> 16) % 6);
            }
            // One true hit of each word at a mapping of its own.
            for (size_t w = 0; w < words.size(); ++w) {
                const size_t at = (wide ? 20 + 60 * w : 40 + 150 * w);
                for (size_t i = 0; i < words[w].size(); ++i) {
                    const char c = words[w][i];
                    if (c == '*') continue;
                    const uint32_t value = uint32_t(classOf(c)) * 40 + ordinalOf(c) + (wide ? 0x1200 : 0);
                    if (wide) {
                        data[at + 2 * i] = uint8_t(value);
                        data[at + 2 * i + 1] = uint8_t(value >> 8);
                    } else {
                        data[at + i] = uint8_t(value);
                    }
                }
            }
            const auto expected = bruteForce(data, words, wide);
            const RelativeSearch search = searchWords(data.data(), data.size(), words, wide);
            ASSERT_EQ(search.outcome, RelativeSearch::Done) << words[0];
            std::set<std::tuple<size_t, uint32_t, std::vector<uint32_t>>> found;
            for (const FoundMapping& mapping : search.mappings) {
                for (const SearchHit& hit : mapping.hits) {
                    CodeMapping own;
                    ASSERT_TRUE(hitAt(data.data() + hit.offset, data.size() - hit.offset, words[hit.word], wide, own));
                    EXPECT_TRUE(mapping.mapping.agreesWith(own));
                    found.insert({hit.word, hit.offset, mappingOf(own)});
                }
            }
            EXPECT_EQ(found, expected) << words[0] << (wide ? " wide" : "");
        }
    }
}

TEST(RelativeSearch, RefusesMalformedAndShortWords) {
    const Bytes data(64, 0);
    const std::vector<std::tuple<std::vector<std::string>, RelativeSearch::Outcome, size_t>> cases = {
        {{"Hello", "ol\xC3\xA1"}, RelativeSearch::Malformed, 1},
        {{"a-b-c"}, RelativeSearch::Malformed, 0},
        {{""}, RelativeSearch::Malformed, 0},
        {{"Hello", "Go"}, RelativeSearch::TooShort, 1},
        {{"a*b"}, RelativeSearch::TooShort, 0},
        {{"Abc1"}, RelativeSearch::TooShort, 0},
        {{"Hello"}, RelativeSearch::NoHit, 0},
    };
    for (const auto& [words, outcome, word] : cases) {
        const RelativeSearch search = searchWords(data.data(), data.size(), words, false);
        EXPECT_EQ(search.outcome, outcome) << words.back();
        if (outcome != RelativeSearch::NoHit) {
            EXPECT_EQ(search.word, word) << words.back();
        }
    }
}

// Two words of a few letters, of one case or of both, rank the image's
// own mapping first; its draft reads the words as the image holds them.
TEST(RelativeSearch, RanksTheTrueMappingFirstOnImagesOfTheGame) {
    const std::vector<std::vector<std::string>> cases = {{"castle", "dragon"}, {"King", "village"}, {"Hero", "gold"}};
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        const TextImage image = buildTextImage(1u << 20, seed);
        for (const auto& words : cases) {
            const RelativeSearch search = searchWords(image.image.data(), image.image.size(), words, false);
            ASSERT_EQ(search.outcome, RelativeSearch::Done);
            const CodeMapping& best = search.mappings.front().mapping;
            EXPECT_EQ(search.mappings.front().words, words.size());
            EXPECT_TRUE(best.fixed[LOWER]);
            EXPECT_EQ(best.code[LOWER], image.lower) << seed << " " << words[0];
            EXPECT_EQ(best.fixed[UPPER], words[0][0] <= 'Z');
            if (best.fixed[UPPER]) {
                EXPECT_EQ(best.code[UPPER], image.upper) << seed << " " << words[0];
            }
        }
    }
}

TEST(RelativeSearch, DraftTableGivesEachFixedClassInStoredOrder) {
    CodeMapping mapping;
    mapping.fixed[LOWER] = mapping.fixed[SPACE] = true;
    mapping.code[LOWER] = 0x0120;
    mapping.code[SPACE] = 0x0003;
    const std::string wide = draftTable(mapping, {"abc", "x y"}, true);
    EXPECT_EQ(wide.substr(0, wide.find('\n') + 1), "# brelquim-text search: \"abc\" \"x y\"\n");
    EXPECT_NE(wide.find("\n2001=a\n2101=b\n"), std::string::npos);
    EXPECT_NE(wide.find("\n3901=z\n0300= \n"), std::string::npos);
    EXPECT_EQ(wide.find("=A"), std::string::npos);
    mapping.code[LOWER] = 0xF0;  // z would pass FF: the draft stops at FF
    const std::string narrow = draftTable(mapping, {"abc"}, false);
    EXPECT_NE(narrow.find("\nFF=p\n03= \n"), std::string::npos);
    EXPECT_EQ(narrow.find("=q"), std::string::npos);
}

}  // namespace
