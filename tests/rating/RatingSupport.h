// Helpers shared by the rating prompt's tests.
#pragma once

#include "platform/recording/RecordingPlatform.h"
#include "rating/RatingPrompt.h"

namespace vw::testing {

// The stored state of earlier runs of version 5.0: `count` launches, the
// first `secondsAgo`, and the answers given.
inline void storedRuns(platform::RecordingPlatform& rp, int64_t count, double secondsAgo, bool declined = false,
                       bool rated = false) {
    rp.plainSettings.preload(RatingPrompt::kCurrentVersionKey, std::string("5.0"));
    rp.plainSettings.preload(RatingPrompt::kLaunchDateKey, rp.clock.now() - secondsAgo);
    rp.plainSettings.preload(RatingPrompt::kLaunchCountKey, count);
    if (declined) rp.plainSettings.preload(RatingPrompt::kDeclinedToRateKey, true);
    if (rated) rp.plainSettings.preload(RatingPrompt::kRatedCurrentVersionKey, true);
}

// Stored state that makes this launch ask: the seventh counted launch, four
// days after the first.
inline void dueForTheQuestion(platform::RecordingPlatform& rp) { storedRuns(rp, 6, 4 * 86400.0); }

// The rating question is the one alert on show.
inline bool asked(platform::RecordingPlatform& rp) {
    return rp.ui.alerts().size() == 1 && rp.ui.alerts().front()->title == "Rate - Voltwise";
}

// The recording double's platform with another network.
inline platform::Platform withNetwork(platform::RecordingPlatform& rp, platform::Network& network) {
    return {rp.clock, rp.loop,          rp.log,   rp.application, rp.bundle,   rp.ui,    rp.device,
            rp.notifications, rp.settings, rp.audio, network,        rp.identity};
}

}  // namespace vw::testing
