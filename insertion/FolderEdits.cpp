#include "insertion/EditSource.h"

#include "graphics/GraphicsDirectory.h"
#include "platform/Platform.h"

#include <cstdio>

EditSource::Outcome FolderEdits::read(int graphic, uint8_t* buffer, uint32_t& length) {
    InputOpen opened = InputOpen::Failed;
    FILE* file = openInputFile(graphicPath(folder, graphic).c_str(), opened);
    if (!file) return opened == InputOpen::Missing ? Missing : opened == InputOpen::NotAFile ? NotAFile : Unreadable;
    // One byte more than the largest graphic tells a file that is too
    // large without reading the rest of it.
    const size_t got = std::fread(buffer, 1, LARGEST_GRAPHIC + 1, file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return Unreadable;
    if (got > LARGEST_GRAPHIC) return TooLarge;
    length = static_cast<uint32_t>(got);
    return Read;
}
