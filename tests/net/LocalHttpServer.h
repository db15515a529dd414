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
#include <cstdint>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace vw::testing {

class LocalHttpServer {
public:
    enum class Mode { Answer, Hold };

    struct Request {
        std::string method;
        std::string target;                         // path and query
        std::map<std::string, std::string> headers; // names in lower case
    };

    explicit LocalHttpServer(Mode mode = Mode::Answer) : mode_(mode) {
        listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (listen_ < 0) throw std::runtime_error("socket");
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = 0;
        socklen_t len = sizeof a;
        if (::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listen_, 16) != 0 ||
            ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            throw std::runtime_error("bind/listen on 127.0.0.1");
        port_ = ntohs(a.sin_port);
        if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("pipe");
        thread_ = std::thread([this] { run(); });
    }

    ~LocalHttpServer() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake();
        thread_.join();
        ::close(listen_);
        ::close(wake_[0]);
        ::close(wake_[1]);
    }

    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    uint16_t port() const { return port_; }
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
    std::size_t clientsClosed() const {
        std::lock_guard lock(mutex_);
        return clientsClosed_;
    }
    bool waitForClientsClosed(std::size_t n, std::chrono::milliseconds timeout) const {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return clientsClosed_ >= n; });
    }
    // Answers the held connections and every later one at once.
    void release() {
        {
            std::lock_guard lock(mutex_);
            mode_ = Mode::Answer;
        }
        wake();
    }

private:
    struct Client {
        int fd;
        std::string buffer;
        bool held = false;
    };

    void wake() {
        const char c = 1;
        [[maybe_unused]] ssize_t n = ::write(wake_[1], &c, 1);
    }

    static void answer(int fd) {
        static const char kAnswer[] = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok";
        [[maybe_unused]] ssize_t n = ::send(fd, kAnswer, sizeof kAnswer - 1, MSG_NOSIGNAL);
    }

    static Request parse(const std::string& head) {
        Request r;
        std::size_t at = head.find("\r\n");
        const std::string first = head.substr(0, at);
        const auto s1 = first.find(' ');
        const auto s2 = first.find(' ', s1 + 1);
        r.method = first.substr(0, s1);
        r.target = first.substr(s1 + 1, s2 - s1 - 1);
        while (at != std::string::npos) {
            const std::size_t next = head.find("\r\n", at + 2);
            const std::string line = head.substr(at + 2, next == std::string::npos ? std::string::npos : next - at - 2);
            at = next;
            const auto colon = line.find(':');
            if (colon == std::string::npos) continue;
            std::string name = line.substr(0, colon);
            for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            std::string value = line.substr(colon + 1);
            while (!value.empty() && value.front() == ' ') value.erase(0, 1);
            r.headers[name] = value;
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
            if (mode == Mode::Answer) {
                for (auto& c : clients)
                    if (c.held) {
                        answer(c.fd);
                        ::close(c.fd);
                        c.fd = -1;
                    }
                std::erase_if(clients, [](const Client& c) { return c.fd < 0; });
            }

            std::vector<pollfd> fds{{listen_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
            for (const auto& c : clients) fds.push_back({c.fd, POLLIN, 0});
            if (::poll(fds.data(), fds.size(), -1) < 0) continue;

            if (fds[1].revents) {
                char buf[64];
                while (::read(wake_[0], buf, sizeof buf) > 0) {
                }
            }
            if (fds[0].revents & POLLIN) {
                const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
                if (fd >= 0) clients.push_back({fd, {}, false});
            }
            for (std::size_t i = 2; i < fds.size(); ++i) {
                if (!fds[i].revents) continue;
                Client& c = clients[i - 2];
                char buf[4096];
                const ssize_t n = ::recv(c.fd, buf, sizeof buf, 0);
                if (n <= 0) {
                    if (c.held) {
                        std::lock_guard lock(mutex_);
                        ++clientsClosed_;
                        changed_.notify_all();
                    }
                    ::close(c.fd);
                    c.fd = -1;
                    continue;
                }
                if (c.held) continue;  // anything more is ignored
                c.buffer.append(buf, static_cast<std::size_t>(n));
                const auto end = c.buffer.find("\r\n\r\n");
                if (end == std::string::npos) continue;
                Request r = parse(c.buffer.substr(0, end));
                {
                    std::lock_guard lock(mutex_);
                    requests_.push_back(std::move(r));
                    changed_.notify_all();
                }
                if (mode == Mode::Answer) {
                    answer(c.fd);
                    ::close(c.fd);
                    c.fd = -1;
                } else {
                    c.held = true;
                }
            }
            std::erase_if(clients, [](const Client& c) { return c.fd < 0; });
        }
        for (auto& c : clients) ::close(c.fd);
    }

    int listen_ = -1;
    int wake_[2] = {-1, -1};
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
