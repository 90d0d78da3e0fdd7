#pragma once
#include <functional>

#include "gui/gui_control.h"

// A clickable picture with four looks: normal, toggled, under the mouse, and
// under the mouse while toggled. Entering it plays its sound slot once.
class GUIButton : public GUIControl {
public:
    static constexpr int LOOK_COUNT = 4;
    static constexpr int ALL_LOOKS = 4;

    // Plays a sound slot once. The default goes to the program's audio
    // manager (nothing when there is none); tests put a recorder here.
    using SoundPlayer = std::function<void(unsigned slot)>;
    // Returns the player that was in place; an empty one restores the default.
    static SoundPlayer setSoundPlayer(SoundPlayer player);

    GUIButton(TextureManager& textures, GUI_ID id, float x, float y, float width, float height,
              float hitX, float hitY, float hitWidth, float hitHeight);

    void print() override;
    GUI_ID update(float mouseX, float mouseY, bool pressed) override;
    void reset() override {}
    void draw() override;

    // look 0 to 3 sets that look's rectangle, ALL_LOOKS sets all four.
    bool setTexture(int group, std::uint32_t textureId, int px, int py, int look);
    void setSound(unsigned slot) { m_uiSound = slot; }
    unsigned getSound() const { return m_uiSound; }
    unsigned getTextureName() const { return m_uiTexture; }
    // A look outside 0 to 3 reads as the full texture.
    GUITexRect getTexRect(int look) const {
        return look >= 0 && look < LOOK_COUNT ? m_rects[look] : GUITexRect{};
    }

private:
    unsigned m_uiTexture = 0;
    GUITexRect m_rects[LOOK_COUNT];
    unsigned m_uiSound = 0;
};
