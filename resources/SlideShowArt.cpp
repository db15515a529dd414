// The slide show's backdrop, feature panels and headers.
//
// The backdrop fills the screen (320 x 480); the header sits on it at the top
// (320 x 73) and the paging strip of panels (320 x 366) from y 72, which
// leaves the backdrop's footer, y 438 to 480, in view: a touch left of x 80
// closes the show and one further right goes to the store.
#include <cmath>

#include "resources/Images.h"
#include "resources/Paint.h"

namespace vw::art {

namespace {

struct Feature {
    std::string panelFile, headerFile, tab, title, text;
};

const std::vector<Feature>& features() {
    static const std::vector<Feature> list = {
        {"ad_music_panel.png", "ad_panel_music_on.png", "Music", "Music Alarms",
         "Pick a song to play when your battery is full, so your device never sits on the charger for hours. "
         "ULTRA plays it for you."},
        {"ad_accuracy_panel.png", "ad_panel_accuracy_on.png", "Accuracy", "Pinpoint Accuracy",
         "ULTRA learns how your own device uses power and sharpens every time-left figure with each charge, "
         "down to the minute."},
        {"ad_full_cycle_panel.png", "ad_panel_full_cycle_on.png", "Full Cycle", "Full Cycle Coach",
         "A full charge cycle once a month keeps the battery gauge honest. ULTRA reminds you and walks you "
         "through it."},
        {"ad_charge_display_panel.png", "ad_panel_charge_display_on.png", "Display", "Big Charge Display",
         "A bright full-screen charge meter you can read from across the room, with the time to a full charge "
         "counting down."},
        {"ad_tips_panel.png", "ad_panel_tips_on.png", "Tips", "Battery Tips",
         "Dozens of simple tips to make every charge last longer, from screen brightness to the settings that "
         "quietly drain it."},
    };
    return list;
}

const Colour kInk = hex(0x01579B), kAccent = hex(0xFF7043), kSky = hex(0x4FC3F7);

void drawBackdrop(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, 480, {{0, hex(0x0F2027)}, {0.55, hex(0x203A43)}, {1, hex(0x2C5364)}}));
    // Faint diagonal light lines for texture.
    for (double x = -480; x < 320; x += 24) {
        cairo_move_to(cr, x, 480);
        cairo_line_to(cr, x + 480, 0);
    }
    stroke(cr, hex(0xFFFFFF, 0.035), 1);
    // The footer: the left quarter closes, the rest goes to the store.
    cairo_rectangle(cr, 0, 438, 320, 42);
    fill(cr, linear(0, 438, 0, 480, {{0, hex(0x0B1620)}, {1, hex(0x03070B)}}));
    cairo_rectangle(cr, 0, 438, 320, 1);
    fill(cr, withAlpha(kSky, 0.6));
    cairo_rectangle(cr, 80, 446, 1, 26);
    fill(cr, hex(0xFFFFFF, 0.25));
    text(cr, {13, true}, "\u2039 Close", 40, 451, hex(0xCFD8DC), Align::Center);
    softShadow(cr, [](cairo_t* c) { roundedRect(c, 96, 445, 210, 28, 14); }, withAlpha(kSky, 0.5), 5);
    roundedRect(cr, 96, 445, 210, 28, 14);
    fill(cr, linear(0, 445, 0, 473, {{0, hex(0x81D4FA)}, {0.5, kSky}, {1, hex(0x0288D1)}}));
    text(cr, {13, true}, "Get Voltwise ULTRA \u203A", 201, 451, hex(0xFFFFFF), Align::Center);
}

void drawHeader(cairo_t* cr, std::size_t index) {
    const auto& list = features();
    paint(cr, linear(0, 0, 0, 73, {{0, hex(0x1C2B39)}, {1, hex(0x0D151D)}}));
    text(cr, {20, true}, "Voltwise ULTRA", 160, 6, hex(0xFFFFFF), Align::Center);
    const double tabW = 320.0 / static_cast<double>(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const double x = tabW * static_cast<double>(i);
        const bool on = i == index;
        if (on) {
            softShadow(cr, [&](cairo_t* c) { roundedRect(c, x + 2, 38, tabW - 4, 32, 7); }, withAlpha(kSky, 0.6), 5);
            roundedRect(cr, x + 2, 38, tabW - 4, 32, 7);
            fill(cr, linear(0, 38, 0, 70, {{0, hex(0x81D4FA)}, {1, hex(0x0288D1)}}));
        } else {
            roundedRect(cr, x + 2, 38, tabW - 4, 32, 7);
            fill(cr, hex(0xFFFFFF, 0.08));
        }
        text(cr, {10, true}, list[i].tab, x + tabW / 2, 48, on ? hex(0x08121A) : hex(0x90A4AE), Align::Center);
    }
}

// A small battery icon for the panels' pictures.
void batteryIcon(cairo_t* cr, double x, double y, double w, double h, double level, Colour colour) {
    roundedRect(cr, x, y, w, h, h * 0.18);
    fill(cr, hex(0x37474F));
    roundedRect(cr, x + w, y + h * 0.3, w * 0.07, h * 0.4, 2);
    fill(cr, hex(0x37474F));
    roundedRect(cr, x + 4, y + 4, w - 8, h - 8, h * 0.12);
    fill(cr, hex(0xECEFF1));
    roundedRect(cr, x + 6, y + 6, (w - 12) * level, h - 12, h * 0.1);
    fill(cr, linear(0, y, 0, y + h, {{0, lighter(colour, 0.3)}, {1, darker(colour, 0.2)}}));
}

void musicPicture(cairo_t* cr, double cx, double cy) {
    // Two beamed notes with sound waves coming off them.
    ellipsePath(cr, cx - 22, cy + 26, 14, 10, -20);
    ellipsePath(cr, cx + 26, cy + 16, 14, 10, -20);
    fill(cr, kInk);
    cairo_rectangle(cr, cx - 10, cy - 34, 5, 60);
    cairo_rectangle(cr, cx + 38, cy - 44, 5, 60);
    fill(cr, kInk);
    polygonPath(cr, {{cx - 10, cy - 34}, {cx + 43, cy - 44}, {cx + 43, cy - 30}, {cx - 10, cy - 20}});
    fill(cr, kInk);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 3; ++i) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, cx - 30, cy, 26.0 + i * 9, kPi * 0.78, kPi * 1.22);
    }
    stroke(cr, withAlpha(kAccent, 0.85), 3);
}

void accuracyPicture(cairo_t* cr, double cx, double cy) {
    // A gauge with its needle near the top of the scale.
    const double gy = cy + 20;
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, gy, 54, kPi, 2 * kPi);
    cairo_close_path(cr);
    fillPreserve(cr, hex(0xFFFFFF));
    stroke(cr, kInk, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i <= 10; ++i) {
        const double a = kPi + kPi * i / 10.0;
        cairo_move_to(cr, cx + std::cos(a) * 42, gy + std::sin(a) * 42);
        cairo_line_to(cr, cx + std::cos(a) * 50, gy + std::sin(a) * 50);
        stroke(cr, kInk, i % 5 ? 1.5 : 3);
    }
    cairo_move_to(cr, cx, gy);
    cairo_line_to(cr, cx + 30, gy - 38);
    stroke(cr, kAccent, 4);
    circlePath(cr, cx, gy, 6);
    fill(cr, kInk);
    text(cr, {14, true}, "\u00B11 min", cx, gy + 10, kInk, Align::Center);
}

void fullCyclePicture(cairo_t* cr, double cx, double cy) {
    // A battery inside two turning arrows.
    batteryIcon(cr, cx - 30, cy - 16, 56, 32, 0.6, hex(0x43A047));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, 48, kPi * 1.08, kPi * 1.92);
    stroke(cr, kInk, 7);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, 48, kPi * 0.08, kPi * 0.92);
    stroke(cr, kInk, 7);
    polygonPath(cr, {{cx + 36, cy - 20}, {cx + 60, cy - 20}, {cx + 48, cy - 2}});
    fill(cr, kInk);
    polygonPath(cr, {{cx - 36, cy + 20}, {cx - 60, cy + 20}, {cx - 48, cy + 2}});
    fill(cr, kInk);
}

void displayPicture(cairo_t* cr, double cx, double cy) {
    // A big meter with its reading on it.
    batteryIcon(cr, cx - 52, cy - 30, 98, 60, 0.85, hex(0x43A047));
    text(cr, {24, true}, "85%", cx - 4, cy - 14, hex(0xFFFFFF), Align::Center);
}

void tipsPicture(cairo_t* cr, double cx, double cy) {
    // A lit bulb.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 8; ++i) {
        const double a = i * kPi / 4;
        cairo_move_to(cr, cx + std::cos(a) * 40, cy - 10 + std::sin(a) * 40);
        cairo_line_to(cr, cx + std::cos(a) * 54, cy - 10 + std::sin(a) * 54);
    }
    stroke(cr, kAccent, 4);
    softShadow(cr, [&](cairo_t* c) { circlePath(c, cx, cy - 10, 30); }, hex(0xFFEE58, 0.8), 8);
    circlePath(cr, cx, cy - 10, 28);
    fill(cr, radial(cx - 8, cy - 20, 2, cx, cy - 10, 30, {{0, hex(0xFFFDE7)}, {1, hex(0xFFCA28)}}));
    roundedRect(cr, cx - 13, cy + 14, 26, 24, 4);
    fill(cr, hex(0x78909C));
    for (int i = 0; i < 3; ++i) cairo_rectangle(cr, cx - 13, cy + 20 + i * 6, 26, 2);
    fill(cr, hex(0x455A64));
}

void drawPanel(cairo_t* cr, std::size_t index) {
    const Feature& f = features().at(index);
    softShadow(cr, [](cairo_t* c) { roundedRect(c, 10, 8, 300, 350, 16); }, hex(0x000000, 0.6), 8, 0, 2);
    roundedRect(cr, 10, 8, 300, 350, 16);
    fill(cr, linear(0, 8, 0, 358, {{0, hex(0xFFFFFF)}, {1, hex(0xDDE6EE)}}));
    text(cr, {21, true}, f.title, 160, 24, hex(0x0D2436), Align::Center);

    const double cx = 160, cy = 130;
    circlePath(cr, cx, cy, 64);
    fill(cr, radial(cx, cy - 24, 6, cx, cy, 66, {{0, hex(0xE1F5FE)}, {1, hex(0xB3E5FC)}}));
    switch (index) {
        case 0: musicPicture(cr, cx, cy); break;
        case 1: accuracyPicture(cr, cx, cy); break;
        case 2: fullCyclePicture(cr, cx, cy); break;
        case 3: displayPicture(cr, cx, cy); break;
        default: tipsPicture(cr, cx, cy); break;
    }
    wrappedText(cr, {15}, f.text, 160, 214, 264, hex(0x263238), Align::Center, 1.3);
    // Which of the five this is.
    for (std::size_t i = 0; i < features().size(); ++i) {
        circlePath(cr, 128 + 16.0 * static_cast<double>(i), 338, i == index ? 5.0 : 3.5);
        fill(cr, i == index ? kInk : hex(0x90A4AE));
    }
}

}  // namespace

std::vector<Image> slideShowImages() {
    std::vector<Image> out{{"ad_backdrop.png", 320, 480, drawBackdrop}};
    for (std::size_t i = 0; i < features().size(); ++i) {
        out.push_back({features()[i].panelFile, 320, 366, [i](cairo_t* cr) { drawPanel(cr, i); }});
        out.push_back({features()[i].headerFile, 320, 73, [i](cairo_t* cr) { drawHeader(cr, i); }});
    }
    return out;
}

}  // namespace vw::art
