#include "gui/gui_list.h"

#include <GL/gl.h>

#include <algorithm>

#include "app/error_reporter.h"

GUIList::GUIList(TextureManager& textures, GUI_ID id, float x, float y, float width, float height,
                 float hitX, float hitY, float hitWidth, float hitHeight)
    : GUIControl(textures, GUI_LIST, id, x, y, width, height, hitX, hitY, hitWidth, hitHeight) {}

void GUIList::print() {
    reportError(ERROR_NONE, "//  GUI List (%1.0f,%1.0f) %d Columns, %s",
                static_cast<double>(m_vPosition.x), static_cast<double>(m_vPosition.y),
                getColumnCount(), "No Scrolling");
}

bool GUIList::setTexture(int group, std::uint32_t textureId, int px, int py, int part,
                         float pictureWidth) {
    if (part < 0 || part >= PART_COUNT) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Invalid list part %d", part);
        return false;
    }
    const float width = pictureWidth > 0.0f && pictureWidth < m_vSize.x ? pictureWidth : m_vSize.x;
    unsigned name = 0;
    GUITexRect rect;
    if (!textureRect(group, textureId, px, py, width, m_vSize.y, "Invalid BindTextureID", name,
                     rect)) {
        return false;
    }
    m_uiTexture = name;
    m_rects[part] = rect;
    if (part == FRAME_PART) {
        m_fFrameWidth = width;
    }
    return true;
}

void GUIList::setHighlightColour(float red, float green, float blue, float alpha) {
    m_cHighlight = Color4(red, green, blue, alpha);
}

bool GUIList::assignColumns(const std::vector<int>& widths, const std::vector<FontID>& fonts,
                            const std::vector<Color4>& colours) {
    if (widths.empty() || fonts.empty() || colours.empty()) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Missing data in one of the std::vectors");
        return false;
    }
    // A new assignment replaces the columns rather than adding to them, so
    // the column count always matches what addItem will be asked for.
    m_columnWidths.clear();
    m_columnFonts.clear();
    m_columnColours.clear();
    bool ok = true;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (widths[i] < 1) {
            reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Invalid column width at index %d",
                            static_cast<int>(i));
            ok = false;
            break;
        }
        m_columnWidths.push_back(widths[i]);
        m_columnFonts.push_back(i < fonts.size() ? fonts[i] : m_columnFonts.back());
        m_columnColours.push_back(i < colours.size() ? colours[i] : m_columnColours.back());
    }
    float tallest = 0.0f;
    for (const FontID& font : m_columnFonts) {
        tallest = std::max(tallest, m_textures.getTextSize(font.group, font.id, "Ay").y);
    }
    m_iRowHeight = static_cast<int>(tallest) + 2 * m_iPadding;
    return ok;
}

bool GUIList::addItem(const std::vector<std::string>& texts, std::uint32_t value) {
    if (m_columnWidths.empty()) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                        "addItem failed. assignColumns was not called yet");
        return false;
    }
    if (texts.size() != m_columnWidths.size()) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                        "addItem failed. incorrect number it items per row");
        return false;
    }
    m_rows.push_back(texts);
    m_rowValues.push_back(value);
    return true;
}

void GUIList::clearItems() {
    m_rows.clear();
    m_rowValues.clear();
}

bool GUIList::selectRow(int index) {
    if (index < 0 || index >= getRowCount()) {
        return false;
    }
    m_iSelected = index;
    m_uiSelectedValue = m_rowValues[static_cast<std::size_t>(index)];
    return true;
}

int GUIList::moveSelection(int delta) {
    if (m_rows.empty()) {
        return getSelectedRow();  // nothing to move to
    }
    const long target = static_cast<long>(m_iSelected) + delta;
    selectRow(static_cast<int>(std::clamp<long>(target, 0, getRowCount() - 1)));
    return m_iSelected;
}

int GUIList::getSelectedRow() const {
    return selectionValid() ? m_iSelected : 0;
}

std::uint32_t GUIList::getSelectedValue() const {
    // Read from the row itself: a selection kept over clearItems and a refill
    // names the new row, not the value the old one had.
    return selectionValid() ? m_rowValues[static_cast<std::size_t>(m_iSelected)] : 0;
}

GUI_ID GUIList::update(float mouseX, float mouseY, bool pressed) {
    m_bMouseOver = isMouseOver(mouseX, mouseY);
    if (m_bMouseOver && pressed) {
        const int top = static_cast<int>(m_vPosition.y + m_vHitOffset.y + m_vHitSize.y);
        for (int i = 0; i < getRowCount(); ++i) {
            if (mouseY > static_cast<float>(top - m_iRowHeight * (i + 1))) {
                selectRow(i);
                break;
            }
        }
    }
    return m_bMouseOver ? m_uiID : 0;
}

void GUIList::draw() {
    if (m_uiTexture == 0) {
        return;
    }
    const float x = m_vPosition.x;
    const float y = m_vPosition.y;
    const float right = x + m_vSize.x - 1.0f;
    const float upper = y + m_vSize.y - 1.0f;
    const float left = x + m_vHitOffset.x;
    const float bottom = y + m_vHitOffset.y;
    const float top = bottom + m_vHitSize.y;
    const auto rowHeight = static_cast<float>(m_iRowHeight);
    const auto pad = static_cast<float>(m_iPadding);

    selectModelView();
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glColor4fv(m_cBackground.data());
    glVertex2f(x, y);
    glVertex2f(right, y);
    glVertex2f(right, upper);
    glVertex2f(x, upper);
    const float selectedTop = top - rowHeight * static_cast<float>(m_iSelected);
    if (selectedTop > bottom) {
        const float barRight = left + m_vHitSize.x;
        glColor4fv(m_cHighlight.data());
        glVertex2f(left, selectedTop - pad);
        glVertex2f(left, selectedTop - pad - rowHeight);
        glVertex2f(barRight, selectedTop - pad - rowHeight);
        glVertex2f(barRight, selectedTop - pad);
    }
    glEnd();

    for (int i = 0; i < getRowCount(); ++i) {
        const float rowTop = top - rowHeight * static_cast<float>(i);
        if (rowTop <= bottom) {
            break;
        }
        const std::vector<std::string>& row = m_rows[static_cast<std::size_t>(i)];
        const std::size_t columns = std::min(row.size(), m_columnWidths.size());
        float columnX = left;
        for (std::size_t c = 0; c < columns; ++c) {
            const FontID& font = m_columnFonts[c];
            const Color4& colour = m_columnColours[c];
            m_textures.setFontColour(font.group, font.id, colour.r, colour.g, colour.b, colour.a);
            m_textures.printText(font.group, font.id, columnX, rowTop - rowHeight + pad, "%s",
                                 row[c].c_str());
            columnX += static_cast<float>(m_columnWidths[c]);
        }
    }

    drawFrame();
}

void GUIList::drawFrame() const {
    const GUITexRect& r = m_rects[FRAME_PART];
    selectModelView();
    glColor3f(1.0f, 1.0f, 1.0f);
    const float x = m_vPosition.x;
    const float y = m_vPosition.y;
    auto slice = [&](float left, float width, float uMin, float uMax) {
        const float corners[4][2] = {
            {uMin, r.vMin}, {uMax, r.vMin}, {uMax, r.vMax}, {uMin, r.vMax}};
        drawTexturedQuad(m_uiTexture, left, y, width, m_vSize.y, corners);
    };
    if (m_fFrameWidth <= 0.0f || m_fFrameWidth >= m_vSize.x) {
        slice(x, m_vSize.x, r.uMin, r.uMax);
        return;
    }
    // A quad of width w ends at w - 1 (pixel centres), so the first two
    // slices reach one unit further to meet the next one.
    const float third = m_fFrameWidth / 3.0f;
    const float uThird = (r.uMax - r.uMin) / 3.0f;
    slice(x, third + 1.0f, r.uMin, r.uMin + uThird);
    slice(x + third, m_vSize.x - 2.0f * third + 1.0f, r.uMin + uThird, r.uMax - uThird);
    slice(x + m_vSize.x - third, third, r.uMax - uThird, r.uMax);
}
