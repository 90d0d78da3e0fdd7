// Font metrics files.
#include "assets/bitmap_font.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string path = fuzzEnvironment().write(data, size, "font.tga.txt");
    FontMetricsTable table{};
    bool malformed = false;
    readFontMetrics(path, table, malformed);
    return 0;
}
