#include "tests/controller/AppFixture.h"

namespace vw::testing {
TEST(Smoke, PrintTrace) {
    App app;
    app.rp.setBattery(0.57f, BatteryState::Unplugged);
    app.launch();
    app.rp.advance(2.5);
    for (auto& c : app.calls()) std::printf("%s\n", c.c_str());
}
}
