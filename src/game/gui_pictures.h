#pragma once
#include "app/game_state.h"
#include "assets/texture_manager.h"
#include "gui/gui_manager.h"

// An image control showing one picture of a texture atlas, as the screens
// and the HUD make them; false when the control or its picture could not be
// made (the GUI has reported why).
bool createPicture(GUIManager& gui, GUI_ID id, GameState state, float x, float y, float width,
                   float height, TextureID texture, int px, int py, int orientation = 0);
