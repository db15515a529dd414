// The rating prompt: counts launches and the time since the first launch,
// per application version, and once both are large enough and the device is
// online, asks the user once to rate the application in the store.
//
// Its whole state lives in the settings store under five keys of its own.
// The bookkeeping and the online test run on a detached background thread
// that touches only thread-safe services (the settings store, the clock, the
// application's version, the network, the log, and the main loop's queue to
// hand the question over); the question and its answer run on the main thread.
//
// Lifetime: appLaunched makes one instance, owned by the background thread.
// When the question is queued, the queued call and then the alert's answer
// handler share that ownership, so the instance lives until the user answers
// (or until the alert or the queued call is discarded with the platform); in
// every other case it is freed when the thread ends.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "controller/AppConfig.h"
#include "platform/Platform.h"

namespace vw {

class RatingPrompt : public std::enable_shared_from_this<RatingPrompt> {
public:
    static constexpr const char* kCurrentVersionKey = "kRatingPromptCurrentVersion";
    static constexpr const char* kLaunchDateKey = "kRatingPromptLaunchDate";
    static constexpr const char* kLaunchCountKey = "kRatingPromptLaunchCount";
    static constexpr const char* kRatedCurrentVersionKey = "kRatingPromptRatedCurrentVersion";
    static constexpr const char* kDeclinedToRateKey = "kRatingPromptDeclinedToRate";

    static constexpr const char* kAppName = "Voltwise";
    // Elapsed time since the first counted launch must be strictly greater.
    static constexpr double kMinimumElapsedSeconds = 259200.0;
    // The count as it stood before this launch must be at least this.
    static constexpr int64_t kMinimumLaunchCount = 6;
    static constexpr double kProbeTimeoutSeconds = 20.0;
    static constexpr const char* kReviewUrlPath = "/WebObjects/MZStore.woa/wa/viewContentsUserReviews";
    static constexpr const char* kReviewUrlQuery =
        "id=APP_ID&onlyLatestVersion=true&pageNumber=0&sortOrdering=1&type=Purple+Software";
    static constexpr const char* kReachabilityErrorLog = "Error. Could not recover network reachability flags";

    // Called on the main thread each time the main screen is built. Starts
    // the launch bookkeeping on a detached thread and returns at once.
    static void appLaunched(platform::Platform& platform, const AppConfig& config);

    // Waits until every background run started by appLaunched has finished
    // (and let go of its instance), or `timeout` has passed; true when none
    // is left. Whoever tears the platform down calls this first, so no run
    // is left using it.
    static bool waitForBackgroundRuns(std::chrono::milliseconds timeout);

    // Make instances through std::make_shared: the queued question takes a
    // share of the instance.
    RatingPrompt(platform::Platform& platform, AppConfig config);

    // The launch bookkeeping and the decision (background thread).
    void _appLaunched();
    // The online test (background thread).
    bool connectedToNetwork();
    // Builds and shows the question (main thread).
    void showPrompt();
    // The question's answer (main thread): 0 "No, Thanks", 1 rate, others
    // "Remind me later".
    void alertView(const platform::Alert& alert, int buttonIndex);

    // The review page's address with the store identifier in place of every "APP_ID".
    std::string reviewUrl() const;
    static std::string reviewUrl(const AppConfig& config);

private:
    void bookkeeping();
    platform::Platform& p_;
    const AppConfig config_;
};

}  // namespace vw
