#include "game/screens/menu_art.h"

#include "app/error_reporter.h"

namespace {

bool loaded(const TextureID& id) {
    return id.id != 0;
}

// A font over a whole picture of letters; the picture's loader reports its
// own failure, the font's is reported here.
FontID loadFont(TextureManager& textures, const char* file, unsigned cellSize,
                const Color4& colour) {
    TextureID letters = textures.loadTexture(0, false, 4, 0, file);
    if (!loaded(letters)) {
        return FontID{};
    }
    FontID font = textures.createFont(0, letters.id, cellSize, colour, 1.0f);
    if (font.id == 0) {
        reportError(ERROR_MEMORY, "Can not create the font of %s.", file);
    }
    return font;
}

}  // namespace

bool MenuArt::loadPictures(TextureManager& textures) {
    gui = textures.loadTexture(0, false, 1, 0, "resources/textures/GUI.tga");
    if (!loaded(gui)) {
        return false;
    }
    instructions = textures.loadTexture(0, false, 1, 0, "resources/textures/instructions.tga");
    if (!loaded(instructions)) {
        return false;
    }
    largeGraphics = textures.loadTexture(0, false, 4, 0, "resources/textures/largeGraphics.tga");
    return loaded(largeGraphics);
}

bool MenuArt::loadScoreFont(TextureManager& textures) {
    scoreFont = loadFont(textures, "resources/fonts/ScoreLetters.tga", 25,
                         Color4(1.0f / 255.0f, 1.0f / 255.0f, 1.0f / 255.0f, 1.0f));
    return scoreFont.id != 0;
}

bool MenuArt::loadSmallFont(TextureManager& textures) {
    smallFont = loadFont(textures, "resources/fonts/Small.tga", 12, Color4(0.0f, 0.0f, 0.0f, 1.0f));
    return smallFont.id != 0;
}
