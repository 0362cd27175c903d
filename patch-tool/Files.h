// Whole files in, through the platform's file calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class FileRead { Read, Missing, CannotOpen, Unreadable, TooLarge };

// Reads a whole file of at most MAX_PATCH_IMAGE_BYTES. Missing when it
// cannot be opened because it is not there, CannotOpen when it cannot be
// opened otherwise, Unreadable when reading it failed, TooLarge past the
// limit.
FileRead readWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
