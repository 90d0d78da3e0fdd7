// Reading PNG map images through libpng's simplified interface, which
// converts every colour type and depth to RGBA and checks the stream's
// chunks and sums on the way, and telling PNG maps from TGA ones.
#include <png.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "app/error_reporter.h"
#include "assets/texture.h"

namespace {

constexpr std::size_t PNG_SIGNATURE_SIZE = 8;
constexpr std::size_t TGA_HEADER_SIZE = 18;

// Frees what libpng holds for the image on every way out.
class PngImageCloser {
public:
    explicit PngImageCloser(png_image& image) : m_image(image) {}
    ~PngImageCloser() { png_image_free(&m_image); }
    PngImageCloser(const PngImageCloser&) = delete;
    PngImageCloser& operator=(const PngImageCloser&) = delete;

private:
    png_image& m_image;
};

// A TGA header the reader takes: true-colour, raw or run-length, 24 or 32
// bits. Anything else is no map image at all, which says more than the TGA
// reader's complaint about an unsupported TGA would.
bool looksLikeTga(const std::uint8_t* header) {
    const int type = header[2];
    const int bits = header[16];
    return (type == 2 || type == 10) && (bits == 24 || bits == 32);
}

}  // namespace

bool Texture::readPNG(const std::string& nameText) {
    const char* name = nameText.c_str();
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    PngImageCloser closer(image);
    if (png_image_begin_read_from_file(&image, name) == 0) {
        complain(ERROR_GAME, "Can not load %s.\nThis PNG file is damaged (%s).", name,
                 image.message);
        return false;
    }
    // The header alone can claim a picture of gigabytes.
    if (image.width == 0 || image.height == 0 ||
        static_cast<std::int64_t>(image.width) * image.height > MAX_PIXELS) {
        complain(ERROR_GAME, "Can not load %s.\nThis file's size is %ux%u.\nFile is too large.",
                 name, static_cast<unsigned>(image.width), static_cast<unsigned>(image.height));
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
    const std::size_t size = rowBytes * image.height;
    freePixels();
    pixels = new (std::nothrow) std::uint8_t[size];
    if (pixels == nullptr) {
        complain(ERROR_MEMORY, "Can not load %s.\nNot enough free memory.", name);
        return false;
    }
    // A negative stride stores the rows bottom first, as kept pictures are.
    const png_int_32 stride = -static_cast<png_int_32>(rowBytes);
    if (png_image_finish_read(&image, nullptr, pixels, stride, nullptr) == 0) {
        freePixels();
        complain(ERROR_GAME, "Can not load %s.\nThis PNG file is damaged (%s).", name,
                 image.message);
        return false;
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    bitsPerPixel = 32;
    hasAlpha = 1;
    blueFirst = false;
    std::snprintf(fileName, FILE_NAME_SIZE, "%s", name);
    openedName = nameText;
    return true;
}

bool Texture::readMapImage(const std::string& name, std::string& why) {
    why.clear();
    std::uint8_t start[TGA_HEADER_SIZE] = {};
    std::size_t got = 0;
    if (std::FILE* file = std::fopen(name.c_str(), "rb")) {
        got = std::fread(start, 1, sizeof start, file);
        std::fclose(file);
    } else {
        why = "Can not open " + name + ".";
        return false;
    }
    const bool png = got >= PNG_SIGNATURE_SIZE && png_sig_cmp(start, 0, PNG_SIGNATURE_SIZE) == 0;
    if (!png && (got < TGA_HEADER_SIZE || !looksLikeTga(start))) {
        why = "Can not load " + name +
              ".\nIt is not a picture maps are read from (PNG, or TGA of 24 or 32 bits).";
        return false;
    }
    m_pWhy = &why;
    const bool read = png ? readPNG(name) : readTGA(name, false);
    m_pWhy = nullptr;
    return read;
}
