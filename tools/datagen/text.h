#pragma once
#include <functional>
#include <memory>
#include <string>

#include "image.h"

namespace datagen {

// One rasterised glyph: white with coverage in alpha.
struct Glyph {
    Image bitmap;
    int left = 0;     // pixels from the pen to the bitmap's left edge
    int top = 0;      // pixels from the baseline up to the bitmap's top row
    int advance = 0;  // rounded pen advance in pixels
};

// A DejaVu face opened through FreeType.
class FontFace {
public:
    // fileName is a file in the DejaVu folder, such as "DejaVuSerif-Bold.ttf".
    explicit FontFace(const std::string& fileName);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    bool ok() const;
    void setPixelSize(int pixels);
    int ascender() const;   // pixels above the baseline
    int descender() const;  // pixels below the baseline (positive)

    Glyph glyph(unsigned codePoint) const;
    int measure(const std::string& text) const;
    // Draws text as a white coverage mask into mask, pen starting at (x, baseline).
    void drawMask(Image& mask, int x, int baseline, const std::string& text) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// How a title or label is styled.
struct TextStyle {
    std::function<Rgba(float, float)> fill;  // colour at a pixel (alpha taken as 1)
    Rgba outline{0, 0, 0, 0};                // drawn when alpha > 0
    int outlineRadius = 0;
    Rgba shadow{0, 0, 0, 0};  // soft drop shadow when alpha > 0
    int shadowDx = 2, shadowDy = 3, shadowBlur = 2;
    Rgba glow{0, 0, 0, 0};  // wide soft halo when alpha > 0
    int glowBlur = 6;
};

Rgba solidFill(const Rgba& c, float, float);
// Draws styled text into image with the pen at (x, baseline).
void drawText(Image& image, const FontFace& face, int x, int baseline, const std::string& text,
              const TextStyle& style);
// Same, centred on x.
void drawTextCentred(Image& image, const FontFace& face, int centreX, int baseline,
                     const std::string& text, const TextStyle& style);

}  // namespace datagen
