// Values read back from the settings: the skin's file name, the images it
// names, the rating prompt's counters and the advertising identifier.
#include <zlib.h>

#include "platform/desktop/Renderer.h"
#include "tests/controller/AppFixture.h"
#include "tests/hardening/HardeningSupport.h"

namespace vw::hardening {
namespace {

using testing::App;

// A real PNG (one bit a pixel, every pixel black) of width x height; a
// picture of 30000 x 30000 takes about 110 kB and 3.6 GB once decoded.
std::string pngOfSize(uint32_t width, uint32_t height) {
    auto be32 = [](uint32_t v) {
        return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                           static_cast<char>(v)};
    };
    auto chunk = [&](const std::string& type, const std::string& data) {
        std::string c = type + data;
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(c.data()), static_cast<uInt>(c.size()));
        return be32(static_cast<uint32_t>(data.size())) + c + be32(static_cast<uint32_t>(crc));
    };
    const std::string ihdr = be32(width) + be32(height) + std::string("\x01\x00\x00\x00\x00", 5);  // 1-bit grey
    const std::size_t row = 1 + (width + 7) / 8;
    z_stream z{};
    deflateInit(&z, 9);
    std::string zipped;
    const std::string zeros(row * 64, '\0');
    std::vector<unsigned char> out(1 << 16);
    for (uint32_t y = 0; y < height; y += 64) {
        const uint32_t rows = std::min<uint32_t>(64, height - y);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
        z.avail_in = static_cast<uInt>(row * rows);
        const int flush = y + 64 >= height ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = out.data();
            z.avail_out = static_cast<uInt>(out.size());
            deflate(&z, flush);
            zipped.append(reinterpret_cast<char*>(out.data()), out.size() - z.avail_out);
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) + chunk("IDAT", zipped) + chunk("IEND", "");
}

// A restoring start with `skinFile` stored as the skin.
std::shared_ptr<const platform::Image> skinShownFor(const std::string& skinFile, const std::string& resourceDir = {}) {
    platform::RecordingOptions o;
    o.resourceDir = resourceDir;
    App app(o);
    app.rp.plainSettings.preload(kSettingsVersionKey, std::string(kCurrentSettingsVersion));
    app.rp.plainSettings.preload(kSkinFileKey, skinFile);
    app.rp.plainSettings.preload(kSkinRowSelectedKey, std::string("3"));
    app.launch();
    return app.on<platform::ImageView>("imageViewSkin").image();
}

TEST(StoredSkin, OnlyAPlainNameInTheArtworkFolderIsEverOpened) {
    TempDir dir;
    // A genuine picture outside the artwork folder, and one inside a sub-folder of it.
    const fs::path outside = dir / "outside.png";
    std::filesystem::copy_file(testing::testResourceDir() + "/green_skin.png", outside);
    fs::create_directories(fs::path(testing::testResourceDir()) / "sub");
    std::filesystem::copy_file(testing::testResourceDir() + "/green_skin.png",
                               fs::path(testing::testResourceDir()) / "sub" / "green_skin.png",
                               fs::copy_options::overwrite_existing);
    EXPECT_TRUE(skinShownFor("green_skin.png"));  // the control: a plain name loads
    for (const std::string& bad : {outside.string(), std::string("/etc/passwd"), std::string("sub/green_skin.png"),
                                  std::string("../") + fs::path(testing::testResourceDir()).filename().string() +
                                      "/green_skin.png",
                                  std::string(".."), std::string("green_skin.png/"), std::string("green\\skin.png")}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(skinShownFor(bad));
    }
    const platform::Bundle bundle(testing::testResourceDir(), "5.0");
    EXPECT_FALSE(bundle.pathForResource(outside.string(), ""));
    EXPECT_FALSE(bundle.pathForResource("green_skin", "png/../../x"));
    EXPECT_TRUE(bundle.pathForResource("voltwise_sound", "wav", "/"));
}

TEST(StoredSkin, AnImageTooLargeOrNotAPictureCountsAsMissing) {
    TempDir dir;
    const fs::path res = dir / "resources";
    fs::create_directories(res);
    for (const auto& e : fs::directory_iterator(testing::testResourceDir()))
        if (e.is_regular_file()) fs::copy_file(e.path(), res / e.path().filename());
    writeFile(res / "huge_skin.png", pngOfSize(30000, 30000));
    writeFile(res / "wide_skin.png", pngOfSize(4097, 1));
    writeFile(res / "edge_skin.png", pngOfSize(4096, 4096));
    writeFile(res / "text_skin.png", "this is no picture at all");
    writeFile(res / "empty_skin.png", "");
    for (const char* file : {"huge_skin.png", "wide_skin.png", "text_skin.png", "empty_skin.png"})
        EXPECT_FALSE(skinShownFor(file, res.string())) << file;
    EXPECT_TRUE(skinShownFor("edge_skin.png", res.string()));
}

TEST(StoredSkin, DrawingAPictureThatClaimsHugeSizeNeitherCrashesNorEatsMemory) {
    TempDir dir;
    const fs::path huge = dir / "huge_skin.png";
    writeFile(huge, pngOfSize(30000, 30000));
    // As if something had let it through: the drawing itself refuses to decode it.
    platform::RecordingPlatform rp(testing::withTestResources({}));
    auto root = std::make_shared<platform::View>(rp.ui, platform::Rect{0, 0, 320, 480});
    auto skin = std::make_shared<platform::ImageView>(rp.ui, platform::Rect{31, 75, 251, 194});
    skin->setImage(std::make_shared<platform::Image>(platform::Image{"huge_skin.png", huge.string(), platform::Size{30000, 30000}}));
    root->addSubview(skin);
    const long before = peakKilobytes();
    desktop::OffscreenScreen screen({320, 480}, 2);
    screen.renderer().draw(*root, nullptr, {320, 480});
    EXPECT_LT(peakKilobytes() - before, 200 * 1024) << "kB more at the peak";
}

// Stored texts and reals beyond the range read as INT64_MAX (tests/platform/SettingsTest.cpp).
TEST(StoredRating, CountersAtTheTopOfTheRangeStayThere) {
    App app;
    app.rp.plainSettings.preload(RatingPrompt::kCurrentVersionKey, std::string("5.0"));
    app.rp.plainSettings.preload(RatingPrompt::kLaunchDateKey, 1.0);
    app.rp.plainSettings.preload(RatingPrompt::kLaunchCountKey, int64_t{INT64_MAX});
    app.launch();
    EXPECT_EQ(app.rp.settings.integerForKey(RatingPrompt::kLaunchCountKey), INT64_MAX);
}

TEST(StoredIdentifier, AForgedIdentifierIsReplacedAndRequestValuesAreEncoded) {
    for (const std::string& stored : {std::string("&appid=999#"), std::string("6D92078A-8246-4BA4-AE5B-76104861E7D"),
                                     std::string("6D92078A-8246-4BA4-AE5B-76104861E7DCX"), std::string(""),
                                     std::string("6D92078A 8246-4BA4-AE5B-76104861E7DC")}) {
        SCOPED_TRACE(stored);
        App app;
        app.rp.plainSettings.preload(platform::AdvertisingIdentity::kSettingsKey, stored);
        app.launch();
        const auto& requests = app.rp.network.requests;
        ASSERT_FALSE(requests.empty());
        const std::string url = requests.front().url;
        const std::string prefix = "http://attribution.voltwise.example/app.php?idfa=";
        ASSERT_EQ(url.rfind(prefix, 0), 0u) << url;
        const std::string id = url.substr(prefix.size(), 36);
        EXPECT_TRUE(platform::AdvertisingIdentity::wellFormed(id)) << url;
        EXPECT_EQ(url.substr(prefix.size() + 36), "&appid=410000001");
        EXPECT_EQ(app.rp.settings.stringForKey(platform::AdvertisingIdentity::kSettingsKey), id);
    }
    EXPECT_EQ(platform::percentEncoded("a&b=c#d e/%"), "a%26b%3Dc%23d%20e%2F%25");
    EXPECT_EQ(platform::percentEncoded("6D92078A-8246-4BA4-ae5b-76104861E7DC._~"), "6D92078A-8246-4BA4-ae5b-76104861E7DC._~");
}

}  // namespace
}  // namespace vw::hardening
