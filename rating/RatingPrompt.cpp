#include "rating/RatingPrompt.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace vw {

using platform::Alert;
using platform::CachePolicy;
using platform::UrlRequest;

namespace {

// The background runs in flight. Held for the life of the process (never
// destroyed), so a run that ends during exit still finds it.
struct BackgroundRuns {
    std::mutex mutex;
    std::condition_variable done;
    int running = 0;
    // Serialises the runs' bookkeeping: two launches whose runs overlapped
    // would otherwise read the same count and lose one increment.
    std::mutex bookkeeping;
};

BackgroundRuns& runs() {
    static BackgroundRuns* r = new BackgroundRuns;
    return *r;
}

std::string replaceAll(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

std::string rateTitle() { return std::string("Rate - ") + RatingPrompt::kAppName; }

}  // namespace

RatingPrompt::RatingPrompt(platform::Platform& platform, AppConfig config)
    : p_(platform), config_(std::move(config)) {}

void RatingPrompt::appLaunched(platform::Platform& platform, const AppConfig& config) {
    auto prompt = std::make_shared<RatingPrompt>(platform, config);
    BackgroundRuns& r = runs();
    {
        std::lock_guard lock(r.mutex);
        ++r.running;
    }
    auto finish = [&r] {
        std::lock_guard lock(r.mutex);
        --r.running;
        r.done.notify_all();
    };
    try {
        std::thread([prompt = std::move(prompt), finish]() mutable {
            try {
                std::lock_guard serial(runs().bookkeeping);
                prompt->_appLaunched();
            } catch (...) {
                // Not reported: this launch is simply not counted, or not asked.
            }
            // The thread's share goes here; a queued question keeps its own.
            prompt.reset();
            finish();
        }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: this launch is not counted.
        finish();
    }
}

bool RatingPrompt::waitForBackgroundRuns(std::chrono::milliseconds timeout) {
    BackgroundRuns& r = runs();
    std::unique_lock lock(r.mutex);
    return r.done.wait_for(lock, timeout, [&] { return r.running == 0; });
}

void RatingPrompt::_appLaunched() {
    // Other instances of the application may count their launches at the same
    // time: the whole read-modify-write is one step for the store.
    p_.settings.exclusive([this] { bookkeeping(); });
}

void RatingPrompt::bookkeeping() {
    platform::Settings& defaults = p_.settings;
    const std::string version = p_.bundle.version();

    std::optional<std::string> trackedVersion = defaults.stringForKey(kCurrentVersionKey);
    if (!trackedVersion) {
        trackedVersion = version;
        defaults.setObject(version, kCurrentVersionKey);
    }

    if (*trackedVersion != version) {
        // Another version's state: start counting afresh, asking nothing now.
        defaults.setObject(version, kCurrentVersionKey);
        defaults.setDouble(p_.clock.now(), kLaunchDateKey);
        defaults.setInteger(1, kLaunchCountKey);
        defaults.setBool(false, kRatedCurrentVersionKey);
        defaults.setBool(false, kDeclinedToRateKey);
        defaults.synchronize();
        return;
    }

    double launchDate = defaults.doubleForKey(kLaunchDateKey);
    if (launchDate == 0.0) {
        launchDate = p_.clock.now();
        defaults.setDouble(launchDate, kLaunchDateKey);
    }
    const double elapsed = p_.clock.now() - launchDate;

    // A count at the top of the range stays there.
    const int64_t previousCount = defaults.integerForKey(kLaunchCountKey);
    defaults.setInteger(previousCount < INT64_MAX ? previousCount + 1 : previousCount, kLaunchCountKey);

    const bool declined = defaults.boolForKey(kDeclinedToRateKey);
    const bool rated = defaults.boolForKey(kRatedCurrentVersionKey);

    // In this order, so the online test (a probe request, perhaps a log
    // line) only happens when everything else already allows the question.
    if (previousCount >= kMinimumLaunchCount && elapsed > kMinimumElapsedSeconds && !declined && !rated &&
        connectedToNetwork()) {
        // Queued without waiting; the queued call keeps the instance alive.
        p_.loop.post([self = shared_from_this()] { self->showPrompt(); });
    }
    defaults.synchronize();
}

bool RatingPrompt::connectedToNetwork() {
    const Result<uint32_t> flags = p_.network.reachabilityFlags();
    if (!flags) {
        p_.log.line(kReachabilityErrorLog);
        return false;
    }

    // Sent whatever the flags say; nothing waits for it or looks at its outcome.
    UrlRequest probe;
    probe.url = config_.probeUrl;
    probe.cachePolicy = CachePolicy::ReloadIgnoringLocalCacheData;
    probe.timeoutSeconds = kProbeTimeoutSeconds;
    const bool connection = p_.network.startRequest(probe);

    const uint32_t reachableOrRequired = platform::kReachabilityReachable | platform::kReachabilityConnectionRequired;
    const bool reachable = (*flags & reachableOrRequired) == platform::kReachabilityReachable;
    const bool transient = (*flags & platform::kReachabilityTransientConnection) != 0;
    return connection && (reachable || transient);
}

void RatingPrompt::showPrompt() {
    Alert alert;
    alert.title = rateTitle();
    alert.message = std::string("If you enjoy using ") + kAppName +
                    ", would you mind taking a moment to rate it? It won't take more than a minute. "
                    "Thanks for your support!";
    alert.delegate = "RatingPrompt";
    alert.cancelButtonTitle = "No, Thanks";
    alert.otherButtonTitles = {rateTitle(), "Remind me later"};
    // The handler holds the instance until the answer; the alert queue drops
    // the handler, and with it the instance, once the answer is handled.
    const Alert shown = alert;
    alert.clickedButton = [self = shared_from_this(), shown](int index) { self->alertView(shown, index); };
    p_.ui.alerts().show(std::move(alert));
}

void RatingPrompt::alertView(const Alert&, int buttonIndex) {
    platform::Settings& defaults = p_.settings;
    if (buttonIndex == 0) {
        defaults.setBool(true, kDeclinedToRateKey);
    } else if (buttonIndex == 1) {
        // Opened without looking at the result; rated either way.
        p_.application.openURL(reviewUrl());
        defaults.setBool(true, kRatedCurrentVersionKey);
    }
    defaults.synchronize();
}

std::string RatingPrompt::reviewUrl() const { return reviewUrl(config_); }

std::string RatingPrompt::reviewUrl(const AppConfig& config) {
    const std::string address =
        std::string("itms-apps://") + config.storeHost + kReviewUrlPath + "?" + kReviewUrlQuery;
    // Plain decimal, no leading zeros or spaces.
    return replaceAll(address, "APP_ID", platform::percentEncoded(std::to_string(config.appStoreId)));
}

}  // namespace vw
