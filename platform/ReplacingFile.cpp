#include "platform/ReplacingFile.h"

#include "platform/Platform.h"

#include <utility>

namespace {

// Temporary names tried beside the target before giving up.
constexpr int TEMPORARY_NAMES = 100;

}  // namespace

ReplacingFile::ReplacingFile(std::string target) : target(std::move(target)) {
    for (int n = 0; n < TEMPORARY_NAMES && !file; ++n) {
        temporary = this->target + "." + std::to_string(n) + ".tmp";
        file = createNewFile(temporary.c_str());
    }
    // A name that exists is someone else's file: never removed.
    if (!file) temporary.clear();
}

ReplacingFile::~ReplacingFile() { discard(); }

bool ReplacingFile::write(const void* bytes, size_t length) {
    if (!file) failed = true;
    if (!failed && length > 0 && std::fwrite(bytes, 1, length, file) != length) failed = true;
    return !failed;
}

bool ReplacingFile::commit() {
    if (!file) return false;
    if (std::fflush(file) != 0) failed = true;
    if (std::fclose(file) != 0) failed = true;
    file = nullptr;
    if (failed || !replaceFile(temporary.c_str(), target.c_str())) {
        removeFile(temporary.c_str());
        return false;
    }
    temporary.clear();
    return true;
}

bool ReplacingFile::replaceWith(const std::string& target, const void* bytes, size_t length) {
    ReplacingFile file(target);
    return file.isOpen() && file.write(bytes, length) && file.commit();
}

void ReplacingFile::discard() {
    if (file) {
        std::fclose(file);
        file = nullptr;
    }
    if (!temporary.empty()) removeFile(temporary.c_str());
    temporary.clear();
}
