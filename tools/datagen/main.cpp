// datagen: writes every file of the game's resources/ folder.
// Usage: datagen <resources folder>
//        datagen --icons <folder>   (the desktop icons, for installing)
#include <chrono>
#include <cstdio>
#include <cstring>

#include "generators.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) {
        return datagen::generateIcons(argv[2]) ? 0 : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources folder> | --icons <folder>\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    struct Step {
        const char* name;
        bool (*run)(const std::string&);
    };
    const Step steps[] = {
        {"level", datagen::generateLevel},   {"textures", datagen::generateTextures},
        {"fonts", datagen::generateFonts},   {"gui", datagen::generateGui},
        {"models", datagen::generateModels}, {"sounds", datagen::generateSounds},
        {"music", datagen::generateMusic},
    };
    if (!datagen::makeFolder(root))
        return 1;
    for (const Step& step : steps) {
        auto start = std::chrono::steady_clock::now();
        if (!step.run(root)) {
            std::fprintf(stderr, "datagen: %s failed\n", step.name);
            return 1;
        }
        // Timing goes to the console only; it never reaches a generated file.
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("datagen: %-8s %.2f s\n", step.name, seconds);
    }
    return 0;
}
