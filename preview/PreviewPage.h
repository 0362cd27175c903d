// The text of the preview page (previa.html): one self-contained page
// (pictures as data: URIs, a Content-Security-Policy that lets it fetch
// nothing) showing each string's boxes at three times their size, the
// original beside the translation, with the strings that overflow listed
// and linked at the top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PagePicture {
    std::vector<uint8_t> png;
    uint32_t width = 0, height = 0;
};

struct PageString {
    size_t number = 0;                    // from 1
    std::string label;                    // UTF-8; empty: none
    std::string text;                     // the text shown (UTF-8), as the script writes it
    std::vector<PagePicture> original;    // its boxes
    std::vector<PagePicture> translated;  // its translation's boxes; empty without a script
    bool overflows = false;               // the translation's (or, without one, the original's)
};

// The page, in UTF-8. translated: whether a script was given.
std::string previewPage(const std::vector<PageString>& strings, bool translated);
