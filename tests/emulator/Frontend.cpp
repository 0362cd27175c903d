// A headless libretro frontend that judges an image by what the console
// shows: it loads a SNES core, runs the image for a number of frames,
// writes the last frame as a PNG, and compares it pixel by pixel with the
// screen that the sample's boot program must show (ExpectedScreen), each
// screen pixel taken as the nearest of the console's 32 levels. The text
// box of that screen is the picture that `brelquim-text preview --png`
// drew of the first string (--box): the preview is judged by the console.
//
//   snes_screen <core.so> <image> --box PNG [--frames N] [--frame-png FILE]
//               [--expected-png FILE] [--expect-from IMAGE]
//
// --expect-from draws the expected screen from another image's bytes (the
// check that the comparison has teeth). Exit status: 0 the screens match,
// 1 they differ, 2 the run could not be made.
#include "tests/emulator/ExpectedScreen.h"

#include "png/PngImage.h"
#include "tests/sample/SampleRom.h"

#include <libretro.h>

#include <dlfcn.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Frame {
    unsigned width = 0, height = 0;
    std::vector<uint32_t> rgb;  // 0x00RRGGBB a pixel
};

retro_pixel_format pixelFormat = RETRO_PIXEL_FORMAT_0RGB1555;
Frame lastFrame;
std::string systemFolder = ".";

bool environment(unsigned command, void* data) {
    switch (command) {
        case RETRO_ENVIRONMENT_SET_PIXEL_FORMAT:
            pixelFormat = *static_cast<const retro_pixel_format*>(data);
            return pixelFormat == RETRO_PIXEL_FORMAT_0RGB1555 || pixelFormat == RETRO_PIXEL_FORMAT_XRGB8888 ||
                   pixelFormat == RETRO_PIXEL_FORMAT_RGB565;
        case RETRO_ENVIRONMENT_GET_CAN_DUPE:
            *static_cast<bool*>(data) = true;
            return true;
        case RETRO_ENVIRONMENT_GET_SYSTEM_DIRECTORY:
        case RETRO_ENVIRONMENT_GET_SAVE_DIRECTORY:
            *static_cast<const char**>(data) = systemFolder.c_str();
            return true;
        default:
            return false;
    }
}

// 8-bit channels of a pixel of the core's format.
uint32_t toRgb(const uint8_t* row, unsigned x) {
    auto widen5 = [](uint32_t c) { return (c << 3) | (c >> 2); };
    switch (pixelFormat) {
        case RETRO_PIXEL_FORMAT_XRGB8888: {
            uint32_t p;
            std::memcpy(&p, row + 4 * x, 4);
            return p & 0xFFFFFF;
        }
        case RETRO_PIXEL_FORMAT_RGB565: {
            uint16_t p;
            std::memcpy(&p, row + 2 * x, 2);
            const uint32_t g = (p >> 5) & 63;
            return widen5(p >> 11) << 16 | ((g << 2) | (g >> 4)) << 8 | widen5(p & 31);
        }
        default: {
            uint16_t p;
            std::memcpy(&p, row + 2 * x, 2);
            return widen5((p >> 10) & 31) << 16 | widen5((p >> 5) & 31) << 8 | widen5(p & 31);
        }
    }
}

void videoRefresh(const void* data, unsigned width, unsigned height, size_t pitch) {
    if (!data) return;  // the same frame again
    lastFrame.width = width;
    lastFrame.height = height;
    lastFrame.rgb.resize(size_t(width) * height);
    for (unsigned y = 0; y < height; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(data) + y * pitch;
        for (unsigned x = 0; x < width; ++x) lastFrame.rgb[y * width + x] = toRgb(row, x);
    }
}
void audioSample(int16_t, int16_t) {}
size_t audioBatch(const int16_t*, size_t frames) { return frames; }
void inputPoll() {}
int16_t inputState(unsigned, unsigned, unsigned, unsigned) { return 0; }

// The nearest of the 32 levels of a 5-bit channel to an 8-bit one.
uint8_t level(uint32_t channel) { return static_cast<uint8_t>((channel * 31 + 127) / 255); }

struct Core {
    void* library = nullptr;
    template <class F>
    bool get(const char* name, F& function) {
        function = reinterpret_cast<F>(dlsym(library, name));
        return function != nullptr;
    }
    void (*setEnvironment)(retro_environment_t);
    void (*setVideo)(retro_video_refresh_t);
    void (*setAudio)(retro_audio_sample_t);
    void (*setAudioBatch)(retro_audio_sample_batch_t);
    void (*setInputPoll)(retro_input_poll_t);
    void (*setInputState)(retro_input_state_t);
    void (*init)();
    void (*deinit)();
    bool (*loadGame)(const retro_game_info*);
    void (*unloadGame)();
    void (*run)();
    void (*avInfo)(retro_system_av_info*);
    bool open(const char* path, std::string& reason) {
        library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            reason = dlerror();
            return false;
        }
        if (!get("retro_set_environment", setEnvironment) || !get("retro_set_video_refresh", setVideo) ||
            !get("retro_set_audio_sample", setAudio) || !get("retro_set_audio_sample_batch", setAudioBatch) ||
            !get("retro_set_input_poll", setInputPoll) || !get("retro_set_input_state", setInputState) ||
            !get("retro_init", init) || !get("retro_deinit", deinit) || !get("retro_load_game", loadGame) ||
            !get("retro_unload_game", unloadGame) || !get("retro_run", run) ||
            !get("retro_get_system_av_info", avInfo)) {
            reason = "not a libretro core";
            return false;
        }
        return true;
    }
};

// The frame as a picture of the 32 grey levels (a pixel that is not grey
// shows its green level, and counts as a difference anyway).
bool writeLevelsPng(const std::string& path, unsigned width, unsigned height, const std::vector<uint8_t>& levels) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels = levels;
    std::vector<Colour> palette;
    for (int i = 0; i < 32; ++i) {
        const uint8_t v = static_cast<uint8_t>((i << 3) | (i >> 2));
        palette.push_back(Colour{v, v, v});
    }
    std::vector<uint8_t> png;
    return writeIndexedPng(picture, 8, palette, "Comment", "snes_screen", png) && writeBytes(path, png);
}

struct Options {
    const char* core = nullptr;
    const char* image = nullptr;
    int frames = 120;
    const char* framePng = nullptr;
    const char* expectedPng = nullptr;
    const char* expectFrom = nullptr;
    const char* box = nullptr;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--frames" && hasValue) {
            options.frames = std::atoi(argv[++i]);
            if (options.frames < 1) return false;
        } else if (arg == "--frame-png" && hasValue) {
            options.framePng = argv[++i];
        } else if (arg == "--expected-png" && hasValue) {
            options.expectedPng = argv[++i];
        } else if (arg == "--box" && hasValue) {
            options.box = argv[++i];
        } else if (arg == "--expect-from" && hasValue) {
            options.expectFrom = argv[++i];
        } else if (arg[0] != '-' && !options.core) {
            options.core = argv[i];
        } else if (arg[0] != '-' && !options.image) {
            options.image = argv[i];
        } else {
            return false;
        }
    }
    return options.core && options.image && options.box;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: snes_screen <core.so> <image> --box PNG [--frames N] [--frame-png FILE] "
                     "[--expected-png FILE] [--expect-from IMAGE]\n");
        return 2;
    }
    const std::vector<uint8_t> file = readBytes(options.image);
    if (file.empty()) {
        std::fprintf(stderr, "cannot read %s\n", options.image);
        return 2;
    }
    const char* expectFrom = options.expectFrom ? options.expectFrom : options.image;
    Screen expected;
    std::string reason;
    if (!drawExpectedScreen(romDataOf(readBytes(expectFrom)), expected, reason)) {
        std::fprintf(stderr, "%s: %s\n", expectFrom, reason.c_str());
        return 2;
    }
    if (!drawTextBox(readBytes(options.box), expected, reason)) {
        std::fprintf(stderr, "%s: %s\n", options.box, reason.c_str());
        return 2;
    }
    if (options.expectedPng && !writeLevelsPng(options.expectedPng, SCREEN_WIDTH, SCREEN_HEIGHT, expected.levels)) {
        std::fprintf(stderr, "cannot write %s\n", options.expectedPng);
        return 2;
    }

    Core core;
    if (!core.open(options.core, reason)) {
        std::fprintf(stderr, "%s: %s\n", options.core, reason.c_str());
        return 2;
    }
    core.setEnvironment(environment);
    core.setVideo(videoRefresh);
    core.setAudio(audioSample);
    core.setAudioBatch(audioBatch);
    core.setInputPoll(inputPoll);
    core.setInputState(inputState);
    core.init();
    retro_game_info game{options.image, file.data(), file.size(), nullptr};
    if (!core.loadGame(&game)) {
        std::fprintf(stderr, "%s: the core does not load the image\n", options.image);
        return 2;
    }
    retro_system_av_info av{};
    core.avInfo(&av);  // where a core may set its pixel format
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < options.frames; ++i) core.run();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    core.unloadGame();
    core.deinit();
    std::printf("%s: %d frames, %.0f frames a second\n", options.image, options.frames,
                seconds > 0 ? options.frames / seconds : 0.0);

    // The frame: 256 x 224, or twice as wide or high in the console's
    // high-resolution modes (each pixel then read once).
    const Frame& frame = lastFrame;
    if (frame.width < SCREEN_WIDTH || frame.height < SCREEN_HEIGHT) {
        std::printf("%s: the core showed a frame of %ux%u, not %dx%d\n", options.image, frame.width, frame.height,
                    SCREEN_WIDTH, SCREEN_HEIGHT);
        return 1;
    }
    const unsigned xStep = frame.width / SCREEN_WIDTH, yStep = frame.height >= 2 * SCREEN_HEIGHT ? 2 : 1;
    std::vector<uint8_t> shown(SCREEN_WIDTH * SCREEN_HEIGHT);
    long differing = 0;
    int firstX = -1, firstY = -1;
    uint32_t firstRgb = 0;
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            const uint32_t rgb = frame.rgb[size_t(y) * yStep * frame.width + size_t(x) * xStep];
            const uint8_t r = level(rgb >> 16 & 255), g = level(rgb >> 8 & 255), b = level(rgb & 255);
            shown[y * SCREEN_WIDTH + x] = g;
            const uint8_t want = expected.at(x, y);
            if (r != want || g != want || b != want) {
                if (differing++ == 0) {
                    firstX = x;
                    firstY = y;
                    firstRgb = rgb;
                }
            }
        }
    }
    if (options.framePng && !writeLevelsPng(options.framePng, SCREEN_WIDTH, SCREEN_HEIGHT, shown)) {
        std::fprintf(stderr, "cannot write %s\n", options.framePng);
        return 2;
    }
    if (differing) {
        std::printf("%s: %ld pixels differ from the expected screen; the first at x %d, y %d: #%06X, expected level %d\n",
                    options.image, differing, firstX, firstY, unsigned(firstRgb), expected.at(firstX, firstY));
        return 1;
    }
    std::printf("%s: the frame is the expected screen\n", options.image);
    return 0;
}
