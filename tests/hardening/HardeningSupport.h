// Helpers for the tests that try the application's inputs as a careless user
// or an attacker would: scratch folders, files, and the real executable run
// as a separate process.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <future>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "tests/lib/Scratch.h"

namespace vw::hardening {

namespace fs = std::filesystem;

using test::readFile;
using test::TempDir;
using test::writeFile;

struct ExeRun {
    int status = -1;  // exit status; 128 + signal when killed
    std::string out, err;
};

// Runs the voltwise executable with `args`, standard input from /dev/null,
// and waits for it (killing it after `timeout`, which counts as status 137).
inline ExeRun runExe(std::vector<std::string> args, std::chrono::seconds timeout = std::chrono::seconds(60)) {
    TempDir io;
    const std::string outPath = (io / "out").string(), errPath = (io / "err").string();
    const pid_t pid = ::fork();
    if (pid == 0) {
        static std::string exe = VOLTWISE_EXE;
        std::vector<char*> argv{exe.data()};
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (std::freopen("/dev/null", "r", stdin) && std::freopen(outPath.c_str(), "w", stdout) &&
            std::freopen(errPath.c_str(), "w", stderr))
            ::execv(exe.c_str(), argv.data());
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) != pid) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        ::usleep(10000);
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), readFile(outPath), readFile(errPath)};
}

// Runs `body` on a thread; false when it has not ended within 20 seconds,
// after writing to `blocking` (a FIFO) to let a blocked reader go.
template <typename Body>
bool endsInTime(Body body, const fs::path& blocking) {
    auto run = std::async(std::launch::async, body);
    if (run.wait_for(std::chrono::seconds(20)) == std::future_status::ready) return run.get(), true;
    std::ofstream(blocking) << "";
    run.wait();
    return false;
}

// The names in `dir` that contain `part`.
inline std::vector<std::string> namesWith(const fs::path& dir, const std::string& part) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename().string().find(part) != std::string::npos) names.push_back(e.path().filename().string());
    return names;
}

// The process's peak resident memory so far, in kilobytes.
inline long peakKilobytes() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

}  // namespace vw::hardening
