// Writing the new image of an inserting program and, when asked, the patch
// that carries the change: both files are written in full before either
// takes its place, and what went wrong is said in the same words by both
// programs (Windows-1252).
#pragma once

#include "rom/RomImage.h"

#include <cstdint>
#include <string>
#include <vector>

// The input's ROM data (no copier header), kept aside before the image is
// changed, for the patch.
std::vector<uint8_t> romDataOf(const RomImage& rom);

// True for a name that --patch takes: one ending in .bps or .ips, any case.
bool isPatchPath(const std::string& path);

// False, after saying so, when the patch would be written over one of the
// other files of the run (the input, the new image, a file read).
bool patchPathIsNew(const std::string& patch, const std::vector<const std::string*>& others);

// Writes the whole image to output and, when patch is not empty, the
// patch (IPS or BPS by its extension) from original (ROM data, no copier
// header) to the new ROM data, which is the form patches of SNES games
// are made for; a patch applies to a copy with a copier header too. False,
// after saying why, when anything failed: nothing was written unless the
// patch failed at its very last step, after the image took its place.
// patchSize: the patch's bytes.
bool writeNewImage(const RomImage& rom, const std::string& output, const std::string& patch,
                   const std::vector<uint8_t>& original, size_t& patchSize);

// The line that names the patch written, for the end of the summary.
void printPatchWritten(const std::string& patch, size_t patchSize);
