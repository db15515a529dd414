// The settings file: what stands at its path, links, several instances at
// once, files moved aside, and a file that cannot be written.
#include <cstring>
#include <future>
#include <sched.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

#include "app/Cli.h"
#include "platform/FileSettings.h"
#include "platform/desktop/DesktopPlatform.h"
#include "platform/net/OfflineNetwork.h"
#include "tests/hardening/HardeningSupport.h"
#include "tests/lib/RunLoop.h"

#include <gmock/gmock.h>

namespace vw::hardening {
namespace {

using platform::FileSettings;
using ::testing::IsEmpty;

struct Logged {
    std::vector<std::string> lines;
    FileSettings::LogFn fn() {
        return [this](const std::string& l) { lines.push_back(l); };
    }
    std::size_t containing(const std::string& part) const {
        std::size_t n = 0;
        for (const auto& l : lines) n += l.find(part) != std::string::npos;
        return n;
    }
};

int cli(const std::vector<std::string>& args, std::string* errText = nullptr) {
    std::ostringstream out, err;
    const int status = app::runCli(args, out, err);
    if (errText) *errText = err.str();
    return status;
}

// Paths that are no regular file; a device only when we may make one.
std::vector<fs::path> oddPaths(const TempDir& dir) {
    std::vector<fs::path> paths;
    const fs::path fifo = dir / "fifo";
    if (::mkfifo(fifo.c_str(), 0600) == 0) paths.push_back(fifo);
    fs::create_directories(dir / "folder");
    paths.push_back(dir / "folder");
    const fs::path sock = dir / "sock";
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", sock.c_str());
    if (s >= 0 && ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) paths.push_back(sock);
    if (s >= 0) ::close(s);
    const fs::path null = dir / "null";  // the same device as /dev/null
    if (::mknod(null.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) paths.push_back(null);
    // A link to one of them is no better.
    fs::create_symlink(dir / "folder", dir / "link-to-folder");
    paths.push_back(dir / "link-to-folder");
    return paths;
}

fs::file_type typeOf(const fs::path& p) { return fs::symlink_status(p).type(); }

// What a check made in a child process came to.
enum class Outcome { Passed = 0, Failed = 1, Skipped = 77 };

// Named on the command line, the path stops the start; as the store's path,
// it is said once and nothing is saved. Either way it is left as it is.
TEST(SettingsPath, APathThatIsNoRegularFileIsLeftAsItIs) {
    TempDir dir;
    for (const auto& p : oddPaths(dir)) {
        SCOPED_TRACE(p.string());
        const auto before = typeOf(p);
        Logged log;
        // Run on a thread: before the fix a FIFO hangs the start for ever.
        const bool ended = endsInTime(
            [&] {
                std::string err;
                EXPECT_EQ(cli({"--text", "--battery", "sim", "--settings", p.string()}, &err), 2);
                EXPECT_EQ(err, "voltwise: " + p.string() + ": not a regular file\n");
                FileSettings s(p.string(), log.fn());
                s.setObject("tiger_skin.png", "skin_file");
                EXPECT_FALSE(s.synchronize());
                s.setObject("1", "skin_row_selected");
                EXPECT_FALSE(s.synchronize());
                EXPECT_EQ(s.stringForKey("skin_file"), "tiger_skin.png");  // kept for this run
                EXPECT_FALSE(s.usable());
            },
            p);
        if (!ended) {
            ADD_FAILURE() << "the start hung";
            continue;
        }
        EXPECT_EQ(typeOf(p), before);
        EXPECT_EQ(log.lines, std::vector<std::string>{p.string() + ": not a regular file; settings will not be saved"});
        EXPECT_THAT(namesWith(dir.path, ".unreadable-"), IsEmpty());
    }
}

TEST(SettingsPath, ASymbolicLinkStaysALinkAndItsTargetIsUpdatedInPlace) {
    TempDir dir;
    fs::create_directories(dir / "real");
    const fs::path target = dir / "real" / "settings";
    {
        FileSettings first(target.string(), {});
        first.setObject("4.5", "vwf_version");
    }
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real/settings", dir / "settings");  // relative, as links often are
    fs::create_symlink(dir / "settings", dir / "chain");     // and a link to the link
    for (const fs::path& link : {dir / "settings", dir / "chain"}) {
        SCOPED_TRACE(link.string());
        {
            FileSettings s(link.string(), {});
            EXPECT_EQ(s.stringForKey("vwf_version"), "4.5");
            EXPECT_EQ(fs::path(s.file()), fs::path(dir / "settings").parent_path() / "real/settings");
            s.setObject(link.filename().string(), "skin_file");
            EXPECT_TRUE(s.synchronize());
        }
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(FileSettings(target.string(), {}).stringForKey("skin_file"), link.filename().string());
        EXPECT_EQ(fs::status(target).permissions() & fs::perms::mask,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    }
    // A link to where nothing is yet: the file is made there.
    fs::create_symlink(dir / "real" / "new", dir / "dangling");
    FileSettings(( dir / "dangling").string(), {}).setObject("x", "k");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    EXPECT_EQ(FileSettings((dir / "real" / "new").string(), {}).stringForKey("k"), "x");
}

// Also: the file's folders are made, and the file is its owner's alone.
TEST(SettingsSharing, AnInstanceDoesNotUndoAnothersSave) {
    TempDir dir;
    const std::string path = (dir / "deep" / "voltwise" / "settings").string();
    FileSettings a(path, {}), b(path, {});
    a.setObject("tiger_skin.png", "skin_file");
    a.setObject("28", "skin_row_selected");
    ASSERT_TRUE(a.synchronize());
    // b still holds its stale copy (no skin); it changes something else.
    b.setInteger(3, "kRatingPromptLaunchCount");
    ASSERT_TRUE(b.synchronize());
    b.removeObject("nothing_there");
    FileSettings c(path, {});
    EXPECT_EQ(c.stringForKey("skin_file"), "tiger_skin.png");
    EXPECT_EQ(c.stringForKey("skin_row_selected"), "28");
    EXPECT_EQ(c.integerForKey("kRatingPromptLaunchCount"), 3);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::mask, fs::perms::owner_read | fs::perms::owner_write);
    // A removal is a change too.
    a.removeObject("skin_row_selected");
    ASSERT_TRUE(a.synchronize());
    EXPECT_FALSE(FileSettings(path, {}).stringForKey("skin_row_selected"));
}

// The launch count is raised under the lock: none is lost however many
// start at once.
TEST(SettingsSharing, TenSimultaneousLaunchesCountTen) {
    TempDir dir;
    const std::string settings = (dir / "settings").string();
    writeFile(dir / "script", "setting vwf_version 4.5\nprint\n");
    std::vector<std::future<ExeRun>> runs;
    for (int i = 0; i < 10; ++i)
        runs.push_back(std::async(std::launch::async, [&] {
            return runExe({"--no-network", "--battery", "sim", "--settings", settings, "--script", (dir / "script").string()});
        }));
    for (auto& r : runs) {
        const ExeRun run = r.get();
        EXPECT_EQ(run.status, 0) << run.err;
    }
    FileSettings s(settings, {});
    EXPECT_EQ(s.integerForKey("kRatingPromptLaunchCount"), 10);
    EXPECT_EQ(s.stringForKey("vwf_version"), "4.5");
}

// A file that is not settings (or too large to be) is kept aside, and the
// start goes on as a first install.
TEST(SettingsFile, FilesMovedAsideNeverOverwriteEachOther) {
    TempDir dir;
    const fs::path file = dir / "settings";
    const std::vector<std::string> garbage = {"first garbage", "second garbage", "third garbage",
                                              "# voltwise settings 1\n" + std::string(FileSettings::kMaxFileBytes, '#')};
    for (const auto& g : garbage) {
        writeFile(file, g);
        Logged log;
        FileSettings s(file.string(), log.fn());
        EXPECT_FALSE(s.stringForKey("vwf_version"));
        ASSERT_EQ(log.lines.size(), 1u);
        EXPECT_EQ(log.lines[0].rfind("could not read " + file.string() + "; moved it to " + file.string() + ".unreadable-", 0), 0u)
            << log.lines[0];
        EXPECT_FALSE(fs::exists(file));
    }
    std::multiset<std::string> kept;
    for (const auto& name : namesWith(dir.path, "settings.unreadable-")) kept.insert(readFile(dir / name));
    EXPECT_EQ(kept, std::multiset<std::string>(garbage.begin(), garbage.end()));
}

// Another program holding "<file>.lock" (flock, from a child process) until
// it is told to let go.
struct LockHolder {
    explicit LockHolder(const fs::path& file) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        pid = ::fork();
        if (pid == 0) {
            const int fd = ::open((file.string() + ".lock").c_str(), O_RDWR | O_CREAT, 0600);
            if (fd < 0 || ::flock(fd, LOCK_EX) != 0) ::_exit(1);
            [[maybe_unused]] const ssize_t n = ::write(ready[1], "x", 1);
            ::pause();
            ::_exit(0);
        }
        ::close(ready[1]);
        char c = 0;
        EXPECT_EQ(::read(ready[0], &c, 1), 1) << "the lock holder did not start";
        ::close(ready[0]);
    }
    void release() {
        if (pid <= 0) return;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        pid = -1;
    }
    ~LockHolder() { release(); }
    pid_t pid = -1;
};

TEST(SettingsLock, ALockHeldElsewhereDelaysTheStartBrieflyAndLeavesTheFileAlone) {
    TempDir dir;
    const fs::path file = dir / "settings";
    { FileSettings(file.string(), {}).setObject("4.5", "vwf_version"); }
    LockHolder holder(file);

    // A scripted session ends (it used to wait for ever), says so in one
    // line, and leaves the file alone.
    writeFile(dir / "script", "setting skin_file purple_skin.png\nprint\n");
    const auto began = std::chrono::steady_clock::now();
    const ExeRun run = runExe({"--no-network", "--battery", "sim", "--settings", file.string(), "--script",
                               (dir / "script").string()},
                              std::chrono::seconds(30));
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    EXPECT_EQ(run.status, 0);
    EXPECT_LT(took, 20.0);
    EXPECT_EQ(run.err, "voltwise: settings: " + file.string() +
                           ".lock is held by another program; going on without saving until it is free\n");
    EXPECT_EQ(readFile(file).find("skin_file"), std::string::npos);
}

// In a running window the stored values are read all the same; a change
// waits, is said once, and goes in on its own once the lock is free.
TEST(SettingsLock, TheWindowSavesOnItsOwnOnceTheLockIsFree) {
    TempDir dir;
    const fs::path file = dir / "settings";
    { FileSettings(file.string(), {}).setObject("4.5", "vwf_version"); }
    LockHolder holder(file);
    desktop::DesktopOptions o;
    o.settingsPath = file.string();
    o.saveRetrySeconds = 0.05;
    Logged log;
    o.print = log.fn();
    desktop::DesktopPlatform dp(o, [](platform::Log&) { return std::make_unique<platform::net::OfflineNetwork>(); });
    EXPECT_EQ(dp.settings.stringForKey("vwf_version"), "4.5");
    dp.settings.setObject("purple_skin.png", "skin_file");
    EXPECT_FALSE(dp.settings.synchronize());
    EXPECT_TRUE(dp.settings.savePending());
    testing::runFor(dp.loop, 0.2);  // retries while it is held
    holder.release();
    testing::runUntil(dp.loop, [&] { return !dp.settings.savePending(); }, 10);
    EXPECT_FALSE(dp.settings.savePending());
    EXPECT_EQ(FileSettings(file.string(), {}).stringForKey("skin_file"), "purple_skin.png");
    EXPECT_EQ(log.containing("settings: " + file.string() + ".lock is held by another program"), 1u);
    EXPECT_EQ(log.containing("settings: the lock on " + file.string() + " is free again"), 1u);
}

// What `body` (returning an Outcome) came to in a child process.
template <typename Body>
Outcome inChild(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(static_cast<int>(body()));
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? static_cast<Outcome>(WEXITSTATUS(status)) : Outcome::Failed;
}

// As an unprivileged user (root reads any file): a child that has given up
// root, or the test itself when it runs as someone else.
template <typename Body>
Outcome asUnprivileged(const fs::path& dir, Body body) {
    return inChild([&] {
        if (::geteuid() == 0) {
            const uid_t nobody = 65534;
            for (const auto& e : fs::recursive_directory_iterator(dir)) (void)!::lchown(e.path().c_str(), nobody, nobody);
            (void)!::chown(dir.c_str(), nobody, nobody);
            if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0) return Outcome::Skipped;
        }
        return body() ? Outcome::Passed : Outcome::Failed;
    });
}

TEST(SettingsFile, AFileThatCannotBeReadIsNeverReplaced) {
    TempDir dir;
    const fs::path file = dir / "settings";
    { FileSettings(file.string(), {}).setObject("tiger_skin.png", "skin_file"); }
    const std::string before = readFile(file);
    writeFile(dir / "script", "print\n");
    const Outcome outcome = asUnprivileged(dir.path, [&] {
        ::chmod(file.c_str(), 0);
        Logged log;
        {
            FileSettings s(file.string(), log.fn());
            s.setInteger(1, "kRatingPromptLaunchCount");
            if (s.synchronize()) return false;
        }
        // The whole application: its launch count alone used to replace the file.
        std::string err;
        if (cli({"--no-network", "--config", "/dev/null", "--battery", "sim", "--settings", file.string(), "--script",
                 (dir / "script").string()},
                &err) != 0)
            return false;
        return log.lines == std::vector<std::string>{"could not read " + file.string() +
                                                     ": Permission denied; settings will not be saved while it "
                                                     "cannot be read"} &&
               err.find("could not read") != std::string::npos;
    });
    if (outcome == Outcome::Skipped) GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(outcome, Outcome::Passed);
    ::chmod(file.c_str(), 0600);
    EXPECT_EQ(readFile(file), before) << "the file is as it was";
    EXPECT_THAT(namesWith(dir.path, ".unreadable-"), IsEmpty());
}

// In a child process with a mount namespace of its own (as root), or with
// the folder's write permission taken away (as anyone else).
TEST(SettingsFile, AFileThatCannotBeWrittenIsSaidOnceInPlainWords) {
    TempDir dir;
    const fs::path folder = dir / "settings-folder", file = folder / "settings";
    fs::create_directories(folder);
    auto check = [&](int error) {
        Logged log;
        {
            FileSettings s(file.string(), log.fn());
            for (int i = 0; i < 5; ++i) {
                s.setInteger(i, "kRatingPromptLaunchCount");
                if (s.synchronize()) return false;
            }
        }  // and the save at exit
        if (!namesWith(folder, ".tmp-").empty() || log.lines.size() != 1) return false;  // none left, said once
        const std::string& l = log.lines[0];
        return l.find("cannot save the settings to " + file.string()) == 0 && l.find(std::strerror(error)) != std::string::npos &&
               l.find("lost when Voltwise quits") != std::string::npos;
    };
    const Outcome outcome = inChild([&] {
        if (::geteuid() != 0) {
            fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
            return check(EACCES) ? Outcome::Passed : Outcome::Failed;
        }
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder.c_str(), "tmpfs", MS_RDONLY, "size=64k") != 0)
            return Outcome::Skipped;
        if (!check(EROFS)) return Outcome::Failed;  // a read-only folder
        ::umount(folder.c_str());
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=8k") != 0) return Outcome::Skipped;
        {
            std::ofstream fill(folder / "filler", std::ios::binary);  // a full disk
            const std::string block(4096, 'x');
            for (int i = 0; i < 64 && fill; ++i) fill << block << std::flush;
        }
        return check(ENOSPC) ? Outcome::Passed : Outcome::Failed;
    });
    if (outcome == Outcome::Skipped) GTEST_SKIP() << "no mount namespace to be had";
    EXPECT_EQ(outcome, Outcome::Passed);
}

}  // namespace
}  // namespace vw::hardening
