// Repeats a map image N x N times into one larger map for the benchmarks:
//   tile_map SOURCE N OUTPUT
// SOURCE is an uncompressed 24- or 32-bit TGA such as the generated
// resources/maps/castle.map; OUTPUT has the same format, pixel order and
// origin. The copies stand wall to wall, so each neighbouring pair gets one
// doorway through its shared wall, where a passage comes up to the wall on
// both sides: the result is one castle that can be walked end to end, still
// closed at its border as the source was. Fails when the source has no such
// passages or the result would leave an open cell unreachable.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int HEADER = 18;
// 8192 x 8192 at most, as the game reads.
constexpr long long MAX_SIDE = 8192;

struct Image {
    int width = 0;
    int height = 0;
    int bytes = 0;  // per pixel
    std::string header;
    std::string pixels;

    bool wall(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) {
            return true;
        }
        const std::size_t at = (static_cast<std::size_t>(y) * width + x) * bytes;
        // Blue, green, red: the game's walls are black whatever the alpha.
        return pixels[at] == 0 && pixels[at + 1] == 0 && pixels[at + 2] == 0;
    }
    void setPassage(int x, int y) {
        const std::size_t at = (static_cast<std::size_t>(y) * width + x) * bytes;
        for (int b = 0; b < bytes; ++b) {
            pixels[at + b] = static_cast<char>(0xFF);
        }
    }
};

int word(const std::string& s, int at) {
    return static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8);
}

bool readImage(const char* path, Image& image) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string file = bytes.str();
    if (file.size() < HEADER) {
        std::fprintf(stderr, "tile_map: %s is not a TGA image\n", path);
        return false;
    }
    const int type = static_cast<unsigned char>(file[2]);
    const int colourMap = static_cast<unsigned char>(file[1]);
    const int bits = static_cast<unsigned char>(file[16]);
    image.width = word(file, 12);
    image.height = word(file, 14);
    image.bytes = bits / 8;
    if (type != 2 || colourMap != 0 || (bits != 24 && bits != 32) || image.width < 3 ||
        image.height < 3) {
        std::fprintf(stderr, "tile_map: %s is not an uncompressed 24- or 32-bit TGA map\n", path);
        return false;
    }
    const std::size_t offset = HEADER + static_cast<unsigned char>(file[0]);
    const std::size_t size = static_cast<std::size_t>(image.width) * image.height * image.bytes;
    if (file.size() < offset + size) {
        std::fprintf(stderr, "tile_map: %s is cut short\n", path);
        return false;
    }
    image.header = file.substr(0, HEADER);
    image.header[0] = 0;  // no image id in the copy
    image.pixels = file.substr(offset, size);
    return true;
}

Image tiled(const Image& source, int n) {
    Image out = source;
    out.width = source.width * n;
    out.height = source.height * n;
    out.pixels.assign(static_cast<std::size_t>(out.width) * out.height * out.bytes, '\0');
    const std::size_t row = static_cast<std::size_t>(source.width) * source.bytes;
    for (int y = 0; y < out.height; ++y) {
        const char* from = source.pixels.data() + (y % source.height) * row;
        for (int copy = 0; copy < n; ++copy) {
            out.pixels.replace(
                (static_cast<std::size_t>(y) * out.width + copy * source.width) * source.bytes, row,
                from, row);
        }
    }
    out.header[12] = static_cast<char>(out.width & 0xFF);
    out.header[13] = static_cast<char>(out.width >> 8);
    out.header[14] = static_cast<char>(out.height & 0xFF);
    out.header[15] = static_cast<char>(out.height >> 8);
    return out;
}

// The first place (row for a wall between copies side by side, column for
// one between copies above each other) where an open cell of each copy
// meets the shared wall; -1 when there is none. Row and column 0 are left
// alone: the game never places anything there.
int doorway(const Image& source, bool sideBySide) {
    const int along = sideBySide ? source.height : source.width;
    const int across = sideBySide ? source.width : source.height;
    for (int i = 1; i + 1 < along; ++i) {
        auto wall = [&](int a) { return sideBySide ? source.wall(a, i) : source.wall(i, a); };
        if (wall(across - 1) && wall(0) && !wall(across - 2) && !wall(1)) {
            return i;
        }
    }
    return -1;
}

// Open cells not reachable from the first open cell.
long long unreachable(const Image& image) {
    std::vector<char> seen(static_cast<std::size_t>(image.width) * image.height, 0);
    std::vector<std::pair<int, int>> stack;
    long long open = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (!image.wall(x, y)) {
                ++open;
                if (stack.empty() && open == 1) {
                    stack.emplace_back(x, y);
                    seen[static_cast<std::size_t>(y) * image.width + x] = 1;
                }
            }
        }
    }
    long long reached = 0;
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        stack.pop_back();
        ++reached;
        const int step[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& s : step) {
            const int nx = x + s[0];
            const int ny = y + s[1];
            if (image.wall(nx, ny)) {
                continue;
            }
            char& mark = seen[static_cast<std::size_t>(ny) * image.width + nx];
            if (!mark) {
                mark = 1;
                stack.emplace_back(nx, ny);
            }
        }
    }
    return open - reached;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: tile_map SOURCE N OUTPUT\n");
        return 2;
    }
    Image source;
    if (!readImage(argv[1], source)) {
        return 1;
    }
    const long long n = std::atoll(argv[2]);
    if (n < 1 || n * source.width > MAX_SIDE || n * source.height > MAX_SIDE ||
        n * source.width > 0xFFFF || n * source.height > 0xFFFF) {
        std::fprintf(stderr, "tile_map: N must be at least 1 and keep the map within %lld cells\n",
                     MAX_SIDE);
        return 2;
    }
    Image out = tiled(source, static_cast<int>(n));
    if (n > 1) {
        const int row = doorway(source, true);
        const int column = doorway(source, false);
        if (row < 0 || column < 0) {
            std::fprintf(stderr, "tile_map: %s has no passage up to its border to join copies\n",
                         argv[1]);
            return 1;
        }
        for (int j = 0; j < n; ++j) {
            for (int i = 0; i + 1 < n; ++i) {
                out.setPassage((i + 1) * source.width - 1, j * source.height + row);
                out.setPassage((i + 1) * source.width, j * source.height + row);
                out.setPassage(j * source.width + column, (i + 1) * source.height - 1);
                out.setPassage(j * source.width + column, (i + 1) * source.height);
            }
        }
    }
    const long long lost = unreachable(out);
    if (lost != 0) {
        std::fprintf(stderr, "tile_map: %lld open cells of the tiled map cannot be reached\n",
                     lost);
        return 1;
    }
    std::ofstream file(argv[3], std::ios::binary | std::ios::trunc);
    file << out.header << out.pixels;
    file.close();
    if (!file) {
        std::fprintf(stderr, "tile_map: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
