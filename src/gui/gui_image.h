#pragma once
#include "gui/gui_control.h"

// A picture, optionally turned: orientation 0 as is, 1 and 2 a quarter turn
// each way, 3 a half turn. Its mouse box is the image as created.
class GUIImage : public GUIControl {
public:
    GUIImage(TextureManager& textures, GUI_ID id, float x, float y, float width, float height);

    void print() override;
    GUI_ID update(float mouseX, float mouseY, bool pressed) override;
    void reset() override {}
    void draw() override;

    bool setTexture(int group, std::uint32_t textureId, int px, int py, int orientation);
    int getOrientation() const { return m_iOrientation; }
    unsigned getTextureName() const { return m_uiTexture; }
    const GUITexRect& getTexRect() const { return m_rect; }

private:
    unsigned m_uiTexture = 0;
    GUITexRect m_rect;
};
