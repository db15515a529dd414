// Helpers for the tests that try the application's inputs as a careless user
// or an attacker would: scratch folders, files, and the real executable run
// as a separate process.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
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
inline ExeRun runExe(const std::vector<std::string>& args, std::chrono::seconds timeout = std::chrono::seconds(60)) {
    TempDir io;
    const std::string outPath = (io / "out").string(), errPath = (io / "err").string();
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<char*> argv;
        static std::string exe = VOLTWISE_EXE;
        argv.push_back(exe.data());
        std::vector<std::string> copy = args;
        for (auto& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (!std::freopen("/dev/null", "r", stdin) || !std::freopen(outPath.c_str(), "w", stdout) ||
            !std::freopen(errPath.c_str(), "w", stderr))
            ::_exit(126);
        ::execv(exe.c_str(), argv.data());
        ::_exit(127);
    }
    ExeRun r;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        ::usleep(10000);
    }
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = readFile(outPath);
    r.err = readFile(errPath);
    return r;
}

// Lines of `text`.
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

// The process's peak resident memory so far, in kilobytes.
inline long peakKilobytes() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

}  // namespace vw::hardening
