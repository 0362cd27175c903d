// PNG files as an editor writes them, and the program's PNGs as a viewer
// reads them: through libspng, apart from the program's code.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Rgb = std::array<uint8_t, 3>;

struct PngPicture {
    uint32_t width = 0, height = 0;
    enum Kind { Indexed, Grey, Truecolour, TruecolourAlpha } kind = Indexed;
    int bitDepth = 8;              // of a decoded file; samples are always one byte each
    std::vector<uint8_t> samples;  // per pixel: index, grey, R G B or R G B A
    std::vector<Rgb> palette;      // Indexed
    bool hasText = false;          // a tEXt chunk of keyword "brelquim"
    std::string text;
};

// Encodes a picture at 8 bits per sample.
std::vector<uint8_t> encodePng(const PngPicture& picture);
// Decodes a PNG: indices of an indexed one, R G B samples of any other
// (kind Truecolour). Throws on a PNG that libspng refuses.
PngPicture decodePng(const std::vector<uint8_t>& png);

// The grey ramp of n entries as the program's default palette.
std::vector<Rgb> greyPalette(int n);
