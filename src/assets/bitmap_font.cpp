#include "assets/bitmap_font.h"

#include <GL/gl.h>

#include <cstdio>
#include <vector>

#include "assets/texture.h"

namespace {

// The characters , ; _ g j p q y hang below the baseline in fixed-width fonts.
bool isDescender(int glyph) {
    switch (glyph) {
        case 12:
        case 27:
        case 63:
        case 71:
        case 74:
        case 80:
        case 81:
        case 89:
            return true;
        default:
            return false;
    }
}

// Only characters 32 to 127 have glyphs that drawing can reach; anything else
// is drawn and measured as a space rather than running another font's lists.
char drawableCharacter(char c) {
    auto code = static_cast<unsigned char>(c);
    return (code >= 32 && code <= 127) ? c : ' ';
}

std::vector<signed char> drawableText(const char* text) {
    std::vector<signed char> bytes;
    for (const char* p = text; *p != '\0'; ++p) {
        bytes.push_back(static_cast<signed char>(drawableCharacter(*p)));
    }
    return bytes;
}

}  // namespace

bool readFontMetrics(const std::string& fileName, FontMetricsTable& table, bool& malformed) {
    malformed = false;
    std::FILE* file = std::fopen(fileName.c_str(), "rt");
    if (file == nullptr) {
        return false;
    }
    for (GlyphMetrics& glyph : table) {
        if (std::fscanf(file, "%d, %d,", &glyph.advance, &glyph.drop) != 2) {
            malformed = true;
            break;
        }
    }
    std::fclose(file);
    return true;
}

BitmapFont::BitmapFont(const Texture* atlas, unsigned cellSize,
                       std::unique_ptr<FontMetricsTable> metrics)
    : m_fixedWidth(metrics == nullptr),
      m_metrics(std::move(metrics)),
      m_cellSize(cellSize),
      m_texture(atlas) {
    m_listBase = glGenLists(FONT_GLYPH_COUNT);
    float width = atlas != nullptr ? static_cast<float>(atlas->width) : 2.0f;
    float step = 1.0f / (width - 1.0f);
    float spacing = m_fixedWidth ? 0.0f : 0.05f * static_cast<float>(m_cellSize);
    for (int glyph = 0; glyph < FONT_GLYPH_COUNT; ++glyph) {
        compileGlyph(glyph, step, spacing);
    }
}

BitmapFont::~BitmapFont() {
    if (m_listBase != 0) {
        glDeleteLists(m_listBase, FONT_GLYPH_COUNT);
    }
}

void BitmapFont::compileGlyph(int glyph, float step, float spacing) const {
    const auto cell = static_cast<float>(m_cellSize);
    const float x = static_cast<float>(glyph % 10) * cell;
    const float y = static_cast<float>(glyph / 10) * cell;
    const float last = cell - 1.0f;
    const float descent = 0.16f * cell;

    glNewList(m_listBase + static_cast<unsigned>(glyph), GL_COMPILE);
    if (m_fixedWidth) {
        if (isDescender(glyph)) {
            glTranslatef(0.0f, -descent, 0.0f);
        }
    } else {
        glTranslatef(0.0f, -static_cast<float>((*m_metrics)[glyph].drop), 0.0f);
    }
    glBegin(GL_QUADS);
    glTexCoord2f(x * step, 1.0f - (y + last) * step);
    glVertex2i(0, 0);
    glTexCoord2f((x + last) * step, 1.0f - (y + last) * step);
    glVertex2i(static_cast<int>(last), 0);
    glTexCoord2f((x + last) * step, 1.0f - y * step);
    glVertex2i(static_cast<int>(last), static_cast<int>(last));
    glTexCoord2f(x * step, 1.0f - y * step);
    glVertex2i(0, static_cast<int>(last));
    glEnd();
    if (m_fixedWidth) {
        glTranslatef(cell, 0.0f, 0.0f);
        if (isDescender(glyph)) {
            glTranslatef(0.0f, descent, 0.0f);
        }
    } else {
        const GlyphMetrics& metrics = (*m_metrics)[glyph];
        glTranslatef(static_cast<float>(metrics.advance) + spacing,
                     static_cast<float>(metrics.drop), 0.0f);
    }
    glEndList();
}

Vector2 BitmapFont::measure(const char* text) const {
    const auto cell = static_cast<float>(m_cellSize);
    float width = 0.0f;
    if (m_fixedWidth) {
        for (const char* p = text; *p != '\0'; ++p) {
            width += cell;
        }
    } else {
        const int spacing = static_cast<int>(0.05f * cell);
        for (const char* p = text; *p != '\0'; ++p) {
            int glyph = static_cast<unsigned char>(drawableCharacter(*p)) - 32;
            width += static_cast<float>((*m_metrics)[glyph].advance + spacing);
        }
    }
    return Vector2(width * m_scale, cell * m_scale);
}

void BitmapFont::print(Vector2 position, const char* text, bool scaled) const {
    std::vector<signed char> bytes = drawableText(text);
    glEnable(GL_TEXTURE_2D);
    bindOverlayTexture(m_texture != nullptr ? m_texture->glName : 0, scaled || m_scale != 1.0f);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(position.x, position.y, 0.0f);
    glPushAttrib(GL_LIST_BIT);
    glListBase(m_listBase - 32);
    glColor4fv(m_colour.data());
    glScalef(m_scale, m_scale, 1.0f);
    if (!bytes.empty()) {
        glCallLists(static_cast<GLsizei>(bytes.size()), GL_BYTE, bytes.data());
    }
    glPopAttrib();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
}
