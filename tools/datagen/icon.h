#pragma once
#include <string>

#include "image.h"

namespace datagen {

// The ghost of the game's desktop icon, drawn for a square of size pixels on
// a transparent ground.
Image ghostIcon(int size);

// Writes an 8-bit RGBA PNG; false with a message when it cannot.
bool writePng(const Image& image, const std::string& path);

// The sizes the hicolor theme gets: <root>/hicolor/<n>x<n>/apps/spookhollow.png.
constexpr int ICON_SIZES[] = {48, 128, 256};

}  // namespace datagen
