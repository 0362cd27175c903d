#include "graphics/GameImage.h"

#include "graphics/GameLayout.h"

#include <cstring>
#include <vector>

namespace {

ImageLoad checkGame(const RomImage& rom) {
    ImageLoad load;
    if (std::memcmp(rom.title, EXPECTED_TITLE, sizeof EXPECTED_TITLE) != 0) {
        load.outcome = ImageLoad::OtherGame;
    } else if (rom.version != EXPECTED_VERSION) {
        load.outcome = ImageLoad::OtherRevision;
    }
    return load;
}

ImageLoad notRead(FileRead why) {
    ImageLoad load;
    load.outcome = ImageLoad::NotRead;
    load.read = why;
    return load;
}

}  // namespace

ImageLoad loadGameImage(RomImage& rom, const char* path) {
    rom.setRomPath(path);
    if (rom.load() != 0) return notRead(FileRead::CannotOpen);
    return checkGame(rom);
}

ImageLoad loadGameImageFile(RomImage& rom, const std::string& path) {
    std::unique_ptr<uint8_t[]> bytes;
    size_t length = 0;
    const FileRead read = readWholeFile(path, bytes, length);
    if (read != FileRead::Read) return notRead(read);
    if (rom.assign(std::move(bytes), length) != 0) return notRead(FileRead::TooLarge);
    return checkGame(rom);
}
