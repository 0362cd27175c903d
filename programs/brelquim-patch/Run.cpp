#include "programs/brelquim-patch/Run.h"

#include "cli/Mistake.h"
#include "cli/Words.h"
#include "programs/brelquim-patch/Command.h"
#include "platform/FileBytes.h"
#include "programs/brelquim-patch/Words.h"
#include "patch/Patch.h"
#include "platform/Platform.h"

#include <algorithm>

namespace patch_program {

namespace {

// Reads the files at the given places of the command; false, after the
// message, when one cannot be read.
bool readInputs(const PatchCommand& command, std::vector<uint8_t>& first, std::vector<uint8_t>& second) {
    for (int i = 0; i < 2; ++i) {
        std::vector<uint8_t>& bytes = i == 0 ? first : second;
        FileRead read = readWholeFile(command.files[i], bytes);
        if (read == FileRead::Read && bytes.size() > MAX_PATCH_IMAGE_BYTES) read = FileRead::TooLarge;
        if (read != FileRead::Read) {
            cli::printReadFailure(command.files[i], read);
            cli::printNothingWritten();
            return false;
        }
    }
    return true;
}

bool outputIsInput(const PatchCommand& command) {
    const char* output = command.files[2].c_str();
    return sameFile(output, command.files[0].c_str()) || sameFile(output, command.files[1].c_str());
}

// Writes bytes to path through a file renamed over it when complete.
bool writeWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
    return cli::writeWhole(path, bytes.data(), bytes.size());
}

// The ROM data of an image: without its copier header, when it has one.
struct RomData {
    const uint8_t* bytes = nullptr;
    size_t size = 0;
    bool headerRemoved = false;
    explicit RomData(const std::vector<uint8_t>& image) {
        const size_t header = copierHeaderOf(image.size());
        bytes = image.data() + header;
        size = image.size() - header;
        headerRemoved = header > 0;
    }
};

// The patch is made between the two images' ROM data, so that it applies
// to copies with or without a copier header.
int create(const PatchCommand& command) {
    std::vector<uint8_t> originalImage, modifiedImage, patch;
    if (!readInputs(command, originalImage, modifiedImage)) return 1;
    const RomData original(originalImage), modified(modifiedImage);
    const PatchOutcome made =
        createPatch(command.format, original.bytes, original.size, modified.bytes, modified.size, patch);
    if (made != PatchOutcome::Done) {
        cli::printPatchNotMade(made);
        cli::printNothingWritten();
        return 1;
    }
    if (!writeWhole(command.files[2], patch)) {
        return 1;
    }
    printCopierHeadersRemoved(original.headerRemoved, modified.headerRemoved);
    const bool identical = original.size == modified.size &&
                           std::equal(original.bytes, original.bytes + original.size, modified.bytes);
    printPatchWritten(command, patch.size(), identical);
    return 0;
}

int apply(const PatchCommand& command) {
    std::vector<uint8_t> patch, original, result;
    if (!readInputs(command, patch, original)) return 1;
    const PatchResult applied =
        applyPatch(command.format, patch.data(), patch.size(), original.data(), original.size(), result);
    if (!applied.ok()) {
        printRefusal(applied, command.format);
        return 1;
    }
    if (!writeWhole(command.files[2], result)) {
        return 1;
    }
    printImageWritten(command, applied, result.size());
    return 0;
}

}  // namespace

int runPatchTool(int argc, char** argv) {
    cli::printBanner(patchProgram());
    cli::CommandParse parse;
    int status = 0;
    if (!cli::readCommandLine(patchProgram(), argc, argv, parse, status)) return status;
    const PatchCommand command = patchCommandOf(parse);
    if (outputIsInput(command)) {
        cli::printOutputIsInput(command.files[2]);
        return 1;
    }
    return command.kind == PatchCommand::Create ? create(command) : apply(command);
}

}  // namespace patch_program
