// The texture manager's font operations.
#include <cstdarg>
#include <cstdio>
#include <new>

#include "app/error_reporter.h"
#include "assets/texture_manager.h"

#define FORMAT_INTO_TEXT_BUFFER(format)                         \
    do {                                                        \
        va_list args;                                           \
        va_start(args, format);                                 \
        std::vsnprintf(m_text, TEXT_BUFFER_SIZE, format, args); \
        va_end(args);                                           \
    } while (false)

namespace {

// A font the game asks for and does not get shows no box (the text is simply
// missing), so the reason goes to the error log.
FontID noFont(int group, std::uint32_t textureId, const char* reason) {
    logMessage("Can not create a font over texture %u of group %d: %s", textureId, group, reason);
    return FontID{group, 0};
}

}  // namespace

FontID TextureManager::createFont(int group, std::uint32_t textureId, unsigned cellSize,
                                  Color4 colour, float scale) {
    if (!validGroup(group)) {
        return noFont(group, textureId, "there is no such group");
    }
    if (cellSize == 0) {
        return noFont(group, textureId, "the cell size is 0");
    }
    if (textureId == 0 || textureId > m_textures[group].size()) {
        return noFont(group, textureId, "no such texture is loaded");
    }
    Texture* atlas = m_textures[group][textureId - 1];
    // Beside the picture as it was found; the game's own data stores it
    // under the shared, lower-cased name.
    std::string metricsName = atlas->openedName + ".txt";
    if (std::FILE* probe = std::fopen(metricsName.c_str(), "rb")) {
        std::fclose(probe);
    } else {
        metricsName = std::string(atlas->fileName) + ".txt";
    }
    auto metrics = std::make_unique<FontMetricsTable>();
    bool malformed = false;
    if (!readFontMetrics(metricsName, *metrics, malformed)) {
        metrics.reset();  // no metrics file: a fixed-width font
    } else if (malformed) {
        reportShowReset(
            RESET_NO_ERROR, ERROR_GAME,
            "File format in %s is invalid.\nMake sure there are 10 rows of numbers with 20 "
            "numbers in each row.\nEvery number must have a comma after it and a space after the "
            "comma.",
            metricsName.c_str());
        metrics.reset();
    }
    auto* font = new (std::nothrow) BitmapFont(atlas, cellSize, std::move(metrics));
    if (font == nullptr) {
        return noFont(group, textureId, "not enough memory");
    }
    font->setColour(colour);
    font->setScale(scale);
    m_fonts[group].push_back(font);
    return FontID{group, static_cast<std::uint32_t>(m_fonts[group].size())};
}

BitmapFont* TextureManager::getFont(int group, std::uint32_t fontId) const {
    if (!validGroup(group) || fontId == 0 || fontId > m_fonts[group].size()) {
        return nullptr;
    }
    return m_fonts[group][fontId - 1];
}

std::size_t TextureManager::fontCount(int group) const {
    return validGroup(group) ? m_fonts[group].size() : 0;
}

void TextureManager::setFontColour(int group, std::uint32_t fontId, float r, float g, float b,
                                   float a) {
    if (BitmapFont* font = getFont(group, fontId)) {
        font->setColour(Color4(r, g, b, a));
    }
}

void TextureManager::setFontScale(int group, std::uint32_t fontId, float scale) {
    if (BitmapFont* font = getFont(group, fontId)) {
        font->setScale(scale);
    }
}

Vector2 TextureManager::getTextSize(int group, std::uint32_t fontId, const char* format, ...) {
    BitmapFont* font = getFont(group, fontId);
    if (font == nullptr) {
        return Vector2(0.0f, 0.0f);
    }
    FORMAT_INTO_TEXT_BUFFER(format);
    return font->measure(m_text);
}

float TextureManager::getTextWidth(int group, std::uint32_t fontId, const char* format, ...) {
    BitmapFont* font = getFont(group, fontId);
    if (font == nullptr) {
        return 0.0f;
    }
    FORMAT_INTO_TEXT_BUFFER(format);
    return font->measure(m_text).x;
}

void TextureManager::printText(int group, std::uint32_t fontId, float x, float y,
                               const char* format, ...) {
    BitmapFont* font = getFont(group, fontId);
    if (font == nullptr) {
        return;
    }
    FORMAT_INTO_TEXT_BUFFER(format);
    font->print(Vector2(x, y), m_text, m_bOverlayScaled);
}
