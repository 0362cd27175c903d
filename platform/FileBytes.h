// Whole files in, through the platform's file calls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Files larger than this are no graphic, picture or palette of this game.
constexpr uint64_t MAX_INPUT_BYTES = uint64_t(256) << 20;

enum class FileRead { Read, Missing, CannotOpen, NotAFile, Unreadable, TooLarge };

// Reads a whole file into bytes. Missing when it cannot be opened because
// it is not there, CannotOpen when it cannot be opened otherwise,
// NotAFile for a FIFO, a device or a socket (never read or waited on),
// Unreadable when reading it failed (a folder too).
FileRead readWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
// The same into an array of its own, of at least length bytes, the first
// length of them the file's; the array is unspecified on a refusal.
FileRead readWholeFile(const std::string& path, std::unique_ptr<uint8_t[]>& bytes, size_t& length);
