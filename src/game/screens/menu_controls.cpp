#include "game/screens/menu_controls.h"

#include "game/sound_slots.h"
#include "input/game_settings.h"

bool createMenuButton(GUIManager& gui, TextureID atlas, GUI_ID id, GameState state, float x,
                      float y, float width, float height, int px, int py) {
    return gui.createButton(id, state, x, y, width, height) &&
           gui.setButtonTexture(id, 4, atlas.group, atlas.id, px, py) &&
           gui.setButtonSound(id, slotOf(Sound::MenuButton));
}

bool createBackButton(GUIManager& gui, TextureID atlas, GameState state, GUI_ID back,
                      GUI_ID marker) {
    return createMenuButton(gui, atlas, back, state, -52, -52, 217, 35, 0, 223) &&
           createPicture(gui, marker, state, -95, -50, 41, 27, atlas, 23, 30);
}

void setListHighlight(GUIManager& gui, GUI_ID list) {
    gui.setListHighlightColour(list, 0.729412f, 0.0f, 0.278431f, 1.0f);
}

bool createWhiteText(GUIManager& gui, GUI_ID id, GameState state, FontID font, float x, float y,
                     const char* text) {
    if (!gui.createText(id, state, font.group, font.id, x, y)) {
        return false;
    }
    gui.setTextColour(id, 1.0f, 1.0f, 1.0f, 1.0f);
    gui.setTextf(id, "%s", text);
    return true;
}

bool assignMenuListColumns(GUIManager& gui, GUI_ID list, int firstWidth, int secondWidth,
                           FontID font) {
    return gui.assignListColumns(list, {firstWidth, secondWidth}, {font}, {LIST_AMBER, LIST_WHITE});
}

std::string fitText(TextureManager& textures, FontID font, const std::string& text, float room) {
    // The measured width falls short of the drawn one by less than a unit
    // per character (the fonts' extra spacing is measured truncated).
    auto width = [&](const std::string& candidate) {
        return textures.getTextWidth(font.group, font.id, "%s", candidate.c_str()) +
               static_cast<float>(candidate.size());
    };
    if (width(text) <= room) {
        return text;
    }
    std::string cut = text;
    while (!cut.empty() && width(cut + "...") > room) {
        cut.pop_back();
    }
    return cut + "...";
}

bool takeKey(int code) {
    GameSettings* settings = gameSettings();
    if (settings == nullptr || !settings->isKeyDown(code)) {
        return false;
    }
    settings->setKeyDown(code, false);
    return true;
}

void playClick() {
    playSound(Sound::MenuButton);
}
