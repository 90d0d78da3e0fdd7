#pragma once
// PRIVATE HEADER: only src/game/screens (and its tests) include this.
#include <string>

#include "app/game_state.h"
#include "assets/texture_manager.h"
#include "game/gui_pictures.h"
#include "gui/gui_manager.h"
#include "scene/color.h"

// How the screens make their controls and read their keys.

// The lists' text on their black background: amber for the first column,
// white for the others (the last column's colour is the one the shared font
// keeps, so it is the texts' white).
inline const Color4 LIST_AMBER(1.0f, 0.78f, 0.42f, 1.0f);
inline const Color4 LIST_WHITE(1.0f, 1.0f, 1.0f, 1.0f);

// A button with one picture of the menu atlas for all four looks and the
// hover sound.
bool createMenuButton(GUIManager& gui, TextureID atlas, GUI_ID id, GameState state, float x,
                      float y, float width, float height, int px, int py);
// Back at the lower left with the marker beside it, as the screens below
// the main menu have it.
bool createBackButton(GUIManager& gui, TextureID atlas, GameState state, GUI_ID back,
                      GUI_ID marker);
// The crimson bar under the chosen row of a list the player picks from.
void setListHighlight(GUIManager& gui, GUI_ID list);
bool createWhiteText(GUIManager& gui, GUI_ID id, GameState state, FontID font, float x, float y,
                     const char* text);
// The two columns of the high-score and control lists, at these widths.
bool assignMenuListColumns(GUIManager& gui, GUI_ID list, int firstWidth, int secondWidth,
                           FontID font);

// The text as it fits `room` design units in the font: cut, with "...",
// when it is wider.
std::string fitText(TextureManager& textures, FontID font, const std::string& text, float room);

// Menu keys act once per press: a key is taken by clearing its entry, so a
// held key does not repeat and the key-up of an unused press does no harm.
bool takeKey(int code);

// The keys move the highlight with the sound a hover makes.
void playClick();
