// Loading times of the asset readers: a 1024 x 1024 32-bit TGA (uncompressed
// and run-length encoded), a QVR model of 20 000 triangles and a 500-line
// scene text file. The files are made once in a temporary folder. The QVR
// load compiles display lists, so it runs with a hidden window's GL context
// when one can be had (under Xvfb in `make bench`).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "assets/qvr_format.h"
#include "assets/qvr_reader.h"
#include "assets/qvr_writer.h"
#include "assets/scene_text.h"
#include "assets/texture.h"
#include "assets/texture_manager.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "scene/geometry_compiled.h"
#include "scene/node.h"
#include "scene/node_shape.h"
#include "scene/scene.h"

namespace {

constexpr int IMAGE_SIDE = 1024;
constexpr int GRID_SIDE = 100;  // 100 x 100 cells, two triangles each: 20 000
int g_messages = 0;             // problems the loaders showed (should stay 0)

void writeBytes(const std::string& path, const std::string& bytes) {
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

std::string tgaHeader(int type) {
    std::string h(18, '\0');
    h[2] = static_cast<char>(type);
    h[12] = static_cast<char>(IMAGE_SIDE & 0xFF);
    h[13] = static_cast<char>(IMAGE_SIDE >> 8);
    h[14] = h[12];
    h[15] = h[13];
    h[16] = 32;
    h[17] = 8;  // eight alpha bits, bottom-up rows
    return h;
}

// Bands of one colour with a sprinkling of single pixels: runs and raw
// packets both occur, as in painted textures.
std::uint32_t pixelAt(int x, int y) {
    if ((x * 7 + y * 13) % 29 == 0) {
        return 0xFF000000u | static_cast<std::uint32_t>(x * 2654435761u >> 8 & 0xFFFFFF);
    }
    return 0xFF000000u | static_cast<std::uint32_t>((y / 8) * 0x010203);
}

std::string uncompressedTga() {
    std::string bytes = tgaHeader(2);
    for (int y = 0; y < IMAGE_SIDE; ++y) {
        for (int x = 0; x < IMAGE_SIDE; ++x) {
            std::uint32_t p = pixelAt(x, y);
            bytes.append(reinterpret_cast<const char*>(&p), 4);
        }
    }
    return bytes;
}

std::string runLengthTga() {
    std::string bytes = tgaHeader(10);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < IMAGE_SIDE; ++y) {
        for (int x = 0; x < IMAGE_SIDE; ++x) {
            pixels.push_back(pixelAt(x, y));
        }
    }
    std::size_t i = 0;
    while (i < pixels.size()) {
        std::size_t run = 1;
        while (i + run < pixels.size() && run < 128 && pixels[i + run] == pixels[i]) {
            ++run;
        }
        if (run > 1) {
            bytes.push_back(static_cast<char>(0x80 | (run - 1)));
            bytes.append(reinterpret_cast<const char*>(&pixels[i]), 4);
            i += run;
            continue;
        }
        std::size_t raw = 1;
        while (i + raw < pixels.size() && raw < 128 &&
               (i + raw + 1 >= pixels.size() || pixels[i + raw] != pixels[i + raw + 1])) {
            ++raw;
        }
        bytes.push_back(static_cast<char>(raw - 1));
        bytes.append(reinterpret_cast<const char*>(&pixels[i]), 4 * raw);
        i += raw;
    }
    return bytes;
}

std::string sceneText() {
    std::string text = "// 500 lines of scene text\n";
    int lines = 1;
    for (int i = 1; i <= 60; ++i, ++lines) {
        text += "box geoid_" + std::to_string(i) + " wid_" + std::to_string(i % 5 + 1) +
                " dep_2 hei_3 name_box" + std::to_string(i) + "\n";
    }
    for (int i = 1; i <= 20; ++i, ++lines) {
        text += "cylinder geoid_" + std::to_string(100 + i) + " num_12 rad_0.5 hei_2\n";
    }
    for (int i = 1; i <= 40; ++i, ++lines) {
        text += "material matid_" + std::to_string(i) +
                " amb_0.2,0.2,0.2,1 dif_0.8,0.6,0.4,1 spec_0,0,0,1 shine_10\n";
    }
    for (int i = 1; i <= 20; ++i, ++lines) {
        text += "textfm textfmid_" + std::to_string(i) + " scale_2,2 rot_" + std::to_string(i) +
                " cent_0.5,0.5\n";
    }
    while (lines < 500) {
        int n = lines;
        text += "transform name_t" + std::to_string(n) + " trans_" + std::to_string(n % 40) +
                ",0," + std::to_string(n / 40) + " axis_0,1,0 angle_" + std::to_string(n % 360) +
                "\n";
        ++lines;
        for (int k = 0; k < 3 && lines < 500; ++k, ++lines) {
            text += "+shape geoid_" + std::to_string((n + k) % 60 + 1) + " matid_" +
                    std::to_string((n + k) % 40 + 1) + " textfmid_" + std::to_string(k % 20 + 1) +
                    " name_s" + std::to_string(n) + "_" + std::to_string(k) + "\n";
        }
    }
    return text;
}

// A 20 000-triangle grid with corner normals and texture coordinates.
GeometryCompiled* gridGeometry() {
    std::vector<float> vertices, normals, tex;
    std::vector<std::uint32_t> indices;
    for (int z = 0; z <= GRID_SIDE; ++z) {
        for (int x = 0; x <= GRID_SIDE; ++x) {
            vertices.insert(vertices.end(), {static_cast<float>(x), 0.0f, static_cast<float>(z)});
            tex.insert(tex.end(), {x / 10.0f, z / 10.0f});
        }
    }
    auto at = [](int x, int z) { return static_cast<std::uint32_t>(z * (GRID_SIDE + 1) + x); };
    for (int z = 0; z < GRID_SIDE; ++z) {
        for (int x = 0; x < GRID_SIDE; ++x) {
            indices.insert(indices.end(), {at(x, z), at(x, z + 1), at(x + 1, z)});
            indices.insert(indices.end(), {at(x + 1, z), at(x, z + 1), at(x + 1, z + 1)});
        }
    }
    for (std::size_t i = 0; i < indices.size(); ++i) {
        normals.insert(normals.end(), {0.0f, 1.0f, 0.0f});
    }
    auto* g = new GeometryCompiled(true, true);
    g->setVertices(vertices.data(), static_cast<int>(vertices.size()));
    g->setNormals(normals.data(), static_cast<int>(normals.size()));
    g->setTexCoords(tex.data(), static_cast<int>(tex.size()));
    g->setVertexIndices(indices.data(), static_cast<int>(indices.size()));
    g->setTexCoordIndices(indices.data(), static_cast<int>(indices.size()));
    return g;
}

// The program-wide pieces the loaders use, and the files they read.
class LoadingFixture {
public:
    LoadingFixture() : m_reporter(nullptr, false) {
        platform::setMessageBoxHandler([](const platform::MessageBoxRequest&) { ++g_messages; });
        folder = std::filesystem::temp_directory_path() /
                 ("spookhollow-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        writeBytes(file("plain.tga"), uncompressedTga());
        writeBytes(file("rle.tga"), runLengthTga());
        writeBytes(file("objects.lvl"), sceneText());

        hasContext = platform::startWindowSystem() &&
                     m_window.create("bench", 64, 64, false, 32) == platform::CreateResult::Ok &&
                     m_window.createContext() && m_window.makeCurrent();

        Scene scene;
        std::uint32_t geometry = scene.addGeometry(gridGeometry());
        NodeID top = scene.addNode(new NodeTransform, 0);
        scene.addNode(new NodeShape(scene.geometry(geometry)), top);
        QvrWriter writer;
        writer.saveQVR(file("grid.qvr"), scene.node(top));
    }
    ~LoadingFixture() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::string file(const char* name) const { return (folder / name).string(); }

    std::filesystem::path folder;
    bool hasContext = false;

private:
    ErrorReporter m_reporter;
    platform::Window m_window;
};

LoadingFixture& fixture() {
    static LoadingFixture instance;
    return instance;
}

void readTga(benchmark::State& state, const char* name) {
    const std::string path = fixture().file(name);
    for (auto _ : state) {
        Texture texture(false, 1, 1);
        if (!texture.readTGA(path, true)) {
            state.SkipWithError("TGA read failed");
            break;
        }
        benchmark::DoNotOptimize(texture.pixels);
    }
    state.SetBytesProcessed(state.iterations() * IMAGE_SIDE * IMAGE_SIDE * 4);
}

void BM_ReadTga1024Uncompressed(benchmark::State& state) {
    readTga(state, "plain.tga");
}
BENCHMARK(BM_ReadTga1024Uncompressed)->Unit(benchmark::kMillisecond);

void BM_ReadTga1024RunLength(benchmark::State& state) {
    readTga(state, "rle.tga");
}
BENCHMARK(BM_ReadTga1024RunLength)->Unit(benchmark::kMillisecond);

// Reading and checking the model file only: no scene, no GL.
void BM_ParseQvr20000Triangles(benchmark::State& state) {
    std::FILE* file = std::fopen(fixture().file("grid.qvr").c_str(), "rb");
    std::vector<std::uint8_t> bytes(8 << 20);
    bytes.resize(file != nullptr ? std::fread(bytes.data(), 1, bytes.size(), file) : 0);
    if (file != nullptr) {
        std::fclose(file);
    }
    for (auto _ : state) {
        QvrContents contents;
        std::string error;
        if (!parseQvr(bytes.data(), bytes.size(), "grid.qvr", contents, error) ||
            !checkQvrGeometry(contents.geometries.at(0).record, "grid.qvr", error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(contents.geometries.data());
    }
}
BENCHMARK(BM_ParseQvr20000Triangles)->Unit(benchmark::kMillisecond);

// The whole load into a scene, display list included.
void BM_LoadQvr20000Triangles(benchmark::State& state) {
    if (!fixture().hasContext) {
        state.SkipWithError("no GL context (run under Xvfb)");
        return;
    }
    const std::string path = fixture().file("grid.qvr");
    for (auto _ : state) {
        TextureManager textures;
        Scene scene;
        QvrReader reader(scene, textures, 3);
        if (!reader.loadQVR(path, 1, 0)) {
            state.SkipWithError("QVR load failed");
            break;
        }
        benchmark::DoNotOptimize(scene.geometry(1));
        auto* geometry = dynamic_cast<GeometryCompiled*>(scene.geometry(1));
        state.counters["triangles"] = geometry != nullptr ? geometry->numTriangles() : 0;
    }
    state.counters["messages"] = g_messages;
}
BENCHMARK(BM_LoadQvr20000Triangles)->Unit(benchmark::kMillisecond);

void BM_LoadSceneText500Lines(benchmark::State& state) {
    const std::string path = fixture().file("objects.lvl");
    for (auto _ : state) {
        TextureManager textures;
        Scene scene;
        SceneTextReader reader(scene, textures, 3);
        reader.loadSceneText(path.c_str(), 1);
        if (scene.nodeCount() == 0) {
            state.SkipWithError("nothing was read");
            break;
        }
        benchmark::DoNotOptimize(scene.nodeCount());
        state.counters["nodes"] = static_cast<double>(scene.nodeCount());
    }
    state.counters["messages"] = g_messages;
}
BENCHMARK(BM_LoadSceneText500Lines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
