// Writing the new image of an inserting program and, when asked, the patch
// that carries the change: both files are written in full before either
// takes its place. Nothing here prints; the outcome says what went wrong.
#pragma once

#include "patch/Patch.h"
#include "platform/ReplacingFile.h"
#include "rom/RomImage.h"

#include <cstdint>
#include <string>
#include <vector>

// The input's ROM data (no copier header), kept aside before the image is
// changed, for the patch.
std::vector<uint8_t> romDataOf(const RomImage& rom);

// True for a name that --patch takes: one ending in .bps or .ips, any case.
bool isPatchPath(const std::string& path);

// False when the patch would be written over one of the other files of the
// run (the input, the new image, a file read), however spelled or linked.
bool patchPathIsNew(const std::string& patch, const std::vector<const std::string*>& others);

struct NewImageWrite {
    enum Outcome {
        Written,          // the image and, when asked, the patch
        PatchNotMade,     // made says why; nothing was written
        ImageNotWritten,  // file says why; nothing was written
        PatchNotWritten,  // file says why; nothing was written
        PatchNotRenamed,  // file says why: the image took its place, the patch did not
    } outcome = Written;
    PatchOutcome made = PatchOutcome::Done;
    ReplacingFile::Outcome file = ReplacingFile::Outcome::Replaced;
    SystemReason reason = SystemReason::Unknown;  // a file not written: what the system said
    size_t patchSize = 0;  // Written with a patch: its bytes
    std::vector<size_t> patchSizes;  // Written: the bytes of each patch
    size_t failedPatch = 0;  // PatchNotMade, PatchNotWritten, PatchNotRenamed: which
};

// Writes the whole image to output and, when patch is not empty, the
// patch (IPS or BPS by its extension) from original (ROM data, no copier
// header) to the new ROM data, which is the form patches of SNES games
// are made for; a patch applies to a copy with a copier header too.
// Nothing is written unless the outcome is Written, but for a patch that
// failed at its very last step, after the image took its place.
NewImageWrite writeNewImage(const RomImage& rom, const std::string& output, const std::string& patch,
                            const std::vector<uint8_t>& original);

// The same with any number of patches (each IPS or BPS by its extension):
// the image and every patch complete on the disk before any is renamed.
NewImageWrite writeNewImage(const RomImage& rom, const std::string& output, const std::vector<std::string>& patches,
                            const std::vector<uint8_t>& original);
