#pragma once
#include "image.h"

// Drawing helpers shared by the GUI, HUD and picture generators.
namespace datagen {

// A pixel rectangle: left column, top row, width, height (rows counted from the top).
struct PixelRect {
    int x, y, w, h;
};

// The picture rectangle a control shows for a texture offset (px, py) and a
// control size (w, h): the offset names the picture's left column and its
// bottom row, counted from the top of the image.
PixelRect pictureRect(int px, int py, int w, int h);

// A bevelled frame: dark iron rim with a lit upper-left edge around a filled
// face, antialiased rounded corners, a soft shadow inside the rim.
void drawBevelPanel(Image& image, const PixelRect& r, float radius, const Rgba& rim,
                    const Rgba& face, float rimWidth);
// Fills r with aged parchment (used behind numbers and lists).
void drawParchment(Image& image, const PixelRect& r, float radius, unsigned seed);
// A soft shadow of the rounded box, for things that float above the page.
void drawShadow(Image& image, const PixelRect& r, float radius, int blur, float opacity);
// Lights a disc with a vertical gradient and a rim: gems, blips, lamps.
void drawOrb(Image& image, float cx, float cy, float radius, const Rgba& colour);

// Small icons drawn into a square of side s with top-left (x, y).
void drawHeart(Image& image, float x, float y, float s);
void drawBolt(Image& image, float x, float y, float s);
void drawArrowIcon(Image& image, float x, float y, float s);
void drawSkull(Image& image, float x, float y, float s);
// A pale ghost with trailing wisps, centred at (cx, cy), roughly size tall.
void drawGhost(Image& image, float cx, float cy, float size, float alpha, unsigned seed);

}  // namespace datagen
