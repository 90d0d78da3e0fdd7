// TGA images read without the size rules (as map images are).
#include "assets/texture.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string path = fuzzEnvironment().write(data, size, "input.map");
    Texture texture(false, 1, 1);
    if (texture.readTGA(path, false)) {
        texture.getPixel(0, 0);
        texture.getPixel(texture.width - 1, texture.height - 1);
    }
    return 0;
}
