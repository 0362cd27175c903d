#include "insertion/NewImage.h"

#include "patch/Patch.h"
#include "platform/Platform.h"
#include "platform/ReplacingFile.h"

#include <cstdio>

namespace {

void printNothingWritten() { std::printf("Nada foi gravado.\n"); }

constexpr char IMAGE_NOT_A_FILE[] = "A nova ROM n\xE3o pode ser gravada sobre o que n\xE3o \xE9 um arquivo comum: ";
constexpr char PATCH_NOT_A_FILE[] = "O patch n\xE3o pode ser gravado sobre o que n\xE3o \xE9 um arquivo comum: ";

// notAFile: the words for a target that exists and is no regular file.
void printWriteError(const char* notAFile, const std::string& path, ReplacingFile::Outcome outcome) {
    std::printf("%s", outcome == ReplacingFile::Outcome::NotAFile ? notAFile : "Erro de escrita de ");
    printVerbatim(path.c_str());
    std::printf("\n");
}

}  // namespace

std::vector<uint8_t> romDataOf(const RomImage& rom) {
    const uint8_t* start = rom.data.get() + rom.headerBytes();
    return std::vector<uint8_t>(start, start + rom.romDataSize());
}

bool isPatchPath(const std::string& path) { return patchFormatOf(path) != PatchFormat::Unknown; }

bool patchPathIsNew(const std::string& patch, const std::vector<const std::string*>& others) {
    for (const std::string* other : others) {
        if (*other == patch || sameFile(other->c_str(), patch.c_str())) {
            std::printf("O patch n\xE3o pode ser gravado sobre outro arquivo desta execu\xE7\xE3o: ");
            printVerbatim(patch.c_str());
            std::printf("\n");
            printNothingWritten();
            return false;
        }
    }
    return true;
}

bool writeNewImage(const RomImage& rom, const std::string& output, const std::string& patch,
                   const std::vector<uint8_t>& original, size_t& patchSize) {
    std::vector<uint8_t> patchBytes;
    if (!patch.empty()) {
        const PatchOutcome made = createPatch(patchFormatOf(patch), original.data(), original.size(),
                                              rom.data.get() + rom.headerBytes(), rom.romDataSize(), patchBytes);
        if (made != PatchOutcome::Done) {
            std::printf(made == PatchOutcome::TooLargeForIps
                            ? "A imagem passa de 16 MiB, o que um patch IPS alcan\xE7""a; use um patch .bps: "
                            : "A imagem \xE9 grande demais para um patch: ");
            printVerbatim(patch.c_str());
            std::printf("\n");
            printNothingWritten();
            return false;
        }
    }
    ReplacingFile image(output);
    image.write(rom.data.get(), static_cast<size_t>(rom.size));
    if (patch.empty()) {
        const ReplacingFile::Outcome written = image.commit();
        if (written == ReplacingFile::Outcome::Replaced) return true;
        printWriteError(IMAGE_NOT_A_FILE, output, written);
        printNothingWritten();
        return false;
    }
    ReplacingFile patchFile(patch);
    patchFile.write(patchBytes.data(), patchBytes.size());
    // Both are complete on the disk before either is renamed; a patch
    // file that cannot be made leaves the image unwritten too.
    if (!patchFile.isOpen()) {
        printWriteError(PATCH_NOT_A_FILE, patch, patchFile.commit());
        printNothingWritten();
        return false;
    }
    const ReplacingFile::Outcome written = image.commit();
    if (written != ReplacingFile::Outcome::Replaced) {
        printWriteError(IMAGE_NOT_A_FILE, output, written);
        printNothingWritten();
        return false;
    }
    const ReplacingFile::Outcome patched = patchFile.commit();
    if (patched != ReplacingFile::Outcome::Replaced) {
        printWriteError(PATCH_NOT_A_FILE, patch, patched);
        std::printf("A nova ROM foi gravada, mas o patch n\xE3o.\n");
        return false;
    }
    patchSize = patchBytes.size();
    return true;
}

void printPatchWritten(const std::string& patch, size_t patchSize) {
    std::printf("Patch %s gravado: ", patchFormatOf(patch) == PatchFormat::Ips ? "IPS" : "BPS");
    printVerbatim(patch.c_str());
    std::printf(" (%u bytes)\n", static_cast<unsigned>(patchSize));
}
