#include "game/map_check.h"

#include <cstdio>
#include <memory>

#include "assets/texture.h"
#include "game/map_colours.h"
#include "scene/node.h"
#include "scene/node_shape.h"

namespace {

// What the level build allocates for one cell at most: two drawn parts (a
// floor and its ceiling, or a wall and the tall wall beside a hall), each a
// transform holding a shape, then the wall mask collisions read and the map
// pixel kept as RGBA.
constexpr std::size_t LEVEL_BYTES_PER_CELL =
    2 * (sizeof(NodeTransform) + sizeof(NodeShape)) + sizeof(int) + 4;
// What a map may make the level build take, whatever the machine: the
// generated castle needs well under a megabyte.
constexpr std::size_t MAP_MEMORY_BUDGET = std::size_t{256} << 20;

// Groups cells that share a side: the player cannot pass between two open
// cells that meet only at a corner, as the walls beside both keep him out
// of it. Returns the number of groups; label holds each cell's group, or -1.
template <typename Member>
int labelGroups(int width, int height, Member member, std::vector<int>& label,
                std::vector<int>& sizes) {
    label.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), -1);
    sizes.clear();
    std::vector<int> stack;
    auto index = [width](int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (label[index(x, y)] >= 0 || !member(x, y)) {
                continue;
            }
            const int group = static_cast<int>(sizes.size());
            sizes.push_back(0);
            label[index(x, y)] = group;
            stack.assign(1, static_cast<int>(index(x, y)));
            while (!stack.empty()) {
                const int cell = stack.back();
                stack.pop_back();
                ++sizes.back();
                const int cx = cell % width;
                const int cy = cell / width;
                const int side[4][2] = {{cx - 1, cy}, {cx + 1, cy}, {cx, cy - 1}, {cx, cy + 1}};
                for (const auto& n : side) {
                    if (n[0] < 0 || n[1] < 0 || n[0] >= width || n[1] >= height) {
                        continue;
                    }
                    const std::size_t at = index(n[0], n[1]);
                    if (label[at] < 0 && member(n[0], n[1])) {
                        label[at] = group;
                        stack.push_back(static_cast<int>(at));
                    }
                }
            }
        }
    }
    return static_cast<int>(sizes.size());
}

// Lists problems of one kind up to MAP_PROBLEMS_LISTED, then counts the rest.
class ProblemList {
public:
    explicit ProblemList(std::vector<MapProblem>& problems) : m_problems(problems) {}
    void add(int x, int y, std::string what) {
        if (++m_count <= MAP_PROBLEMS_LISTED) {
            m_problems.push_back(MapProblem{x, y, std::move(what)});
        }
    }
    void close(const char* kind) {
        if (m_count > MAP_PROBLEMS_LISTED) {
            char text[128];
            std::snprintf(text, sizeof text, "%zu more %s", m_count - MAP_PROBLEMS_LISTED, kind);
            m_problems.push_back(MapProblem{-1, -1, text});
        }
    }
    std::size_t count() const { return m_count; }

private:
    std::vector<MapProblem>& m_problems;
    std::size_t m_count = 0;
};

std::string refuse(const std::string& file, const std::string& reason) {
    return file + ": " + reason;
}

}  // namespace

std::int64_t maxMapCells() {
    return static_cast<std::int64_t>(MAP_MEMORY_BUDGET / LEVEL_BYTES_PER_CELL);
}

MapReport checkMap(const std::string& file, int width, int height,
                   const MapGrid::ColourAt& colourAt) {
    MapReport report;
    report.file = file;
    report.width = width;
    report.height = height;
    if (width < MAP_MIN_SIDE || height < MAP_MIN_SIDE) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "too small: the map is %d x %d pixels, and needs at least %d x %d to hold "
                      "a floor cell with walls round it.",
                      width, height, MAP_MIN_SIDE, MAP_MIN_SIDE);
        report.refusal = refuse(file, text);
        return report;
    }
    if (static_cast<std::int64_t>(width) * height > maxMapCells()) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "too big: the map is %d x %d pixels; the game builds at most %lld cells.",
                      width, height, static_cast<long long>(maxMapCells()));
        report.refusal = refuse(file, text);
        return report;
    }

    report.analysed = true;
    const MapGrid grid(width, height, colourAt);
    // Read once: the rules below visit every cell several times.
    std::vector<CellClass> classes(static_cast<std::size_t>(width) *
                                   static_cast<std::size_t>(height));
    auto at = [width](int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    };
    auto top = [height](int y) { return height - 1 - y; };
    ProblemList border(report.problems);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const CellClass c = grid.cellClass(x, y);
            classes[at(x, y)] = c;
            if (c == CellClass::Wall) {
                continue;
            }
            ++report.openCells;
            report.passageCells += c == CellClass::Passage ? 1 : 0;
            report.hallCells += c == CellClass::WoodHall || c == CellClass::CarpetHall ? 1 : 0;
            if (x == 0 || y == 0 || x == width - 1 || y == height - 1) {
                border.add(x, top(y), "open cell on the edge: the player could walk off the map");
            }
        }
    }
    border.close("open cells on the edge");

    // A floor of another colour is built under a hall's high ceiling, but
    // only hall cells raise the walls and passages beside them: next to one
    // that is not raised, the ceiling leaves a gap to the sky.
    auto isHall = [&](int x, int y) {
        const CellClass c = grid.contains(x, y) ? classes[at(x, y)] : CellClass::Wall;
        return c == CellClass::WoodHall || c == CellClass::CarpetHall;
    };
    auto raised = [&](int x, int y) {
        const CellClass c = grid.contains(x, y) ? classes[at(x, y)] : CellClass::Wall;
        if (c != CellClass::Wall && c != CellClass::Passage) {
            return true;
        }
        return isHall(x - 1, y) || isHall(x + 1, y) || isHall(x, y - 1) || isHall(x, y + 1);
    };
    ProblemList other(report.problems);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            if (classes[at(x, y)] != CellClass::Other) {
                continue;
            }
            ++report.otherCells;
            if (raised(x - 1, y) && raised(x + 1, y) && raised(x, y - 1) && raised(x, y + 1)) {
                continue;
            }
            const Color4 c = grid.colour(x, y);
            char text[240];
            std::snprintf(text, sizeof text,
                          "floor of colour #%02X%02X%02X has a hall's high ceiling but a low wall "
                          "beside it: put such floors inside a yellow or magenta hall",
                          static_cast<unsigned>(c.r * 255.0f + 0.5f),
                          static_cast<unsigned>(c.g * 255.0f + 0.5f),
                          static_cast<unsigned>(c.b * 255.0f + 0.5f));
            other.add(x, top(y), text);
        }
    }
    other.close("floors with a low wall beside them");

    std::vector<int> label;
    std::vector<int> sizes;
    report.halls = labelGroups(
        width, height,
        [&](int x, int y) {
            const CellClass c = classes[at(x, y)];
            return c != CellClass::Wall && c != CellClass::Passage;
        },
        label, sizes);
    report.areas = labelGroups(
        width, height, [&](int x, int y) { return classes[at(x, y)] != CellClass::Wall; }, label,
        sizes);
    int largest = -1;
    for (int i = 0; i < static_cast<int>(sizes.size()); ++i) {
        if (largest < 0 ||
            sizes[static_cast<std::size_t>(i)] > sizes[static_cast<std::size_t>(largest)]) {
            largest = i;
        }
    }
    if (largest >= 0) {
        report.largestArea = sizes[static_cast<std::size_t>(largest)];
        report.unreachableCells = report.openCells - report.largestArea;
    }
    // One line per cut-off area, at its top-left cell as the editor shows it.
    ProblemList pockets(report.problems);
    std::vector<bool> told(sizes.size(), false);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const int group = label[at(x, y)];
            if (group < 0 || group == largest || told[static_cast<std::size_t>(group)]) {
                continue;
            }
            told[static_cast<std::size_t>(group)] = true;
            const int size = sizes[static_cast<std::size_t>(group)];
            char text[200];
            std::snprintf(text, sizeof text,
                          "%d open cell%s cut off from the largest open area: a player or a "
                          "pickup placed there cannot reach the rest",
                          size, size == 1 ? "" : "s");
            pockets.add(x, top(y), text);
        }
    }
    pockets.close("areas cut off");

    if (report.openCells == 0) {
        report.refusal = refuse(file, "no open cell: the map must have at least one floor cell.");
    } else if (border.count() > 0) {
        const MapProblem& first = report.problems.front();
        char text[200];
        std::snprintf(text, sizeof text,
                      "open cell on the edge at (%d, %d): every cell on the map's edge must be a "
                      "wall (black).",
                      first.x, first.y);
        report.refusal = refuse(file, text);
    }
    return report;
}

MapReport checkMapFile(const std::string& path) {
    auto image = std::make_unique<Texture>(false, 1, 1);
    std::string why;
    if (!image->readMapImage(path, why)) {
        MapReport report;
        report.file = path;
        for (char& c : why) {
            c = c == '\n' ? ' ' : c;
        }
        report.refusal = why;
        return report;
    }
    const Texture& texture = *image;
    return checkMap(path, texture.width, texture.height,
                    [&texture](int x, int y) { return texture.getPixel(x, y); });
}

std::string describeMap(const MapReport& report) {
    std::string text;
    char line[320];
    auto add = [&text, &line] { text += line; };
    std::snprintf(line, sizeof line, "%s\n", report.file.c_str());
    add();
    if (report.width > 0) {
        std::snprintf(line, sizeof line, "  size: %d x %d pixels\n", report.width, report.height);
        add();
    }
    if (report.analysed) {
        std::snprintf(line, sizeof line,
                      "  open cells: %d (%d passage, %d hall, %d hall floor of other colours)\n",
                      report.openCells, report.passageCells, report.hallCells, report.otherCells);
        add();
        std::snprintf(line, sizeof line, "  halls: %d\n", report.halls);
        add();
        std::snprintf(line, sizeof line, "  open areas: %d, the largest of %d cells\n",
                      report.areas, report.largestArea);
        add();
        if (report.openCells > 0) {
            std::snprintf(line, sizeof line,
                          "  start: a random open cell, drawn anew each game (%d to choose from)\n",
                          report.openCells);
            add();
        }
        std::snprintf(line, sizeof line, "  unreachable cells: %d\n", report.unreachableCells);
        add();
    }
    for (const MapProblem& problem : report.problems) {
        if (problem.x >= 0) {
            std::snprintf(line, sizeof line, "  at (%d, %d): %s\n", problem.x, problem.y,
                          problem.what.c_str());
        } else {
            std::snprintf(line, sizeof line, "  %s\n", problem.what.c_str());
        }
        add();
    }
    text += report.playable() ? "  the map can be played\n" : "  refused: " + report.refusal + "\n";
    return text;
}
