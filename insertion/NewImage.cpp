#include "insertion/NewImage.h"

#include "platform/Platform.h"

#include <memory>

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
    NewImageWrite written =
        writeNewImage(rom, output, patch.empty() ? std::vector<std::string>{} : std::vector<std::string>{patch}, original);
    if (!written.patchSizes.empty()) written.patchSize = written.patchSizes.front();
    return written;
}

NewImageWrite writeNewImage(const RomImage& rom, const std::string& output, const std::vector<std::string>& patches,
                            const std::vector<uint8_t>& original) {
    std::vector<std::vector<uint8_t>> patchBytes(patches.size());
    for (size_t p = 0; p < patches.size(); ++p) {
        const PatchOutcome made = createPatch(patchFormatOf(patches[p]), original.data(), original.size(),
                                              rom.romData(), rom.romDataSize(), patchBytes[p]);
        if (made != PatchOutcome::Done) {
            NewImageWrite written;
            written.outcome = NewImageWrite::PatchNotMade;
            written.made = made;
            written.failedPatch = p;
            return written;
        }
    }
    ReplacingFile image(output);
    image.write(rom.data.get(), static_cast<size_t>(rom.size));
    std::vector<std::unique_ptr<ReplacingFile>> patchFiles;
    for (size_t p = 0; p < patches.size(); ++p) {
        patchFiles.push_back(std::make_unique<ReplacingFile>(patches[p]));
        patchFiles.back()->write(patchBytes[p].data(), patchBytes[p].size());
    }
    // Every file is complete on the disk before any is renamed: a failure
    // in any leaves every target as it was and no file behind.
    if (!image.finish()) return failed(NewImageWrite::ImageNotWritten, image.commit(), image);
    for (size_t p = 0; p < patches.size(); ++p) {
        if (!patchFiles[p]->finish()) {
            NewImageWrite written = failed(NewImageWrite::PatchNotWritten, patchFiles[p]->commit(), *patchFiles[p]);
            written.failedPatch = p;
            return written;
        }
    }
    const ReplacingFile::Outcome committed = image.commit();
    if (committed != ReplacingFile::Outcome::Replaced) return failed(NewImageWrite::ImageNotWritten, committed, image);
    NewImageWrite written;
    for (size_t p = 0; p < patches.size(); ++p) {
        const ReplacingFile::Outcome patched = patchFiles[p]->commit();
        if (patched != ReplacingFile::Outcome::Replaced) {
            written = failed(NewImageWrite::PatchNotRenamed, patched, *patchFiles[p]);
            written.failedPatch = p;
            return written;
        }
        written.patchSizes.push_back(patchBytes[p].size());
    }
    return written;
}
