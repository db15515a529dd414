// A small HTTP server for tests, on 127.0.0.1 and a port the system picks.
// It records every request it reads (request line and headers) and either
// answers at once or holds the connection without ever answering, until the
// client gives up or the test releases it.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace vw::testing {

class LocalHttpServer {
public:
    enum class Mode { Answer, Hold };
    struct Request {
        std::string method, target;                  // target: path and query
        std::map<std::string, std::string> headers;  // names in lower case
    };

    explicit LocalHttpServer(Mode mode = Mode::Answer) : mode_(mode) {
        listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (listen_ < 0 || ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listen_, 16) != 0 ||
            ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len) != 0 || ::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0)
            throw std::runtime_error("cannot listen on 127.0.0.1");
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~LocalHttpServer() {
        locked([&] { stopping_ = true; });
        thread_.join();
        for (int fd : {listen_, wake_[0], wake_[1]}) ::close(fd);
    }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    std::string hostPort() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string url(const std::string& path) const { return "http://" + hostPort() + path; }
    std::vector<Request> requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }
    bool waitForRequests(std::size_t n, std::chrono::milliseconds timeout) const {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= n; });
    }
    // Connections that the client closed while the server still held them.
    bool waitForClientsClosed(std::size_t n, std::chrono::milliseconds timeout) const {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return clientsClosed_ >= n; });
    }
    // Answers the held connections and every later one at once.
    void release() { locked([&] { mode_ = Mode::Answer; }); }

private:
    struct Client {
        int fd;
        std::string buffer;
        bool held = false;
    };

    // Changes the shared state, tells the waiting tests and wakes the server.
    template <typename F>
    void locked(F change) {
        {
            std::lock_guard lock(mutex_);
            change();
            changed_.notify_all();
        }
        const char c = 1;
        [[maybe_unused]] ssize_t n = ::write(wake_[1], &c, 1);
    }

    static void answerAndClose(Client& c) {
        static const char kAnswer[] = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok";
        [[maybe_unused]] ssize_t n = ::send(c.fd, kAnswer, sizeof kAnswer - 1, MSG_NOSIGNAL);
        ::close(c.fd);
        c.fd = -1;
    }

    static Request parse(const std::string& head) {
        Request r;
        std::istringstream in(head);
        std::string line;
        std::getline(in, line);
        std::istringstream(line) >> r.method >> r.target;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const auto colon = line.find(':');
            if (colon == std::string::npos) continue;
            std::string name = line.substr(0, colon);
            for (auto& ch : name) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            const auto value = line.find_first_not_of(' ', colon + 1);
            r.headers[name] = value == std::string::npos ? "" : line.substr(value);
        }
        return r;
    }

    void run() {
        std::vector<Client> clients;
        for (;;) {
            Mode mode;
            {
                std::lock_guard lock(mutex_);
                if (stopping_) break;
                mode = mode_;
            }
            if (mode == Mode::Answer)
                for (auto& c : clients)
                    if (c.held) answerAndClose(c);
            std::erase_if(clients, [](const Client& c) { return c.fd < 0; });
            std::vector<pollfd> fds{{listen_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
            for (const auto& c : clients) fds.push_back({c.fd, POLLIN, 0});
            if (::poll(fds.data(), fds.size(), -1) < 0) continue;
            char buf[4096];
            if (fds[1].revents)
                while (::read(wake_[0], buf, sizeof buf) > 0) {
                }
            if (fds[0].revents & POLLIN)
                if (const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC); fd >= 0) clients.push_back({fd, {}, false});
            for (std::size_t i = 2; i < fds.size(); ++i) {
                if (!fds[i].revents) continue;
                Client& c = clients[i - 2];
                const ssize_t n = ::recv(c.fd, buf, sizeof buf, 0);
                if (n <= 0) {
                    std::lock_guard lock(mutex_);
                    clientsClosed_ += c.held;
                    changed_.notify_all();
                    ::close(c.fd);
                    c.fd = -1;
                    continue;
                }
                if (c.held) continue;  // anything more is ignored
                c.buffer.append(buf, static_cast<std::size_t>(n));
                const auto end = c.buffer.find("\r\n\r\n");
                if (end == std::string::npos) continue;
                {
                    std::lock_guard lock(mutex_);
                    requests_.push_back(parse(c.buffer.substr(0, end)));
                    changed_.notify_all();
                }
                if (mode == Mode::Answer) answerAndClose(c);
                else c.held = true;
            }
        }
        for (auto& c : clients) ::close(c.fd);
    }

    int listen_ = -1, wake_[2] = {-1, -1};
    uint16_t port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    Mode mode_;
    bool stopping_ = false;
    std::vector<Request> requests_;
    std::size_t clientsClosed_ = 0;
};

}  // namespace vw::testing
