// The host's battery folder holding what no battery driver would put there.
#include <sys/stat.h>

#include "platform/linux/PowerSupply.h"
#include "tests/hardening/HardeningSupport.h"

namespace vw::hardening {
namespace {

using linux_host::findBattery;
using linux_host::readBattery;

TEST(HostBattery, OddFilesNeitherHangTheReadNorGrowMemory) {
    TempDir root;
    const fs::path bat = root / "BAT0";
    fs::create_directories(bat);
    writeFile(bat / "type", "Battery\n");
    struct Case {
        std::string name;
        std::function<void(const fs::path&)> make;
    };
    const std::vector<Case> cases = {
        {"fifo", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"/dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }},
        {"folder", [](const fs::path& p) { fs::create_directories(p); }},
        {"huge file", [](const fs::path& p) {
             writeFile(p, "");
             fs::resize_file(p, 8ull << 30);  // sparse: 8 GB of NULs, no line end
         }},
        {"long line", [](const fs::path& p) { writeFile(p, std::string(100000, '5')); }},
    };
    for (const auto& c : cases) {
        for (const char* file : {"capacity", "status"}) {
            SCOPED_TRACE(c.name + " as " + std::string(file));
            writeFile(bat / "capacity", "42\n");
            writeFile(bat / "status", "Charging\n");
            fs::remove(bat / file);
            c.make(bat / file);
            const long before = peakKilobytes();
            linux_host::PowerSupplyReading r;
            const bool ended = endsInTime([&] { r = readBattery(bat.string()); }, bat / file);
            fs::remove_all(bat / file);
            if (!ended) {
                ADD_FAILURE() << "the read hung";
                continue;
            }
            EXPECT_LT(peakKilobytes() - before, 16 * 1024) << "kB more at the peak";
            const bool capacity = std::string(file) == "capacity";
            EXPECT_FLOAT_EQ(r.level, capacity ? -1.0f : 0.42f);
            EXPECT_EQ(r.state, capacity ? BatteryState::Charging : BatteryState::Unknown);
        }
    }
    // A FIFO as the type: the supply is passed over, not waited on.
    writeFile(bat / "capacity", "42\n");
    fs::remove(bat / "type");
    ASSERT_EQ(::mkfifo((bat / "type").c_str(), 0600), 0);
    bool found = true;
    EXPECT_TRUE(endsInTime([&] { found = findBattery(root.path.string()).has_value(); }, bat / "type")) << "the search hung";
    EXPECT_FALSE(found);
}

}  // namespace
}  // namespace vw::hardening
