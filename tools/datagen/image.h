#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace datagen {

// Straight (not premultiplied) RGBA colour, each channel 0..1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

Rgba rgb(int r, int g, int b, float a = 1.0f);
Rgba mix(const Rgba& x, const Rgba& y, float t);
Rgba scaled(const Rgba& c, float k);  // scales r, g, b, keeps alpha

float clamp01(float v);
float smoothstep(float e0, float e1, float x);

// A float RGBA picture. Row 0 is the top row, as in a drawing program.
class Image {
public:
    Image() = default;
    Image(int width, int height, Rgba fill = Rgba{0, 0, 0, 0});

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    Rgba& at(int x, int y) { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
    const Rgba& at(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
    // Wrapping access, for seamless textures.
    const Rgba& wrapped(int x, int y) const;

    // Paints colour c over pixel (x, y) with the given coverage ("over" operator).
    void blend(int x, int y, const Rgba& c, float coverage = 1.0f);
    // Fills the shape whose signed distance (negative inside, in pixels) is sdf,
    // antialiased over one pixel, limited to the box [x0, x1) x [y0, y1).
    void fillShape(int x0, int y0, int x1, int y1, const std::function<float(float, float)>& sdf,
                   const std::function<Rgba(float, float)>& paint);
    void fillShape(int x0, int y0, int x1, int y1, const std::function<float(float, float)>& sdf,
                   const Rgba& colour);
    // Pastes src with its top-left corner at (dx, dy), blending by src alpha.
    void draw(const Image& src, int dx, int dy, float opacity = 1.0f);
    // Copies src exactly (alpha included) into the box at (dx, dy).
    void copy(const Image& src, int dx, int dy);
    Image crop(int x, int y, int w, int h) const;
    // Separable box blur applied three times (close to a gaussian), alpha included.
    void blur(int radius);
    // Multiplies the alpha of every pixel by k.
    void fadeAlpha(float k);
    // A copy filled with one colour wherever this image has alpha: for shadows and glows.
    Image silhouette(const Rgba& colour) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<Rgba> m_pixels;
};

// Signed distance helpers (pixels, negative inside).
float sdRoundBox(float px, float py, float cx, float cy, float halfW, float halfH, float radius);
float sdCircle(float px, float py, float cx, float cy, float radius);
float sdSegment(float px, float py, float ax, float ay, float bx, float by, float halfWidth);
// Closed polygon given as x0, y0, x1, y1, ...
float sdPolygon(float px, float py, const std::vector<float>& points);

// Writes an uncompressed true-colour TGA (type 2), rows bottom to top, 24-bit
// or 32-bit. Returns false when the file cannot be written.
bool writeTga(const std::string& path, const Image& image, bool withAlpha);
// Reads back what writeTga writes (types 2 and 10, 24/32-bit, either row order).
bool readTga(const std::string& path, Image& image, int* bitsPerPixel = nullptr);

}  // namespace datagen
