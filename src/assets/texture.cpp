#include "assets/texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "app/error_reporter.h"
#include "assets/mipmap_chain.h"

Texture::Texture(bool useMipmap, unsigned quality, std::uint8_t isSolid)
    : solid(isSolid), mipmap(useMipmap), filterQuality(quality) {}

Texture::~Texture() {
    if (glName != 0) {
        GLuint name = glName;
        glDeleteTextures(1, &name);
    }
    freePixels();
}

void Texture::freePixels() {
    delete[] pixels;
    pixels = nullptr;
}

void Texture::complain(int kind, const char* format, ...) const {
    va_list args;
    if (m_pWhy != nullptr) {
        char text[512];
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        *m_pWhy = text;
        return;
    }
    if (m_bQuiet) {
        return;
    }
    va_start(args, format);
    reportErrorV(kind, format, args);
    va_end(args);
}

namespace {

// The last three characters in lower case ("" for a shorter name).
std::string endingOf(const std::string& name) {
    std::string ending = name.size() < 3 ? std::string() : name.substr(name.size() - 3);
    for (char& c : ending) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return ending;
}

}  // namespace

bool Texture::readQuietly(const std::string& name) {
    if (name.size() < 4 || endingOf(name) != "tga") {
        return false;
    }
    m_bQuiet = true;
    const bool read = readTGA(name, true, mipmap);
    m_bQuiet = false;
    return read;
}

void Texture::makeMipmapLevels() {
    if (!mipmap || pixels == nullptr || m_pLevels) {
        return;
    }
    // Without the levels (no memory) the upload falls back to GLU.
    m_pLevels.reset(new (std::nothrow)
                        MipmapChain(pixels, width, height, bitsPerPixel / 8, blueFirst));
    if (m_pLevels && m_pLevels->levelCount() == 0) {
        m_pLevels.reset();
    }
}

bool Texture::loadImageFile(const std::string& name) {
    if (name.size() < 4) {
        reportError(ERROR_GAME, "Invalid texture filename: %s", name.c_str());
        return false;
    }
    const std::string ending = endingOf(name);
    if (ending == "tga") {
        // The mipmap levels are made from the file's order in one pass.
        if (!readTGA(name, true, mipmap)) {
            return false;
        }
        uploadToGL();
        return true;
    }
    if (ending == "map") {
        return readTGA(name, false);
    }
    if (ending == "png") {
        return readPNG(name);
    }
    reportError(ERROR_GAME, "Game Engine can not load %s\nUnsupported image file type.",
                name.c_str());
    return false;
}

namespace {

// Filter parameters by quality 1..4: magnification, minification with and
// without mipmaps.
struct FilterChoice {
    GLenum mag;
    GLenum minMipmap;
    GLenum minPlain;
};

const FilterChoice FILTERS[4] = {
    {GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST},
    {GL_NEAREST, GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST},
    {GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR},
    {GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
};

}  // namespace

void Texture::uploadToGL() {
    GLuint name = 0;
    glGenTextures(1, &name);
    glName = name;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, glName);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_REPEAT));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(GL_REPEAT));
    if (filterQuality >= 1 && filterQuality <= 4) {
        const FilterChoice& filter = FILTERS[filterQuality - 1];
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(filter.mag));
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                        static_cast<GLfloat>(mipmap ? filter.minMipmap : filter.minPlain));
    }
    GLenum format = hasAlpha ? GL_RGBA : GL_RGB;
    // Rows of 24-bit images are not 4-byte aligned for every width.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (mipmap) {
        uploadMipmaps(format);
    } else {
        putInRgbOrder();
        glTexImage2D(GL_TEXTURE_2D, 0, hasAlpha ? GL_RGBA8 : GL_RGB8, width, height, 0, format,
                     GL_UNSIGNED_BYTE, pixels);
    }
    freePixels();
    glDisable(GL_TEXTURE_2D);
}

void Texture::putInRgbOrder() {
    if (blueFirst) {
        swapRedAndBlue();
        blueFirst = false;
    }
}

// The levels are made here rather than by gluBuild2DMipmaps, with the same
// filter and so the same bytes, and handed over as RGBA: the driver takes that
// without converting each pixel, which makes a level start several times
// faster. GLU still handles a picture larger than the driver can hold, which
// it scales down first, and the case of too little memory for the levels.
void Texture::uploadMipmaps(unsigned format) {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    const bool fits = width <= largest && height <= largest;
    if (fits) {
        makeMipmapLevels();  // unless they were made ahead
    }
    std::unique_ptr<MipmapChain> chain = std::move(m_pLevels);
    if (fits && chain) {
        for (int i = 0; i < chain->levelCount(); ++i) {
            MipmapChain::Level level = chain->level(i);
            glTexImage2D(GL_TEXTURE_2D, i, GL_RGBA8, level.width, level.height, 0, GL_RGBA,
                         GL_UNSIGNED_BYTE, level.rgba);
        }
        return;
    }
    putInRgbOrder();
    gluBuild2DMipmaps(GL_TEXTURE_2D, static_cast<GLint>(bitsPerPixel / 8), width, height, format,
                      GL_UNSIGNED_BYTE, pixels);
}

void Texture::flipImage(bool horizontal, bool vertical, unsigned bytesPerPixel) {
    if (pixels == nullptr || bytesPerPixel == 0 || bytesPerPixel > 4) {
        return;
    }
    std::uint8_t temporary[4];
    auto at = [&](int x, int y) {
        return pixels + (static_cast<std::size_t>(y) * width + x) * bytesPerPixel;
    };
    if (horizontal) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width / 2; ++x) {
                std::memcpy(temporary, at(x, y), bytesPerPixel);
                std::memcpy(at(x, y), at(width - 1 - x, y), bytesPerPixel);
                std::memcpy(at(width - 1 - x, y), temporary, bytesPerPixel);
            }
        }
    }
    if (vertical) {
        for (int y = 0; y < height / 2; ++y) {
            for (int x = 0; x < width; ++x) {
                std::memcpy(temporary, at(x, y), bytesPerPixel);
                std::memcpy(at(x, y), at(x, height - 1 - y), bytesPerPixel);
                std::memcpy(at(x, height - 1 - y), temporary, bytesPerPixel);
            }
        }
    }
}

Color4 Texture::getPixel(int x, int y) const {
    if (x < 0 || x >= width || y < 0 || y >= height || pixels == nullptr) {
        return Color4(0.0f, 0.0f, 0.0f, 1.0f);
    }
    std::size_t offset =
        (static_cast<std::size_t>(width) * y + static_cast<std::size_t>(x)) * bitsPerPixel / 8;
    const std::uint8_t* pixel = pixels + offset;
    return Color4(static_cast<int>(pixel[0]), static_cast<int>(pixel[1]),
                  static_cast<int>(pixel[2]), hasAlpha ? static_cast<int>(pixel[3]) : 255);
}

void bindOverlayTexture(unsigned glName, bool scaled) {
    glBindTexture(GL_TEXTURE_2D, glName);
    if (glName == 0 || !scaled) {
        return;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
}
