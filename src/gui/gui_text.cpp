#include "gui/gui_text.h"

#include "app/error_reporter.h"

GUIText::GUIText(TextureManager& textures, GUI_ID id, int fontGroup, std::uint32_t fontId, float x,
                 float y, float red, float green, float blue, float alpha, float scale)
    : GUIControl(textures, GUI_TEXT, id, x, y, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f) {
    m_font.group = fontGroup;
    m_font.id = fontId;
    m_textures.setFontColour(fontGroup, fontId, red, green, blue, alpha);
    m_textures.setFontScale(fontGroup, fontId, scale > 0.0f ? scale : 1.0f);
    setText("No Text");
}

void GUIText::print() {
    reportError(ERROR_NONE, "//  GUI Text (%1.0f,%1.0f) %s", static_cast<double>(m_vPosition.x),
                static_cast<double>(m_vPosition.y), m_sText.c_str());
}

GUI_ID GUIText::update(float mouseX, float mouseY, bool pressed) {
    m_bMouseOver = isMouseOver(mouseX, mouseY);
    if (m_bMouseOver && pressed) {
        m_bToggled = !m_bToggled;
    }
    return m_bMouseOver ? m_uiID : 0;
}

void GUIText::setText(const std::string& text) {
    m_sText = text.substr(0, MAX_TEXT);
    m_vSize = m_textures.getTextSize(m_font.group, m_font.id, "%s", m_sText.c_str());
    m_vHitSize = m_vSize;
}

void GUIText::setColour(float red, float green, float blue, float alpha) {
    m_textures.setFontColour(m_font.group, m_font.id, red, green, blue, alpha);
}

void GUIText::setScale(float scale) {
    m_textures.setFontScale(m_font.group, m_font.id, scale > 0.0f ? scale : 1.0f);
    setText(m_sText);
}

void GUIText::draw() {
    selectModelView();
    m_textures.printText(m_font.group, m_font.id, m_vPosition.x, m_vPosition.y, "%s",
                         m_sText.c_str());
}
