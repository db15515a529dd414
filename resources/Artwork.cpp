// The battery graphic, its filler and red fill, the chrome buttons and the
// slide show's backdrop, panels and headers.
#include <cmath>
#include <stdexcept>

#include "resources/Artwork.h"

namespace vw::art {

namespace {
constexpr float kPi = 3.14159265358979f;

Paint metal(float y0, float y1) {
    return [=](float, float y) {
        const float t = (y - y0) / (y1 - y0);
        // Brushed chrome: light, a darker middle band, light again.
        Rgba c = mix(hex(0xE9EDF1), hex(0x8A939E), smoothstep(0.0f, 0.55f, t));
        return mix(c, hex(0xC5CCD4), smoothstep(0.55f, 1.0f, t));
    };
}

// A small battery icon for the panels.
void batteryIcon(Canvas& c, float x, float y, float w, float h, float level, Rgba fill) {
    c.paint(roundRect(x, y, w, h, h * 0.18f), hex(0x37474F));
    c.paint(roundRect(x + w, y + h * 0.3f, w * 0.07f, h * 0.4f, 2), hex(0x37474F));
    c.paint(roundRect(x + 4, y + 4, w - 8, h - 8, h * 0.12f), hex(0xECEFF1));
    c.paint(roundRect(x + 6, y + 6, (w - 12) * level, h - 12, h * 0.1f), vertical(y, lighter(fill, 0.3f), y + h, darker(fill, 0.2f)));
}
}  // namespace

Canvas drawBatteryOutline() {
    Canvas c(320, 264);
    // A dark stage that fades to black where the screen continues below.
    c.shade(radial(160, 120, 260, hex(0x24303F), hex(0x05070A)), 1);
    c.paint(rect(0, 200, 320, 64), vertical(200, hex(0x000000, 0), 264, hex(0x000000, 0.6f)));

    // The name, with a bolt.
    Shape bolt = polygon({{42, 8}, {28, 32}, {37, 32}, {31, 52}, {51, 24}, {41, 24}, {48, 8}});
    c.glow(bolt, hex(0x4FC3F7, 0.7f), 8);
    c.paint(bolt, vertical(8, hex(0xFFF59D), 52, hex(0xFFB300)));
    c.text(boldFont(), 30, "VOLTWISE", 58, 10, hex(0xFFFFFF));
    c.paint(roundRect(258, 18, 42, 20, 6), hex(0x4FC3F7, 0.95f));
    c.text(boldFont(), 11, "FREE", 279, 21, hex(0x0B1A2A), Align::Center);

    // The cell: a chrome shell around the window where the skin shows.
    Shape shell = roundRect(16, 58, 280, 240, 20);
    c.glow(shell, hex(0x000000, 0.8f), 10);
    c.paint(shell, metal(58, 264));
    c.paint(outline(shell, 1.5f), hex(0x4A535E));
    c.paint(outline(roundRect(19, 61, 274, 240, 18), 1.2f), hex(0xFFFFFF, 0.6f));
    // The terminal.
    Shape cap = roundRect(294, 122, 18, 92, 6);
    c.paint(cap, metal(122, 214));
    c.paint(outline(cap, 1.2f), hex(0x4A535E));
    // The window itself (the skin covers it) with a dark lip.
    c.paint(roundRect(27, 67, 258, 220, 6), hex(0x15191E));
    c.paint(rect(30, 70, 251, 194), hex(0x0B0D10));
    return c;
}

Canvas drawBatteryFiller() {
    // Smoked glass over an empty cell. It varies only from top to bottom, so it
    // looks the same however far the gauge squeezes it sideways.
    Canvas c(kSkinWidth, kSkinHeight);
    const float h = static_cast<float>(kSkinHeight);
    c.shade(
        [h](float, float y) {
            const float t = y / h;
            Rgba col = mix(hex(0x3B424C), hex(0x1A1D22), smoothstep(0.0f, 0.6f, t));
            col = mix(col, hex(0x262A31), smoothstep(0.6f, 1.0f, t));
            // Reflection across the upper part of the glass.
            const float band = smoothstep(0.06f, 0.14f, t) * (1 - smoothstep(0.30f, 0.42f, t));
            col = mix(col, hex(0xFFFFFF), 0.16f * band);
            // Fine horizontal ribs.
            if (std::fmod(y, 6.0f) < 1.0f) col = darker(col, 0.18f);
            return col;
        },
        2);
    return c;
}

Canvas drawRedFill() {
    Canvas c(kSkinWidth, kSkinHeight);
    c.shade(vertical(0, hex(0xFF5A4E), static_cast<float>(kSkinHeight), hex(0x9E0E0E)), 1);
    // Warning stripes, faint.
    c.paint(rect(0, 0, kSkinWidth, kSkinHeight), [](float x, float y) {
        return std::fmod(x + y + 400.0f, 36.0f) < 14.0f ? Rgba{0, 0, 0, 0.12f} : Rgba{0, 0, 0, 0};
    });
    c.paint(rect(0, 0, kSkinWidth, 80), [](float, float y) { return Rgba{1, 1, 1, 0.25f * (1 - y / 80)}; });
    return c;
}

Canvas drawButton(const std::string& label) {
    Canvas c(95, 23);
    Shape pill = roundRect(0.5f, 0.5f, 94, 22, 7);
    c.paint(pill, [](float, float y) {
        const float t = y / 23.0f;
        return t < 0.5f ? mix(hex(0xFFFFFF), hex(0xDDE2E7), t * 2) : mix(hex(0xBFC6CE), hex(0xE6E9EC), (t - 0.5f) * 2);
    });
    c.paint(outline(pill, 1.0f), hex(0x5E6873));
    c.text(boldFont(), 11, label, 47.5f, 5, hex(0xFFFFFF, 0.8f), Align::Center);
    c.text(boldFont(), 11, label, 47.5f, 4, hex(0x1F2933), Align::Center);
    return c;
}

const std::vector<SlidePanel>& slidePanels() {
    static const std::vector<SlidePanel> panels = {
        {"ad_music_panel.png", "ad_panel_music_on.png", "Music", "Music Alarms",
         "Pick a song to play when your battery is full, so your device never sits on the charger for "
         "hours. ULTRA plays it for you."},
        {"ad_accuracy_panel.png", "ad_panel_accuracy_on.png", "Accuracy", "Pinpoint Accuracy",
         "ULTRA learns how your own device uses power and sharpens every time-left figure with each charge, "
         "down to the minute."},
        {"ad_full_cycle_panel.png", "ad_panel_full_cycle_on.png", "Full Cycle", "Full Cycle Coach",
         "A full charge cycle once a month keeps the battery gauge honest. ULTRA reminds you and walks you "
         "through it."},
        {"ad_charge_display_panel.png", "ad_panel_charge_display_on.png", "Display", "Big Charge Display",
         "A bright full-screen charge meter you can read from across the room, with the time to a full "
         "charge counting down."},
        {"ad_tips_panel.png", "ad_panel_tips_on.png", "Tips", "Battery Tips",
         "Dozens of simple tips to make every charge last longer, from screen brightness to the settings "
         "that quietly drain it."},
    };
    return panels;
}

Canvas drawBackdrop() {
    Canvas c(320, 480);
    c.shade(vertical(0, hex(0x0F2027), 480, hex(0x2C5364)), 1);
    c.paint(rect(0, 0, 320, 480), [](float x, float y) {
        return std::fmod(x * 0.5f + y, 24.0f) < 1.0f ? Rgba{1, 1, 1, 0.04f} : Rgba{0, 0, 0, 0};
    });
    // The footer: the left quarter closes, the rest goes to the store.
    c.paint(rect(0, 438, 320, 42), vertical(438, hex(0x0B1620), 480, hex(0x050A0F)));
    c.paint(rect(0, 438, 320, 1), hex(0x4FC3F7, 0.6f));
    c.paint(rect(80, 446, 1, 26), hex(0xFFFFFF, 0.25f));
    c.text(boldFont(), 13, "\u2039 Close", 40, 451, hex(0xCFD8DC), Align::Center);
    c.paint(roundRect(96, 445, 210, 28, 14), vertical(445, hex(0x4FC3F7), 473, hex(0x0288D1)));
    c.text(boldFont(), 13, "Get Voltwise ULTRA \u203A", 201, 451, hex(0xFFFFFF), Align::Center);
    return c;
}

Canvas drawHeader(std::size_t index) {
    const auto& panels = slidePanels();
    Canvas c(320, 73);
    c.shade(vertical(0, hex(0x1C2B39), 73, hex(0x0D151D)), 1);
    c.text(boldFont(), 20, "Voltwise ULTRA", 160, 6, hex(0xFFFFFF), Align::Center);
    const float tabW = 320.0f / static_cast<float>(panels.size());
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const float x = tabW * static_cast<float>(i);
        const bool on = i == index;
        Shape tab = roundRect(x + 2, 38, tabW - 4, 32, 6);
        if (on) {
            c.glow(tab, hex(0x4FC3F7, 0.6f), 5);
            c.paint(tab, vertical(38, hex(0x81D4FA), 70, hex(0x0288D1)));
        } else {
            c.paint(tab, hex(0xFFFFFF, 0.08f));
        }
        c.text(boldFont(), 10, panels[i].tab, x + tabW / 2, 48, on ? hex(0x08121A) : hex(0x90A4AE), Align::Center);
    }
    return c;
}

Canvas drawPanel(std::size_t index) {
    const auto& p = slidePanels().at(index);
    Canvas c(320, 366);
    Shape card = roundRect(10, 8, 300, 350, 16);
    c.glow(card, hex(0x000000, 0.6f), 8);
    c.paint(card, vertical(8, hex(0xFFFFFF), 358, hex(0xDDE6EE)));
    c.text(boldFont(), 21, p.title, 160, 24, hex(0x0D2436), Align::Center);

    // The picture of the feature.
    const float cx = 160, cy = 130;
    c.paint(circle(cx, cy, 62), radial(cx, cy - 20, 80, hex(0xE1F5FE), hex(0xB3E5FC)));
    const Rgba ink = hex(0x01579B), accent = hex(0xFF7043);
    switch (index) {
        case 0:  // music notes
            c.paint(ellipse(cx - 22, cy + 26, 14, 10, -20), ink);
            c.paint(ellipse(cx + 26, cy + 16, 14, 10, -20), ink);
            c.paint(rect(cx - 10, cy - 34, 5, 60), ink);
            c.paint(rect(cx + 38, cy - 44, 5, 60), ink);
            c.paint(polygon({{cx - 10, cy - 34}, {cx + 43, cy - 44}, {cx + 43, cy - 30}, {cx - 10, cy - 20}}), ink);
            for (int i = 0; i < 3; ++i)
                c.paint(intersect(outline(circle(cx - 60, cy, 20.0f + static_cast<float>(i) * 10), 3), rect(cx - 110, cy - 60, 42, 120)), withAlpha(accent, 0.8f));
            break;
        case 1: {  // a gauge with a needle
            Shape dial = intersect(circle(cx, cy + 20, 54), rect(cx - 60, cy - 40, 120, 60));
            c.paint(dial, hex(0xFFFFFF));
            c.paint(outline(dial, 3), ink);
            for (int i = 0; i <= 10; ++i) {
                const float a = kPi + kPi * static_cast<float>(i) / 10.0f;
                c.paint(segment({cx + std::cos(a) * 44, cy + 20 + std::sin(a) * 44}, {cx + std::cos(a) * 52, cy + 20 + std::sin(a) * 52}, i % 5 ? 1.5f : 3),
                        ink);
            }
            c.paint(segment({cx, cy + 20}, {cx + 30, cy - 18}, 4), accent);
            c.paint(circle(cx, cy + 20, 6), ink);
            c.text(boldFont(), 14, "\u00B11%", cx, cy + 32, ink, Align::Center);
            break;
        }
        case 2: {  // a battery inside turning arrows
            batteryIcon(c, cx - 30, cy - 16, 56, 32, 0.6f, hex(0x43A047));
            Shape ring = outline(circle(cx, cy, 48), 7);
            c.paint(intersect(ring, rect(cx - 60, cy - 60, 120, 52)), ink);
            c.paint(intersect(ring, rect(cx - 60, cy + 8, 120, 52)), ink);
            c.paint(polygon({{cx + 38, cy - 12}, {cx + 58, cy - 12}, {cx + 48, cy + 2}}), ink);
            c.paint(polygon({{cx - 38, cy + 12}, {cx - 58, cy + 12}, {cx - 48, cy - 2}}), ink);
            break;
        }
        case 3:  // a big meter
            batteryIcon(c, cx - 52, cy - 30, 98, 60, 0.85f, hex(0x43A047));
            c.text(boldFont(), 24, "85%", cx - 4, cy - 14, hex(0xFFFFFF), Align::Center);
            break;
        default: {  // a light bulb
            for (int i = 0; i < 8; ++i) {
                const float a = static_cast<float>(i) * kPi / 4;
                c.paint(segment({cx + std::cos(a) * 40, cy - 10 + std::sin(a) * 40}, {cx + std::cos(a) * 54, cy - 10 + std::sin(a) * 54}, 4), accent);
            }
            c.paint(circle(cx, cy - 10, 28), radial(cx - 8, cy - 20, 40, hex(0xFFF9C4), hex(0xFFCA28)));
            c.paint(roundRect(cx - 13, cy + 14, 26, 24, 4), hex(0x78909C));
            for (int i = 0; i < 3; ++i) c.paint(rect(cx - 13, cy + 20 + static_cast<float>(i) * 6, 26, 2), hex(0x455A64));
            break;
        }
    }
    c.text(regularFont(), 15, p.text, 160, 210, hex(0x263238), Align::Center, 268);
    // Which of the five this is.
    for (std::size_t i = 0; i < slidePanels().size(); ++i)
        c.paint(circle(128 + 16 * static_cast<float>(i), 338, i == index ? 5.0f : 3.5f), i == index ? ink : hex(0x90A4AE));
    return c;
}

}  // namespace vw::art
