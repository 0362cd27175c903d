// IPS and BPS patches: made from an original and a modified image, applied
// to an original. Pure code over byte buffers: nothing here prints or
// touches a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class PatchFormat { Unknown, Ips, Bps };

// The format named by a path's extension, in any case: ".ips" or ".bps".
PatchFormat patchFormatOf(const std::string& path);

// Every way making or applying a patch ends.
enum class PatchOutcome {
    Done,
    UnknownFormat,       // the path's extension is neither .ips nor .bps
    TooLargeForIps,      // an image past 16 MiB: IPS offsets have 24 bits
    ImageTooLarge,       // an image or a result past MAX_PATCH_IMAGE_BYTES
    // A malformed patch; PatchResult::offset is where in the patch.
    BadHeader,           // not "PATCH" / "BPS1"
    Truncated,           // ends before a record, a number, an action or "EOF"
    BadNumber,           // a BPS number that does not fit in 64 bits
    MetadataPastEnd,     // BPS metadata running into the footer
    RecordPastLimit,     // an IPS record ending past 16 MiB
    EmptyRun,            // an IPS run record of count 0
    BytesAfterEnd,       // after "EOF": anything but nothing or 3 bytes
    ActionPastTarget,    // a BPS action writing past the target's size
    ReadPastSource,      // a SourceRead past the end of the original
    CopyOutsideSource,   // a SourceCopy outside the original
    CopyOutsideTarget,   // a TargetCopy from where nothing is written yet
    TargetIncomplete,    // the actions end short of the target's size
    // A BPS patch that does not belong to this original, or is damaged.
    PatchCrcMismatch,    // expected / found: the patch's own CRC32
    SourceSizeMismatch,  // expected / found: sizes
    SourceCrcMismatch,   // expected / found: the original's CRC32
    TargetCrcMismatch,   // expected / found: the result's CRC32
    AlreadyApplied,      // BPS: the original is already the patch's result
                         // (its size and CRC32, expected: the CRC32)
};

// Images and results this code handles: far past any cartridge.
constexpr uint64_t MAX_PATCH_IMAGE_BYTES = uint64_t(64) << 20;
// IPS reaches offsets below this (24 bits) and results up to it.
constexpr uint64_t IPS_LIMIT = uint64_t(1) << 24;

// What was done about a copier header while applying.
enum class CopierHeader {
    AsGiven,     // the original as given matched (or nothing was checked)
    SetAside,    // the patch is for the image without the original's copier
                 // header: applied to the image, the header put back
    Restored,    // the patch is for the image with a copier header, the
                 // original has none: applied with a blank header restored,
                 // which the output leaves out again
    Suspected,   // IPS: the original's size suggests a copier header that
                 // the patch may not expect (nothing changed)
};

struct PatchResult {
    PatchOutcome outcome = PatchOutcome::Done;
    uint64_t offset = 0;     // malformed patch: the byte of the patch at fault
    uint64_t expected = 0;   // mismatches: what the patch holds
    uint64_t found = 0;      // mismatches: what the file gave
    CopierHeader copierHeader = CopierHeader::AsGiven;
    bool changesNothing = false;  // applied, and the result is the original
    bool ok() const { return outcome == PatchOutcome::Done; }
};

// The bytes of copier header an image of this size carries: 512 when it
// is 512 bytes past a whole number of 32 KiB blocks, else 0.
size_t copierHeaderOf(uint64_t imageSize);

// The patch that turns original into modified, in format. Done, or
// TooLargeForIps, ImageTooLarge, UnknownFormat; patch is replaced.
PatchOutcome createPatch(PatchFormat format, const uint8_t* original, size_t originalSize, const uint8_t* modified,
                         size_t modifiedSize, std::vector<uint8_t>& patch);

// Applies patch (in format) to original into result, with the copier
// header rule: a BPS patch whose original matches only once a copier
// header is removed, or once one is restored, is applied to that form and
// the result given in the form of the original; for IPS the suspicion is
// only reported. A BPS patch whose result the original already is, with or
// without a copier header, is refused as AlreadyApplied. On any refusal,
// result is unspecified.
PatchResult applyPatch(PatchFormat format, const uint8_t* patch, size_t patchSize, const uint8_t* original,
                       size_t originalSize, std::vector<uint8_t>& result);

// The formats alone, without the copier header rule.
PatchOutcome createIps(const uint8_t* original, size_t originalSize, const uint8_t* modified, size_t modifiedSize,
                       std::vector<uint8_t>& patch);
PatchResult applyIps(const uint8_t* patch, size_t patchSize, const uint8_t* original, size_t originalSize,
                     std::vector<uint8_t>& result);
PatchOutcome createBps(const uint8_t* original, size_t originalSize, const uint8_t* modified, size_t modifiedSize,
                       std::vector<uint8_t>& patch);
PatchResult applyBps(const uint8_t* patch, size_t patchSize, const uint8_t* original, size_t originalSize,
                     std::vector<uint8_t>& result);

// The CRC32 of a buffer of any size (the one of zlib and of BPS), by
// libdeflate.
uint32_t crc32Of(const uint8_t* bytes, size_t length);
