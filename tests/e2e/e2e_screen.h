#pragma once
// Reading the game's window like a player looks at it: where a GUI picture
// lands in the 1024 x 768 window, whether the window shows that picture
// (compared with the texture it is cut from), how much a part of the view
// changed, and screenshots kept as files.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/design_fit.h"
#include "support/temp_dir.h"
#include "support/x11_helpers.h"

namespace e2e {

constexpr int WINDOW_WIDTH = 1024;
constexpr int WINDOW_HEIGHT = 768;

// Where the game fits the GUI's design space into its window.
inline DesignFit windowFit() {
    return fitDesign(WINDOW_WIDTH, WINDOW_HEIGHT);
}

// Window pixels, counted from the top-left corner.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The window pixels a GUI control covers: (x, y) is its lower-left corner in
// the design space, where y grows upwards.
inline Rect designRect(int x, int y, int width, int height) {
    const DesignFit fit = windowFit();
    const auto left = static_cast<int>(std::lround(fit.windowX(static_cast<float>(x))));
    const auto top = static_cast<int>(std::lround(fit.windowY(static_cast<float>(y + height))));
    return {left, WINDOW_HEIGHT - top, static_cast<int>(std::lround(fit.scale * width)),
            static_cast<int>(std::lround(fit.scale * height))};
}

// A window pixel for a design point, in a window of the fit's size.
inline void designToWindow(int x, int y, int& wx, int& wy, const DesignFit& fit = windowFit()) {
    wx = static_cast<int>(std::lround(fit.windowX(static_cast<float>(x))));
    wy = fit.height - static_cast<int>(std::lround(fit.windowY(static_cast<float>(y))));
}

// An image file of the game's data, top row first, four bytes a pixel.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
    const std::uint8_t* at(int x, int y) const {
        return &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    }
};

// Reads an uncompressed 24- or 32-bit TGA (the kind the data generator writes).
inline bool loadTga(const std::string& path, Picture& picture) {
    std::string bytes = readFile(path);
    if (bytes.size() < 18) {
        return false;
    }
    auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    int type = byte(2);
    int width = byte(12) | (byte(13) << 8);
    int height = byte(14) | (byte(15) << 8);
    int bits = byte(16);
    bool topFirst = (byte(17) & 0x20) != 0;
    std::size_t start = 18 + byte(0);
    int step = bits / 8;
    if (type != 2 || (bits != 24 && bits != 32) || width == 0 || height == 0 ||
        bytes.size() < start + static_cast<std::size_t>(width) * height * step) {
        return false;
    }
    picture.width = width;
    picture.height = height;
    picture.rgba.assign(static_cast<std::size_t>(width) * height * 4, 255);
    for (int row = 0; row < height; ++row) {
        int y = topFirst ? row : height - 1 - row;
        for (int x = 0; x < width; ++x) {
            std::size_t in = start + (static_cast<std::size_t>(row) * width + x) * step;
            std::size_t out = (static_cast<std::size_t>(y) * width + x) * 4;
            picture.rgba[out] = byte(in + 2);
            picture.rgba[out + 1] = byte(in + 1);
            picture.rgba[out + 2] = byte(in);
            picture.rgba[out + 3] = step == 4 ? byte(in + 3) : 255;
        }
    }
    return true;
}

// A file of the generated resources; the generator stores names in lower case.
inline std::string resourcePath(std::string relative) {
    std::transform(relative.begin(), relative.end(), relative.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::string(SPOOKHOLLOW_GAME_DIR) + "/resources/" + relative;
}

// One GUI picture: the texture part (px, py; the offset names the left column
// and the bottom row, counted from the top of the texture) drawn at the
// design point (x, y), unscaled.
struct GuiPicture {
    const Picture* texture;
    int px, py, width, height;
    int x, y;
};

// The share of the picture's (nearly) opaque texels (edges left out, as
// filtering blurs them) that the window shows in their place, each within
// tolerance on every channel, allowing one pixel of slack either way.
// Texels that let the background through cannot be predicted and are
// skipped; a picture without opaque texels matches nothing.
inline double pictureMatch(const x11::Image& shot, const GuiPicture& p, int tolerance = 40) {
    constexpr int OPAQUE = 240;
    if (p.texture == nullptr || p.texture->width == 0 || shot.width == 0) {
        return 0.0;
    }
    const Rect where = designRect(p.x, p.y, p.width, p.height);
    // About 40000 samples are plenty to tell a picture from anything else.
    const int stride =
        std::max(1, static_cast<int>(std::sqrt(static_cast<double>(p.width) * p.height / 40000.0)));
    std::size_t tested = 0;
    std::size_t matched = 0;
    for (int row = 2; row < p.height - 2; row += stride) {
        // Screen rows run top-down; the picture's top row is py - height + 1.
        int ty = p.py - p.height + 1 + row;
        for (int column = 2; column < p.width - 2; column += stride) {
            int tx = p.px + column;
            if (tx < 0 || ty < 0 || tx >= p.texture->width || ty >= p.texture->height) {
                continue;
            }
            const std::uint8_t* texel = p.texture->at(tx, ty);
            int sx = where.x + column;
            int sy = where.y + row;
            if (texel[3] < OPAQUE || sx < 1 || sy < 1 || sx >= shot.width - 1 ||
                sy >= shot.height - 1) {
                continue;
            }
            ++tested;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy) {
                for (int dx = -1; dx <= 1 && !found; ++dx) {
                    std::size_t at =
                        (static_cast<std::size_t>(sy + dy) * shot.width + (sx + dx)) * 3;
                    found = std::abs(shot.rgb[at] - texel[0]) <= tolerance &&
                            std::abs(shot.rgb[at + 1] - texel[1]) <= tolerance &&
                            std::abs(shot.rgb[at + 2] - texel[2]) <= tolerance;
                }
            }
            matched += found ? 1 : 0;
        }
    }
    return tested == 0 ? 0.0 : static_cast<double>(matched) / static_cast<double>(tested);
}

// The mean difference per channel (0..255) of two shots inside a rectangle.
inline double meanDifference(const x11::Image& a, const x11::Image& b, const Rect& r) {
    if (a.width != b.width || a.height != b.height || a.width == 0) {
        return 255.0;
    }
    double sum = 0.0;
    std::size_t count = 0;
    for (int y = std::max(0, r.y); y < std::min(a.height, r.y + r.height); ++y) {
        for (int x = std::max(0, r.x); x < std::min(a.width, r.x + r.width); ++x) {
            std::size_t at = (static_cast<std::size_t>(y) * a.width + x) * 3;
            for (int c = 0; c < 3; ++c) {
                sum += std::abs(a.rgb[at + c] - b.rgb[at + c]);
            }
            count += 3;
        }
    }
    return count == 0 ? 0.0 : sum / static_cast<double>(count);
}

// The share of a rectangle's pixels that changed between two shots by more
// than `threshold` on some channel. Unlike the mean difference it does not
// shrink in a dark scene, where a moved view changes many pixels a little.
inline double changedShare(const x11::Image& a, const x11::Image& b, const Rect& r,
                           int threshold = 12) {
    if (a.width != b.width || a.height != b.height || a.width == 0) {
        return 1.0;
    }
    std::size_t count = 0;
    std::size_t changed = 0;
    for (int y = std::max(0, r.y); y < std::min(a.height, r.y + r.height); ++y) {
        for (int x = std::max(0, r.x); x < std::min(a.width, r.x + r.width); ++x) {
            std::size_t at = (static_cast<std::size_t>(y) * a.width + x) * 3;
            ++count;
            changed += std::abs(a.rgb[at] - b.rgb[at]) > threshold ||
                       std::abs(a.rgb[at + 1] - b.rgb[at + 1]) > threshold ||
                       std::abs(a.rgb[at + 2] - b.rgb[at + 2]) > threshold;
        }
    }
    return count == 0 ? 0.0 : static_cast<double>(changed) / static_cast<double>(count);
}

// The share of a rectangle's pixels within tolerance of a colour.
inline double fractionNear(const x11::Image& shot, const Rect& r, int red, int green, int blue,
                           int tolerance) {
    std::size_t count = 0;
    std::size_t near = 0;
    for (int y = std::max(0, r.y); y < std::min(shot.height, r.y + r.height); ++y) {
        for (int x = std::max(0, r.x); x < std::min(shot.width, r.x + r.width); ++x) {
            std::size_t at = (static_cast<std::size_t>(y) * shot.width + x) * 3;
            ++count;
            near += std::abs(shot.rgb[at] - red) <= tolerance &&
                    std::abs(shot.rgb[at + 1] - green) <= tolerance &&
                    std::abs(shot.rgb[at + 2] - blue) <= tolerance;
        }
    }
    return count == 0 ? 0.0 : static_cast<double>(near) / static_cast<double>(count);
}

// Writes a screenshot as PNG (through ImageMagick when it is there, which
// also drops the PPM) or else as PPM; returns the file written.
inline std::string saveShot(const x11::Image& shot, const std::string& pathWithoutExtension) {
    std::string ppm = pathWithoutExtension + ".ppm";
    if (!shot.writePpm(ppm)) {
        return "";
    }
    std::string png = pathWithoutExtension + ".png";
    std::string command = "convert '" + ppm + "' '" + png + "' > /dev/null 2>&1";
    if (std::system(command.c_str()) == 0) {
        std::remove(ppm.c_str());
        return png;
    }
    return ppm;
}

}  // namespace e2e
