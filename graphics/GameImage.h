// Loading the image of the expected game: the file read, and the checks
// that its internal header names the expected game in the expected
// revision. Nothing here prints but RomImage's own loading (its open
// failure line, "Rom inv\xE1lida!" for an image without an internal
// header); the programs word the outcome.
#pragma once

#include "platform/FileBytes.h"
#include "rom/RomImage.h"

#include <string>

struct ImageLoad {
    enum Outcome {
        Loaded,         // the expected game in the expected revision
        NotRead,        // the file could not be read; read says why
        OtherGame,      // the title is another game's (rom.title holds it)
        OtherRevision,  // the expected game in another revision
    } outcome = Loaded;
    FileRead read = FileRead::Read;
};

// Loads the image at path through RomImage::load, as brelquim reads its
// image: on a file that cannot be opened or read, load has printed its
// open failure line and the outcome is NotRead, read CannotOpen (load
// tells no more).
ImageLoad loadGameImage(RomImage& rom, const char* path);

// The same for the companion programs: the file is read whole through
// readWholeFile, so a path of any length the system takes is read, and a
// FIFO, a device or a folder is refused without waiting on it; NotRead
// carries readWholeFile's outcome.
ImageLoad loadGameImageFile(RomImage& rom, const std::string& path);
