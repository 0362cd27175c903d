// Decoding a graphic at the cursor of a ROM image.
#pragma once

#include "rom/RomImage.h"
#include "graphics/GraphicCodec.h"

// Decodes one graphic from the cursor into buffer (at least
// max(unpackedSize, 1) bytes) and leaves the cursor on the first stream
// byte not consumed. Bytes outside the image read as 0.
GraphicDecode decompressGraphic(RomImage& rom, uint16_t unpackedSize, uint8_t* buffer);

// The same decoding one readByte() per stream byte: the reference for the
// buffer decoder, and the path for a cursor outside the image, where the
// 32-bit cursor may wrap back into it.
GraphicDecode decompressGraphicPerByte(RomImage& rom, uint16_t unpackedSize, uint8_t* buffer);
