#include "insertion/NewImage.h"

#include "platform/Platform.h"

namespace {

NewImageWrite failed(NewImageWrite::Outcome outcome, ReplacingFile::Outcome file, const ReplacingFile& failing) {
    NewImageWrite written;
    written.outcome = outcome;
    written.file = file;
    written.reason = failing.reason();
    return written;
}

}  // namespace

std::vector<uint8_t> romDataOf(const RomImage& rom) {
    const uint8_t* start = rom.romData();
    return std::vector<uint8_t>(start, start + rom.romDataSize());
}

bool isPatchPath(const std::string& path) { return patchFormatOf(path) != PatchFormat::Unknown; }

bool patchPathIsNew(const std::string& patch, const std::vector<const std::string*>& others) {
    for (const std::string* other : others) {
        if (*other == patch || sameFile(other->c_str(), patch.c_str())) return false;
    }
    return true;
}

NewImageWrite writeNewImage(const RomImage& rom, const std::string& output, const std::string& patch,
                            const std::vector<uint8_t>& original) {
    std::vector<uint8_t> patchBytes;
    if (!patch.empty()) {
        const PatchOutcome made = createPatch(patchFormatOf(patch), original.data(), original.size(),
                                              rom.romData(), rom.romDataSize(), patchBytes);
        if (made != PatchOutcome::Done) {
            NewImageWrite written;
            written.outcome = NewImageWrite::PatchNotMade;
            written.made = made;
            return written;
        }
    }
    ReplacingFile image(output);
    image.write(rom.data.get(), static_cast<size_t>(rom.size));
    if (patch.empty()) {
        const ReplacingFile::Outcome committed = image.commit();
        if (committed != ReplacingFile::Outcome::Replaced) {
            return failed(NewImageWrite::ImageNotWritten, committed, image);
        }
        return {};
    }
    ReplacingFile patchFile(patch);
    patchFile.write(patchBytes.data(), patchBytes.size());
    // Both are complete on the disk before either is renamed: a failure in
    // either leaves both targets as they were and no file behind.
    if (!image.finish()) return failed(NewImageWrite::ImageNotWritten, image.commit(), image);
    if (!patchFile.finish()) return failed(NewImageWrite::PatchNotWritten, patchFile.commit(), patchFile);
    const ReplacingFile::Outcome committed = image.commit();
    if (committed != ReplacingFile::Outcome::Replaced) {
        return failed(NewImageWrite::ImageNotWritten, committed, image);
    }
    const ReplacingFile::Outcome patched = patchFile.commit();
    if (patched != ReplacingFile::Outcome::Replaced) return failed(NewImageWrite::PatchNotRenamed, patched, patchFile);
    NewImageWrite written;
    written.patchSize = patchBytes.size();
    return written;
}
