#pragma once
#include <cstdint>

#include "app/design_fit.h"
#include "scene/vector.h"

class TextureManager;

using GUI_ID = std::uint32_t;

enum GUIType : std::int32_t {
    GUI_BUTTON = 0,
    GUI_TEXT = 1,
    GUI_SLIDER = 3,
    GUI_LIST = 4,
    GUI_IMAGE = 5,
};

// A texture rectangle in texture coordinates.
struct GUITexRect {
    float uMin = 0.0f;
    float vMin = 0.0f;
    float uMax = 1.0f;
    float vMax = 1.0f;
};

// The common part of every GUI control: identity, placement, the mouse box and
// the hover, toggle and opacity state. Positions are in the design space
// (app/design_fit.h) with the origin at the bottom-left. Where that space lands
// on the screen is the manager's to know: it sets the modelview before a
// control draws and hands it the mouse in design coordinates, both by the
// control's anchor. Controls reach textures and fonts through the texture
// manager they were created with, which outlives them.
class GUIControl {
public:
    virtual ~GUIControl() = default;
    GUIControl(const GUIControl&) = delete;
    GUIControl& operator=(const GUIControl&) = delete;

    // One line describing the control, written to the error log (kind 0).
    virtual void print() = 0;
    // The control's GUI_ID when the mouse is over it, else 0. The mouse is in
    // design coordinates.
    virtual GUI_ID update(float mouseX, float mouseY, bool pressed) = 0;
    virtual void reset() = 0;
    // Draws at design coordinates under the modelview the manager set.
    virtual void draw() = 0;

    Vector2 getPosition() const { return m_vPosition; }
    void setPosition(float x, float y) { m_vPosition = Vector2(x, y); }
    GUIType getType() const { return m_eType; }
    GUI_ID getID() const { return m_uiID; }
    bool isToggled() const { return m_bToggled; }
    void setToggled(bool toggled) { m_bToggled = toggled; }
    bool getMouseOver() const { return m_bMouseOver; }
    void setMouseOver(bool over) { m_bMouseOver = over; }
    float getAlpha() const { return m_fAlpha; }
    void setAlpha(float alpha);
    // Inclusive at both ends of both axes.
    bool isMouseOver(float mouseX, float mouseY) const;

    // Which corner or side of the window the control keeps to (both centred
    // unless set: the control moves with the fitted design).
    DesignAnchor anchorX() const { return m_eAnchorX; }
    DesignAnchor anchorY() const { return m_eAnchorY; }
    void setAnchor(DesignAnchor x, DesignAnchor y) {
        m_eAnchorX = x;
        m_eAnchorY = y;
    }

    Vector2 getSize() const { return m_vSize; }
    Vector2 getHitOffset() const { return m_vHitOffset; }
    Vector2 getHitSize() const { return m_vHitSize; }

protected:
    GUIControl(TextureManager& textures, GUIType type, GUI_ID id, float x, float y, float width,
               float height, float hitX, float hitY, float hitWidth, float hitHeight);

    // Turns a pixel rectangle of a texture into texture coordinates (the
    // texture's width serves both axes). On failure it reports widthMessage
    // or nameMessage (shown, then reset) and returns false.
    bool textureRect(int group, std::uint32_t textureId, int px, int py, float width, float height,
                     const char* nameMessage, unsigned& glName, GUITexRect& rect) const;
    // The textured quad shared by buttons, images and the list frame:
    // (X, Y) to (X + W - 1, Y + H - 1) with the texture corners given in the
    // order lower-left, lower-right, upper-right, upper-left.
    void drawTexturedQuad(unsigned glName, float x, float y, float width, float height,
                          const float (&texCoords)[4][2]) const;
    // Selects the modelview, which the manager has set for this control.
    static void selectModelView();
    // Binds a GUI texture with the filtering its drawn size calls for.
    void bindTexture(unsigned glName) const;

    TextureManager& m_textures;
    GUIType m_eType;
    GUI_ID m_uiID;
    Vector2 m_vPosition;
    Vector2 m_vSize;
    Vector2 m_vHitOffset;
    Vector2 m_vHitSize;
    bool m_bMouseOver = false;
    bool m_bToggled = false;
    float m_fAlpha = 1.0f;
    int m_iOrientation = 0;
    DesignAnchor m_eAnchorX = DesignAnchor::Centre;
    DesignAnchor m_eAnchorY = DesignAnchor::Centre;
};
