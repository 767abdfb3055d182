// The GIF decoder beside giflib and Wuffs: every frame of each file decoded
// to palette indices on a canvas, the decoders taking turns, each timed as
// the median of 15 samples of at least 2 ms; megabytes of indices a second
// per file and their geometric means. The decoders' indices are compared
// frame by frame first. Time is the thread's processor time, so that other
// work on a shared machine does not count.
//   gif_decode_bench FILE...
//   gif_decode_bench --make DIR   (writes the generated files of both shapes)
#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "controls/gif/gif_decoder.h"
#include "controls/gif/gif_stream.h"
#ifdef FULMINA_WITH_WUFFS
#include "bench/wuffs_gif_yardstick.h"
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;
using Hashes = std::vector<std::uint64_t>;  // one a frame

constexpr int runs = 15;
constexpr double sampleMillis = 2.0;

// A frame's rectangle of the canvas, hashed, so that decoders can be compared.
std::uint64_t hashRect(const std::uint8_t* canvas, std::size_t stride, std::size_t x0, std::size_t y0, std::size_t x1,
                       std::size_t y1) {
    std::uint64_t h = 1469598103934665603ull;
    for (std::size_t y = y0; y < y1; ++y)
        for (std::size_t x = x0; x < x1; ++x) h = (h ^ canvas[y * stride + x]) * 1099511628211ull;
    return h;
}

// Each decoder: decodes every frame of the file onto its canvas; with hashes,
// records each frame's.
struct Decoder {
    std::string name;
    std::function<bool(Hashes*)> decodeAll;
};

Decoder ours(const Bytes& file) {
    auto canvas = std::make_shared<Bytes>();
    auto decoder = std::make_shared<fulmina::gif::LzwDecoder>();
    return {"ours", [&file, canvas, decoder](Hashes* hashes) {
                using namespace fulmina::gif;
                GifStream s;
                if (parseGifStream(file.data(), file.size(), s) == 0) return false;
                const std::size_t width = static_cast<std::size_t>(s.ActualWidth);
                canvas->resize(width * static_cast<std::size_t>(s.ActualHeight));
                for (std::size_t i = 0; i < s.frames.size(); ++i) {
                    const GifFrame& f = s.frames[i];
                    decoder->decode(file.data(), file.size(), s.chunks[i], f,
                                    {canvas->data(), canvas->size(), static_cast<std::ptrdiff_t>(f.Top * width + f.Left),
                                     static_cast<std::ptrdiff_t>(width)});
                    if (hashes)
                        hashes->push_back(hashRect(canvas->data(), width, f.Left, f.Top, f.Left + f.Width, f.Top + f.Height));
                }
                return true;
            }};
}

struct Memory {
    const Bytes* bytes;
    std::size_t at;
};
int readMemory(GifFileType* gif, GifByteType* out, int n) {
    auto* m = static_cast<Memory*>(gif->UserData);
    const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(n), m->bytes->size() - m->at);
    std::memcpy(out, m->bytes->data() + m->at, take);
    m->at += take;
    return static_cast<int>(take);
}

// giflib a row at a time (its own way to decode without keeping the images),
// rows put in place for interlaced images.
Decoder giflib(const Bytes& file) {
    auto canvas = std::make_shared<Bytes>();
    return {"giflib", [&file, canvas](Hashes* hashes) {
                Memory m{&file, 0};
                int error = 0;
                GifFileType* gif = DGifOpen(&m, readMemory, &error);
                if (gif == nullptr) return false;
                const std::size_t width = static_cast<std::size_t>(gif->SWidth);
                canvas->resize(width * static_cast<std::size_t>(gif->SHeight));
                Bytes spare;
                GifRecordType type = UNDEFINED_RECORD_TYPE;
                bool ok = true;
                while (ok && DGifGetRecordType(gif, &type) == GIF_OK && type != TERMINATE_RECORD_TYPE) {
                    if (type == EXTENSION_RECORD_TYPE) {
                        int code = 0;
                        GifByteType* ext = nullptr;
                        ok = DGifGetExtension(gif, &code, &ext) == GIF_OK;
                        while (ok && ext != nullptr) ok = DGifGetExtensionNext(gif, &ext) == GIF_OK;
                        continue;
                    }
                    if (type != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif) != GIF_OK) break;
                    const GifImageDesc d = gif->Image;
                    const bool inside = std::size_t(d.Left + d.Width) <= width && d.Top + d.Height <= gif->SHeight;
                    spare.resize(static_cast<std::size_t>(d.Width));
                    auto line = [&](int y) {
                        GifByteType* to = inside ? canvas->data() + std::size_t(d.Top + y) * width + d.Left : spare.data();
                        return DGifGetLine(gif, to, d.Width) == GIF_OK;
                    };
                    if (d.Interlace) {
                        static constexpr int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
                        for (int pass = 0; pass < 4 && ok; ++pass)
                            for (int y = start[pass]; y < d.Height && ok; y += step[pass]) ok = line(y);
                    } else {
                        for (int y = 0; y < d.Height && ok; ++y) ok = line(y);
                    }
                    if (hashes && inside)
                        hashes->push_back(hashRect(canvas->data(), width, std::size_t(d.Left), std::size_t(d.Top),
                                                   std::size_t(d.Left + d.Width), std::size_t(d.Top + d.Height)));
                }
                DGifCloseFile(gif, &error);
                return ok;
            }};
}

#ifdef FULMINA_WITH_WUFFS
Decoder wuffs(const Bytes& file) {
    std::shared_ptr<void> decoder(wuffs_yardstick_new(), wuffs_yardstick_free);
    auto canvas = std::make_shared<Bytes>();
    auto canvasWidth = std::make_shared<std::uint32_t>(0);
    return {"Wuffs", [&file, canvas, canvasWidth, decoder](Hashes* hashes) {
                std::uint32_t width = 0, height = 0;
                if (canvas->empty()) {
                    if (wuffs_yardstick_decode(decoder.get(), file.data(), file.size(), nullptr, 0, &width, &height,
                                               nullptr, nullptr) < 0)
                        return false;
                    canvas->resize(1024 + std::size_t{width} * height);
                    *canvasWidth = width;
                }
                struct Context {
                    const std::uint8_t* indices;
                    std::uint32_t width;
                    Hashes* hashes;
                } context{canvas->data() + 1024, *canvasWidth, hashes};
                auto onFrame = [](void* c, std::uint32_t x0, std::uint32_t y0, std::uint32_t x1, std::uint32_t y1) {
                    auto* ctx = static_cast<Context*>(c);
                    ctx->hashes->push_back(hashRect(ctx->indices, ctx->width, x0, y0, x1, y1));
                };
                return wuffs_yardstick_decode(decoder.get(), file.data(), file.size(), canvas->data(), canvas->size(),
                                              &width, &height, hashes ? +onFrame : nullptr, &context) >= 0;
            }};
}
#endif

double threadMillis() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// One sample: the decoding repeated for at least sampleMillis, per decoding.
double sample(const Decoder& d) {
    int times = 0;
    const double start = threadMillis();
    double elapsed = 0;
    do {
        d.decodeAll(nullptr);
        ++times;
        elapsed = threadMillis() - start;
    } while (elapsed < sampleMillis);
    return elapsed / times;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

Bytes readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::int64_t indexCount(const Bytes& file) {
    fulmina::gif::GifStream s;
    fulmina::gif::parseGifStream(file.data(), file.size(), s);
    std::int64_t n = 0;
    for (const auto& f : s.frames) n += std::int64_t{f.Width} * f.Height;
    return n;
}

// The generated files: flat-coloured animations (long runs, long strings)
// and dithered or noisy pictures (strings of about two indices), interlaced
// and not, large and small, written with giflib's encoder.
bool writeGif(const std::string& path, int width, int height, int frames, bool interlaced,
              const std::function<std::uint8_t(int x, int y, int frame)>& pixel) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (gif == nullptr) return false;
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = {static_cast<GifByteType>(i), static_cast<GifByteType>(i * 3), static_cast<GifByteType>(255 - i)};
    ColorMapObject* map = GifMakeMapObject(256, colours);
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK;
    Bytes row(static_cast<std::size_t>(width));
    for (int f = 0; f < frames && ok; ++f) {
        const GifByteType control[4] = {0x04, 4, 0, 0};  // disposal 1, delay 4
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control) == GIF_OK &&
             EGifPutImageDesc(gif, 0, 0, width, height, interlaced, nullptr) == GIF_OK;
        std::vector<int> order;
        if (interlaced) {
            for (int y = 0; y < height; y += 8) order.push_back(y);
            for (int y = 4; y < height; y += 8) order.push_back(y);
            for (int y = 2; y < height; y += 4) order.push_back(y);
            for (int y = 1; y < height; y += 2) order.push_back(y);
        } else {
            for (int y = 0; y < height; ++y) order.push_back(y);
        }
        for (int y : order) {
            if (!ok) break;
            for (int x = 0; x < width; ++x) row[static_cast<std::size_t>(x)] = pixel(x, y, f);
            ok = EGifPutLine(gif, row.data(), width) == GIF_OK;
        }
    }
    GifFreeMapObject(map);
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

// A screen-recording-like frame: bands of flat colour and a few boxes that move.
std::uint8_t flat(int x, int y, int frame) {
    for (int box = 0; box < 5; ++box) {
        const int left = (box * 170 + frame * (3 + box)) % 700, top = (box * 110 + frame * 2) % 500;
        if (x >= left && x < left + 150 && y >= top && y < top + 90) return static_cast<std::uint8_t>(200 + box * 11);
    }
    return static_cast<std::uint8_t>(16 + (y / 48) * 9 + (x / 200));
}

// A smooth picture dithered with noise to 256 (or fewer) indices.
std::function<std::uint8_t(int, int, int)> dithered(int levels, unsigned seed) {
    auto random = std::make_shared<std::mt19937>(seed);
    return [levels, random](int x, int y, int frame) {
        const double v = 0.5 + 0.25 * std::sin(x * 0.011 + frame * 0.2) + 0.25 * std::cos(y * 0.017 - x * 0.004);
        const double noisy = v * (levels - 1) + (static_cast<double>((*random)() % 1000) / 1000.0 - 0.5) * 6.0;
        return static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(noisy)), 0, levels - 1));
    };
}

int make(const std::string& dir) {
    const bool ok = writeGif(dir + "/flat-animation.gif", 800, 600, 40, false, flat) &&
                    writeGif(dir + "/flat-animation-interlaced.gif", 800, 600, 20, true, flat) &&
                    writeGif(dir + "/dithered-photo.gif", 1024, 1024, 1, false, dithered(256, 1)) &&
                    writeGif(dir + "/dithered-photo-interlaced.gif", 1024, 1024, 1, true, dithered(256, 2)) &&
                    writeGif(dir + "/noisy-animation.gif", 640, 480, 24, false, dithered(64, 3)) &&
                    writeGif(dir + "/small-spinner.gif", 32, 32, 12, false,
                             [](int x, int y, int f) { return flat(x * 20 + f, y * 15, f); }) &&
                    writeGif(dir + "/small-dithered-icon.gif", 48, 48, 1, true, dithered(256, 4));
    if (!ok) std::fprintf(stderr, "could not write the files in %s\n", dir.c_str());
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--make") == 0) return make(argv[2]);
    if (argc < 2) {
        std::fprintf(stderr, "usage: gif_decode_bench FILE... | --make DIR\n");
        return 2;
    }
#ifndef FULMINA_WITH_WUFFS
    std::printf("(the Wuffs yardstick is missing: shared/yardsticks/wuffs-v0.4.c; ours beside giflib only)\n");
#endif
    std::printf("%-32s %6s %9s %10s %10s %10s %8s %8s\n", "file", "frames", "Mindices", "ours MB/s", "giflib", "Wuffs",
                "/giflib", "/Wuffs");
    double logGiflib = 0, logWuffs = 0, logGiflibLarge = 0, logWuffsLarge = 0, worstLarge = 1e9;
    int files = 0, large = 0;
    for (int i = 1; i < argc; ++i) {
        const Bytes file = readFile(argv[i]);
        std::vector<Decoder> decoders{ours(file), giflib(file)};
#ifdef FULMINA_WITH_WUFFS
        decoders.push_back(wuffs(file));
#endif
        // The same indices from every decoder, frame by frame.
        std::vector<Hashes> hashes(decoders.size());
        bool decoded = true;
        for (std::size_t d = 0; d < decoders.size(); ++d) decoded &= decoders[d].decodeAll(&hashes[d]);
        std::string name = argv[i];
        name = name.substr(name.find_last_of('/') + 1);
        if (!decoded || hashes[0].empty()) {
            std::printf("%-32s not decoded by every decoder: left out\n", name.c_str());
            continue;
        }
        for (std::size_t d = 1; d < decoders.size(); ++d)
            if (hashes[d] != hashes[0]) std::printf("%-32s %s's indices DIFFER from ours\n", name.c_str(), decoders[d].name.c_str());

        std::vector<std::vector<double>> millis(decoders.size());
        for (int run = 0; run < runs; ++run)
            for (std::size_t d = 0; d < decoders.size(); ++d) millis[d].push_back(sample(decoders[d]));
        const double indices = static_cast<double>(indexCount(file));
        std::vector<double> rate;
        for (const auto& m : millis) rate.push_back(indices / 1e3 / median(m));  // MB/s
        const double vsGiflib = rate[0] / rate[1];
        const double vsWuffs = rate.size() > 2 ? rate[0] / rate[2] : 0;
        std::printf("%-32s %6zu %9.2f %10.0f %10.0f %10s %8.2f %8s\n", name.c_str(), hashes[0].size(), indices / 1e6,
                    rate[0], rate[1], rate.size() > 2 ? std::to_string(std::lround(rate[2])).c_str() : "-", vsGiflib,
                    rate.size() > 2 ? std::to_string(vsWuffs).substr(0, 4).c_str() : "-");
        ++files;
        logGiflib += std::log(vsGiflib);
        if (vsWuffs > 0) logWuffs += std::log(vsWuffs);
        if (indices >= 100000) {
            ++large;
            logGiflibLarge += std::log(vsGiflib);
            if (vsWuffs > 0) {
                logWuffsLarge += std::log(vsWuffs);
                worstLarge = std::min(worstLarge, vsWuffs);
            }
        }
    }
    if (files == 0) return 1;
    std::printf("geometric mean, ours / giflib: %.2f over %d files", std::exp(logGiflib / files), files);
    if (large > 0) std::printf(", %.2f over the %d with at least 100,000 indices", std::exp(logGiflibLarge / large), large);
    std::printf("\n");
#ifdef FULMINA_WITH_WUFFS
    std::printf("geometric mean, ours / Wuffs: %.2f over %d files", std::exp(logWuffs / files), files);
    if (large > 0)
        std::printf(", %.2f over the %d with at least 100,000 indices, the least of those %.2f "
                    "(target: at least 1.0, none below 0.8)",
                    std::exp(logWuffsLarge / large), large, worstLarge);
    std::printf("\n");
#endif
    return 0;
}
