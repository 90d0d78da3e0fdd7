// Reading TGA files: uncompressed (type 2) and run-length encoded (type 10)
// true-colour images of 24 or 32 bits, in any row and column order.
#include <cstdio>
#include <cstring>
#include <new>

#include "app/error_reporter.h"
#include "assets/texture.h"

namespace {

const std::size_t HEADER_SIZE = 18;
const int TYPE_UNCOMPRESSED = 2;
const int TYPE_RUN_LENGTH = 10;
const std::uint8_t RIGHT_TO_LEFT = 0x10;
const std::uint8_t TOP_TO_BOTTOM = 0x20;

class FileCloser {
public:
    explicit FileCloser(std::FILE* file) : m_file(file) {}
    ~FileCloser() {
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
    }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;

private:
    std::FILE* m_file;
};

bool isPowerOfTwo(int width) {
    if (width <= 1) {
        return false;
    }
    long value = 1;
    while (value < width) {
        value *= 2;
    }
    return value == width;
}

long bytesLeft(std::FILE* file) {
    long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    long end = std::ftell(file);
    std::fseek(file, here, SEEK_SET);
    return end - here;
}

// The fewest bytes a run-length block of this many pixels can take: every
// packet covers at most 128 pixels and holds a header byte and one pixel.
std::size_t smallestRunLengthBlock(std::size_t pixelCount, unsigned bytesPerPixel) {
    return (pixelCount + 127) / 128 * (1 + bytesPerPixel);
}

}  // namespace

bool Texture::readTGA(const std::string& nameText, bool checkSize, bool keepFileOrder) {
    const char* name = nameText.c_str();
    std::FILE* file = std::fopen(name, "rb");
    if (file == nullptr) {
        complain(ERROR_GAME, "Can not open %s.", name);
        return false;
    }
    FileCloser closer(file);

    std::uint8_t header[HEADER_SIZE];
    if (!readHeader(file, name, header) || !checkDimensions(name, checkSize)) {
        return false;
    }
    // Skip the image ID that follows the header.
    if (header[0] != 0 && std::fseek(file, header[0], SEEK_CUR) != 0) {
        complain(ERROR_GAME, "Can not load %s.\nFile is corrupted.", name);
        return false;
    }
    const int imageType = header[2];
    if (!fileCanHoldPixels(file, name, imageType)) {
        return false;
    }

    freePixels();
    const unsigned bytesPerPixel = bitsPerPixel / 8;
    pixels = new (std::nothrow) std::uint8_t[static_cast<std::size_t>(width) *
                                             static_cast<std::size_t>(height) * bytesPerPixel];
    if (pixels == nullptr) {
        complain(ERROR_MEMORY, "Can not load %s.\nNot enough free memory.", name);
        return false;
    }
    bool read = imageType == TYPE_UNCOMPRESSED ? readPixelBlock(file, name)
                                               : readRunLengthPixels(file, name);
    if (!read) {
        return false;
    }

    blueFirst = keepFileOrder;
    if (!blueFirst) {
        swapRedAndBlue();
    }
    std::uint8_t descriptor = header[17];
    flipImage((descriptor & RIGHT_TO_LEFT) != 0, (descriptor & TOP_TO_BOTTOM) != 0, bytesPerPixel);
    std::snprintf(fileName, FILE_NAME_SIZE, "%s", name);
    openedName = nameText;
    return true;
}

bool Texture::readHeader(std::FILE* file, const char* name, std::uint8_t* header) {
    if (std::fread(header, 1, HEADER_SIZE, file) != HEADER_SIZE) {
        complain(ERROR_GAME, "Error reading header in %s.", name);
        return false;
    }
    int imageType = header[2];
    if (imageType != TYPE_UNCOMPRESSED && imageType != TYPE_RUN_LENGTH) {
        complain(ERROR_GAME,
                 "Can not load %s.\nThis TGA file is saved in an unsupported file format.", name);
        return false;
    }
    bitsPerPixel = header[16];
    if (bitsPerPixel != 24 && bitsPerPixel != 32) {
        complain(
            ERROR_GAME,
            "Can not load %s.\nThis TGA file's color depth is %u.\nOnly allowed to have 24bpp or "
            "32bpp.",
            name, bitsPerPixel);
        return false;
    }
    hasAlpha = bitsPerPixel == 32 ? 1 : 0;
    // Sizes are unsigned in the format: up to 65535 each way.
    width = static_cast<std::uint16_t>(header[12] | (header[13] << 8));
    height = static_cast<std::uint16_t>(header[14] | (header[15] << 8));
    return true;
}

bool Texture::checkDimensions(const char* name, bool checkSize) const {
    if (checkSize) {
        if (width != height) {
            complain(ERROR_GAME,
                     "Can not load %s.\nThis file's size is %ux%u.\nSize must be square.", name,
                     static_cast<unsigned>(width), static_cast<unsigned>(height));
            return false;
        }
        if (!isPowerOfTwo(width)) {
            complain(
                ERROR_GAME,
                "Can not load %s.\nThis file's size is %ux%u.\nFile size must be in powers of two.",
                name, static_cast<unsigned>(width), static_cast<unsigned>(height));
            return false;
        }
    }
    // A map image has no size rule, but an empty one describes no picture at
    // all.
    if (width <= 0 || height <= 0) {
        complain(ERROR_GAME, "Can not load %s.\nFile is corrupted.", name);
        return false;
    }
    // Run-length packets let a small file claim a picture of gigabytes.
    if (static_cast<std::int64_t>(width) * height > MAX_PIXELS) {
        complain(ERROR_GAME, "Can not load %s.\nThis file's size is %ux%u.\nFile is too large.",
                 name, static_cast<unsigned>(width), static_cast<unsigned>(height));
        return false;
    }
    return true;
}

// Never allocate more than the rest of the file can fill.
bool Texture::fileCanHoldPixels(std::FILE* file, const char* name, int imageType) const {
    const unsigned bytesPerPixel = bitsPerPixel / 8;
    const std::size_t pixelCount =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const long left = bytesLeft(file);
    if (imageType == TYPE_UNCOMPRESSED) {
        if (left < 0 || static_cast<std::size_t>(left) < pixelCount * bytesPerPixel) {
            complain(ERROR_GAME, "Can not load %s.\nFile is corrupted.", name);
            return false;
        }
        return true;
    }
    if (left < 0 ||
        static_cast<std::size_t>(left) < smallestRunLengthBlock(pixelCount, bytesPerPixel)) {
        complain(ERROR_GAME, "Can not load data from %s.\nFile is corrupted.", name);
        return false;
    }
    return true;
}

namespace {

// The stride is a constant here so that the loop compiles to a fast one.
template <std::size_t STRIDE>
void swapFirstAndThird(std::uint8_t* pixels, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* pixel = pixels + i * STRIDE;
        const std::uint8_t first = pixel[0];
        pixel[0] = pixel[2];
        pixel[2] = first;
    }
}

}  // namespace

// Stored blue-green-red becomes red-green-blue.
void Texture::swapRedAndBlue() {
    const std::size_t pixelCount =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (bitsPerPixel == 32) {
        swapFirstAndThird<4>(pixels, pixelCount);
    } else {
        swapFirstAndThird<3>(pixels, pixelCount);
    }
}

bool Texture::readPixelBlock(std::FILE* file, const char* name) {
    std::size_t size = static_cast<std::size_t>(width) * height * (bitsPerPixel / 8);
    if (std::fread(pixels, 1, size, file) != size) {
        freePixels();
        complain(ERROR_GAME, "Can not load %s.\nFile is corrupted.", name);
        return false;
    }
    return true;
}

bool Texture::readRunLengthPixels(std::FILE* file, const char* name) {
    const unsigned bytesPerPixel = bitsPerPixel / 8;
    const std::size_t pixelCount = static_cast<std::size_t>(width) * height;
    std::size_t done = 0;
    auto corrupted = [&] {
        complain(ERROR_GAME, "Can not load data from %s.\nFile is corrupted.", name);
        return false;
    };
    while (done < pixelCount) {
        int packetHeader = std::fgetc(file);
        if (packetHeader == EOF) {
            return corrupted();
        }
        std::size_t count = (static_cast<unsigned>(packetHeader) & 0x7F) + 1;
        // A packet reaching past the picture would write beyond the buffer.
        if (count > pixelCount - done) {
            return corrupted();
        }
        std::uint8_t* out = pixels + done * bytesPerPixel;
        if ((packetHeader & 0x80) != 0) {
            std::uint8_t pixel[4];
            if (std::fread(pixel, 1, bytesPerPixel, file) != bytesPerPixel) {
                return corrupted();
            }
            for (std::size_t i = 0; i < count; ++i) {
                std::memcpy(out + i * bytesPerPixel, pixel, bytesPerPixel);
            }
        } else if (std::fread(out, 1, count * bytesPerPixel, file) != count * bytesPerPixel) {
            return corrupted();
        }
        done += count;
    }
    return true;
}
