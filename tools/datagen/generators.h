#pragma once
#include <string>

// One generator per kind of game data. Each writes its files below `root`
// (the resources/ folder), creates the sub-folders it needs, and returns false
// after printing a message when something cannot be written.
namespace datagen {

bool generateLevel(const std::string& root);     // objects.lvl, maps/castle.map
bool generateTextures(const std::string& root);  // textures/ground, carpet, wood, ceiling, box
bool generateFonts(const std::string& root);     // fonts/*.tga, metrics, the HUD parts
bool generateGui(const std::string& root);       // textures/gui, instructions, largegraphics
bool generateSounds(const std::string& root);    // audio/*.wav
bool generateMusic(const std::string& root);     // audio/*.ogg
bool generateModels(const std::string& root);    // models/*.qvr and their skins
// Not game data: the desktop icons, hicolor/<n>x<n>/apps/spookhollow.png below root.
bool generateIcons(const std::string& root);

// Creates the folder (and its parents); false with a message when it fails.
bool makeFolder(const std::string& path);

}  // namespace datagen
