#include "platform/ui/Ui.h"

#include <fstream>

namespace vw::platform {

Ui::Ui(const Clock& clock, MainLoop& loop, const Bundle& bundle, float screenWidth, Trace* trace)
    : bundle_(bundle), loop_(loop), trace_(trace), screenWidth_(screenWidth), animator_(clock, loop, trace),
      alerts_(trace) {}

ImageRef Ui::imageNamed(const std::string& name) {
    auto it = images_.find(name);
    if (it == images_.end()) {
        ImageRef image;
        if (auto path = bundle_.pathForResource(name, "")) image = std::make_shared<Image>(Image{name, *path, pngSize(*path)});
        it = images_.emplace(name, std::move(image)).first;
    }
    traceCall(trace_, "image.imageNamed", {quoteText(name), it->second ? "image" : "nil"});
    return it->second;
}

std::optional<Size> Ui::pngSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char h[24];
    if (!in.read(reinterpret_cast<char*>(h), sizeof h)) return std::nullopt;
    static const unsigned char sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    for (int i = 0; i < 8; ++i)
        if (h[i] != sig[i]) return std::nullopt;
    auto be32 = [&](int o) { return (uint32_t(h[o]) << 24) | (uint32_t(h[o + 1]) << 16) | (uint32_t(h[o + 2]) << 8) | h[o + 3]; };
    return Size{static_cast<float>(be32(16)), static_cast<float>(be32(20))};
}

}  // namespace vw::platform
