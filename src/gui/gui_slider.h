#pragma once
#include "gui/gui_control.h"

// A knob on a track. A click on the slider grabs it; until the left button is
// released (reset) the knob follows the mouse along the track. Values snap to
// whole steps from the minimum when the step is above 0.
class GUISlider : public GUIControl {
public:
    static constexpr int TRACK_PART = 0;
    static constexpr int KNOB_PART = 1;
    static constexpr int KNOB_OVER_PART = 2;

    GUISlider(TextureManager& textures, GUI_ID id, float x, float y, float trackWidth,
              float trackHeight, float knobWidth, float knobHeight, int margin, float crossOffset,
              bool horizontal, float value, float minimum, float maximum, float step);

    void print() override;
    GUI_ID update(float mouseX, float mouseY, bool pressed) override;
    // Releases the hold.
    void reset() override { m_bToggled = false; }
    void draw() override;

    bool setTexture(int group, std::uint32_t textureId, int px0, int py0, int px1, int py1, int dx,
                    int dy);
    void setValue(float value);
    float getValue() const { return m_fValue; }
    float getMinimum() const { return m_fMinimum; }
    float getMaximum() const { return m_fMaximum; }
    float getStep() const { return m_fStep; }
    float getKnobPosition() const { return m_fKnobPosition; }
    bool isHorizontal() const { return m_bHorizontal; }
    bool isHeld() const { return m_bToggled; }
    unsigned getTextureName() const { return m_uiTexture; }
    GUITexRect getTexRect(int part) const {
        return part >= 0 && part < 3 ? m_rects[part] : GUITexRect{};
    }

private:
    unsigned m_uiTexture = 0;
    float m_fValue = 0.0f;
    float m_fMinimum = 0.0f;
    float m_fMaximum = 1.0f;
    float m_fStep = 0.0f;
    float m_fScale = 1.0f;
    float m_fOffset = 0.0f;
    float m_fKnobPosition = 0.0f;
    bool m_bHorizontal = true;
    int m_iMargin = 0;
    float m_fCrossOffset = 0.0f;
    GUITexRect m_rects[3];
};
