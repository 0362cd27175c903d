#include "platform/FileBytes.h"

#include "platform/Platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr size_t READ_PIECE = size_t(1) << 16;

// Reads the whole of an open file (which it closes) into memory that
// room(n) makes n bytes large, keeping what it held: first of the size the
// file has now and one byte more (so that its end is seen in the same
// read), then, while it goes on, twice as large; never past one byte more
// than MAX_INPUT_BYTES. length: the bytes read.
template <typename Room>
FileRead readOpenFile(FILE* file, Room room, size_t& length) {
    length = 0;
    size_t capacity = 0;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0 && static_cast<uint64_t>(size) <= MAX_INPUT_BYTES) capacity = static_cast<size_t>(size) + 1;
    }
    FileRead outcome = FileRead::Read;
    if (std::fseek(file, 0, SEEK_SET) != 0) outcome = FileRead::Unreadable;
    while (outcome == FileRead::Read) {
        if (length > MAX_INPUT_BYTES) {
            outcome = FileRead::TooLarge;
            break;
        }
        if (length == capacity) {
            capacity = static_cast<size_t>(std::min<uint64_t>(std::max(capacity * 2, READ_PIECE), MAX_INPUT_BYTES + 1));
        }
        uint8_t* bytes = room(capacity);
        const size_t wanted = capacity - length;
        const size_t got = std::fread(bytes + length, 1, wanted, file);
        length += got;
        if (got < wanted) {
            if (std::ferror(file)) outcome = FileRead::Unreadable;
            break;
        }
    }
    std::fclose(file);
    return outcome;
}

// Opens a file to read, or says why it cannot.
FILE* openToRead(const std::string& path, FileRead& refusal) {
    InputOpen opened = InputOpen::Failed;
    FILE* file = openInputFile(path.c_str(), opened);
    switch (opened) {
        case InputOpen::Opened: break;
        case InputOpen::Missing: refusal = FileRead::Missing; break;
        case InputOpen::Folder: refusal = FileRead::Unreadable; break;
        case InputOpen::NotAFile: refusal = FileRead::NotAFile; break;
        case InputOpen::Failed: refusal = FileRead::CannotOpen; break;
    }
    return file;
}

}  // namespace

FileRead readWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    FileRead refusal = FileRead::Read;
    FILE* file = openToRead(path, refusal);
    if (!file) return refusal;
    size_t length = 0;
    const FileRead outcome = readOpenFile(
        file,
        [&](size_t size) {
            bytes.resize(size);
            return bytes.data();
        },
        length);
    bytes.resize(length);
    return outcome;
}

FileRead readWholeFile(const std::string& path, std::unique_ptr<uint8_t[]>& bytes, size_t& length) {
    FileRead refusal = FileRead::Read;
    FILE* file = openToRead(path, refusal);
    if (!file) return refusal;
    size_t held = 0;
    return readOpenFile(
        file,
        [&](size_t size) {
            std::unique_ptr<uint8_t[]> larger(new uint8_t[size]);
            if (held > 0) std::memcpy(larger.get(), bytes.get(), std::min(held, size));
            bytes = std::move(larger);
            held = size;
            return bytes.get();
        },
        length);
}
