#pragma once
#include "art.h"
#include "image.h"

// Night scenery shared by the larger pictures: sky, moon, castle, fog.
namespace datagen {

// Fills r with a night sky gradient and stars.
void drawNightSky(Image& image, const PixelRect& r, unsigned seed);
void drawMoon(Image& image, float cx, float cy, float radius);
// A castle silhouette standing on a hill whose top is at baseY, spanning r's width.
void drawCastle(Image& image, const PixelRect& r, float baseY, float scale, unsigned seed);
// Drifting fog over the lower part of r.
void drawFog(Image& image, const PixelRect& r, float fromY, unsigned seed);
// Soft vignette: fades alpha towards the edges of r.
void fadeEdges(Image& image, const PixelRect& r, float margin);
// A candle with flame and halo; (x, y) is the foot of the candle.
void drawCandle(Image& image, float x, float y, float width, float height);

}  // namespace datagen
