#include "platform/ReplacingFile.h"

#include "platform/Platform.h"

#include <utility>

namespace {

// Temporary names tried beside the target before giving up.
constexpr int TEMPORARY_NAMES = 100;

}  // namespace

ReplacingFile::ReplacingFile(std::string name) : target(followLinks(name)) {
    // The name as given, links followed by the system, and the file its
    // links finally name: a link into /proc (/dev/stdout) may name no file
    // that the rest of the path can be built on.
    const FileKind given = fileKind(name.c_str());
    const FileKind kind = fileKind(target.c_str());
    if (given == FileKind::Folder || given == FileKind::Other || kind == FileKind::Folder || kind == FileKind::Other) {
        notAFile = true;
        return;
    }
    for (int n = 0; n < TEMPORARY_NAMES && !file; ++n) {
        temporary = target + "." + std::to_string(n) + ".tmp";
        file = createNewFile(temporary.c_str());
    }
    // A name that exists is someone else's file: never removed.
    if (!file) {
        why = lastSystemReason();
        temporary.clear();
        return;
    }
    if (kind == FileKind::Regular && !copyPermissions(file, target.c_str())) fail();
}

ReplacingFile::~ReplacingFile() { discard(); }

bool ReplacingFile::write(const void* bytes, size_t length) {
    if (!file) failed = true;
    if (!failed && length > 0 && std::fwrite(bytes, 1, length, file) != length) fail();
    return !failed;
}

bool ReplacingFile::finish() {
    if (notAFile || (!file && !finished)) return false;
    if (file) {
        if (!flushToDisk(file)) fail();
        if (std::fclose(file) != 0) fail();
        file = nullptr;
        finished = true;
    }
    return !failed;
}

ReplacingFile::Outcome ReplacingFile::commit() {
    if (notAFile) return Outcome::NotAFile;
    if (!file && !finished) return Outcome::Failed;
    finish();
    // The target may have become something else while the file was written.
    const FileKind kind = fileKind(target.c_str());
    const bool replaceable = kind != FileKind::Folder && kind != FileKind::Other;
    finished = false;
    if (!failed && replaceable && !replaceFile(temporary.c_str(), target.c_str())) fail();
    if (failed || !replaceable) {
        removeFile(temporary.c_str());
        temporary.clear();
        return replaceable ? Outcome::Failed : Outcome::NotAFile;
    }
    temporary.clear();
    syncFolderOf(target);
    return Outcome::Replaced;
}

ReplacingFile::Outcome ReplacingFile::replaceWith(const std::string& target, const void* bytes, size_t length,
                                                  SystemReason* reason) {
    ReplacingFile file(target);
    file.write(bytes, length);
    const Outcome outcome = file.commit();
    if (reason) *reason = file.reason();
    return outcome;
}

void ReplacingFile::fail() {
    if (!failed) why = lastSystemReason();
    failed = true;
}

void ReplacingFile::discard() {
    if (file) {
        std::fclose(file);
        file = nullptr;
    }
    if (!temporary.empty()) removeFile(temporary.c_str());
    temporary.clear();
}
