// Counts the pixels of a screenshot of the gallery page: those of the
// page's background, those where a picture shows (pure greys, r = g = b,
// which neither the page's colours nor its text's edges are) and the rest.
//   screenshot_check <screenshot.png> <background rrggbb> <expected greys>
// Exit status 0 when the greys are exactly the expected number.
#include <spng.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: screenshot_check <screenshot.png> <background rrggbb> <expected greys>\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<unsigned char> png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const unsigned long background = std::strtoul(argv[2], nullptr, 16);
    const unsigned long long expected = std::strtoull(argv[3], nullptr, 10);

    spng_ctx* ctx = spng_ctx_new(0);
    spng_ihdr ihdr{};
    size_t size = 0;
    std::vector<unsigned char> rgba;
    int error = spng_set_png_buffer(ctx, png.data(), png.size());
    if (!error) error = spng_get_ihdr(ctx, &ihdr);
    if (!error) error = spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &size);
    if (!error) {
        rgba.resize(size);
        error = spng_decode_image(ctx, rgba.data(), size, SPNG_FMT_RGBA8, 0);
    }
    spng_ctx_free(ctx);
    if (error) {
        std::fprintf(stderr, "%s: %s\n", argv[1], spng_strerror(error));
        return 1;
    }

    unsigned long long greys = 0, backgroundPixels = 0, others = 0;
    uint32_t lastRowWithContent = 0;
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        const unsigned long colour = (rgba[i] << 16) | (rgba[i + 1] << 8) | rgba[i + 2];
        if (colour == background) {
            ++backgroundPixels;
            continue;
        }
        if (rgba[i] == rgba[i + 1] && rgba[i + 1] == rgba[i + 2]) {
            ++greys;
        } else {
            ++others;
        }
        lastRowWithContent = static_cast<uint32_t>(i / 4 / ihdr.width);
    }
    std::printf("screenshot %u x %u: %llu picture pixels (expected %llu), %llu background, %llu text and other; "
                "last row with content %u\n",
                ihdr.width, ihdr.height, greys, expected, backgroundPixels, others, lastRowWithContent);
    if (lastRowWithContent + 1 >= ihdr.height) {
        std::printf("the page runs past the bottom of the screenshot\n");
        return 1;
    }
    return greys == expected ? 0 : 1;
}
