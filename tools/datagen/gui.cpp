// The menu atlases: GUI.tga (buttons, headings, list frames, cursor, options
// widgets, intro and title pictures), instructions.tga (instructions and game
// over) and largeGraphics.tga (two large pictures). Every picture lies at the
// texture offset its control is given; rectangles are computed with
// pictureRect, whose offset names the left column and the bottom row.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "art.h"
#include "generators.h"
#include "noise.h"
#include "scenery.h"
#include "text.h"

namespace datagen {
namespace {

const char* const kSerifBold = "DejaVuSerif-Bold.ttf";
const char* const kSerif = "DejaVuSerif.ttf";
const char* const kSans = "DejaVuSans.ttf";

// Bone-white to candle-amber lettering with a dark edge: the menu buttons.
TextStyle buttonStyle(int top, int height) {
    TextStyle s;
    s.fill = [=](float, float y) {
        float t = clamp01((y - top) / height);
        return mix(rgb(255, 244, 214), rgb(232, 150, 48), t);
    };
    s.outline = Rgba{0.08f, 0.03f, 0.02f, 1.0f};
    s.outlineRadius = 2;
    s.shadow = Rgba{0, 0, 0, 0.8f};
    s.shadowDx = 2;
    s.shadowDy = 2;
    s.shadowBlur = 2;
    return s;
}

// Blood-red headings with a pale, ghostly halo.
TextStyle headingStyle(int top, int height) {
    TextStyle s;
    s.fill = [=](float, float y) {
        float t = clamp01((y - top) / height);
        return mix(rgb(236, 70, 60), rgb(110, 6, 12), t);
    };
    s.outline = Rgba{0.06f, 0.0f, 0.02f, 1.0f};
    s.outlineRadius = 2;
    s.glow = rgb(190, 220, 255, 0.7f);
    s.glowBlur = 5;
    return s;
}

// Largest size at which text fits the box (with padding); returns the size.
int fitSize(FontFace& face, const std::string& text, int maxW, int maxH, int largest) {
    for (int size = largest; size > 6; --size) {
        face.setPixelSize(size);
        if (face.measure(text) <= maxW && face.ascender() + face.descender() / 2 <= maxH) {
            return size;
        }
    }
    return 6;
}

// A button label left-aligned in its picture, vertically centred on the caps.
void buttonLabel(Image& image, const PixelRect& r, const std::string& text, int inset = 8) {
    FontFace face(kSerifBold);
    fitSize(face, text, r.w - inset - 6, r.h - 8, 30);
    int capHeight = face.ascender() * 72 / 100;
    int baseline = r.y + (r.h + capHeight) / 2;
    drawText(image, face, r.x + inset, baseline, text,
             buttonStyle(baseline - capHeight, capHeight));
}

void heading(Image& image, const PixelRect& r, const std::string& text) {
    FontFace face(kSerifBold);
    fitSize(face, text, r.w - 24, r.h - 12, 80);
    int capHeight = face.ascender() * 72 / 100;
    int baseline = r.y + (r.h + capHeight) / 2;
    drawTextCentred(image, face, r.x + r.w / 2, baseline, text,
                    headingStyle(baseline - capHeight, capHeight));
}

// A small label in the options screen: pale text with a shadow, right-aligned
// so it reads into the control beside it.
void optionLabel(Image& image, const PixelRect& r, const std::string& text) {
    FontFace face(kSerifBold);
    fitSize(face, text, r.w - 6, r.h - 4, 20);
    int capHeight = face.ascender() * 72 / 100;
    int baseline = r.y + (r.h + capHeight) / 2;
    TextStyle s = buttonStyle(baseline - capHeight, capHeight);
    int width = face.measure(text);
    drawText(image, face, r.x + r.w - width - 4, baseline, text, s);
}

// The mouse pointer: a pale bone arrow with a dark rim, tip at (1, 2).
void cursor(Image& image) {
    PixelRect r = pictureRect(0, 32, 20, 33);
    // The classic pointer outline, tip at (1.5, 2.5).
    const std::vector<float> outline = {1.5f,  2.5f,  1.5f,  25.0f, 6.5f,  20.5f, 10.0f,
                                        29.5f, 13.5f, 28.0f, 10.0f, 19.5f, 16.5f, 19.5f};
    auto arrow = [&](float x, float y) { return sdPolygon(x - r.x, y - r.y, outline); };
    image.fillShape(
        r.x, r.y, r.x + r.w, r.y + r.h, [&](float x, float y) { return arrow(x, y) - 1.3f; },
        rgb(20, 10, 8));
    image.fillShape(r.x, r.y, r.x + r.w, r.y + r.h, arrow, [&](float, float y) {
        return mix(rgb(255, 250, 235), rgb(214, 190, 150), clamp01((y - r.y) / 30.0f));
    });
}

// The menu marker: a candle flame pointing right, glowing.
void marker(Image& image) {
    // Shared by two controls: (22, 29) 42 x 29 and (23, 30) 41 x 27; the flame
    // stays inside both.
    PixelRect r{24, 5, 38, 24};
    float cy = r.y + r.h * 0.5f;
    auto flame = [=](float x, float y) {
        float u = (x - r.x) / r.w;  // 0 at the tail, 1 at the point
        float half =
            r.h * 0.42f * std::sin(clamp01(u) * 3.14159f * 0.85f + 0.25f) * (1.05f - u * 0.6f);
        return std::max(std::fabs(y - cy) - half, std::max(r.x + 2.0f - x, x - (r.x + r.w - 2.0f)));
    };
    Image glow(64, 40);
    glow.fillShape(
        0, 0, 64, 40, [&](float x, float y) { return flame(x, y) - 1.5f; },
        rgb(255, 140, 30, 0.8f));
    glow.blur(2);
    image.draw(glow, 0, 0);
    image.fillShape(
        r.x - 2, r.y - 2, r.x + r.w + 2, r.y + r.h + 2,
        [&](float x, float y) { return flame(x, y) - 1.0f; }, rgb(90, 20, 6));
    image.fillShape(r.x, r.y, r.x + r.w, r.y + r.h, flame, [&](float x, float y) {
        float u = (x - r.x) / r.w;
        float core = 1.0f - clamp01(std::fabs(y - cy) / (r.h * 0.3f));
        return mix(mix(rgb(200, 60, 10), rgb(255, 200, 80), u), rgb(255, 250, 220), core * 0.7f);
    });
}

// An iron and oak frame around a list; the window where the rows are drawn
// stays clear, since the frame is drawn over the rows.
void listFrame(Image& image, const PixelRect& r, const PixelRect& window, int bottomClip) {
    Image layer(r.w, r.h);
    PixelRect outer{0, 0, r.w, bottomClip};
    drawBevelPanel(layer, outer, 14.0f, rgb(78, 70, 66), rgb(58, 34, 20), 5.0f);
    // Oak grain on the face of the frame.
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            Rgba& p = layer.at(x, y);
            if (p.a <= 0.0f)
                continue;
            float g = tileFbm2(x / 512.0f, y / 512.0f, 4, 64, 3, 9u);
            p = scaled(p, 0.9f + 0.2f * g);
        }
    }
    // Cut the window with a soft inner shadow.
    PixelRect w{window.x - r.x, window.y - r.y, window.w, window.h};
    float cx = w.x + w.w * 0.5f, cy = w.y + w.h * 0.5f;
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            float d = sdRoundBox(x + 0.5f, y + 0.5f, cx, cy, w.w * 0.5f + 2, w.h * 0.5f + 2, 6.0f);
            Rgba& p = layer.at(x, y);
            if (d < 0.5f) {
                float inside = clamp01(0.5f - d);
                // Inside the window only a faint shadow along its rim remains.
                float shadow = smoothstep(-10.0f, 0.0f, d) * 0.48f;
                p = Rgba{0, 0, 0, p.a * (1.0f - inside) + inside * shadow};
            }
        }
    }
    // Rivets in the corners.
    for (float fx : {9.0f, r.w - 9.0f}) {
        for (float fy : {9.0f, bottomClip - 9.0f})
            drawOrb(layer, fx, fy, 3.0f, rgb(170, 150, 110));
    }
    image.draw(layer, r.x, r.y);
}

void checkbox(Image& image, int px, int py, bool ticked, bool hover) {
    PixelRect r = pictureRect(px, py, 20, 20);
    drawBevelPanel(image, r, 4.0f, hover ? rgb(150, 120, 80) : rgb(96, 84, 74),
                   hover ? rgb(56, 36, 26) : rgb(30, 22, 18), 3.0f);
    if (ticked) {
        auto tick = [=](float x, float y) {
            float a = sdSegment(x, y, r.x + 5.0f, r.y + 10.5f, r.x + 8.5f, r.y + 14.5f, 1.4f);
            float b = sdSegment(x, y, r.x + 8.5f, r.y + 14.5f, r.x + 15.0f, r.y + 5.0f, 1.4f);
            return std::min(a, b);
        };
        image.fillShape(r.x, r.y, r.x + r.w, r.y + r.h, tick,
                        hover ? rgb(255, 230, 150) : rgb(240, 170, 60));
    }
}

void sliderTrack(Image& image, const PixelRect& r) {
    // A groove across the middle of the track picture, with end caps.
    PixelRect groove{r.x + 20, r.y + r.h / 2 - 5, r.w - 40, 10};
    drawBevelPanel(image, groove, 5.0f, rgb(40, 34, 30), rgb(12, 8, 6), 2.0f);
    for (int i = 0; i <= 10; ++i) {
        float x = groove.x + 6 + (groove.w - 12) * i / 10.0f;
        float len = (i % 5 == 0) ? 7.0f : 4.0f;
        image.fillShape(
            static_cast<int>(x) - 2, r.y, static_cast<int>(x) + 3, r.y + r.h,
            [=](float px, float py) {
                return sdSegment(px, py, x, groove.y - 2.0f, x, groove.y - 2.0f - len, 0.7f);
            },
            rgb(200, 170, 120, 0.9f));
    }
}

void sliderKnob(Image& image, int px, int py, bool hover) {
    PixelRect r = pictureRect(px, py, 51, 50);
    float cx = r.x + 25.5f, cy = r.y + 25.0f;
    drawShadow(image, PixelRect{r.x + 10, r.y + 10, 31, 31}, 15.0f, 2, 0.6f);
    image.fillShape(
        r.x, r.y, r.x + r.w, r.y + r.h,
        [=](float x, float y) { return sdCircle(x, y, cx, cy, 15.0f); },
        [=](float x, float y) {
            float a = std::atan2(y - cy, x - cx);
            float k = 0.75f + 0.35f * std::cos(a + 2.3f);
            return scaled(hover ? rgb(220, 170, 90) : rgb(150, 126, 96), k);
        });
    drawOrb(image, cx, cy, 9.0f, hover ? rgb(255, 150, 40) : rgb(150, 30, 30));
}

// Picture of the intro: the castle under the moon with the game's name.
void introPicture(Image& image, const PixelRect& r) {
    Image pic(r.w, r.h);
    PixelRect all{0, 0, r.w, r.h};
    drawNightSky(pic, all, 5u);
    drawMoon(pic, r.w * 0.84f, r.h * 0.5f, 30.0f);
    drawCastle(pic, all, r.h * 0.86f, 1.15f, 7u);
    drawFog(pic, all, r.h * 0.6f, 9u);
    drawGhost(pic, r.w * 0.18f, r.h * 0.62f, 80.0f, 0.85f, 3u);
    FontFace face(kSerifBold);
    face.setPixelSize(64);
    TextStyle s = headingStyle(20, 50);
    s.glowBlur = 8;
    drawTextCentred(pic, face, r.w / 2, 78, "Spookhollow", s);
    FontFace small(kSerif);
    small.setPixelSize(18);
    TextStyle sub;
    sub.fill = [](float, float) { return rgb(210, 214, 236); };
    sub.shadow = Rgba{0, 0, 0, 0.9f};
    drawTextCentred(pic, small, r.w / 2, 106, "a night in the haunted castle", sub);
    fadeEdges(pic, all, 14.0f);
    image.draw(pic, r.x, r.y);
}

void titlePicture(Image& image, const PixelRect& r) {
    Image pic(r.w, r.h);
    drawMoon(pic, r.w * 0.72f, r.h * 0.32f, 30.0f);
    FontFace face(kSerifBold);
    face.setPixelSize(52);
    TextStyle s = headingStyle(20, 40);
    drawText(pic, face, 10, 72, "Spook", s);
    drawText(pic, face, 44, 130, "hollow", s);
    FontFace small(kSerif);
    small.setPixelSize(14);
    TextStyle sub;
    sub.fill = [](float, float) { return rgb(220, 200, 160); };
    sub.shadow = Rgba{0, 0, 0, 0.9f};
    drawTextCentred(pic, small, r.w / 2, 158, "~ where the candles gutter ~", sub);
    image.draw(pic, r.x, r.y);
}

void bobbingGhost(Image& image, const PixelRect& r) {
    Image pic(r.w, r.h);
    drawGhost(pic, r.w * 0.5f, r.h * 0.48f, r.h * 0.78f, 0.92f, 11u);
    image.draw(pic, r.x, r.y);
}

bool save(const std::string& path, const Image& image) {
    if (!writeTga(path, image, true)) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

Image guiAtlas() {
    Image gui(1024, 1024);
    cursor(gui);
    marker(gui);
    buttonLabel(gui, pictureRect(0, 75, 98, 38), "Start");
    buttonLabel(gui, pictureRect(0, 113, 244, 39), "High Scores");
    buttonLabel(gui, pictureRect(0, 149, 210, 34), "Options");
    // The main menu's quit button shows 98 columns at (0, 185): "Quit" alone.
    // The pause menu's "Quit to Menu" is a picture of its own below "Resume
    // Game", so it is set as one phrase instead of around that window.
    buttonLabel(gui, pictureRect(0, 185, 92, 36), "Quit");
    buttonLabel(gui, pictureRect(0, 223, 217, 35), "Back");
    buttonLabel(gui, pictureRect(0, 261, 319, 35), "Resume Game");
    buttonLabel(gui, pictureRect(0, 299, 212, 36), "Quit to Menu");
    // Headings; the options heading's bottom rows are shared with the high
    // score heading's top rows, so each keeps clear of the other's.
    PixelRect opts = pictureRect(0, 617, 286, 64);
    heading(gui, PixelRect{opts.x, opts.y, opts.w, 52}, "Options");
    PixelRect hs = pictureRect(0, 709, 402, 101);
    heading(gui, PixelRect{hs.x, hs.y + 12, hs.w, hs.h - 12}, "High Scores");
    // The map choice's heading, in the free rows below the buttons.
    heading(gui, pictureRect(0, 530, 440, 101), "Choose a Map");
    // High score list: picture 324 x 307, rows inside (19, 33) 267 x 256.
    PixelRect hsList = pictureRect(5, 1018, 324, 307);
    listFrame(gui, hsList, PixelRect{hsList.x + 19, hsList.y + 307 - 33 - 256, 267, 256}, 307);
    // Options list 321 x 307, rows inside (40, 33) 250 x 205. The change
    // button hangs below it: the frame stops above the rows they share.
    PixelRect optList = pictureRect(698, 662, 321, 307);
    listFrame(gui, optList, PixelRect{optList.x + 40, optList.y + 307 - 33 - 205, 250, 205}, 296);
    PixelRect change = pictureRect(797, 701, 124, 49);
    drawBevelPanel(gui, PixelRect{change.x + 4, change.y + 11, change.w - 8, change.h - 13}, 8.0f,
                   rgb(110, 90, 64), rgb(70, 22, 20), 3.0f);
    buttonLabel(gui, PixelRect{change.x + 14, change.y + 13, change.w - 20, change.h - 17},
                "Change", 4);
    optionLabel(gui, pictureRect(494, 691, 184, 24), "Invert Mouse");
    optionLabel(gui, pictureRect(462, 661, 215, 26), "Mouse Sensitivity");
    checkbox(gui, 430, 1008, false, false);
    checkbox(gui, 364, 1008, true, false);
    checkbox(gui, 408, 1008, false, true);
    checkbox(gui, 386, 1008, true, true);
    sliderTrack(gui, pictureRect(719, 346, 297, 34));
    sliderKnob(gui, 358, 898, false);
    sliderKnob(gui, 409, 898, true);
    introPicture(gui, pictureRect(463, 1023, 560, 316));
    titlePicture(gui, pictureRect(775, 168, 249, 169));
    bobbingGhost(gui, pictureRect(361, 420, 321, 420));
    return gui;
}

// A column of the instructions page: a heading and lines of text.
struct Section {
    const char* title;
    std::vector<std::string> lines;
};

void instructionsPicture(Image& image, const PixelRect& r) {
    Image pic(r.w, r.h);
    PixelRect all{0, 0, r.w, r.h};
    drawParchment(pic, all, 24.0f, 31u);
    // A darker border band and corner ornaments.
    pic.fillShape(
        0, 0, r.w, r.h,
        [&](float x, float y) {
            float d =
                sdRoundBox(x, y, r.w * 0.5f, r.h * 0.5f, r.w * 0.5f - 18, r.h * 0.5f - 18, 12);
            return std::fabs(d) - 2.0f;
        },
        rgb(110, 60, 30, 0.8f));
    FontFace title(kSerifBold);
    title.setPixelSize(44);
    TextStyle ts = headingStyle(30, 34);
    ts.glow = Rgba{0, 0, 0, 0};
    ts.shadow = Rgba{0.2f, 0.1f, 0.05f, 0.5f};
    drawTextCentred(pic, title, r.w / 2, 78, "Surviving the Night", ts);

    const std::vector<Section> left = {
        {"Controls",
         {"W / S        walk forward / back", "A / D        step left / right",
          "Mouse        look around", "1            the mace", "2            the crossbow",
          "Mouse wheel  change weapon", "Left button  swing or shoot",
          "Esc          pause the game"}},
        {"Weapons",
         {"The mace strikes a ghost right in", "front of you. The crossbow loads by",
          "itself and shoots as far as you can", "see, while you have arrows left."}},
    };
    const std::vector<Section> right = {
        {"Pickups",
         {"Health pack   +50 health", "Power cell    +25 energy", "Arrow case    +3 arrows",
          "Taken pickups come back elsewhere."}},
        {"Radar",
         {"The radar runs on your energy, one unit", "a second. Ghosts show as red blips,",
          "the power cell blue, the arrows yellow.", "With no energy the radar shuts down."}},
        {"Scoring",
         {"Each ghost you destroy is worth 5 points.", "Ghosts drift back from the dark, so",
          "keep moving. A ghost's touch drains", "your health; at zero the night wins."}},
    };
    FontFace head(kSerifBold), body(kSans);
    head.setPixelSize(28);
    body.setPixelSize(19);
    TextStyle hs;
    hs.fill = [](float, float) { return rgb(120, 16, 16); };
    TextStyle bs;
    bs.fill = [](float, float) { return rgb(40, 26, 16); };
    auto column = [&](const std::vector<Section>& sections, int x, int y) {
        for (const Section& s : sections) {
            drawText(pic, head, x, y, s.title, hs);
            pic.fillShape(
                x, y + 6, x + 420, y + 10,
                [&](float px, float py) {
                    return sdSegment(px, py, x, y + 8.0f, x + 400.0f, y + 8.0f, 0.8f);
                },
                rgb(120, 16, 16, 0.6f));
            y += 36;
            for (const std::string& line : s.lines) {
                // Key names line up in a column: split at the first double space.
                size_t gap = line.find("  ");
                if (gap != std::string::npos &&
                    line.find_first_not_of(' ', gap) != std::string::npos) {
                    std::string key = line.substr(0, gap);
                    std::string what = line.substr(line.find_first_not_of(' ', gap));
                    drawText(pic, body, x + 8, y, key, bs);
                    drawText(pic, body, x + 150, y, what, bs);
                } else {
                    drawText(pic, body, x + 8, y, line, bs);
                }
                y += 27;
            }
            y += 22;
        }
    };
    column(left, 60, 150);
    column(right, 540, 150);
    // Two small ghosts and a candle to dress the page.
    drawGhost(pic, 160, 598, 80.0f, 0.55f, 21u);
    drawCandle(pic, 330, 646, 13.0f, 48.0f);
    drawCandle(pic, 364, 648, 11.0f, 34.0f);
    image.draw(pic, r.x, r.y);
}

void gameOverPicture(Image& image, const PixelRect& r) {
    Image pic(r.w, r.h);
    // A dark, torn band across the screen.
    for (int y = 0; y < r.h; ++y) {
        for (int x = 0; x < r.w; ++x) {
            float n = tileFbm(x / 1024.0f, y / 1024.0f, 16, 3, 41u);
            float edge = std::min(y, r.h - 1 - y) + n * 14.0f;
            float a = smoothstep(2.0f, 26.0f, edge) * 0.78f;
            pic.blend(x, y, mix(rgb(16, 6, 10), rgb(40, 8, 14), clamp01(0.5f + n)), a);
        }
    }
    FontFace face(kSerifBold);
    face.setPixelSize(62);
    TextStyle s = headingStyle(14, 45);
    drawText(pic, face, 60, 68, "Game Over", s);
    // The score line is printed by the game at the height of row 101 from
    // the top of this picture, to the right of column 292.
    FontFace label(kSerifBold);
    label.setPixelSize(24);
    TextStyle ls;
    ls.fill = [](float, float) { return rgb(230, 200, 150); };
    ls.shadow = Rgba{0, 0, 0, 0.9f};
    drawText(pic, label, 292 - 12 - label.measure("Score:"), 99, "Score:", ls);
    drawGhost(pic, r.w - 120.0f, 200.0f, 120.0f, 0.6f, 13u);
    image.draw(pic, r.x, r.y);
}

Image instructionsAtlas() {
    Image page(1024, 1024);
    instructionsPicture(page, pictureRect(9, 676, 1006, 671));
    gameOverPicture(page, pictureRect(0, 1023, 1024, 307));
    return page;
}

// Options picture: a candelabra in a gothic window.
void candelabra(Image& image, const PixelRect& r) {
    Image pic(r.w, r.h);
    PixelRect arch{20, 20, r.w - 40, r.h - 40};
    auto window = [&](float x, float y) {
        float cx = arch.x + arch.w * 0.5f, archTop = arch.y + arch.w * 0.5f;
        float body = std::max(std::fabs(x - cx) - arch.w * 0.5f,
                              std::max(archTop - y, y - (arch.y + arch.h)));
        // A pointed arch: two circles meeting at the top.
        float left = std::hypot(x - (cx + arch.w * 0.25f), y - archTop) - arch.w * 0.75f;
        float right = std::hypot(x - (cx - arch.w * 0.25f), y - archTop) - arch.w * 0.75f;
        float point = std::max(std::max(left, right), y - archTop);
        return std::min(body, std::max(point, arch.y - y));
    };
    Image sky(r.w, r.h);
    drawNightSky(sky, PixelRect{0, 0, r.w, r.h}, 15u);
    drawMoon(sky, r.w * 0.62f, r.h * 0.22f, 26.0f);
    pic.fillShape(
        0, 0, r.w, r.h, [&](float x, float y) { return window(x, y) - 10.0f; }, rgb(60, 54, 50));
    pic.fillShape(0, 0, r.w, r.h, window, [&](float x, float y) {
        return sky.at(std::min(r.w - 1, static_cast<int>(x)),
                      std::min(r.h - 1, static_cast<int>(y)));
    });
    // Window bars.
    float cx = r.w * 0.5f;
    pic.fillShape(
        0, 0, r.w, r.h,
        [&](float x, float y) {
            float v = std::fabs(x - cx) - 2.5f;
            float h = std::fabs(y - r.h * 0.45f) - 2.5f;
            return std::max(std::min(v, h), window(x, y));
        },
        rgb(40, 34, 30));
    // The candelabra: stem, arms and three candles.
    const Rgba brass = rgb(150, 110, 50);
    float base = r.h - 40.0f;
    pic.fillShape(
        0, 0, r.w, r.h,
        [&](float x, float y) {
            float stem = sdSegment(x, y, cx, base, cx, r.h * 0.62f, 5.0f);
            float foot = sdRoundBox(x, y, cx, base, 40.0f, 6.0f, 5.0f);
            float arms = std::fabs(std::hypot(x - cx, y - (r.h * 0.56f)) - 60.0f) - 4.0f;
            arms = std::max(arms, y - (r.h * 0.56f + 64.0f));
            arms = std::max(arms, r.h * 0.56f - y);
            return std::min(std::min(stem, foot), arms);
        },
        [&](float x, float) {
            float k = 0.8f + 0.4f * std::cos((x - cx) * 0.08f);
            return scaled(brass, k);
        });
    for (float dx : {-60.0f, 0.0f, 60.0f}) {
        float foot = dx == 0.0f ? r.h * 0.62f : r.h * 0.56f;
        pic.fillShape(
            0, 0, r.w, r.h,
            [&](float x, float y) { return sdRoundBox(x, y, cx + dx, foot, 14.0f, 4.0f, 3.0f); },
            scaled(brass, 1.1f));
        drawCandle(pic, cx + dx, foot - 3.0f, 12.0f, dx == 0.0f ? 70.0f : 55.0f);
    }
    image.draw(pic, r.x, r.y);
}

// High score picture: the castle on its hill, drawn as a 512 x 256 landscape
// and stored turned a quarter turn clockwise, since the screen draws it with
// the opposite quarter turn.
void castleLandscape(Image& image, const PixelRect& r) {
    Image land(r.h, r.w);  // 512 wide, 256 high
    PixelRect all{0, 0, land.width(), land.height()};
    drawNightSky(land, all, 17u);
    drawMoon(land, 110.0f, 112.0f, 34.0f);
    drawCastle(land, all, land.height() * 0.88f, 1.0f, 19u);
    drawFog(land, all, land.height() * 0.6f, 23u);
    drawGhost(land, 430.0f, 120.0f, 70.0f, 0.7f, 29u);
    fadeEdges(land, all, 16.0f);
    // The screen lays the picture over the lower right of the score table;
    // its top-left fades into the night so the last rows stay readable.
    for (int y = 0; y < land.height(); ++y) {
        for (int x = 0; x < land.width(); ++x) {
            float dx = std::max(0.0f, x + 0.5f - 210.0f);
            float dy = std::max(0.0f, y + 0.5f - 30.0f);
            land.at(x, y).a *= smoothstep(0.0f, 28.0f, std::hypot(dx, dy));
        }
    }
    // Texture column c, row t shows landscape point (x = t, y = 255 - c).
    for (int t = 0; t < r.h; ++t) {
        for (int c = 0; c < r.w; ++c)
            image.at(r.x + c, r.y + t) = land.at(t, r.w - 1 - c);
    }
}

Image largeGraphicsAtlas() {
    Image atlas(512, 512);
    candelabra(atlas, pictureRect(0, 511, 256, 512));
    castleLandscape(atlas, pictureRect(256, 511, 256, 512));
    return atlas;
}

}  // namespace

bool generateGui(const std::string& root) {
    const std::string dir = root + "/textures";
    if (!makeFolder(dir))
        return false;
    return save(dir + "/gui.tga", guiAtlas()) &&
           save(dir + "/instructions.tga", instructionsAtlas()) &&
           save(dir + "/largegraphics.tga", largeGraphicsAtlas());
}

}  // namespace datagen
