#include "rating/RatingPrompt.h"

namespace vw {

// Launch counting is not wired in yet; the main screen only reports the launch.
void RatingPrompt::appLaunched(platform::Platform&, const AppConfig&) {}

}  // namespace vw
