#include "tests/e2e/PngFiles.h"

#include <spng.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

struct Context {
    explicit Context(int flags) : ctx(spng_ctx_new(flags)) {}
    ~Context() { spng_ctx_free(ctx); }
    spng_ctx* ctx;
};

void check(int error, const char* what) {
    if (error != 0) throw std::runtime_error(std::string(what) + ": " + spng_strerror(error));
}

}  // namespace

std::vector<uint8_t> encodePng(const PngPicture& picture) {
    Context c(SPNG_CTX_ENCODER);
    spng_set_option(c.ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr{};
    ihdr.width = picture.width;
    ihdr.height = picture.height;
    ihdr.bit_depth = 8;
    const uint8_t types[] = {SPNG_COLOR_TYPE_INDEXED, SPNG_COLOR_TYPE_GRAYSCALE, SPNG_COLOR_TYPE_TRUECOLOR,
                             SPNG_COLOR_TYPE_TRUECOLOR_ALPHA};
    ihdr.color_type = types[picture.kind];
    check(spng_set_ihdr(c.ctx, &ihdr), "ihdr");
    if (picture.kind == PngPicture::Indexed) {
        spng_plte plte{};
        plte.n_entries = static_cast<uint32_t>(picture.palette.size());
        for (size_t i = 0; i < picture.palette.size(); ++i) {
            plte.entries[i].red = picture.palette[i][0];
            plte.entries[i].green = picture.palette[i][1];
            plte.entries[i].blue = picture.palette[i][2];
        }
        check(spng_set_plte(c.ctx, &plte), "plte");
    }
    std::string text = picture.text;
    if (picture.hasText) {
        spng_text chunk{};
        std::strcpy(chunk.keyword, "brelquim");
        chunk.type = SPNG_TEXT;
        chunk.text = text.data();
        chunk.length = text.size();
        check(spng_set_text(c.ctx, &chunk, 1), "text");
    }
    check(spng_encode_image(c.ctx, picture.samples.data(), picture.samples.size(), SPNG_FMT_PNG,
                            SPNG_ENCODE_FINALIZE),
          "encode");
    size_t length = 0;
    int error = 0;
    uint8_t* buffer = static_cast<uint8_t*>(spng_get_png_buffer(c.ctx, &length, &error));
    check(error, "buffer");
    std::vector<uint8_t> png(buffer, buffer + length);
    std::free(buffer);
    return png;
}

PngPicture decodePng(const std::vector<uint8_t>& png) {
    Context c(0);
    check(spng_set_png_buffer(c.ctx, png.data(), png.size()), "buffer");
    spng_ihdr ihdr{};
    check(spng_get_ihdr(c.ctx, &ihdr), "ihdr");
    PngPicture picture;
    picture.width = ihdr.width;
    picture.height = ihdr.height;
    picture.bitDepth = ihdr.bit_depth;
    const bool indexed = ihdr.color_type == SPNG_COLOR_TYPE_INDEXED;
    picture.kind = indexed ? PngPicture::Indexed : PngPicture::Truecolour;
    const int format = indexed ? SPNG_FMT_PNG : SPNG_FMT_RGB8;
    size_t size = 0;
    check(spng_decoded_image_size(c.ctx, format, &size), "size");
    std::vector<uint8_t> decoded(size);
    check(spng_decode_image(c.ctx, decoded.data(), size, format, 0), "decode");
    if (indexed) {
        spng_plte plte{};
        check(spng_get_plte(c.ctx, &plte), "plte");
        for (uint32_t i = 0; i < plte.n_entries; ++i) {
            picture.palette.push_back({plte.entries[i].red, plte.entries[i].green, plte.entries[i].blue});
        }
        const size_t rowBytes = size / ihdr.height;
        const int bits = ihdr.bit_depth;
        for (uint32_t y = 0; y < ihdr.height; ++y) {
            for (uint32_t x = 0; x < ihdr.width; ++x) {
                const size_t bit = size_t(x) * bits;
                const uint8_t byte = decoded[y * rowBytes + bit / 8];
                picture.samples.push_back(static_cast<uint8_t>((byte >> (8 - bits - bit % 8)) & ((1 << bits) - 1)));
            }
        }
    } else {
        picture.samples = decoded;
    }
    uint32_t count = 0;
    if (spng_get_text(c.ctx, nullptr, &count) == 0 && count > 0) {
        std::vector<spng_text> texts(count);
        check(spng_get_text(c.ctx, texts.data(), &count), "text");
        for (const spng_text& t : texts) {
            if (std::strcmp(t.keyword, "brelquim") == 0) {
                picture.hasText = true;
                picture.text.assign(t.text, t.length);
            }
        }
    }
    return picture;
}

std::vector<Rgb> greyPalette(int n) {
    std::vector<Rgb> palette;
    for (int i = 0; i < n; ++i) {
        const uint8_t level = static_cast<uint8_t>((510 * i + (n - 1)) / (2 * (n - 1)));
        palette.push_back({level, level, level});
    }
    return palette;
}
