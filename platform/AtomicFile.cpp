#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/Numbers.h"

namespace vw::platform {
namespace {

namespace fs = std::filesystem;

Error systemError(int e) { return Error{std::strerror(e), e}; }

std::string temporaryPrefix(const std::string& path) { return path + ".tmp-"; }

// A temporary file of this process beside `path`, made and opened for writing.
Result<std::pair<std::string, int>> makeTemporary(const std::string& path, mode_t bits) {
    static std::atomic<unsigned> next{0};
    const std::string prefix = temporaryPrefix(path) + std::to_string(::getpid()) + "-";
    for (int tries = 0; tries < 100; ++tries) {
        std::string name = prefix + std::to_string(next++);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, bits);
        if (fd >= 0) return std::pair{std::move(name), fd};
        // One left by an earlier process of the same number: the next name.
        if (errno != EEXIST) break;
    }
    return systemError(errno);
}

Result<void> writeAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return systemError(errno);
        done += static_cast<std::size_t>(n);
    }
    return {};
}

// Writes, flushes and closes the temporary file.
Result<void> fill(int fd, const ContentWriter& write) {
    Result<void> written = write(fd);
    if (written && ::fsync(fd) != 0) written = systemError(errno);
    if (::close(fd) != 0 && written) written = systemError(errno);
    return written;
}

}  // namespace

std::string folderOf(const std::string& path) {
    const fs::path p(path);
    return p.has_parent_path() ? p.parent_path().string() : ".";
}

Result<void> replaceFile(const std::string& path, const ContentWriter& write, FileMode mode) {
    auto temporary = makeTemporary(path, mode.bits);
    if (!temporary) return temporary.error();
    const auto& [name, fd] = *temporary;
    struct stat old {};
    if (mode.fromReplaced && ::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        if (::geteuid() == 0 && (old.st_uid != 0 || old.st_gid != 0)) (void)!::fchown(fd, old.st_uid, old.st_gid);
        ::fchmod(fd, old.st_mode & 07777);
    }
    Result<void> done = fill(fd, write);
    if (done && ::rename(name.c_str(), path.c_str()) != 0) done = systemError(errno);
    if (!done) {
        ::unlink(name.c_str());
        return done;
    }
    // Make the rename itself durable.
    if (const int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

Result<void> replaceFile(const std::string& path, const std::string& content, FileMode mode) {
    return replaceFile(path, [&content](int fd) { return writeAll(fd, content); }, mode);
}

void removeAbandonedTemporaries(const std::string& path) {
    const std::string prefix = fs::path(temporaryPrefix(path)).filename().string();
    std::error_code ec;
    for (fs::directory_iterator it(folderOf(path), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        const std::string pid = name.substr(prefix.size(), name.find('-', prefix.size()) - prefix.size());
        const auto writer = parseWholeNumber(pid, 1, INT_MAX, WholeForm::Integer);
        if (!writer || (::kill(static_cast<pid_t>(*writer), 0) != 0 && errno == ESRCH)) fs::remove(it->path(), ec);
    }
}

Result<void> moveNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
    if (errno != EINVAL && errno != ENOSYS) return systemError(errno);
    // A file system without the flag: a hard link cannot replace either.
    if (::link(from.c_str(), to.c_str()) != 0) return systemError(errno);
    ::unlink(from.c_str());
    return {};
}

}  // namespace vw::platform
