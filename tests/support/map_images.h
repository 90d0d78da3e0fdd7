#pragma once
// Map images drawn as text rows, top row first, written as TGA or PNG files:
// '#' wall, '.' passage, 'y' wood hall, 'm' carpet hall, 'g' a grey floor.
#include <png.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

inline std::vector<std::uint8_t> mapRgb(const std::vector<std::string>& rows) {
    std::vector<std::uint8_t> rgb;
    for (const std::string& row : rows) {
        for (char c : row) {
            switch (c) {
                case '#':
                    rgb.insert(rgb.end(), {0, 0, 0});
                    break;
                case '.':
                    rgb.insert(rgb.end(), {255, 255, 255});
                    break;
                case 'y':
                    rgb.insert(rgb.end(), {255, 255, 0});
                    break;
                case 'm':
                    rgb.insert(rgb.end(), {255, 0, 255});
                    break;
                case 'g':
                    rgb.insert(rgb.end(), {128, 128, 128});
                    break;
                default:
                    throw std::invalid_argument("no map colour for this character");
            }
        }
    }
    return rgb;
}

// 24 bits, stored top row first.
inline std::string mapTga(const std::vector<std::string>& rows) {
    const int width = rows.empty() ? 0 : static_cast<int>(rows[0].size());
    const int height = static_cast<int>(rows.size());
    std::string file(18, '\0');
    file[2] = 2;
    file[12] = static_cast<char>(width & 0xFF);
    file[13] = static_cast<char>(width >> 8);
    file[14] = static_cast<char>(height & 0xFF);
    file[15] = static_cast<char>(height >> 8);
    file[16] = 24;
    file[17] = 0x20;
    const std::vector<std::uint8_t> rgb = mapRgb(rows);
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        file += static_cast<char>(rgb[i + 2]);
        file += static_cast<char>(rgb[i + 1]);
        file += static_cast<char>(rgb[i]);
    }
    return file;
}

// 8-bit RGB through libpng, so the reader meets an ordinary encoder's file.
inline std::string mapPng(const std::vector<std::string>& rows) {
    const std::vector<std::uint8_t> rgb = mapRgb(rows);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = rows.empty() ? 0 : static_cast<png_uint_32>(rows[0].size());
    image.height = static_cast<png_uint_32>(rows.size());
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr) == 0) {
        throw std::runtime_error("libpng could not size the picture");
    }
    std::string file(size, '\0');
    if (png_image_write_to_memory(&image, &file[0], &size, 0, rgb.data(), 0, nullptr) == 0) {
        throw std::runtime_error("libpng could not write the picture");
    }
    file.resize(size);
    return file;
}
