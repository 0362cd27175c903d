#include "discovery/RelativeSearch.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

namespace {

constexpr uint32_t CLASS_SPAN[CLASS_COUNT] = {26, 26, 10, 1};
constexpr char CLASS_FIRST[CLASS_COUNT] = {'A', 'a', '0', ' '};
constexpr int LEAST_CONSTRAINING = 3;
// Seeds of combined mappings looked at, those of most hits first.
constexpr size_t MOST_SEEDS = 2000;

// The class of a character of a word, CLASS_COUNT for '*', -1 for one
// that no word holds.
int classOf(char c) {
    if (c >= 'A' && c <= 'Z') return UPPER;
    if (c >= 'a' && c <= 'z') return LOWER;
    if (c >= '0' && c <= '9') return DIGIT;
    if (c == ' ') return SPACE;
    if (c == '*') return CLASS_COUNT;
    return -1;
}

// A word as the search reads it: each class's characters by place and
// their distance from the class's first code.
struct Pattern {
    struct Character {
        uint32_t index;
        uint32_t ordinal;
    };
    std::vector<Character> byClass[CLASS_COUNT];
    // (index, index of the class's first character, difference): checked
    // in turn, the cheapest refusal first.
    struct Constraint {
        uint32_t index, first;
        uint32_t difference;
    };
    std::vector<Constraint> constraints;
    size_t length = 0;
};

Pattern patternOf(const std::string& word) {
    Pattern pattern;
    pattern.length = word.size();
    for (size_t i = 0; i < word.size(); ++i) {
        const int c = classOf(word[i]);
        if (c < 0 || c == CLASS_COUNT) continue;
        pattern.byClass[c].push_back({static_cast<uint32_t>(i), static_cast<uint32_t>(word[i] - CLASS_FIRST[c])});
    }
    for (const auto& characters : pattern.byClass) {
        for (size_t k = 1; k < characters.size(); ++k) {
            pattern.constraints.push_back(
                {characters[k].index, characters[0].index, characters[k].ordinal - characters[0].ordinal});
        }
    }
    return pattern;
}

uint32_t valueAt(const uint8_t* at, uint32_t index, bool wide) {
    return wide ? uint32_t(at[2 * index]) | uint32_t(at[2 * index + 1]) << 8 : at[index];
}

bool matches(const uint8_t* at, const Pattern& pattern, bool wide, CodeMapping& mapping) {
    const uint32_t mask = wide ? 0xFFFF : 0xFF;
    for (const Pattern::Constraint& c : pattern.constraints) {
        if (((valueAt(at, c.index, wide) - valueAt(at, c.first, wide) - c.difference) & mask) != 0) return false;
    }
    mapping = CodeMapping{};
    for (int c = 0; c < CLASS_COUNT; ++c) {
        if (pattern.byClass[c].empty()) continue;
        const Pattern::Character& first = pattern.byClass[c].front();
        const uint32_t value = valueAt(at, first.index, wide);
        if (value < first.ordinal) return false;
        mapping.fixed[c] = true;
        mapping.code[c] = value - first.ordinal;
    }
    // A hit's own classes must not share codes either.
    return mapping.agreesWith(CodeMapping{});
}

bool overlap(uint32_t a, uint32_t aSpan, uint32_t b, uint32_t bSpan) { return a < b + bSpan && b < a + aSpan; }

// The hits of one word that imply one mapping.
struct Partial {
    size_t word;
    CodeMapping mapping;
    std::vector<uint32_t> offsets;
};

auto keyOf(const CodeMapping& m) {
    return std::make_tuple(m.fixed[0] ? m.code[0] : ~0u, m.fixed[1] ? m.code[1] : ~0u, m.fixed[2] ? m.code[2] : ~0u,
                           m.fixed[3] ? m.code[3] : ~0u);
}

std::vector<Partial> partialsOf(const uint8_t* data, size_t size, const std::string& word, size_t index,
                                bool wide) {
    const Pattern pattern = patternOf(word);
    const size_t width = wide ? 2 : 1;
    std::vector<Partial> partials;
    std::map<decltype(keyOf(CodeMapping{})), size_t> byKey;
    if (size < pattern.length * width) return partials;
    const size_t last = size - pattern.length * width;
    CodeMapping mapping;
    for (size_t p = 0; p <= last; ++p) {
        if (!matches(data + p, pattern, wide, mapping)) continue;
        const auto key = keyOf(mapping);
        auto known = byKey.find(key);
        if (known == byKey.end()) {
            known = byKey.emplace(key, partials.size()).first;
            partials.push_back({index, mapping, {}});
        }
        partials[known->second].offsets.push_back(static_cast<uint32_t>(p));
    }
    return partials;
}

// One mapping from a seed: for each other word, its partial of most hits
// that agrees with what is combined so far.
std::vector<size_t> combineFrom(size_t seed, const std::vector<Partial>& partials, size_t words) {
    std::vector<size_t> chosen{seed};
    CodeMapping combined = partials[seed].mapping;
    for (size_t w = 0; w < words; ++w) {
        if (w == partials[seed].word) continue;
        size_t best = partials.size();
        for (size_t i = 0; i < partials.size(); ++i) {
            const Partial& p = partials[i];
            if (p.word != w || !combined.agreesWith(p.mapping)) continue;
            if (best == partials.size() || p.offsets.size() > partials[best].offsets.size()) best = i;
        }
        if (best == partials.size()) continue;
        combined.merge(partials[best].mapping);
        chosen.push_back(best);
    }
    std::sort(chosen.begin(), chosen.end());
    return chosen;
}

FoundMapping foundOf(const std::vector<size_t>& chosen, const std::vector<Partial>& partials) {
    FoundMapping found;
    for (size_t i : chosen) {
        found.mapping.merge(partials[i].mapping);
        for (uint32_t offset : partials[i].offsets) found.hits.push_back({partials[i].word, offset});
    }
    std::sort(found.hits.begin(), found.hits.end(),
              [](const SearchHit& a, const SearchHit& b) { return std::tie(a.word, a.offset) < std::tie(b.word, b.offset); });
    found.words = chosen.size();
    return found;
}

uint32_t firstOffset(const FoundMapping& found) {
    uint32_t first = UINT32_MAX;
    for (const SearchHit& hit : found.hits) first = std::min(first, hit.offset);
    return first;
}

}  // namespace

bool CodeMapping::agreesWith(const CodeMapping& other) const {
    CodeMapping both = *this;
    for (int c = 0; c < CLASS_COUNT; ++c) {
        if (!other.fixed[c]) continue;
        if (both.fixed[c] && both.code[c] != other.code[c]) return false;
        both.fixed[c] = true;
        both.code[c] = other.code[c];
    }
    for (int a = 0; a < CLASS_COUNT; ++a) {
        for (int b = a + 1; b < CLASS_COUNT; ++b) {
            if (both.fixed[a] && both.fixed[b] &&
                overlap(both.code[a], CLASS_SPAN[a], both.code[b], CLASS_SPAN[b])) {
                return false;
            }
        }
    }
    return true;
}

void CodeMapping::merge(const CodeMapping& other) {
    for (int c = 0; c < CLASS_COUNT; ++c) {
        if (!other.fixed[c]) continue;
        fixed[c] = true;
        code[c] = other.code[c];
    }
}

bool CodeMapping::operator==(const CodeMapping& other) const { return keyOf(*this) == keyOf(other); }

int constrainingCharacters(const std::string& word) {
    if (word.empty()) return -1;
    int count[CLASS_COUNT] = {};
    for (char c : word) {
        const int k = classOf(c);
        if (k < 0) return -1;
        if (k < CLASS_COUNT) ++count[k];
    }
    int constraining = 0;
    for (int n : count) constraining += n >= 2 ? n : 0;
    return constraining;
}

bool hitAt(const uint8_t* data, size_t size, const std::string& word, bool wide, CodeMapping& mapping) {
    const Pattern pattern = patternOf(word);
    if (size < pattern.length * (wide ? 2 : 1)) return false;
    return matches(data, pattern, wide, mapping);
}

RelativeSearch searchWords(const uint8_t* data, size_t size, const std::vector<std::string>& words, bool wide) {
    RelativeSearch search;
    for (size_t w = 0; w < words.size(); ++w) {
        const int constraining = constrainingCharacters(words[w]);
        if (constraining < 0 || constraining < LEAST_CONSTRAINING) {
            search.outcome = constraining < 0 ? RelativeSearch::Malformed : RelativeSearch::TooShort;
            search.word = w;
            return search;
        }
    }
    std::vector<Partial> partials;
    for (size_t w = 0; w < words.size(); ++w) {
        std::vector<Partial> own = partialsOf(data, size, words[w], w, wide);
        partials.insert(partials.end(), own.begin(), own.end());
    }
    if (partials.empty()) {
        search.outcome = RelativeSearch::NoHit;
        return search;
    }
    std::vector<size_t> seeds(partials.size());
    for (size_t i = 0; i < seeds.size(); ++i) seeds[i] = i;
    std::stable_sort(seeds.begin(), seeds.end(),
                     [&](size_t a, size_t b) { return partials[a].offsets.size() > partials[b].offsets.size(); });
    if (seeds.size() > MOST_SEEDS) seeds.resize(MOST_SEEDS);
    std::map<std::vector<size_t>, bool> seen;
    for (size_t seed : seeds) {
        const std::vector<size_t> chosen = combineFrom(seed, partials, words.size());
        if (seen.emplace(chosen, true).second) search.mappings.push_back(foundOf(chosen, partials));
    }
    std::sort(search.mappings.begin(), search.mappings.end(), [](const FoundMapping& a, const FoundMapping& b) {
        if (a.words != b.words) return a.words > b.words;
        if (a.hits.size() != b.hits.size()) return a.hits.size() > b.hits.size();
        return firstOffset(a) < firstOffset(b);
    });
    return search;
}

std::string draftTable(const CodeMapping& mapping, const std::vector<std::string>& words, bool wide) {
    std::string table = "# brelquim-text search:";
    for (const std::string& word : words) table += " \"" + word + "\"";
    table += "\n";
    for (int c = 0; c < CLASS_COUNT; ++c) {
        if (!mapping.fixed[c]) continue;
        for (uint32_t k = 0; k < CLASS_SPAN[c]; ++k) {
            const uint32_t code = mapping.code[c] + k;
            if (code > (wide ? 0xFFFFu : 0xFFu)) break;
            char line[16];
            if (wide) {
                std::snprintf(line, sizeof line, "%02X%02X=%c\n", code & 0xFF, (code >> 8) & 0xFF, CLASS_FIRST[c] + k);
            } else {
                std::snprintf(line, sizeof line, "%02X=%c\n", code & 0xFF, CLASS_FIRST[c] + k);
            }
            table += line;
        }
    }
    return table;
}
