#include "platform/ReadToEnd.h"

#include <unistd.h>

#include <cerrno>

namespace vw {

ReadToEndResult readToEnd(int fd, std::size_t limit, std::string& text, int& error) {
    text.clear();
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = errno;
            return ReadToEndResult::Failed;
        }
        if (n == 0) return ReadToEndResult::Read;
        if (text.size() + static_cast<std::size_t>(n) > limit) return ReadToEndResult::TooLarge;
        text.append(buf, static_cast<std::size_t>(n));
    }
}

}  // namespace vw
