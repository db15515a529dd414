#include "platform/ui/Ui.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vw::platform {

Ui::Ui(const Clock& clock, MainLoop& loop, const Bundle& bundle, float screenWidth, Trace* trace)
    : bundle_(bundle), loop_(loop), trace_(trace), screenWidth_(screenWidth), animator_(clock, loop, trace),
      alerts_(trace) {}

void Ui::setKeyWindow(Window* w) {
    if (keyWindow_ == w) return;
    keyWindow_ = w;
    changed();
}

ImageRef Ui::imageNamed(const std::string& name) {
    auto it = images_.find(name);
    if (it == images_.end()) {
        ImageRef image;
        // A file that is no picture of a sensible size counts as missing: it
        // is never decoded, so it cannot exhaust memory.
        if (auto path = bundle_.pathForResource(name, ""))
            if (auto size = acceptableImageSize(*path)) image = std::make_shared<Image>(Image{name, *path, size});
        it = images_.emplace(name, std::move(image)).first;
    }
    traceCall(trace_, "image.imageNamed", {quoteText(name), it->second ? "image" : "nil"});
    return it->second;
}

std::optional<Size> Ui::acceptableImageSize(const std::string& path) {
    const auto size = pngSize(path);
    if (!size || size->width < 1 || size->height < 1 || size->width > kMaxImageSide || size->height > kMaxImageSide)
        return std::nullopt;
    return size;
}

std::optional<Size> Ui::pngSize(const std::string& path) {
    // Not a blocking read of whatever the name leads to (a FIFO, a device).
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    unsigned char h[24];
    const bool read = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::read(fd, h, sizeof h) == static_cast<ssize_t>(sizeof h);
    ::close(fd);
    if (!read) return std::nullopt;
    static const unsigned char sig[16] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (int i = 0; i < 16; ++i)
        if (h[i] != sig[i]) return std::nullopt;
    auto be32 = [&](int o) { return (uint32_t(h[o]) << 24) | (uint32_t(h[o + 1]) << 16) | (uint32_t(h[o + 2]) << 8) | h[o + 3]; };
    return Size{static_cast<float>(be32(16)), static_cast<float>(be32(20))};
}

}  // namespace vw::platform
