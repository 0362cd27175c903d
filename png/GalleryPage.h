// The text of galeria.html: one self-contained page (pictures as data:
// URIs, a Content-Security-Policy that lets it fetch nothing) showing each
// graphic at twice its size with crisp pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GalleryEntry {
    int number = 0;
    enum State { Drawn, Missing, Unreadable } state = Missing;
    std::string reason;          // Unreadable: why (Windows-1252)
    uint64_t size = 0;           // Drawn: decoded bytes
    std::vector<uint8_t> png;    // Drawn: the picture
    uint32_t width = 0, height = 0;
    bool logged = false;         // log.txt has its line
    uint32_t address = 0;        // LoROM address of the compressed data
    uint32_t packedLength = 0;   // compressed length
};

// drawnWith: the line that says how the pictures were drawn. logRead:
// whether log.txt could be read at all.
std::string galleryPage(const std::vector<GalleryEntry>& entries, const std::string& drawnWith, bool logRead);
