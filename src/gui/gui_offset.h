#pragma once
#include "scene/vector.h"

// Where the 800 x 600 GUI layout sits on the real screen: added to every drawn
// position and every hit test. The game object sets it from the screen width.
extern Vector2 guiOffset;
