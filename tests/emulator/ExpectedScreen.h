// The screen that the sample's boot program must show, drawn by the
// project's own tile code from an image's bytes: graphic 12 as 4 bpp
// tiles on BG1 (tile rows 0 to 19), and the text box on BG3 as a picture
// of the box's colour indices (the preview's). One grey level (0 to 31,
// the console's 5-bit channel) a pixel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int SCREEN_WIDTH = 256;
constexpr int SCREEN_HEIGHT = 224;

struct Screen {
    std::vector<uint8_t> levels = std::vector<uint8_t>(SCREEN_WIDTH * SCREEN_HEIGHT, 0);
    uint8_t& at(int x, int y) { return levels[y * SCREEN_WIDTH + x]; }
    uint8_t at(int x, int y) const { return levels[y * SCREEN_WIDTH + x]; }
};

// The picture on BG1. False, with the reason, for an image the boot
// program cannot show (too short, a record outside the ROM).
bool drawExpectedScreen(const std::vector<uint8_t>& romData, Screen& screen, std::string& reason);

// The text box: an indexed PNG of 224 x 40 pixels, each the font's colour
// index (palette 0: levels 0, 10, 21, 31), at x 16, y 176 (tile column 2
// of tile row 22). False, with the reason, for any other picture.
bool drawTextBox(const std::vector<uint8_t>& png, Screen& screen, std::string& reason);

// The ROM data of an image file's bytes: a 512-byte copier header, when
// the size says there is one, set aside.
std::vector<uint8_t> romDataOf(const std::vector<uint8_t>& file);
