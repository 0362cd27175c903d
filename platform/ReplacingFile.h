// A file written in full before it takes the place of its target: the
// bytes go to a new temporary file beside the file the target finally
// names (a symbolic link is written through and stays a link), and only a
// complete file, put on the disk and closed, is renamed over it. Every
// write, the flush and the close are checked; a file never committed is
// removed, and the target is untouched. An existing target keeps its
// permission bits; a target that exists and is not a regular file (a
// device, a FIFO, a folder) is never replaced, nor is a name that itself
// leads to one (/dev/stdout on a pipe): such a target is refused at once.
// Two files that must change together are each finished (written, put on
// the disk and closed) before either is committed.
#pragma once

#include "platform/Platform.h"

#include <cstddef>
#include <cstdio>
#include <string>

class ReplacingFile {
public:
    enum class Outcome {
        Replaced,
        NotAFile,  // the target exists and is not a regular file
        Failed,    // the temporary file could not be made or written, or the rename failed
    };

    explicit ReplacingFile(std::string target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // False when the temporary file could not be made or the target is
    // not a regular file.
    bool isOpen() const { return file != nullptr; }
    // False once any write has failed.
    bool write(const void* bytes, size_t length);
    // Puts the temporary file on the disk and closes it; false when that
    // or any write failed, or the file could not be made (commit then says
    // why). Nothing is renamed yet.
    bool finish();
    // Finishes the file, if not yet done, and renames it over the target.
    // Anything but Replaced: the temporary file is removed and the target
    // untouched.
    Outcome commit();
    // After a failure: what the system said of the first call that failed.
    SystemReason reason() const { return why; }

    // The whole new content of target in one go; reason, when given, is
    // set to the reason of a failure.
    static Outcome replaceWith(const std::string& target, const void* bytes, size_t length,
                               SystemReason* reason = nullptr);

private:
    void discard();
    // Marks the file failed, keeping the reason of the first failure.
    void fail();

    std::string target;  // the file the name given finally leads to
    std::string temporary;
    FILE* file = nullptr;
    bool failed = false;
    bool notAFile = false;
    SystemReason why = SystemReason::Unknown;
    bool finished = false;
};
