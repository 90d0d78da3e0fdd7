#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "scene/color.h"
#include "scene/material.h"

class MipmapChain;
class Texture;

// What shapes see of a loaded texture. The scene knows textures only as
// ShapeTexture; the model writer reaches the file name through texture().
class TextureSurface : public ShapeTexture {
public:
    explicit TextureSurface(const Texture& texture) : m_texture(texture) {}
    unsigned glName() const override;
    bool isSolid() const override;
    const Texture& texture() const { return m_texture; }

private:
    const Texture& m_texture;
};

// One loaded image: read from a TGA file, then either uploaded to OpenGL
// (".tga" textures, whose pixels are then dropped) or kept in memory for
// pixel queries (".map" and ".png" images such as the castle map, and any
// map image a player names).
class Texture {
public:
    static constexpr std::size_t FILE_NAME_SIZE = 261;  // 259 characters + terminator (+1 spare)
    // 8192 x 8192: a 256 MB picture at most, whatever size a header claims.
    static constexpr std::int64_t MAX_PIXELS = 8192LL * 8192LL;

    Texture(bool mipmap, unsigned filterQuality, std::uint8_t solid);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Reads the file and, for a name ending in "tga" (in any case), uploads
    // it; reports why it failed.
    bool loadImageFile(const std::string& name);
    // The parts of loading a ".tga" file that need no OpenGL, so they can
    // run on another thread: readQuietly() reads it and reports nothing
    // (false when it could not: the usual load then reads it again and says
    // why), makeMipmapLevels() makes its mipmap levels (the upload makes
    // them otherwise). uploadToGL() then finishes the load on the main
    // thread.
    bool readQuietly(const std::string& name);
    void makeMipmapLevels();
    // keepFileOrder leaves the pixels blue-green-red as the file stores them
    // (blueFirst), for an upload that puts them in order on its way.
    bool readTGA(const std::string& name, bool checkSize, bool keepFileOrder = false);
    // A PNG picture of 8 bits per channel (grey, palette, RGB, with or
    // without alpha; other depths are converted), kept as RGBA with the same
    // size limit as a TGA file.
    bool readPNG(const std::string& name);
    // A map image in either format, told apart by its first bytes, read
    // without the size rules and reported to nobody: why receives the reason
    // it could not be read, naming the file.
    bool readMapImage(const std::string& name, std::string& why);
    void uploadToGL();
    void flipImage(bool horizontal, bool vertical, unsigned bytesPerPixel);

    // (0, 0, 0, 1) outside the image or when no pixels are kept; row 0 is the
    // bottom row.
    Color4 getPixel(int x, int y) const;

    // The view handed to shapes; it lives as long as the texture.
    TextureSurface& surface() { return m_surface; }

    unsigned bitsPerPixel = 0;
    unsigned glName = 0;
    char fileName[FILE_NAME_SIZE] = {};  // the name textures are shared by
    std::string openedName;              // the file it was read from
    std::uint8_t solid = 0;
    std::uint8_t* pixels = nullptr;  // bottom row first, RGB or RGBA; null when absent
    bool blueFirst = false;          // pixels are BGR or BGRA instead
    int width = 0;
    int height = 0;
    int hasAlpha = 0;
    bool mipmap = false;
    unsigned filterQuality = 0;

private:
    TextureSurface m_surface{*this};
    bool m_bQuiet = false;                   // while prepared on another thread
    std::string* m_pWhy = nullptr;           // takes the complaint instead, when set
    std::unique_ptr<MipmapChain> m_pLevels;  // until the upload

    void complain(int kind, const char* format, ...) const __attribute__((format(printf, 3, 4)));

    bool readHeader(std::FILE* file, const char* name, std::uint8_t* header);
    bool checkDimensions(const char* name, bool checkSize) const;
    bool fileCanHoldPixels(std::FILE* file, const char* name, int imageType) const;
    void swapRedAndBlue();
    void putInRgbOrder();  // swaps when blueFirst
    void uploadMipmaps(unsigned format);
    bool readPixelBlock(std::FILE* file, const char* name);
    bool readRunLengthPixels(std::FILE* file, const char* name);
    void freePixels();
};

inline unsigned TextureSurface::glName() const {
    return m_texture.glName;
}
inline bool TextureSurface::isSolid() const {
    return m_texture.solid != 0;
}

// Binds a picture of the 2D overlay. Drawn at a scale other than 1, it is
// sampled linearly, so scaled glyphs and panels keep even strokes instead of
// doubling every other pixel; unscaled it keeps the filter it was loaded with.
void bindOverlayTexture(unsigned glName, bool scaled);
