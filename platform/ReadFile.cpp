#include "platform/ReadFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace vw {
namespace {

Error systemError(int e) { return Error{std::strerror(e), e}; }

const Error kNotRegular{"not a regular file"};

// Why what `fd` (or, before opening, `path`) leads to is not to be read.
std::optional<Error> refusal(const struct stat* st, FileKind kind) {
    if (kind == FileKind::Regular) {
        if (!st || !S_ISREG(st->st_mode)) return kNotRegular;
    } else if (!st || S_ISDIR(st->st_mode)) {
        return Error{"is a folder, not a file", EISDIR};
    }
    return std::nullopt;
}

}  // namespace

Result<std::string> readToEnd(int fd, std::size_t limit) {
    std::string text;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return systemError(errno);
        if (n == 0) return text;
        if (text.size() + static_cast<std::size_t>(n) > limit)
            return Error{"larger than " + std::to_string(limit >> 20) + " MB", EFBIG};
        text.append(buf, static_cast<std::size_t>(n));
    }
}

Result<std::string> readFile(const std::string& path, std::size_t limit, FileKind kind) {
    struct stat st {};
    if (kind == FileKind::Regular) {
        if (::stat(path.c_str(), &st) != 0) return systemError(errno);
        if (auto no = refusal(&st, kind)) return *no;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC | (kind == FileKind::Regular ? O_NONBLOCK : 0));
    if (fd < 0) return systemError(errno);
    // Whatever was swapped in since the stat is looked at again.
    const auto no = refusal(::fstat(fd, &st) == 0 ? &st : nullptr, kind);
    Result<std::string> text = no ? Result<std::string>(*no) : readToEnd(fd, limit);
    ::close(fd);
    return text;
}

}  // namespace vw
