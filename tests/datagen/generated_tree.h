#pragma once
// Runs the generator once per test binary into a temporary folder and hands
// out paths into it; the folder goes when the binary exits.
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "image.h"
#include "support/temp_dir.h"

namespace datagen_test {

inline bool runGenerator(const std::string& folder) {
    std::string command = std::string("'") + DATAGEN_EXE + "' '" + folder + "' > /dev/null";
    return std::system(command.c_str()) == 0;
}

// The resources folder generated for this test binary ("" when it failed).
inline const std::string& generatedRoot() {
    static std::unique_ptr<TempDir> dir;
    static std::string root;
    if (!dir) {
        dir = std::make_unique<TempDir>();
        root = dir->path() + "/resources";
        if (!runGenerator(root))
            root.clear();
    }
    return root;
}

inline std::string resource(const std::string& relative) {
    return generatedRoot() + "/" + relative;
}

inline datagen::Image loadImage(const std::string& relative, int* bitsPerPixel = nullptr) {
    datagen::Image image;
    datagen::readTga(resource(relative), image, bitsPerPixel);
    return image;
}

// Every file the game opens. Files the texture manager opens are stored
// under their lower-cased names.
inline const std::vector<std::string>& gameFiles() {
    static const std::vector<std::string> files = {
        "objects.lvl",
        "maps/castle.map",
        "textures/ground.tga",
        "textures/carpet.tga",
        "textures/wood.tga",
        "textures/ceiling.tga",
        "textures/box.tga",
        "textures/gui.tga",
        "textures/instructions.tga",
        "textures/largegraphics.tga",
        "fonts/largenumbers.tga",
        "fonts/largenumbers.tga.txt",
        "fonts/small.tga",
        "fonts/small.tga.txt",
        "fonts/scoreletters.tga",
        "fonts/scoreletters.tga.txt",
        "audio/btnOver.wav",
        "audio/footsteps.wav",
        "audio/radarOn.wav",
        "audio/radarOff.wav",
        "audio/radarBeep.wav",
        "audio/miss.wav",
        "audio/hit.wav",
        "audio/crossbowShoot.wav",
        "audio/crossbowLoad.wav",
        "audio/pickupArrows.wav",
        "audio/pickupHealth.wav",
        "audio/pickupPower.wav",
        "audio/ghostAttack.wav",
        "audio/ghost.wav",
        "audio/heartbeat.wav",
        "audio/intro.ogg",
        "audio/menu.ogg",
        "audio/play.ogg",
        "audio/gameOver.ogg",
        "models/ghost.qvr",
        "models/crossbow.qvr",
        "models/arrow.qvr",
        "models/mace.qvr",
        "models/healthPack.qvr",
        "models/powerCell.qvr",
        "models/arrowPickup.qvr",
    };
    return files;
}

}  // namespace datagen_test
