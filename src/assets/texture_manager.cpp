#include "assets/texture_manager.h"

#include <cstdarg>
#include <cstdio>
#include <new>
#include <utility>

#include "app/error_reporter.h"
#include "assets/texture_preload.h"

namespace {

// Backslashes become slashes; with lowerCase, A to Z become lower case too.
std::string normalisedName(std::string name, bool lowerCase) {
    for (char& c : name) {
        if (c == '\\') {
            c = '/';
        } else if (lowerCase && c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return name;
}

bool fileExists(const std::string& name) {
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}

// Textures are shared by their lower-cased name, but file systems here tell
// case apart: a player's folder with capitals must still be found. The name
// as written comes first, the lower-cased one (how the game's own data is
// stored) second; when neither exists, the name as written, so that the
// message names the path somebody wrote.
std::string nameToOpen(const std::string& given) {
    const std::string candidates[2] = {normalisedName(given, false), normalisedName(given, true)};
    for (const std::string& candidate : candidates) {
        if (fileExists(candidate)) {
            return candidate;
        }
    }
    return candidates[0];
}

}  // namespace

TextureManager::TextureManager() = default;

TextureManager::~TextureManager() {
    // No uploads on the way out: the pictures are dropped with their groups.
    m_vpPendingUploads.clear();
    m_pPreload.reset();
    releaseGroup(0);
    releaseGroup(1);
}

void TextureManager::preload(const std::vector<TextureRequest>& requests) {
    // A name loadTexture() refuses is simply never taken.
    std::vector<TextureRequest> opened = requests;
    for (TextureRequest& request : opened) {
        request.fileName = nameToOpen(request.fileName);
    }
    endPreload();
    m_pPreload.reset(new (std::nothrow) TexturePreload(std::move(opened)));
}

void TextureManager::endPreload() {
    for (Texture* texture : m_vpPendingUploads) {
        m_pPreload->levelsMade(texture);
        texture->uploadToGL();
    }
    m_vpPendingUploads.clear();
    m_pPreload.reset();
}

void TextureManager::failLoad() {
    showAndReset(RESET_NO_ERROR);
}

int TextureManager::findLoaded(const std::string& name, std::uint32_t& id) const {
    for (int group = 0; group < GROUP_COUNT; ++group) {
        for (std::size_t i = 0; i < m_textures[group].size(); ++i) {
            if (name == m_textures[group][i]->fileName) {
                id = static_cast<std::uint32_t>(i + 1);
                return group;
            }
        }
    }
    return -1;
}

TextureID TextureManager::loadTexture(int group, bool mipmap, unsigned filterQuality,
                                      std::uint8_t solid, std::string fileName) {
    TextureID none{group, 0};
    // Names that cannot be stored whole are refused like names too short to have an ending.
    if (fileName.size() <= 4 || fileName.size() >= Texture::FILE_NAME_SIZE - 1 ||
        !validGroup(group)) {
        reportError(ERROR_GAME, "%s\nInvalid texture filename.", fileName.c_str());
        failLoad();
        return none;
    }
    const std::string shared = normalisedName(fileName, true);

    std::uint32_t existing = 0;
    int foundIn = findLoaded(shared, existing);
    if (foundIn == group) {
        return TextureID{group, existing};
    }
    if (foundIn >= 0) {
        reportError(ERROR_GAME,
                    "%s\nTexture found in Group_%d, but attempting to save in Group_%d.",
                    fileName.c_str(), foundIn, group);
        failLoad();
        return none;
    }

    const std::string path = nameToOpen(fileName);
    Texture* texture = m_pPreload ? m_pPreload->take(path, mipmap, filterQuality, solid) : nullptr;
    if (texture != nullptr) {
        m_vpPendingUploads.push_back(texture);
    } else {
        texture = new (std::nothrow) Texture(mipmap, filterQuality, solid);
        if (texture == nullptr) {
            reportError(ERROR_MEMORY, "Can not create pTexture.");
            failLoad();
            return none;
        }
        if (!texture->loadImageFile(path)) {
            delete texture;
            failLoad();
            return none;
        }
    }
    std::snprintf(texture->fileName, Texture::FILE_NAME_SIZE, "%s", shared.c_str());
    m_textures[group].push_back(texture);
    return TextureID{group, static_cast<std::uint32_t>(m_textures[group].size())};
}

void TextureManager::releaseGroup(int group) {
    if (!validGroup(group)) {
        return;
    }
    if (m_pPreload) {
        endPreload();  // the thread may still be making a picture's levels
    }
    for (Texture* texture : m_textures[group]) {
        delete texture;
    }
    m_textures[group].clear();
    for (BitmapFont* font : m_fonts[group]) {
        delete font;
    }
    m_fonts[group].clear();
}

Texture* TextureManager::getTexture(int group, std::uint32_t id) const {
    if (!validGroup(group) || id == 0 || id > m_textures[group].size()) {
        return nullptr;
    }
    return m_textures[group][id - 1];
}

unsigned TextureManager::getTextureGLName(int group, std::uint32_t id) const {
    Texture* texture = getTexture(group, id);
    return texture != nullptr ? texture->glName : 0;
}

unsigned TextureManager::getTextureWidth(int group, std::uint32_t id) const {
    Texture* texture = getTexture(group, id);
    return texture != nullptr ? static_cast<unsigned>(texture->width) : 0;
}

std::pair<unsigned, unsigned> TextureManager::getTextureSize(int group, std::uint32_t id) const {
    Texture* texture = getTexture(group, id);
    if (texture == nullptr) {
        return {0, 0};
    }
    return {static_cast<unsigned>(texture->width), static_cast<unsigned>(texture->height)};
}

Color4 TextureManager::getTexturePixel(int group, std::uint32_t id, int x, int y) const {
    Texture* texture = getTexture(group, id);
    if (texture == nullptr) {
        return Color4(0.0f, 0.0f, 0.0f, 1.0f);
    }
    return texture->getPixel(x, y);
}

std::size_t TextureManager::textureCount(int group) const {
    return validGroup(group) ? m_textures[group].size() : 0;
}
