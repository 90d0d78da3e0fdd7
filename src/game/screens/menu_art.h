#pragma once
#include "assets/texture_manager.h"

// The pictures and fonts the screens share, loaded once into content group 0,
// which lives as long as the game object. The HUD's game-over picture comes
// from `instructions` too.
struct MenuArt {
    TextureID gui;
    TextureID instructions;
    TextureID largeGraphics;
    FontID scoreFont;
    FontID smallFont;

    // Three parts, each loaded just before the first screen that uses it:
    // the texture and font ids follow from that order, and a start-up that
    // fails on a missing font has set up the same screens as always. False
    // when a file cannot be read or a font made (the reason is reported).
    bool loadPictures(TextureManager& textures);
    bool loadScoreFont(TextureManager& textures);
    bool loadSmallFont(TextureManager& textures);
};
