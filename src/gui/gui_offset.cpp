#include "gui/gui_offset.h"

Vector2 guiOffset(0.0f, 0.0f);
