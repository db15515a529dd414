#include "platform/desktop/Fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <mutex>

#include "platform/UniqueHandle.h"

namespace vw::desktop {

namespace {

bool contains(std::string text, const char* word) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text.find(word) != std::string::npos;
}

bool usable(const std::string& file) {
    std::error_code ec;
    return !file.empty() && std::filesystem::is_regular_file(file, ec);
}

std::string lookUp(const FontRequest& want) {
    using PatternPtr = UniquePtr<FcPattern, FcPatternDestroy>;
    std::string found;
    if (FcInit()) {
        const PatternPtr pattern(FcPatternCreate());
        FcPattern* p = pattern.get();
        if (!want.family.empty()) FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(want.family.c_str()));
        // When the family is missing, the nearest sans rather than whatever
        // the configuration likes best.
        FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>("DejaVu Sans"));
        FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
        FcPatternAddInteger(p, FC_WEIGHT, want.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(p, FC_SLANT, want.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(p, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(nullptr, p, FcMatchPattern);
        FcDefaultSubstitute(p);
        FcResult result = FcResultNoMatch;
        if (const PatternPtr match{FcFontMatch(nullptr, p, &result)}) {
            FcChar8* file = nullptr;
            if (FcPatternGetString(match.get(), FC_FILE, 0, &file) == FcResultMatch && file)
                found = reinterpret_cast<const char*>(file);
        }
    }
    if (usable(found)) return found;
    const char* fallbacks[] = {
        want.bold ? "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf" : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    };
    for (const char* f : fallbacks)
        if (usable(f)) return f;
    return {};
}

}  // namespace

FontRequest parseFontName(const std::string& name) {
    FontRequest r;
    r.family = name;
    if (const auto dash = name.rfind('-'); dash != std::string::npos && dash > 0) {
        const std::string style = name.substr(dash + 1);
        if (contains(style, "bold") || contains(style, "italic") || contains(style, "oblique") ||
            contains(style, "regular") || contains(style, "roman")) {
            r.family = name.substr(0, dash);
            r.bold = contains(style, "bold");
            r.italic = contains(style, "italic") || contains(style, "oblique");
        }
    }
    return r;
}

std::string fontFileFor(const std::string& name) {
    static std::mutex mutex;
    static std::map<std::string, std::string> cache;
    std::lock_guard lock(mutex);
    auto it = cache.find(name);
    if (it == cache.end()) it = cache.emplace(name, lookUp(parseFontName(name))).first;
    return it->second;
}

}  // namespace vw::desktop
