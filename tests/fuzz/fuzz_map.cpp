// The level's reading of a map image: every cell's class and wall mask and
// a free cell, as the level build asks for them.
#include <algorithm>
#include <cstdlib>

#include "assets/texture.h"
#include "fuzz_support.h"
#include "game/map_grid.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string path = fuzzEnvironment().write(data, size, "castle.map");
    Texture texture(false, 1, 1);
    if (!texture.readTGA(path, false)) {
        return 0;
    }
    const int width = static_cast<int>(texture.width);
    const int height = static_cast<int>(texture.height);
    MapGrid grid(width, height, [&texture](int x, int y) { return texture.getPixel(x, y); });
    // The whole of a small map, a corner of a large one: the time goes on
    // the rules, not on re-reading the same pixels.
    const int right = std::min(width, 96) + 1;
    const int bottom = std::min(height, 96) + 1;
    for (int y = -1; y <= bottom; ++y) {
        for (int x = -1; x <= right; ++x) {
            grid.cellClass(x, y);
            int mask = grid.wallMask(x, y);
            if (mask < 0 || mask > 255) {
                std::abort();
            }
        }
    }
    int x = -1;
    int y = -1;
    if (grid.findFreeCell(nullptr, x, y)) {
        if (!grid.isOpen(x, y) || !grid.contains(x, y)) {
            std::abort();
        }
    } else if (x != 0 || y != 0) {
        std::abort();
    }
    return 0;
}
