#include "platform/net/CurlNetwork.h"

#include <curl/curl.h>

#include <cmath>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/net/Reachability.h"

namespace vw::platform::net {

namespace {

// Time-out for a request that names none (or a senseless one), and the most
// any request may ask for.
constexpr double kDefaultTimeoutSeconds = 60.0;
constexpr double kLongestTimeoutSeconds = 24.0 * 3600.0;

bool globalInit() {
    static std::once_flag once;
    static bool ok = false;
    // libcurl's global state is made once for the process and kept to its end.
    std::call_once(once, [] { ok = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return ok;
}

size_t discardBody(char*, size_t size, size_t count, void*) { return size * count; }

long timeoutMs(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0) seconds = kDefaultTimeoutSeconds;
    if (seconds > kLongestTimeoutSeconds) seconds = kLongestTimeoutSeconds;
    const long ms = static_cast<long>(std::ceil(seconds * 1000.0));
    return ms < 1 ? 1 : ms;
}

}  // namespace

struct CurlNetwork::Impl {
    struct Transfer {
        CURL* easy = nullptr;
        curl_slist* headers = nullptr;
        std::string url;
        ~Transfer() {
            if (easy) curl_easy_cleanup(easy);
            if (headers) curl_slist_free_all(headers);
        }
    };

    explicit Impl(Options o) : options(std::move(o)) {
        if (!globalInit()) return;
        multi = curl_multi_init();
        if (!multi) return;
        try {
            worker = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            // No worker: every request is refused.
            curl_multi_cleanup(multi);
            multi = nullptr;
        }
    }

    ~Impl() {
        {
            std::lock_guard lock(mutex);
            stopping = true;
            if (multi) curl_multi_wakeup(multi);
        }
        if (worker.joinable()) worker.join();
        if (multi) curl_multi_cleanup(multi);
    }

    bool start(const UrlRequest& r) {
        if (!acceptableUrl(r.url)) return false;
        std::lock_guard lock(mutex);
        if (!multi || stopping || outstanding >= options.maxOutstanding) return false;
        queue.push_back(r);
        ++outstanding;
        // Under the lock, so the destructor cannot clean the handle up meanwhile.
        curl_multi_wakeup(multi);
        return true;
    }

    // Worker thread from here on.

    void run() {
        std::map<CURL*, std::unique_ptr<Transfer>> active;
        for (;;) {
            std::deque<UrlRequest> incoming;
            {
                std::lock_guard lock(mutex);
                if (stopping) break;
                incoming.swap(queue);
            }
            for (const auto& r : incoming) {
                auto t = makeTransfer(r);
                CURL* easy = t ? t->easy : nullptr;
                if (!easy || curl_multi_add_handle(multi, easy) != CURLM_OK) {
                    finished(Outcome{r.url, CURLE_FAILED_INIT, 0, false});
                    continue;
                }
                active.emplace(easy, std::move(t));
            }

            int running = 0;
            curl_multi_perform(multi, &running);
            int left = 0;
            while (CURLMsg* msg = curl_multi_info_read(multi, &left)) {
                if (msg->msg != CURLMSG_DONE) continue;
                auto it = active.find(msg->easy_handle);
                if (it == active.end()) continue;
                Outcome o;
                o.url = it->second->url;
                o.curlCode = static_cast<int>(msg->data.result);
                o.timedOut = msg->data.result == CURLE_OPERATION_TIMEDOUT;
                curl_easy_getinfo(msg->easy_handle, CURLINFO_RESPONSE_CODE, &o.httpStatus);
                curl_multi_remove_handle(multi, msg->easy_handle);
                active.erase(it);
                finished(std::move(o));
            }
            // Sleeps until a socket is ready, a transfer's timer is due, or
            // start()/the destructor wakes it. The bound is only a safety net.
            if (curl_multi_poll(multi, nullptr, 0, 1000, nullptr) != CURLM_OK)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));  // no spinning on a failed wait
        }
        // Shutting down: whatever is still in flight is abandoned.
        for (auto& [easy, t] : active) curl_multi_remove_handle(multi, easy);
        active.clear();
        std::lock_guard lock(mutex);
        outstanding = 0;
        idle.notify_all();
    }

    std::unique_ptr<Transfer> makeTransfer(const UrlRequest& r) {
        auto t = std::make_unique<Transfer>();
        t->url = r.url;
        t->easy = curl_easy_init();
        if (!t->easy) return nullptr;
        CURL* e = t->easy;
        curl_easy_setopt(e, CURLOPT_URL, r.url.c_str());
        curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &discardBody);
        curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, timeoutMs(r.timeoutSeconds));
        curl_easy_setopt(e, CURLOPT_USERAGENT, options.userAgent.c_str());
        // One request, one connection: nothing idle is left open afterwards.
        curl_easy_setopt(e, CURLOPT_FORBID_REUSE, 1L);
#if LIBCURL_VERSION_NUM >= 0x075500
        curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
        curl_easy_setopt(e, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
#if LIBCURL_VERSION_NUM >= 0x075700
        // Cleaning up a transfer that is still resolving its host name does
        // not wait for the resolver; this keeps shutdown prompt.
        curl_easy_setopt(e, CURLOPT_QUICK_EXIT, 1L);
#endif
        if (!options.proxyFromEnvironment) curl_easy_setopt(e, CURLOPT_PROXY, "");
        if (r.cachePolicy == CachePolicy::ReloadIgnoringLocalCacheData) {
            // There is no local cache to ignore; caches on the way are told not to answer.
            t->headers = curl_slist_append(t->headers, "Cache-Control: no-cache");
            t->headers = curl_slist_append(t->headers, "Pragma: no-cache");
            curl_easy_setopt(e, CURLOPT_HTTPHEADER, t->headers);
        }
        return t;
    }

    void finished(Outcome o) {
        std::lock_guard lock(mutex);
        recent.push_back(std::move(o));
        if (recent.size() > kKeptOutcomes) recent.pop_front();
        if (outstanding > 0) --outstanding;
        if (outstanding == 0) idle.notify_all();
    }

    const Options options;
    CURLM* multi = nullptr;
    std::thread worker;

    mutable std::mutex mutex;
    mutable std::condition_variable idle;
    std::deque<UrlRequest> queue;
    std::size_t outstanding = 0;
    bool stopping = false;
    std::deque<Outcome> recent;
};

CurlNetwork::CurlNetwork() : CurlNetwork(Options{}) {}
CurlNetwork::CurlNetwork(Options options) : impl_(std::make_unique<Impl>(std::move(options))) {}
CurlNetwork::~CurlNetwork() = default;

bool CurlNetwork::startRequest(const UrlRequest& request) { return impl_->start(request); }

Result<uint32_t> CurlNetwork::reachabilityFlags() {
    if (impl_->options.reachability) return impl_->options.reachability();
    return hostReachabilityFlags();
}

bool CurlNetwork::ready() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->multi != nullptr && !impl_->stopping;
}

std::size_t CurlNetwork::outstanding() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->outstanding;
}

bool CurlNetwork::waitUntilIdle(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(impl_->mutex);
    return impl_->idle.wait_for(lock, timeout, [&] { return impl_->outstanding == 0; });
}

std::vector<CurlNetwork::Outcome> CurlNetwork::outcomes() const {
    std::lock_guard lock(impl_->mutex);
    return {impl_->recent.begin(), impl_->recent.end()};
}

bool CurlNetwork::acceptableUrl(const std::string& url) {
    if (!globalInit()) return false;
    CURLU* u = curl_url();
    if (!u) return false;
    bool ok = false;
    if (curl_url_set(u, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
        char* scheme = nullptr;
        char* host = nullptr;
        if (curl_url_get(u, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
            curl_url_get(u, CURLUPART_HOST, &host, 0) == CURLUE_OK) {
            const std::string s = scheme;
            ok = (s == "http" || s == "https") && host[0] != '\0';
        }
        curl_free(scheme);
        curl_free(host);
    }
    curl_url_cleanup(u);
    return ok;
}

}  // namespace vw::platform::net
