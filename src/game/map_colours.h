#pragma once
#include "scene/color.h"

// The classes of map cells, told apart by the red, green and blue channels
// of the map pixel (alpha plays no part). The bounds sit just inside 0 and 1
// so that a channel stored as 0 or 255 is recognised whatever rounding the
// image went through; every comparison is strict.
constexpr float COLOUR_LOW = 0.0039f;
constexpr float COLOUR_HIGH = 0.996f;

// A wall.
bool isBlack(const Color4& c);
// A low passage: floor, and a ceiling one box high.
bool isWhite(const Color4& c);
// A hall with a wood floor.
bool isYellow(const Color4& c);
// A hall with a carpet floor.
bool isMagenta(const Color4& c);
