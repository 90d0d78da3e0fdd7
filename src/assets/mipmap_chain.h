#pragma once
// PRIVATE HEADER: only src/assets (and its tests and benchmarks) include this.
#include <cstdint>
#include <memory>
#include <vector>

// Pictures for every mipmap level of a texture, made on the CPU with the box
// filter GLU's gluBuild2DMipmaps uses (each level's pixel is the rounded mean
// of the 2 x 2 pixels above it), so the levels come out byte for byte as GLU
// would make them. Pixels are RGBA: a 24-bit picture gets alpha 255, which
// averages to 255 at every level and samples exactly as an RGB texture does.
// Handing the driver RGBA is what makes this fast: its RGB path converts
// every pixel of every level on the way in.
class MipmapChain {
public:
    struct Level {
        int width;
        int height;
        const std::uint8_t* rgba;
    };

    // pixels: width x height, bytesPerPixel 3 (RGB) or 4 (RGBA), rows packed;
    // with blueFirst they are BGR or BGRA and are put in order here.
    MipmapChain(const std::uint8_t* pixels, int width, int height, unsigned bytesPerPixel,
                bool blueFirst = false);

    // Level 0 is the picture itself; the last level is 1 x 1. No levels when
    // the arguments describe no picture or memory ran out.
    int levelCount() const { return static_cast<int>(m_levels.size()); }
    Level level(int index) const;

private:
    struct Stored {
        int width;
        int height;
        std::size_t offset;
    };
    std::unique_ptr<std::uint8_t[]> m_bytes;
    std::vector<Stored> m_levels;
};
