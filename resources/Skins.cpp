#include "resources/Skins.h"

#include <map>
#include <string>

#include "resources/Paint.h"

namespace vw::art {

SkinDraw skinDesign(std::string_view file) {
    static const std::map<std::string, SkinDraw, std::less<>> designs = [] {
        std::map<std::string, SkinDraw, std::less<>> m;
        for (auto group : {colourSkins, skySkins, patternSkins, animalSkins, flagSkins, sportSkins, sceneSkins, citySkins})
            for (const SkinDesign& d : group()) m.emplace(std::string(d.file), d.draw);
        return m;
    }();
    auto it = designs.find(file);
    return it == designs.end() ? nullptr : it->second;
}

void glassFinish(cairo_t* cr, double strength) {
    Saved s(cr);
    cairo_rectangle(cr, 0, 0, kSkinW, kSkinH * 0.46);
    fill(cr, linear(0, 0, 0, kSkinH * 0.46, {{0, hex(0xFFFFFF, strength)}, {1, hex(0xFFFFFF, 0)}}));
    cairo_rectangle(cr, 0, kSkinH * 0.75, kSkinW, kSkinH * 0.25);
    fill(cr, linear(0, kSkinH * 0.75, 0, kSkinH, {{0, hex(0x000000, 0)}, {1, hex(0x000000, strength * 0.6)}}));
}

}  // namespace vw::art
