#include "game/gui_pictures.h"

bool createPicture(GUIManager& gui, GUI_ID id, GameState state, float x, float y, float width,
                   float height, TextureID texture, int px, int py, int orientation) {
    return gui.createImage(id, state, x, y, width, height) &&
           gui.setImageTexture(id, texture.group, texture.id, px, py, orientation);
}
