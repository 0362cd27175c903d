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
    FileRead outcome = FileRead::Read;
    for (;;) {
        if (bytes.size() > MAX_PATCH_IMAGE_BYTES) {
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
