#include "gui/gui_slider.h"

#include <GL/gl.h>

#include <cmath>
#include <utility>

#include "app/error_reporter.h"
#include "assets/texture_manager.h"

GUISlider::GUISlider(TextureManager& textures, GUI_ID id, float x, float y, float trackWidth,
                     float trackHeight, float knobWidth, float knobHeight, int margin,
                     float crossOffset, bool horizontal, float value, float minimum, float maximum,
                     float step)
    : GUIControl(textures, GUI_SLIDER, id, x, y, knobWidth, knobHeight,
                 horizontal ? 0.0f : crossOffset, horizontal ? crossOffset : 0.0f, trackWidth,
                 trackHeight),
      m_bHorizontal(horizontal),
      m_iMargin(margin),
      m_fCrossOffset(crossOffset) {
    if (minimum > maximum) {
        std::swap(minimum, maximum);
    }
    if (minimum == maximum) {
        maximum = minimum + 1.0f;
    }
    const float range = maximum - minimum;
    if (!(step > 0.0f)) {
        step = 0.0f;
    } else if (step > range) {
        step = range;
    }
    m_fMinimum = minimum;
    m_fMaximum = maximum;
    m_fStep = step;
    const float trackLength =
        (horizontal ? m_vHitSize.x : m_vHitSize.y) - 2.0f * static_cast<float>(margin);
    m_fScale = trackLength / range;
    m_fOffset = -m_fScale * minimum;
    setValue(value);
}

void GUISlider::print() {
    reportError(ERROR_NONE, "//  GUI Slider (%1.0f,%1.0f) %s", static_cast<double>(m_vPosition.x),
                static_cast<double>(m_vPosition.y), m_bHorizontal ? "Horizontal" : "Vertical");
}

void GUISlider::setValue(float value) {
    if (std::isnan(value) || value <= m_fMinimum) {
        value = m_fMinimum;
    } else if (value >= m_fMaximum) {
        value = m_fMaximum;
    } else if (m_fStep > 0.0f) {
        const float distance = value - m_fMinimum;
        float steps = std::trunc(distance / m_fStep);
        const float remainder = distance - steps * m_fStep;
        if (remainder > m_fStep / 2.0f) {
            steps += 1.0f;
        }
        value = m_fMinimum + steps * m_fStep;
        // Rounding up to the next step may pass the maximum when the range
        // is not a whole number of steps.
        if (value > m_fMaximum) {
            value = m_fMaximum;
        }
    }
    m_fValue = value;
    m_fKnobPosition = m_fScale * value + m_fOffset;
}

GUI_ID GUISlider::update(float mouseX, float mouseY, bool pressed) {
    m_bMouseOver = isMouseOver(mouseX, mouseY);
    if (m_bMouseOver && pressed) {
        m_bToggled = !m_bToggled;
    }
    if (m_bToggled) {
        const float margin = static_cast<float>(m_iMargin);
        const float along =
            m_bHorizontal ? mouseX - m_vPosition.x - margin : mouseY - m_vPosition.y - margin;
        const float length = m_bHorizontal ? m_vHitSize.x : m_vHitSize.y;
        if (along <= 0.0f || m_fScale <= 0.0f) {
            setValue(m_fMinimum);
        } else if (along >= length) {
            setValue(m_fMaximum);
        } else {
            setValue((along - m_fOffset) / m_fScale);
        }
    }
    return m_bMouseOver ? m_uiID : 0;
}

bool GUISlider::setTexture(int group, std::uint32_t textureId, int px0, int py0, int px1, int py1,
                           int dx, int dy) {
    // A texture without a GL name is reported as a bad width here as well.
    unsigned name = 0;
    GUITexRect track;
    GUITexRect knob;
    if (!textureRect(group, textureId, px0, py0, m_vHitSize.x, m_vHitSize.y, "Invalid TextureWidth",
                     name, track) ||
        !textureRect(group, textureId, px1, py1, m_vSize.x, m_vSize.y, "Invalid TextureWidth", name,
                     knob)) {
        return false;
    }
    const float s = static_cast<float>(m_textures.getTextureWidth(group, textureId)) - 1.0f;
    GUITexRect knobOver = knob;
    knobOver.uMin += static_cast<float>(dx) / s;
    knobOver.uMax += static_cast<float>(dx) / s;
    knobOver.vMin += static_cast<float>(dy) / s;
    knobOver.vMax += static_cast<float>(dy) / s;
    m_uiTexture = name;
    m_rects[TRACK_PART] = track;
    m_rects[KNOB_PART] = knob;
    m_rects[KNOB_OVER_PART] = knobOver;
    return true;
}

namespace {

void texturedQuad(const GUITexRect& r, float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glTexCoord2f(r.uMin, r.vMin);
    glVertex2f(x0, y0);
    glTexCoord2f(r.uMax, r.vMin);
    glVertex2f(x1, y0);
    glTexCoord2f(r.uMax, r.vMax);
    glVertex2f(x1, y1);
    glTexCoord2f(r.uMin, r.vMax);
    glVertex2f(x0, y1);
    glEnd();
}

}  // namespace

void GUISlider::draw() {
    if (m_uiTexture == 0) {
        return;
    }
    const float x = m_vPosition.x;
    const float y = m_vPosition.y;
    const float w = m_vSize.x;
    const float h = m_vSize.y;
    const float d = m_fCrossOffset;
    const float margin = static_cast<float>(m_iMargin);

    selectModelView();
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    bindTexture(m_uiTexture);
    texturedQuad(m_rects[TRACK_PART], x, y, x + m_vHitSize.x, y + m_vHitSize.y);
    const GUITexRect& knob = m_rects[m_bMouseOver ? KNOB_OVER_PART : KNOB_PART];
    if (m_bHorizontal) {
        const float centre = x + m_fKnobPosition + margin;
        texturedQuad(knob, centre - w / 2.0f, y + d, centre + w / 2.0f, y + d + h);
    } else {
        const float centre = y + m_fKnobPosition + margin;
        texturedQuad(knob, x + d, centre - h / 2.0f, x + d + w, centre + h / 2.0f);
    }
    glDisable(GL_TEXTURE_2D);
}
