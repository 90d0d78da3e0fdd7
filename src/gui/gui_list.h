#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "assets/texture_manager.h"
#include "gui/gui_control.h"
#include "scene/color.h"

// A table of text rows with one value per row and a selected row, drawn over a
// background with a highlight bar and a frame. It does not scroll: rows below
// the mouse box are not drawn, yet they can still be selected.
class GUIList : public GUIControl {
public:
    static constexpr int PART_COUNT = 4;
    static constexpr int FRAME_PART = 3;
    static constexpr int ROW_PADDING = 3;

    GUIList(TextureManager& textures, GUI_ID id, float x, float y, float width, float height,
            float hitX, float hitY, float hitWidth, float hitHeight);

    void print() override;
    GUI_ID update(float mouseX, float mouseY, bool pressed) override;
    void reset() override {}
    void draw() override;

    // pictureWidth, when given and narrower than the list, is the width of
    // the frame's picture: its left and right thirds are drawn as they are
    // and the middle third is stretched, so the corners keep their shape.
    bool setTexture(int group, std::uint32_t textureId, int px, int py, int part,
                    float pictureWidth = 0.0f);
    void setHighlightColour(float red, float green, float blue, float alpha);
    bool assignColumns(const std::vector<int>& widths, const std::vector<FontID>& fonts,
                       const std::vector<Color4>& colours);
    bool addItem(const std::vector<std::string>& texts, std::uint32_t value);
    // Removes every row; the selected index is kept so that a list filled
    // again keeps its selection.
    void clearItems();
    bool selectRow(int index);
    // Returns the selected row afterwards.
    int moveSelection(int delta);

    // The selected row and its value; a selection that names no row (an
    // emptied list) reads as row 0 with value 0.
    int getSelectedRow() const;
    std::uint32_t getSelectedValue() const;
    int getRowCount() const { return static_cast<int>(m_rows.size()); }
    int getColumnCount() const { return static_cast<int>(m_columnWidths.size()); }
    int getRowHeight() const { return m_iRowHeight; }
    // The texts of a row; none for an index that names no row.
    std::vector<std::string> getRow(int index) const {
        return index >= 0 && index < getRowCount() ? m_rows[static_cast<std::size_t>(index)]
                                                   : std::vector<std::string>{};
    }
    Color4 getHighlightColour() const { return m_cHighlight; }
    unsigned getTextureName() const { return m_uiTexture; }
    GUITexRect getTexRect(int part) const {
        return part >= 0 && part < PART_COUNT ? m_rects[part] : GUITexRect{};
    }

private:
    bool selectionValid() const {
        return m_iSelected >= 0 && m_iSelected < static_cast<int>(m_rows.size());
    }

    void drawFrame() const;

    unsigned m_uiTexture = 0;
    GUITexRect m_rects[PART_COUNT];
    float m_fFrameWidth = 0.0f;  // the frame picture's width
    Color4 m_cBackground{0.0f, 0.0f, 0.0f, 1.0f};
    Color4 m_cHighlight{0.0f, 0.0f, 0.0f, 1.0f};
    std::vector<int> m_columnWidths;
    std::vector<FontID> m_columnFonts;
    std::vector<Color4> m_columnColours;
    std::vector<std::vector<std::string>> m_rows;
    std::vector<std::uint32_t> m_rowValues;
    int m_iSelected = 0;
    std::uint32_t m_uiSelectedValue = 0;
    int m_iRowHeight = 0;
    int m_iPadding = ROW_PADDING;
};
