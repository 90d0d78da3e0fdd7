#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#ifndef DATAGEN_FONT_DIR
#define DATAGEN_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace datagen {

struct FontFace::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

FontFace::FontFace(const std::string& fileName) : m_impl(std::make_unique<Impl>()) {
    std::string path = std::string(DATAGEN_FONT_DIR) + "/" + fileName;
    if (FT_Init_FreeType(&m_impl->library) != 0) {
        m_impl->library = nullptr;
        return;
    }
    if (FT_New_Face(m_impl->library, path.c_str(), 0, &m_impl->face) != 0) {
        m_impl->face = nullptr;
        std::fprintf(stderr, "datagen: cannot open font %s\n", path.c_str());
    }
}

FontFace::~FontFace() {
    if (m_impl->face)
        FT_Done_Face(m_impl->face);
    if (m_impl->library)
        FT_Done_FreeType(m_impl->library);
}

bool FontFace::ok() const {
    return m_impl->face != nullptr;
}

void FontFace::setPixelSize(int pixels) {
    if (ok())
        FT_Set_Pixel_Sizes(m_impl->face, 0, static_cast<FT_UInt>(pixels));
}

int FontFace::ascender() const {
    return ok() ? static_cast<int>(m_impl->face->size->metrics.ascender >> 6) : 0;
}

int FontFace::descender() const {
    return ok() ? static_cast<int>(-(m_impl->face->size->metrics.descender >> 6)) : 0;
}

Glyph FontFace::glyph(unsigned codePoint) const {
    Glyph g;
    if (!ok())
        return g;
    FT_Face face = m_impl->face;
    if (FT_Load_Char(face, codePoint, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0)
        return g;
    const FT_Bitmap& bm = face->glyph->bitmap;
    g.bitmap = Image(static_cast<int>(bm.width), static_cast<int>(bm.rows));
    for (int y = 0; y < static_cast<int>(bm.rows); ++y) {
        for (int x = 0; x < static_cast<int>(bm.width); ++x) {
            uint8_t v = bm.buffer[y * bm.pitch + x];
            g.bitmap.at(x, y) = Rgba{1, 1, 1, v / 255.0f};
        }
    }
    g.left = face->glyph->bitmap_left;
    g.top = face->glyph->bitmap_top;
    g.advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
    return g;
}

int FontFace::measure(const std::string& text) const {
    int width = 0;
    for (unsigned char c : text)
        width += glyph(c).advance;
    return width;
}

void FontFace::drawMask(Image& mask, int x, int baseline, const std::string& text) const {
    int pen = x;
    for (unsigned char c : text) {
        Glyph g = glyph(c);
        mask.draw(g.bitmap, pen + g.left, baseline - g.top);
        pen += g.advance;
    }
}

Rgba solidFill(const Rgba& c, float, float) {
    return c;
}

void drawText(Image& image, const FontFace& face, int x, int baseline, const std::string& text,
              const TextStyle& style) {
    // Work in a local layer around the text so blurs stay cheap.
    int pad = std::max({style.glowBlur * 3, style.shadowBlur * 3 + 6, style.outlineRadius + 2}) + 4;
    int width = face.measure(text) + 2 * pad;
    int height = face.ascender() + face.descender() + 2 * pad;
    int ox = x - pad, oy = baseline - face.ascender() - pad;
    Image mask(width, height);
    face.drawMask(mask, pad, pad + face.ascender(), text);

    if (style.glow.a > 0.0f) {
        Image glow = mask.silhouette(style.glow);
        glow.blur(style.glowBlur);
        image.draw(glow, ox, oy);
    }
    if (style.shadow.a > 0.0f) {
        Image shadow = mask.silhouette(style.shadow);
        if (style.outlineRadius > 0) {
            shadow.blur(style.outlineRadius);
            shadow.fadeAlpha(3.0f);
        }
        shadow.blur(style.shadowBlur);
        image.draw(shadow, ox + style.shadowDx, oy + style.shadowDy);
    }
    if (style.outline.a > 0.0f && style.outlineRadius > 0) {
        Image outline = mask.silhouette(style.outline);
        outline.blur(style.outlineRadius);
        outline.fadeAlpha(4.0f);
        image.draw(outline, ox, oy);
    }
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            float a = mask.at(i, j).a;
            if (a <= 0.0f)
                continue;
            Rgba c = style.fill ? style.fill(static_cast<float>(ox + i), static_cast<float>(oy + j))
                                : Rgba{1, 1, 1, 1};
            image.blend(ox + i, oy + j, c, a);
        }
    }
}

void drawTextCentred(Image& image, const FontFace& face, int centreX, int baseline,
                     const std::string& text, const TextStyle& style) {
    drawText(image, face, centreX - face.measure(text) / 2, baseline, text, style);
}

}  // namespace datagen
