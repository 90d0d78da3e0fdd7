// The desktop icon: a pale ghost with dark eyes, the game's own monster.
#include "icon.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "generators.h"

namespace datagen {
namespace {

constexpr float PI_F = 3.14159265f;

// An ellipse's distance, close enough near its edge for antialiasing.
float ellipse(float x, float y, float cx, float cy, float rx, float ry) {
    float qx = (x - cx) / rx;
    float qy = (y - cy) / ry;
    return (std::sqrt(qx * qx + qy * qy) - 1.0f) * std::min(rx, ry);
}

// Round head over a skirt with three waves at its hem; s is the icon's size.
float ghostBody(float x, float y, float s) {
    float head = std::hypot(x - 0.5f * s, y - 0.42f * s) - 0.30f * s;
    float u = (x / s - 0.20f) / 0.60f;
    float hem = (0.80f + 0.05f * std::cos(2.0f * PI_F * 3.0f * u)) * s;
    float skirt = std::max({std::fabs(x - 0.5f * s) - 0.30f * s, 0.42f * s - y, y - hem});
    return std::min(head, skirt);
}

}  // namespace

Image ghostIcon(int size) {
    Image icon(size, size);
    float s = static_cast<float>(size);
    auto body = [s](float x, float y) { return ghostBody(x, y, s); };
    // A dark rim keeps the pale body visible on light desktops too.
    float rim = std::max(1.0f, 0.025f * s);
    icon.fillShape(
        0, 0, size, size, [&](float x, float y) { return body(x, y) - rim; }, rgb(38, 44, 74));
    icon.fillShape(0, 0, size, size, body, [s](float, float y) {
        return mix(rgb(246, 248, 255), rgb(176, 190, 228), clamp01((y / s - 0.15f) / 0.7f));
    });
    Rgba dark = rgb(28, 26, 44);
    icon.fillShape(
        0, 0, size, size,
        [s](float x, float y) {
            return ellipse(x, y, 0.40f * s, 0.40f * s, 0.05f * s, 0.075f * s);
        },
        dark);
    icon.fillShape(
        0, 0, size, size,
        [s](float x, float y) {
            return ellipse(x, y, 0.60f * s, 0.40f * s, 0.05f * s, 0.075f * s);
        },
        dark);
    icon.fillShape(
        0, 0, size, size,
        [s](float x, float y) {
            return ellipse(x, y, 0.50f * s, 0.57f * s, 0.045f * s, 0.06f * s);
        },
        dark);
    return icon;
}

namespace {

// libpng reports errors by longjmp, so the jump target lives in a function
// with nothing of its own to unwind.
bool encodePng(png_structp png, png_infop info, std::FILE* file, png_bytepp rows, int width,
               int height) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

png_byte channel(float value) {
    return static_cast<png_byte>(std::lround(clamp01(value) * 255.0f));
}

}  // namespace

bool writePng(const Image& image, const std::string& path) {
    const int width = image.width();
    const int height = image.height();
    std::vector<png_byte> pixels(static_cast<size_t>(width) * height * 4);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        png_bytep row = &pixels[static_cast<size_t>(y) * width * 4];
        rows[static_cast<size_t>(y)] = row;
        for (int x = 0; x < width; ++x) {
            const Rgba& c = image.at(x, y);
            row[x * 4 + 0] = channel(c.r);
            row[x * 4 + 1] = channel(c.g);
            row[x * 4 + 2] = channel(c.b);
            row[x * 4 + 3] = channel(c.a);
        }
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool ok = info != nullptr && encodePng(png, info, file, rows.data(), width, height);
    if (png != nullptr) {
        png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    }
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
    }
    return ok;
}

bool generateIcons(const std::string& root) {
    for (int size : ICON_SIZES) {
        std::string folder =
            root + "/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        if (!makeFolder(folder) || !writePng(ghostIcon(size), folder + "/spookhollow.png")) {
            return false;
        }
    }
    return true;
}

}  // namespace datagen
