// The screen that the sample's boot program must show, drawn by the
// project's own tile code from an image's bytes: graphic 12 as 4 bpp
// tiles on BG1, the first string of the 16-bit text table in the font
// (graphic 9) on BG3. One grey level (0 to 31, the console's 5-bit
// channel) a pixel.
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

// False, with the reason, for an image the boot program cannot show (too
// short, a record or pointer outside the ROM).
bool drawExpectedScreen(const std::vector<uint8_t>& romData, Screen& screen, std::string& reason);

// The ROM data of an image file's bytes: a 512-byte copier header, when
// the size says there is one, set aside.
std::vector<uint8_t> romDataOf(const std::vector<uint8_t>& file);
