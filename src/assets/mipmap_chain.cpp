#include "assets/mipmap_chain.h"

#include <new>

namespace {

constexpr std::size_t RGBA = 4;

int halved(int size) {
    return size > 1 ? size / 2 : 1;
}

std::size_t levelBytes(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * RGBA;
}

// The stride and the order are constants here so that the loop compiles to a
// fast one.
template <std::size_t STRIDE, bool BLUE_FIRST>
void copyAsRgba(const std::uint8_t* pixels, std::size_t count, std::uint8_t* out) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* in = pixels + i * STRIDE;
        out[0] = in[BLUE_FIRST ? 2 : 0];
        out[1] = in[1];
        out[2] = in[BLUE_FIRST ? 0 : 2];
        out[3] = STRIDE == 4 ? in[3] : 255;
        out += RGBA;
    }
}

void expandToRgba(const std::uint8_t* pixels, std::size_t count, unsigned bytesPerPixel,
                  bool blueFirst, std::uint8_t* out) {
    if (bytesPerPixel == 4) {
        blueFirst ? copyAsRgba<4, true>(pixels, count, out)
                  : copyAsRgba<4, false>(pixels, count, out);
    } else {
        blueFirst ? copyAsRgba<3, true>(pixels, count, out)
                  : copyAsRgba<3, false>(pixels, count, out);
    }
}

// One level down: each dimension halves (a dimension of 1 stays 1 and its
// pairs are the same pixel twice). out holds max(w/2,1) x max(h/2,1) pixels.
void halveRgba(const std::uint8_t* in, int width, int height, std::uint8_t* out) {
    const int outWidth = halved(width);
    const int outHeight = halved(height);
    const std::size_t row = static_cast<std::size_t>(width) * RGBA;
    const std::size_t across = width > 1 ? RGBA : 0;
    for (int y = 0; y < outHeight; ++y) {
        const std::uint8_t* top = in + static_cast<std::size_t>(2 * y) * row;
        const std::uint8_t* bottom = height > 1 ? top + row : top;
        for (int x = 0; x < outWidth; ++x) {
            const std::size_t at = static_cast<std::size_t>(x) * 2 * RGBA;
            for (std::size_t k = 0; k < RGBA; ++k) {
                const unsigned sum =
                    top[at + k] + top[at + across + k] + bottom[at + k] + bottom[at + across + k];
                *out++ = static_cast<std::uint8_t>((sum + 2) / 4);
            }
        }
    }
}

}  // namespace

MipmapChain::MipmapChain(const std::uint8_t* pixels, int width, int height, unsigned bytesPerPixel,
                         bool blueFirst) {
    if (pixels == nullptr || width <= 0 || height <= 0 ||
        (bytesPerPixel != 3 && bytesPerPixel != 4)) {
        return;
    }
    std::size_t total = 0;
    for (int w = width, h = height;; w = halved(w), h = halved(h)) {
        m_levels.push_back(Stored{w, h, total});
        total += levelBytes(w, h);
        if (w == 1 && h == 1) {
            break;
        }
    }
    // Every byte is written below, so the memory is not cleared first.
    m_bytes.reset(new (std::nothrow) std::uint8_t[total]);
    if (!m_bytes) {
        m_levels.clear();
        return;
    }
    expandToRgba(pixels, static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                 bytesPerPixel, blueFirst, m_bytes.get());
    for (std::size_t i = 1; i < m_levels.size(); ++i) {
        const Stored& above = m_levels[i - 1];
        halveRgba(m_bytes.get() + above.offset, above.width, above.height,
                  m_bytes.get() + m_levels[i].offset);
    }
}

MipmapChain::Level MipmapChain::level(int index) const {
    if (index < 0 || index >= levelCount()) {
        return Level{0, 0, nullptr};
    }
    const Stored& stored = m_levels[static_cast<std::size_t>(index)];
    return Level{stored.width, stored.height, m_bytes.get() + stored.offset};
}
