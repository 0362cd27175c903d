#include "tests/emulator/ExpectedScreen.h"

#include "graphics/GameLayout.h"
#include "graphics/GraphicCodec.h"
#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"
#include "png/PngImage.h"
#include "tests/sample/SampleRom.h"
#include "tiles/TileFormat.h"

#include <algorithm>

namespace {

// What the boot program shows (tests/sample/boot/boot.s).
constexpr int PICTURE_GRAPHIC = 12;
constexpr int PICTURE_COLUMNS = 16;
constexpr int PICTURE_ROWS = 20;
constexpr uint32_t PICTURE_LIMIT = PICTURE_COLUMNS * PICTURE_ROWS * 32;
constexpr int BOX_LEFT = 2 * TILE_SIDE, BOX_TOP = 22 * TILE_SIDE;
constexpr uint32_t BOX_WIDTH = 224, BOX_HEIGHT = 40;
// Palette 1, level of colour i: round(31 i / 15); palette 0: four levels.
constexpr uint8_t PICTURE_LEVELS[16] = {0, 2, 4, 6, 8, 10, 12, 14, 17, 19, 21, 23, 25, 27, 29, 31};
constexpr uint8_t TEXT_LEVELS[4] = {0, 10, 21, 31};

bool decodeShown(const std::vector<uint8_t>& rom, int graphic, uint32_t limit, std::vector<uint8_t>& bytes,
                 std::string& reason) {
    const uint32_t record = GRAPHICS_DIRECTORY_OFFSET + GRAPHIC_RECORD_SIZE * graphic;
    if (rom.size() < record + GRAPHIC_RECORD_SIZE) {
        reason = "the image ends before the directory record of graphic " + std::to_string(graphic);
        return false;
    }
    const uint8_t* r = rom.data() + record;
    const uint32_t size = r[RECORD_UNPACKED_SIZE] | r[RECORD_UNPACKED_SIZE + 1] << 8;
    const uint32_t address = r[RECORD_DATA_ADDRESS] | r[RECORD_DATA_ADDRESS + 1] << 8 | r[RECORD_DATA_ADDRESS + 2] << 16;
    const uint32_t offset = loRomToFile(address);
    if ((address & 0x8000) == 0 || offset >= rom.size()) {
        reason = "graphic " + std::to_string(graphic) + "'s stream is not in the ROM";
        return false;
    }
    const uint32_t shown = std::min(std::max<uint32_t>(size, 1), limit);
    bytes.assign(shown, 0);
    // A stream that runs over a bank end goes on in the next bank, which
    // LoROM keeps right after it in the file.
    decodeGraphic(rom.data() + offset, rom.size() - offset, static_cast<uint16_t>(shown), bytes.data());
    return true;
}

}  // namespace

std::vector<uint8_t> romDataOf(const std::vector<uint8_t>& file) {
    if ((file.size() & ROM_BLOCK_MASK) == COPIER_HEADER_SIZE) {
        return std::vector<uint8_t>(file.begin() + COPIER_HEADER_SIZE, file.end());
    }
    return file;
}

bool drawExpectedScreen(const std::vector<uint8_t>& rom, Screen& screen, std::string& reason) {
    std::vector<uint8_t> picture;
    if (!decodeShown(rom, PICTURE_GRAPHIC, PICTURE_LIMIT, picture, reason)) return false;

    screen = Screen();
    uint8_t pixels[TILE_PIXELS];
    // BG1: the picture's tiles, a last partial tile padded with zeros.
    const size_t tiles = (picture.size() + 31) / 32;
    picture.resize(tiles * 32, 0);
    for (size_t t = 0; t < tiles; ++t) {
        decodeTile(TileFormat::Bpp4, picture.data() + t * 32, pixels, TILE_SIDE);
        const int left = int(t % PICTURE_COLUMNS) * TILE_SIDE, top = int(t / PICTURE_COLUMNS) * TILE_SIDE;
        for (int i = 0; i < TILE_PIXELS; ++i) {
            if (pixels[i]) screen.at(left + i % TILE_SIDE, top + i / TILE_SIDE) = PICTURE_LEVELS[pixels[i]];
        }
    }
    return true;
}

bool drawTextBox(const std::vector<uint8_t>& png, Screen& screen, std::string& reason) {
    const ReadPng box = readPng(png.data(), png.size(), "Software");
    if (box.outcome != ReadPng::Read || !box.indexed) {
        reason = "not an indexed PNG";
        return false;
    }
    if (box.picture.width != BOX_WIDTH || box.picture.height != BOX_HEIGHT) {
        reason = "not a box of 224 x 40 pixels";
        return false;
    }
    for (uint32_t y = 0; y < BOX_HEIGHT; ++y) {
        for (uint32_t x = 0; x < BOX_WIDTH; ++x) {
            const uint8_t index = box.picture.pixels[y * BOX_WIDTH + x];
            if (index > 3) {
                reason = "a pixel past the font's four colours";
                return false;
            }
            if (index) screen.at(BOX_LEFT + int(x), BOX_TOP + int(y)) = TEXT_LEVELS[index];
        }
    }
    return true;
}
