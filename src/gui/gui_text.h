#pragma once
#include <string>

#include "assets/texture_manager.h"
#include "gui/gui_control.h"

// One line of text in a bitmap font. Colour and scale belong to the font, so
// every text sharing a font shares them.
class GUIText : public GUIControl {
public:
    static constexpr std::size_t MAX_TEXT = 127;

    GUIText(TextureManager& textures, GUI_ID id, int fontGroup, std::uint32_t fontId, float x,
            float y, float red, float green, float blue, float alpha, float scale);

    void print() override;
    GUI_ID update(float mouseX, float mouseY, bool pressed) override;
    void reset() override {}
    void draw() override;

    // Keeps at most MAX_TEXT characters; the measured text becomes the size
    // and the mouse box.
    void setText(const std::string& text);
    const std::string& getText() const { return m_sText; }
    void setColour(float red, float green, float blue, float alpha);
    // A scale of 0 or less becomes 1; the text is measured again.
    void setScale(float scale);
    FontID getFont() const { return m_font; }

private:
    FontID m_font;
    std::string m_sText;
};
