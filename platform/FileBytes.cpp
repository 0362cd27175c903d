#include "platform/FileBytes.h"

#include "platform/Platform.h"

#include <cstdio>

namespace {

constexpr size_t READ_PIECE = size_t(1) << 16;

}  // namespace

FileRead readWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    InputOpen opened = InputOpen::Failed;
    FILE* file = openInputFile(path.c_str(), opened);
    switch (opened) {
        case InputOpen::Opened: break;
        case InputOpen::Missing: return FileRead::Missing;
        case InputOpen::Folder: return FileRead::Unreadable;
        case InputOpen::NotAFile: return FileRead::NotAFile;
        case InputOpen::Failed: return FileRead::CannotOpen;
    }
    bytes.clear();
    // The size the file has now, taken at once: the pieces then go into
    // memory of that size, never moved as it grows.
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0 && static_cast<uint64_t>(size) <= MAX_INPUT_BYTES) bytes.reserve(static_cast<size_t>(size) + READ_PIECE);
    }
    if (std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return FileRead::Unreadable;
    }
    FileRead outcome = FileRead::Read;
    for (;;) {
        if (bytes.size() > MAX_INPUT_BYTES) {
            outcome = FileRead::TooLarge;
            break;
        }
        const size_t had = bytes.size();
        bytes.resize(had + READ_PIECE);
        const size_t got = std::fread(bytes.data() + had, 1, READ_PIECE, file);
        bytes.resize(had + got);
        if (got < READ_PIECE) {
            if (std::ferror(file)) outcome = FileRead::Unreadable;
            break;
        }
    }
    std::fclose(file);
    return outcome;
}
