// A file written in full before it takes the place of its target: the
// bytes go to a new temporary file beside the target, and only a complete,
// closed file is renamed over it. Every write, the flush and the close are
// checked; a file never committed is removed, and the target is untouched.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class ReplacingFile {
public:
    explicit ReplacingFile(std::string target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // False when the temporary file could not be made.
    bool isOpen() const { return file != nullptr; }
    // False once any write has failed.
    bool write(const void* bytes, size_t length);
    // Closes the temporary file and renames it over the target. False, with
    // the temporary file removed and the target untouched, when any write,
    // the close or the rename failed.
    bool commit();

    // The whole new content of target in one go: true when it replaced
    // target; otherwise target is untouched.
    static bool replaceWith(const std::string& target, const void* bytes, size_t length);

private:
    void discard();

    std::string target;
    std::string temporary;
    FILE* file = nullptr;
    bool failed = false;
};
