#include "patch-tool/Files.h"

#include "patch/Patch.h"
#include "platform/Platform.h"

#include <cerrno>
#include <cstdio>

namespace {

constexpr size_t READ_PIECE = size_t(1) << 20;

}  // namespace

FileRead readWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    errno = 0;
    FILE* file = openFile(path.c_str(), "rb");
    if (!file) return errno == ENOENT ? FileRead::Missing : FileRead::CannotOpen;
    bytes.clear();
    // Room for the whole file at once when its size is known.
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0 && static_cast<uint64_t>(size) <= MAX_PATCH_IMAGE_BYTES) bytes.reserve(static_cast<size_t>(size) + 1);
    }
    std::rewind(file);
    FileRead outcome = FileRead::Read;
    for (;;) {
        if (bytes.size() > MAX_PATCH_IMAGE_BYTES) {
            outcome = FileRead::TooLarge;
            break;
        }
        const size_t had = bytes.size();
        const size_t piece = bytes.capacity() > had ? bytes.capacity() - had : READ_PIECE;
        bytes.resize(had + piece);
        const size_t got = std::fread(bytes.data() + had, 1, piece, file);
        bytes.resize(had + got);
        if (got < piece) {
            if (std::ferror(file)) outcome = FileRead::Unreadable;
            break;
        }
    }
    std::fclose(file);
    return outcome;
}
