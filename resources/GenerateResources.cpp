// Writes every image and sound the application names into one folder:
//
//   generate_resources OUTPUT_DIR [--only TEXT]... [--contact-sheet FILE]
//                      [--artwork-sheet FILE] [--no-sounds]
//
// Run by the build; the files are made here, never copied from elsewhere.
// --only keeps the images whose file name contains TEXT (for working on a
// few designs); the sheets are grids of the skins and of everything else,
// for looking the artwork over.
#include <cairo.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "resources/Images.h"
#include "resources/Skins.h"
#include "resources/Sounds.h"
#include "screen/SkinCatalogue.h"

using namespace vw::art;

namespace {
int usage() {
    std::fprintf(stderr,
                 "usage: generate_resources OUTPUT_DIR [--only TEXT]... [--contact-sheet FILE] [--artwork-sheet FILE] "
                 "[--no-sounds]\n");
    return 2;
}

bool writeSurface(cairo_surface_t* s, const std::string& path) {
    // Write beside the target and rename, so a reader never sees half a file.
    const std::string tmp = path + ".tmp";
    const bool ok = cairo_surface_write_to_png(s, tmp.c_str()) == CAIRO_STATUS_SUCCESS;
    std::error_code ec;
    if (ok) std::filesystem::rename(tmp, path, ec);
    else std::filesystem::remove(tmp, ec);
    return ok && !ec;
}
}  // namespace

int main(int argc, char** argv) {
    std::string outDir, skinSheet, artworkSheet;
    std::vector<std::string> only;
    bool sounds = true;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        if (a == "--only") {
            std::string v;
            if (!value(v)) return usage();
            only.push_back(v);
        } else if (a == "--contact-sheet") {
            if (!value(skinSheet)) return usage();
        } else if (a == "--artwork-sheet") {
            if (!value(artworkSheet)) return usage();
        } else if (a == "--no-sounds") {
            sounds = false;
        } else if (!a.empty() && a[0] == '-') {
            std::fprintf(stderr, "generate_resources: unknown option %s\n", a.c_str());
            return usage();
        } else if (outDir.empty()) {
            outDir = a;
        } else {
            return usage();
        }
    }
    if (outDir.empty()) return usage();
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
        std::fprintf(stderr, "generate_resources: cannot make %s: %s\n", outDir.c_str(), ec.message().c_str());
        return 1;
    }

    std::vector<Image> images;
    for (auto& img : allImages()) {
        bool keep = only.empty();
        for (const auto& o : only) keep = keep || img.file.find(o) != std::string::npos;
        if (keep) images.push_back(std::move(img));
    }
    for (const auto& skin : vw::kSkinCatalogue)
        if (!skinDesign(skin.file))
            std::fprintf(stderr, "generate_resources: no design for skin %s; drawing a placeholder\n",
                         std::string(skin.file).c_str());

    std::atomic<std::size_t> next{0};
    std::atomic<int> failures{0};
    std::mutex errLock;
    auto work = [&] {
        for (std::size_t n; (n = next++) < images.size();)
            for (int scale : {1, 2}) {
                cairo_surface_t* s = render(images[n], scale);
                const std::string name = scaledName(images[n].file, scale);
                if (!writeSurface(s, (std::filesystem::path(outDir) / name).string())) {
                    std::lock_guard<std::mutex> l(errLock);
                    std::fprintf(stderr, "generate_resources: cannot write %s\n", name.c_str());
                    ++failures;
                }
                cairo_surface_destroy(s);
            }
    };
    std::vector<std::thread> pool;
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned t = 0; t < threads; ++t) pool.emplace_back(work);
    for (auto& t : pool) t.join();

    if (sounds && only.empty()) {
        const auto dir = std::filesystem::path(outDir);
        if (!writeWav((dir / "voltwise_sound.wav").string(), chimeSamples())) {
            std::fprintf(stderr, "generate_resources: cannot write voltwise_sound.wav\n");
            ++failures;
        }
        if (!writeMp3((dir / "saxophone_cool_riff_1.mp3").string(), riffSamples())) {
            std::fprintf(stderr, "generate_resources: cannot write saxophone_cool_riff_1.mp3\n");
            ++failures;
        }
    }

    auto sheet = [&](const std::string& path, bool skins) {
        if (path.empty()) return;
        std::vector<Image> picked;
        std::vector<std::string> captions;
        for (const auto& img : images) {
            const auto it = std::find_if(vw::kSkinCatalogue.begin(), vw::kSkinCatalogue.end(),
                                         [&](const auto& s) { return s.file == img.file; });
            const bool isSkin = it != vw::kSkinCatalogue.end();
            if (isSkin != skins) continue;
            picked.push_back(img);
            captions.push_back(isSkin ? std::string(it->title) : img.file);
        }
        if (picked.empty()) return;
        cairo_surface_t* s = contactSheet(picked, captions, skins ? 6 : 4);
        if (!writeSurface(s, path)) {
            std::fprintf(stderr, "generate_resources: cannot write %s\n", path.c_str());
            ++failures;
        }
        cairo_surface_destroy(s);
    };
    sheet(skinSheet, true);
    sheet(artworkSheet, false);
    return failures == 0 ? 0 : 1;
}
