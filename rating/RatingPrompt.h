// The rating prompt: counts launches per application version and, after
// enough use, asks once for a rating in the store.
#pragma once

#include "controller/AppConfig.h"
#include "platform/Platform.h"

namespace vw {

class RatingPrompt {
public:
    // Called on the main thread each time the main screen is built.
    static void appLaunched(platform::Platform& platform, const AppConfig& config);
};

}  // namespace vw
