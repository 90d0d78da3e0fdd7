#pragma once
#include <array>
#include <memory>
#include <string>

#include "scene/color.h"
#include "scene/vector.h"

class Texture;

// Advance width and downward drop of one glyph, in pixels.
struct GlyphMetrics {
    int advance = 0;
    int drop = 0;
};

constexpr int FONT_GLYPH_COUNT = 100;  // characters 32 to 131
using FontMetricsTable = std::array<GlyphMetrics, FONT_GLYPH_COUNT>;

// Reads a metrics file: 10 rows of 10 pairs written "%d, %d,". Returns false
// when the file cannot be opened (missing is normal) and sets malformed when
// it opened but does not hold 100 whole pairs.
bool readFontMetrics(const std::string& fileName, FontMetricsTable& table, bool& malformed);

// A font over a 10 x 10 atlas of square glyph cells. Each glyph is one
// display list that draws its quad and moves the pen on, so a string is one
// list call.
class BitmapFont {
public:
    BitmapFont(const Texture* atlas, unsigned cellSize, std::unique_ptr<FontMetricsTable> metrics);
    ~BitmapFont();
    BitmapFont(const BitmapFont&) = delete;
    BitmapFont& operator=(const BitmapFont&) = delete;

    void setColour(Color4 colour) { m_colour = colour; }
    void setScale(float scale) { m_scale = scale; }
    Vector2 measure(const char* text) const;
    // Under the current modelview, which the caller sets; scaled says
    // whether that draws the glyphs at another size than their cells.
    void print(Vector2 position, const char* text, bool scaled = false) const;

    Color4 colour() const { return m_colour; }
    float scale() const { return m_scale; }
    bool isFixedWidth() const { return m_fixedWidth; }
    unsigned cellSize() const { return m_cellSize; }
    unsigned listBase() const { return m_listBase; }
    const FontMetricsTable* metrics() const { return m_metrics.get(); }

private:
    void compileGlyph(int glyph, float step, float spacing) const;

    Color4 m_colour{0.0f, 0.0f, 0.0f, 1.0f};
    float m_scale = 1.0f;
    bool m_fixedWidth = true;
    std::unique_ptr<FontMetricsTable> m_metrics;
    unsigned m_listBase = 0;
    unsigned m_cellSize = 0;
    const Texture* m_texture = nullptr;
};
