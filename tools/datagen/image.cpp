#include "image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace datagen {

Rgba rgb(int r, int g, int b, float a) {
    return Rgba{r / 255.0f, g / 255.0f, b / 255.0f, a};
}

Rgba mix(const Rgba& x, const Rgba& y, float t) {
    return Rgba{x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t,
                x.a + (y.a - x.a) * t};
}

Rgba scaled(const Rgba& c, float k) {
    return Rgba{c.r * k, c.g * k, c.b * k, c.a};
}

float clamp01(float v) {
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

float smoothstep(float e0, float e1, float x) {
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

Image::Image(int width, int height, Rgba fill)
    : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height, fill) {}

const Rgba& Image::wrapped(int x, int y) const {
    x %= m_width;
    y %= m_height;
    if (x < 0)
        x += m_width;
    if (y < 0)
        y += m_height;
    return at(x, y);
}

void Image::blend(int x, int y, const Rgba& c, float coverage) {
    if (!contains(x, y))
        return;
    float sa = clamp01(c.a * coverage);
    if (sa <= 0.0f)
        return;
    Rgba& d = at(x, y);
    float outA = sa + d.a * (1.0f - sa);
    if (outA <= 0.0f) {
        d = Rgba{0, 0, 0, 0};
        return;
    }
    float k = d.a * (1.0f - sa);
    d.r = (c.r * sa + d.r * k) / outA;
    d.g = (c.g * sa + d.g * k) / outA;
    d.b = (c.b * sa + d.b * k) / outA;
    d.a = outA;
}

void Image::fillShape(int x0, int y0, int x1, int y1, const std::function<float(float, float)>& sdf,
                      const std::function<Rgba(float, float)>& paint) {
    x0 = std::max(0, x0);
    y0 = std::max(0, y0);
    x1 = std::min(m_width, x1);
    y1 = std::min(m_height, y1);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            float cov = clamp01(0.5f - sdf(px, py));
            if (cov > 0.0f)
                blend(x, y, paint(px, py), cov);
        }
    }
}

void Image::fillShape(int x0, int y0, int x1, int y1, const std::function<float(float, float)>& sdf,
                      const Rgba& colour) {
    fillShape(x0, y0, x1, y1, sdf, [&](float, float) { return colour; });
}

void Image::draw(const Image& src, int dx, int dy, float opacity) {
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            blend(dx + x, dy + y, src.at(x, y), opacity);
        }
    }
}

void Image::copy(const Image& src, int dx, int dy) {
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            if (contains(dx + x, dy + y))
                at(dx + x, dy + y) = src.at(x, y);
        }
    }
}

Image Image::crop(int x, int y, int w, int h) const {
    Image out(w, h);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (contains(x + i, y + j))
                out.at(i, j) = at(x + i, y + j);
        }
    }
    return out;
}

namespace {

// One box-blur pass along a line of n samples with stride, premultiplied values.
void blurLine(std::vector<Rgba>& line, int radius) {
    int n = static_cast<int>(line.size());
    std::vector<Rgba> out(line.size());
    float inv = 1.0f / (2 * radius + 1);
    Rgba sum{0, 0, 0, 0};
    auto sample = [&](int i) -> const Rgba& { return line[std::clamp(i, 0, n - 1)]; };
    for (int i = -radius; i <= radius; ++i) {
        const Rgba& s = sample(i);
        sum.r += s.r, sum.g += s.g, sum.b += s.b, sum.a += s.a;
    }
    for (int i = 0; i < n; ++i) {
        out[i] = Rgba{sum.r * inv, sum.g * inv, sum.b * inv, sum.a * inv};
        const Rgba& add = sample(i + radius + 1);
        const Rgba& sub = sample(i - radius);
        sum.r += add.r - sub.r, sum.g += add.g - sub.g, sum.b += add.b - sub.b,
            sum.a += add.a - sub.a;
    }
    line.swap(out);
}

}  // namespace

void Image::blur(int radius) {
    if (radius <= 0)
        return;
    // Premultiply so transparent pixels do not bleed their colour.
    for (Rgba& p : m_pixels)
        p = Rgba{p.r * p.a, p.g * p.a, p.b * p.a, p.a};
    for (int pass = 0; pass < 3; ++pass) {
        std::vector<Rgba> line;
        for (int y = 0; y < m_height; ++y) {
            line.assign(m_pixels.begin() + static_cast<long>(y) * m_width,
                        m_pixels.begin() + static_cast<long>(y + 1) * m_width);
            blurLine(line, radius);
            std::copy(line.begin(), line.end(), m_pixels.begin() + static_cast<long>(y) * m_width);
        }
        line.resize(m_height);
        for (int x = 0; x < m_width; ++x) {
            for (int y = 0; y < m_height; ++y)
                line[y] = at(x, y);
            blurLine(line, radius);
            for (int y = 0; y < m_height; ++y)
                at(x, y) = line[y];
        }
    }
    for (Rgba& p : m_pixels) {
        if (p.a > 1e-6f) {
            p = Rgba{p.r / p.a, p.g / p.a, p.b / p.a, p.a};
        } else {
            p = Rgba{0, 0, 0, 0};
        }
    }
}

void Image::fadeAlpha(float k) {
    for (Rgba& p : m_pixels)
        p.a = clamp01(p.a * k);
}

Image Image::silhouette(const Rgba& colour) const {
    Image out(m_width, m_height);
    for (size_t i = 0; i < m_pixels.size(); ++i) {
        out.m_pixels[i] = Rgba{colour.r, colour.g, colour.b, colour.a * m_pixels[i].a};
    }
    return out;
}

float sdRoundBox(float px, float py, float cx, float cy, float halfW, float halfH, float radius) {
    float qx = std::fabs(px - cx) - halfW + radius;
    float qy = std::fabs(py - cy) - halfH + radius;
    float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float sdCircle(float px, float py, float cx, float cy, float radius) {
    return std::hypot(px - cx, py - cy) - radius;
}

float sdSegment(float px, float py, float ax, float ay, float bx, float by, float halfWidth) {
    float pax = px - ax, pay = py - ay, bax = bx - ax, bay = by - ay;
    float len2 = bax * bax + bay * bay;
    float h = len2 > 0.0f ? clamp01((pax * bax + pay * bay) / len2) : 0.0f;
    return std::hypot(pax - bax * h, pay - bay * h) - halfWidth;
}

float sdPolygon(float px, float py, const std::vector<float>& pts) {
    size_t n = pts.size() / 2;
    float d = 1e30f;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        float ax = pts[2 * i], ay = pts[2 * i + 1], bx = pts[2 * j], by = pts[2 * j + 1];
        d = std::min(d, sdSegment(px, py, ax, ay, bx, by, 0.0f));
        if ((ay > py) != (by > py) && px < (bx - ax) * (py - ay) / (by - ay) + ax)
            inside = !inside;
    }
    return inside ? -d : d;
}

namespace {

uint8_t toByte(float v) {
    return static_cast<uint8_t>(std::lround(clamp01(v) * 255.0f));
}

}  // namespace

bool writeTga(const std::string& path, const Image& image, bool withAlpha) {
    int bpp = withAlpha ? 4 : 3;
    std::vector<uint8_t> bytes(18, 0);
    bytes[2] = 2;
    bytes[12] = static_cast<uint8_t>(image.width() & 0xFF);
    bytes[13] = static_cast<uint8_t>(image.width() >> 8);
    bytes[14] = static_cast<uint8_t>(image.height() & 0xFF);
    bytes[15] = static_cast<uint8_t>(image.height() >> 8);
    bytes[16] = static_cast<uint8_t>(bpp * 8);
    bytes[17] = withAlpha ? 8 : 0;  // alpha bits; rows bottom to top, left to right
    bytes.reserve(bytes.size() + static_cast<size_t>(image.width()) * image.height() * bpp);
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            const Rgba& p = image.at(x, y);
            // Fully transparent pixels get a fixed colour so nothing random leaks.
            bool clear = withAlpha && toByte(p.a) == 0;
            bytes.push_back(clear ? 0 : toByte(p.b));
            bytes.push_back(clear ? 0 : toByte(p.g));
            bytes.push_back(clear ? 0 : toByte(p.r));
            if (withAlpha)
                bytes.push_back(toByte(p.a));
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool readTga(const std::string& path, Image& image, int* bitsPerPixel) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    if (data.size() < 18)
        return false;
    int type = data[2];
    int width = data[12] | (data[13] << 8);
    int height = data[14] | (data[15] << 8);
    int depth = data[16];
    int descriptor = data[17];
    if ((type != 2 && type != 10) || (depth != 24 && depth != 32) || width <= 0 || height <= 0) {
        return false;
    }
    int bpp = depth / 8;
    size_t count = static_cast<size_t>(width) * height;
    std::vector<uint8_t> pixels;
    pixels.reserve(count * bpp);
    size_t pos = 18 + data[0];
    if (type == 2) {
        if (data.size() < pos + count * bpp)
            return false;
        pixels.assign(data.begin() + static_cast<long>(pos),
                      data.begin() + static_cast<long>(pos + count * bpp));
    } else {
        while (pixels.size() < count * bpp) {
            if (pos >= data.size())
                return false;
            int h = data[pos++];
            int n = (h & 0x7F) + 1;
            if (h & 0x80) {
                if (pos + bpp > data.size())
                    return false;
                for (int i = 0; i < n && pixels.size() < count * bpp; ++i) {
                    pixels.insert(pixels.end(), data.begin() + static_cast<long>(pos),
                                  data.begin() + static_cast<long>(pos + bpp));
                }
                pos += bpp;
            } else {
                if (pos + static_cast<size_t>(n) * bpp > data.size())
                    return false;
                for (int i = 0; i < n * bpp && pixels.size() < count * bpp; ++i) {
                    pixels.push_back(data[pos + i]);
                }
                pos += static_cast<size_t>(n) * bpp;
            }
        }
    }
    image = Image(width, height);
    bool topDown = (descriptor & 0x20) != 0;
    bool rightToLeft = (descriptor & 0x10) != 0;
    for (int row = 0; row < height; ++row) {
        int y = topDown ? row : height - 1 - row;
        for (int col = 0; col < width; ++col) {
            int x = rightToLeft ? width - 1 - col : col;
            const uint8_t* p = &pixels[(static_cast<size_t>(row) * width + col) * bpp];
            image.at(x, y) =
                Rgba{p[2] / 255.0f, p[1] / 255.0f, p[0] / 255.0f, bpp == 4 ? p[3] / 255.0f : 1.0f};
        }
    }
    if (bitsPerPixel)
        *bitsPerPixel = depth;
    return true;
}

}  // namespace datagen
