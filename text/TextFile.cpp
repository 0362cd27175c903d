#include "text/TextFile.h"

#include "platform/Platform.h"

#include <cstring>

namespace textfile {

bool storePath(char (&field)[256], const char* path) {
    const size_t length = std::strlen(path);
    if (length >= sizeof field) return false;
    std::memcpy(field, path, length + 1);
    return true;
}

FILE* openForReading(const char* path) {
    FILE* file = openFile(path, "rb");
    if (!file) return nullptr;
    static const unsigned char mark[3] = {0xEF, 0xBB, 0xBF};
    unsigned char start[3] = {};
    const size_t got = std::fread(start, 1, sizeof start, file);
    if (got != sizeof start || std::memcmp(start, mark, sizeof mark) != 0) {
        std::clearerr(file);
        std::rewind(file);
    }
    return file;
}

bool closeAfterReading(FILE* file) {
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

}  // namespace textfile
