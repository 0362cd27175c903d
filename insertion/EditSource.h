// Where the edited graphics come from: the files of a folder, or, for
// tests and fuzzing, bytes held in memory.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

// The largest graphic a directory record can describe.
constexpr uint32_t LARGEST_GRAPHIC = 65535;

class EditSource {
public:
    enum Outcome {
        Missing,     // no edit for this graphic: it stays as it is
        Read,        // the buffer holds the edit, 0 to LARGEST_GRAPHIC bytes
        TooLarge,    // more than LARGEST_GRAPHIC bytes
        Unreadable,  // there is something, but it cannot be read
        NotAFile,    // a FIFO, a device or a socket: never read or waited on
    };
    virtual ~EditSource() = default;
    // Reads graphic's edit into buffer, which holds LARGEST_GRAPHIC + 1
    // bytes, and its length into length.
    virtual Outcome read(int graphic, uint8_t* buffer, uint32_t& length) = 0;
};

// Graphic j's edit is the file grafico_jjj.bin of a folder; a name that
// does not exist is no edit.
class FolderEdits : public EditSource {
public:
    explicit FolderEdits(std::string folder) : folder(std::move(folder)) {}
    Outcome read(int graphic, uint8_t* buffer, uint32_t& length) override;

private:
    std::string folder;
};
