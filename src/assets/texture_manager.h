#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "assets/bitmap_font.h"
#include "assets/texture.h"
#include "scene/color.h"
#include "scene/vector.h"

// A texture or font handle: group 0 (kept for the whole run) or 1 (the
// level's), and a 1-based id in that group's list, 0 meaning none.
struct TextureID {
    std::int32_t group = 0;
    std::uint32_t id = 0;
};
using FontID = TextureID;

// A picture to read ahead, with the settings it will be loaded with.
struct TextureRequest {
    std::string fileName;
    bool mipmap;
    unsigned filterQuality;
    std::uint8_t solid;
};

class TexturePreload;

// Owns every loaded image and bitmap font, in two groups that are released
// separately. A file asked for twice is read once and shared.
class TextureManager {
public:
    static constexpr int GROUP_COUNT = 2;
    static constexpr std::size_t TEXT_BUFFER_SIZE = 128;

    TextureManager();
    ~TextureManager();
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    TextureID loadTexture(int group, bool mipmap, unsigned filterQuality, std::uint8_t solid,
                          std::string fileName);
    // Starts reading these pictures on another thread, in this order.
    // loadTexture() of one of them with the same settings then takes it from
    // there once it is read, and leaves its upload to endPreload(), so its
    // mipmap levels can be made meanwhile: until then it has no OpenGL name.
    void preload(const std::vector<TextureRequest>& requests);
    // Uploads what was taken and ends the preload. Releasing a group ends
    // it too.
    void endPreload();
    void releaseGroup(int group);

    Texture* getTexture(int group, std::uint32_t id) const;
    unsigned getTextureGLName(int group, std::uint32_t id) const;
    unsigned getTextureWidth(int group, std::uint32_t id) const;
    std::pair<unsigned, unsigned> getTextureSize(int group, std::uint32_t id) const;
    Color4 getTexturePixel(int group, std::uint32_t id, int x, int y) const;
    std::size_t textureCount(int group) const;

    // Fonts over loaded atlas textures.
    FontID createFont(int group, std::uint32_t textureId, unsigned cellSize, Color4 colour,
                      float scale);
    void setFontColour(int group, std::uint32_t fontId, float r, float g, float b, float a);
    void setFontScale(int group, std::uint32_t fontId, float scale);
    Vector2 getTextSize(int group, std::uint32_t fontId, const char* format, ...)
        __attribute__((format(printf, 4, 5)));
    float getTextWidth(int group, std::uint32_t fontId, const char* format, ...)
        __attribute__((format(printf, 4, 5)));
    void printText(int group, std::uint32_t fontId, float x, float y, const char* format, ...)
        __attribute__((format(printf, 6, 7)));
    BitmapFont* getFont(int group, std::uint32_t fontId) const;
    std::size_t fontCount(int group) const;
    // Text and GUI pictures are drawn scaled to the window (the GUI sets
    // this with its layout), so they are sampled smoothly.
    void setOverlayScaled(bool scaled) { m_bOverlayScaled = scaled; }
    bool overlayScaled() const { return m_bOverlayScaled; }

private:
    static bool validGroup(int group) { return group >= 0 && group < GROUP_COUNT; }
    // Looks a normalised name up in both groups; returns the group, or -1.
    int findLoaded(const std::string& name, std::uint32_t& id) const;
    void failLoad();

    std::vector<Texture*> m_textures[GROUP_COUNT];
    std::vector<BitmapFont*> m_fonts[GROUP_COUNT];
    char m_text[TEXT_BUFFER_SIZE] = {};
    std::unique_ptr<TexturePreload> m_pPreload;
    std::vector<Texture*> m_vpPendingUploads;  // taken from the preload
    bool m_bOverlayScaled = false;
};
