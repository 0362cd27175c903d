#include "png/PngImage.h"

#include <spng.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// Ancillary chunks (profiles, metadata of editors) may be this large each,
// and all of them together this large in memory.
constexpr size_t MAX_CHUNK_BYTES = size_t(16) << 20;
constexpr size_t MAX_CHUNK_CACHE = size_t(64) << 20;

struct ContextFree {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using Context = std::unique_ptr<spng_ctx, ContextFree>;

// Samples of a row packed at a bit depth below 8, leftmost pixel in the
// high bits of its byte.
void packRow(const uint8_t* indices, uint32_t width, int bitDepth, uint8_t* out) {
    const uint32_t perByte = uint32_t(8 / bitDepth);
    const size_t rowBytes = (size_t(width) * bitDepth + 7) / 8;
    // Each byte's pixels from the left, the first in its highest bits; past
    // the row's end, zeros.
    uint32_t x = 0;
    for (size_t b = 0; b < rowBytes; ++b) {
        unsigned byte = 0;
        for (uint32_t k = 0; k < perByte; ++k, ++x) byte = (byte << bitDepth) | (x < width ? indices[x] : 0u);
        out[b] = static_cast<uint8_t>(byte);
    }
}

void unpackRow(const uint8_t* packed, uint32_t width, int bitDepth, uint8_t* indices) {
    const int perByte = 8 / bitDepth;
    const unsigned mask = (1u << bitDepth) - 1;
    for (uint32_t x = 0; x < width; ++x) {
        indices[x] = static_cast<uint8_t>((packed[x / perByte] >> (8 - bitDepth * (1 + int(x % perByte)))) & mask);
    }
}

bool findText(spng_ctx* ctx, const char* keyword, std::string& text) {
    uint32_t count = 0;
    if (spng_get_text(ctx, nullptr, &count) != 0 || count == 0) return false;
    std::vector<spng_text> texts(count);
    if (spng_get_text(ctx, texts.data(), &count) != 0) return false;
    for (const spng_text& entry : texts) {
        if (std::strcmp(entry.keyword, keyword) == 0) {
            text.assign(entry.text, entry.length);
            return true;
        }
    }
    return false;
}

bool isSizeRefusal(int error) {
    return error == SPNG_EUSER_WIDTH || error == SPNG_EUSER_HEIGHT || error == SPNG_EWIDTH ||
           error == SPNG_EHEIGHT;
}

}  // namespace

int pngBitDepthFor(int colours) {
    int depth = 1;
    while (depth < 8 && (1 << depth) < colours) depth *= 2;
    return depth;
}

bool writeIndexedPng(const Picture& picture, int bitDepth, const std::vector<Colour>& palette,
                     const char* keyword, const std::string& text, std::vector<uint8_t>& png,
                     PngCompression compression) {
    Context ctx(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!ctx || palette.empty() || palette.size() > 256) return false;
    spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
    if (compression == PngCompression::Fast) {
        spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_LEVEL, 1);
        spng_set_option(ctx.get(), SPNG_FILTER_CHOICE, SPNG_DISABLE_FILTERING);
        spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_STRATEGY, Z_RLE);
    }

    spng_ihdr ihdr{};
    ihdr.width = picture.width;
    ihdr.height = picture.height;
    ihdr.bit_depth = static_cast<uint8_t>(bitDepth);
    ihdr.color_type = SPNG_COLOR_TYPE_INDEXED;
    spng_plte plte{};
    plte.n_entries = static_cast<uint32_t>(palette.size());
    for (size_t i = 0; i < palette.size(); ++i) {
        plte.entries[i].red = palette[i].red;
        plte.entries[i].green = palette[i].green;
        plte.entries[i].blue = palette[i].blue;
    }
    spng_text chunk{};
    std::strncpy(chunk.keyword, keyword, sizeof chunk.keyword - 1);
    chunk.type = SPNG_TEXT;
    std::string textCopy = text;
    chunk.text = textCopy.data();
    chunk.length = textCopy.size();
    if (spng_set_ihdr(ctx.get(), &ihdr) != 0 || spng_set_plte(ctx.get(), &plte) != 0 ||
        spng_set_text(ctx.get(), &chunk, 1) != 0) {
        return false;
    }

    const uint8_t* rows = picture.pixels.data();
    std::vector<uint8_t> packed;
    if (bitDepth < 8) {
        const size_t rowBytes = (size_t(picture.width) * bitDepth + 7) / 8;
        packed.resize(rowBytes * picture.height);
        for (uint32_t y = 0; y < picture.height; ++y) {
            packRow(picture.pixels.data() + size_t(y) * picture.width, picture.width, bitDepth,
                    packed.data() + y * rowBytes);
        }
        rows = packed.data();
    }
    const size_t size = bitDepth < 8 ? packed.size() : picture.pixels.size();
    if (spng_encode_image(ctx.get(), rows, size, SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) != 0) return false;

    size_t length = 0;
    int error = 0;
    void* buffer = spng_get_png_buffer(ctx.get(), &length, &error);
    if (!buffer || error != 0) return false;
    const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
    png.assign(bytes, bytes + length);
    std::free(buffer);
    return true;
}

ReadPng readPng(const uint8_t* bytes, size_t length, const char* keyword) {
    ReadPng result;
    Context ctx(spng_ctx_new(0));
    if (!ctx) return result;
    // A damaged chunk of any kind is a damaged file: never dropped quietly.
    spng_set_crc_action(ctx.get(), SPNG_CRC_ERROR, SPNG_CRC_ERROR);
    spng_set_image_limits(ctx.get(), MAX_PICTURE_WIDTH, MAX_PICTURE_HEIGHT);
    spng_set_chunk_limits(ctx.get(), MAX_CHUNK_BYTES, MAX_CHUNK_CACHE);
    if (spng_set_png_buffer(ctx.get(), bytes, length) != 0) return result;

    spng_ihdr ihdr{};
    const int headerError = spng_get_ihdr(ctx.get(), &ihdr);
    if (isSizeRefusal(headerError)) result.outcome = ReadPng::TooLarge;
    if (headerError != 0) return result;
    if (uint64_t(ihdr.width) * ihdr.height > MAX_PICTURE_PIXELS) {
        result.outcome = ReadPng::TooLarge;
        return result;
    }

    result.indexed = ihdr.color_type == SPNG_COLOR_TYPE_INDEXED;
    result.bitDepth = ihdr.bit_depth;
    const int format = result.indexed ? SPNG_FMT_PNG : SPNG_FMT_RGB8;
    size_t decodedSize = 0;
    if (spng_decoded_image_size(ctx.get(), format, &decodedSize) != 0) return result;
    std::vector<uint8_t> decoded(decodedSize);
    if (spng_decode_image(ctx.get(), decoded.data(), decoded.size(), format, 0) != 0) return result;
    // Text chunks after the image data are known once it is decoded.
    result.hasText = findText(ctx.get(), keyword, result.text);

    const uint32_t width = ihdr.width, height = ihdr.height;
    if (result.indexed) {
        result.picture.width = width;
        result.picture.height = height;
        result.picture.pixels.resize(size_t(width) * height);
        const size_t rowBytes = decodedSize / height;
        for (uint32_t y = 0; y < height; ++y) {
            uint8_t* row = result.picture.pixels.data() + size_t(y) * width;
            if (ihdr.bit_depth == 8) {
                std::memcpy(row, decoded.data() + y * rowBytes, width);
            } else {
                unpackRow(decoded.data() + y * rowBytes, width, ihdr.bit_depth, row);
            }
        }
    } else {
        result.picture.width = width;
        result.picture.height = height;
        result.colours.resize(size_t(width) * height);
        for (size_t i = 0; i < result.colours.size(); ++i) {
            result.colours[i] = Colour{decoded[3 * i], decoded[3 * i + 1], decoded[3 * i + 2]};
        }
    }
    result.outcome = ReadPng::Read;
    return result;
}
