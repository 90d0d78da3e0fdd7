// PNG map images: the reader, then the map check over what it read.
#include <cstdlib>

#include "assets/texture.h"
#include "fuzz_support.h"
#include "game/map_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string path = fuzzEnvironment().write(data, size, "input.png");
    Texture texture(false, 1, 1);
    std::string why;
    if (!texture.readMapImage(path, why)) {
        if (why.empty()) {
            std::abort();
        }
        return 0;
    }
    texture.getPixel(0, 0);
    texture.getPixel(texture.width - 1, texture.height - 1);
    const MapReport report = checkMap(path, texture.width, texture.height,
                                      [&texture](int x, int y) { return texture.getPixel(x, y); });
    if (report.analysed && report.unreachableCells + report.largestArea != report.openCells) {
        std::abort();
    }
    return 0;
}
