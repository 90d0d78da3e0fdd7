#pragma once
// Builds TGA files byte by byte for the reader tests.
#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
    std::uint8_t r, g, b, a;
};

// A small picture, top row first, used to build files in every layout.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;  // row-major, top row first

    static Picture gradient(int width, int height) {
        Picture p;
        p.width = width;
        p.height = height;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                p.pixels.push_back(Rgba{static_cast<std::uint8_t>(x * 37 + y),
                                        static_cast<std::uint8_t>(y * 53 + 7),
                                        static_cast<std::uint8_t>((x ^ y) * 11),
                                        static_cast<std::uint8_t>(255 - x - y)});
            }
        }
        return p;
    }
    const Rgba& at(int x, int yFromTop) const { return pixels[yFromTop * width + x]; }
};

struct TgaLayout {
    int bits = 24;
    bool runLength = false;
    bool topToBottom = false;
    bool rightToLeft = false;
    int idLength = 0;
};

inline std::string tgaHeader(int type, int width, int height, int bits, std::uint8_t descriptor,
                             int idLength = 0) {
    std::string h(18, '\0');
    h[0] = static_cast<char>(idLength);
    h[2] = static_cast<char>(type);
    h[12] = static_cast<char>(width & 0xFF);
    h[13] = static_cast<char>((width >> 8) & 0xFF);
    h[14] = static_cast<char>(height & 0xFF);
    h[15] = static_cast<char>((height >> 8) & 0xFF);
    h[16] = static_cast<char>(bits);
    h[17] = static_cast<char>(descriptor);
    return h + std::string(static_cast<std::size_t>(idLength), 'I');
}

inline std::string pixelBytes(const Rgba& p, int bits) {
    std::string s;
    s += static_cast<char>(p.b);
    s += static_cast<char>(p.g);
    s += static_cast<char>(p.r);
    if (bits == 32) {
        s += static_cast<char>(p.a);
    }
    return s;
}

// Encodes a picture; run-length files use runs for repeated pixels and raw
// packets for the rest, so both packet kinds appear.
inline std::string buildTga(const Picture& picture, const TgaLayout& layout) {
    std::uint8_t descriptor = static_cast<std::uint8_t>((layout.topToBottom ? 0x20 : 0) |
                                                        (layout.rightToLeft ? 0x10 : 0));
    std::string file = tgaHeader(layout.runLength ? 10 : 2, picture.width, picture.height,
                                 layout.bits, descriptor, layout.idLength);
    std::vector<Rgba> order;
    for (int row = 0; row < picture.height; ++row) {
        int y = layout.topToBottom ? row : picture.height - 1 - row;
        for (int column = 0; column < picture.width; ++column) {
            int x = layout.rightToLeft ? picture.width - 1 - column : column;
            order.push_back(picture.at(x, y));
        }
    }
    if (!layout.runLength) {
        for (const Rgba& p : order) {
            file += pixelBytes(p, layout.bits);
        }
        return file;
    }
    auto same = [&](const Rgba& a, const Rgba& b) {
        return a.r == b.r && a.g == b.g && a.b == b.b && (layout.bits == 24 || a.a == b.a);
    };
    std::size_t i = 0;
    while (i < order.size()) {
        std::size_t run = 1;
        while (i + run < order.size() && run < 128 && same(order[i], order[i + run])) {
            ++run;
        }
        if (run > 1) {
            file += static_cast<char>(0x80 | (run - 1));
            file += pixelBytes(order[i], layout.bits);
            i += run;
            continue;
        }
        std::size_t raw = 1;
        while (i + raw < order.size() && raw < 128 &&
               !(i + raw + 1 < order.size() && same(order[i + raw], order[i + raw + 1]))) {
            ++raw;
        }
        file += static_cast<char>(raw - 1);
        for (std::size_t k = 0; k < raw; ++k) {
            file += pixelBytes(order[i + k], layout.bits);
        }
        i += raw;
    }
    return file;
}
