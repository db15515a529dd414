// Writes every image and sound the application names into one folder:
//   generate_resources OUTPUT_DIR
// Run by the build; the files are made here, never copied from elsewhere.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "resources/Artwork.h"
#include "screen/SkinCatalogue.h"

using namespace vw::art;

namespace {
int failures = 0;

void check(bool ok, const std::string& path) {
    if (!ok) {
        std::fprintf(stderr, "generate_resources: cannot write %s\n", path.c_str());
        ++failures;
    }
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: generate_resources OUTPUT_DIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    if (boldFont().empty() || regularFont().empty()) {
        std::fprintf(stderr, "generate_resources: no font found (install fonts-dejavu-core)\n");
        return 1;
    }
    auto save = [&](const Canvas& c, const std::string& name) { check(c.savePng((dir / name).string()), name); };
    try {
        save(drawBatteryOutline(), "battery_empty_4.png");
        save(drawBatteryFiller(), "battery_empty_filler.png");
        save(drawRedFill(), "battery_fill_red_3.png");
        save(drawButton("Customize"), "btn_chrome_customize.png");
        save(drawButton("Get Pro"), "btn_chrome_pro_vs_free.png");
        save(drawButton("Our Apps"), "btn_chrome_our_apps.png");
        save(drawButton("Save"), "btn_chrome_save.png");
        for (const auto& skin : vw::kSkinCatalogue) save(drawSkin(std::string(skin.file)), std::string(skin.file));
        save(drawBackdrop(), "ad_backdrop.png");
        for (std::size_t i = 0; i < slidePanels().size(); ++i) {
            save(drawPanel(i), slidePanels()[i].panelFile);
            save(drawHeader(i), slidePanels()[i].headerFile);
        }
        check(writeWav((dir / "voltwise_sound.wav").string(), chimeSamples()), "voltwise_sound.wav");
        check(writeMp3((dir / "saxophone_cool_riff_1.mp3").string(), riffSamples()), "saxophone_cool_riff_1.mp3");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "generate_resources: %s\n", e.what());
        return 1;
    }
    TTF_Quit();
    return failures == 0 ? 0 : 1;
}
