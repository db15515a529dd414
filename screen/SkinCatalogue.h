// The background skins offered in the picker: (title, image file) in row order.
#pragma once

#include <array>
#include <string_view>

namespace vw {

struct SkinEntry {
    std::string_view title;
    std::string_view file;
};

inline constexpr std::string_view kDefaultSkinFile = "green_skin.png";
inline constexpr int kDefaultSkinRow = 1;
// A catalogue row with this file name is a heading, not a skin.
inline constexpr std::string_view kSkinHeadingFile = "category";

inline constexpr std::array<SkinEntry, 58> kSkinCatalogue = {{
    {"Blue", "blue_skin.png"},
    {"Green", "green_skin.png"},
    {"Navy", "navy_skin.png"},
    {"Neon Green", "neon_green_skin.png"},
    {"Orange", "orange_skin.png"},
    {"Pink", "pink_skin.png"},
    {"Purple", "purple_skin.png"},
    {"Red", "red_skin.png"},
    {"Rainbow", "rainbow_skin.png"},
    {"Rainbow Spash", "rainbow_stars_skin.png"},
    {"Fall Bridge", "fall_bridge_skin.png"},
    {"Fall Leaves", "fall_leaves_skin.png"},
    {"Forest Road", "forest_road_skin.png"},
    {"Lightning", "lightening_skin.png"},
    {"Lunar Earth", "lunar_earth_skin.png"},
    {"Seashore", "seashore_skin.png"},
    {"Tropical", "tropical_skin.png"},
    {"Universe", "universe_skin.png"},
    {"Pink Argyle", "argyle_pink_skin.png"},
    {"Plaid", "burberry_skin.png"},
    {"Confetti", "confetti_skin.png"},
    {"Paisley", "paisley_skin.png"},
    {"Pink Polkadots", "pink_polkadots_skin.png"},
    {"Blue Polkadots", "blue_polkadots_skin.png"},
    {"White Polkadots", "white_polkadots_skin.png"},
    {"Alligator", "alligator_skin.png"},
    {"Butterflyfish", "angelfish_skin.png"},
    {"Gecko", "gecko_skin.png"},
    {"Tiger", "tiger_skin.png"},
    {"Zebra", "zebra_skin.png"},
    {"Clouds", "clouds_skin.png"},
    {"Water Drops", "water_drops_skin.png"},
    {"United States", "flag_us_skin.png"},
    {"United Kingdom", "flag_uk_skin.png"},
    {"France", "flag_france_skin.png"},
    {"China", "flag_china_skin.png"},
    {"Puerto Rico", "puerto_rico_skin.png"},
    {"Eiffel Tower", "tour_eiffel_skin.png"},
    {"Snow Flakes", "snowflakes_skin.png"},
    {"Anime Hair", "anime_hair_skin.png"},
    {"Anime Eyes", "anime_eyes_skin.png"},
    {"Guitar Flaming", "flaming_guitar_skin.png"},
    {"Guitar Flame Player", "guitar_flame_play_skin.png"},
    {"Beluga Whale", "beluga_whale_skin.png"},
    {"Cloudy Sky", "cloudy_sky_skin.png"},
    {"Retro Surfing", "retro_surfing_skin.png"},
    {"Stardust", "stardust_skin.png"},
    {"Whale Pattern", "whale_pattern_skin.png"},
    {"Cows", "cows_skin.png"},
    {"Golden Gate Bridge", "golden_gate_skin.png"},
    {"Hong Kong", "hong_kong_skin.png"},
    {"Graffiti", "graffiti_skin.png"},
    {"Wolf", "wolf_skin.png"},
    {"Tropical Island", "tropical_island_skin.png"},
    {"Worldcup Ball", "worldcup_ball_skin.png"},
    {"Aero", "aero_car_skin.png"},
    {"Enzo", "enzo_skin.png"},
    {"Soccer Player", "soccer_player_skin.png"},
}};

}  // namespace vw
