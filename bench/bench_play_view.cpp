// The play view of the castle at 1024 x 768, drawn by the engine's render
// pass and by two references built here from the same triangles: static
// vertex buffers per texture drawn whole (unculled), and the same buffers cut
// into chunks of 8 x 8 cells of which only those inside the view are drawn
// (culled). Frames of the three are alternated at every viewpoint, so each
// ratio is measured side by side. The same views are then drawn in the castle
// map tiled to 64 x 64, 128 x 128 and 256 x 256 cells.
//
// Run under Xvfb: xvfb-run -a -s "-screen 0 1280x1024x24" bench_play_view
//   --rounds N      frames per viewpoint and mode (default 15)
//   --maps LIST     comma-separated sizes out of 32,64,128,256 (default all)
//   --dump DIR      write the engine's picture of every viewpoint as PPM
//   --compare DIR   compare the engine's pictures with an earlier dump
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "game/game_scene.h"
#include "game/map_colours.h"
#include "input/game_settings.h"
#include "platform/clock.h"
#include "platform/heap.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "scene/affine.h"
#include "scene/geometry_compiled.h"
#include "scene/geometry_primitives.h"
#include "scene/material.h"
#include "scene/math_constants.h"
#include "scene/node.h"
#include "scene/node_shape.h"
#include "scene/scene_cull.h"

namespace {

namespace fs = std::filesystem;

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 768;
constexpr int CHUNK_CELLS = 8;
constexpr float VIEW_DISTANCE = 55.0f;
int g_messages = 0;

class FixedClock : public platform::Clock {
public:
    std::uint64_t counterFrequency() override { return 1000000; }
    std::uint64_t counter() override { return 1000; }
    std::uint32_t milliseconds() override { return 1; }
};

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// ---- The references: the scene's triangles in world space. ----

struct Vertex {
    float position[3];
    float normal[3];
    float tex[2];
};

struct Triangle {
    Vertex v[3];
};

class TriangleSink {
public:
    TriangleSink(const Affine& m, std::vector<Triangle>& out) : m_matrix(m), m_out(out) {}
    void add(const Vector3 p[3], const Vector3 n[3], const Vector2 t[3]) {
        Triangle tri;
        for (int k = 0; k < 3; ++k) {
            Vector3 wp = m_matrix.apply(p[k]);
            Vector3 wn = m_matrix.applyToNormal(n[k]);
            tri.v[k] = {{wp.x, wp.y, wp.z}, {wn.x, wn.y, wn.z}, {t[k].x, t[k].y}};
        }
        m_out.push_back(tri);
    }

private:
    Affine m_matrix;
    std::vector<Triangle>& m_out;
};

void boxTriangles(const GeometryBox& box, TriangleSink& sink) {
    GeometryPrimitive::Corner c[GeometryBox::CORNERS];
    box.corners(c);
    for (int q = 0; q < GeometryBox::CORNERS; q += 4) {
        Vector3 n[3] = {c[q].normal, c[q].normal, c[q].normal};
        Vector3 a[3] = {c[q].position, c[q + 1].position, c[q + 2].position};
        Vector2 ta[3] = {c[q].tex, c[q + 1].tex, c[q + 2].tex};
        sink.add(a, n, ta);
        Vector3 b[3] = {c[q].position, c[q + 2].position, c[q + 3].position};
        Vector2 tb[3] = {c[q].tex, c[q + 2].tex, c[q + 3].tex};
        sink.add(b, n, tb);
    }
}

void gridTriangles(const GeometryFlatGrid& grid, TriangleSink& sink) {
    if (!grid.vertices()) {
        return;
    }
    const int nx = grid.numX(), nz = grid.numZ();
    const Vector3 up(0, 1, 0);
    Vector3 n[3] = {up, up, up};
    auto entry = [&](int row, int c) { return row * (nx + 1) + c; };
    for (int k = 0; k < nz; ++k) {
        for (int c = 0; c < nx; ++c) {
            int e[4] = {entry(k, c), entry(k + 1, c), entry(k, c + 1), entry(k + 1, c + 1)};
            Vector3 a[3] = {grid.vertices()[e[0]], grid.vertices()[e[1]], grid.vertices()[e[2]]};
            Vector2 ta[3] = {grid.texCoords()[e[0]], grid.texCoords()[e[1]],
                             grid.texCoords()[e[2]]};
            sink.add(a, n, ta);
            Vector3 b[3] = {grid.vertices()[e[2]], grid.vertices()[e[1]], grid.vertices()[e[3]]};
            Vector2 tb[3] = {grid.texCoords()[e[2]], grid.texCoords()[e[1]],
                             grid.texCoords()[e[3]]};
            sink.add(b, n, tb);
        }
    }
}

void compiledTriangles(const GeometryCompiled& g, TriangleSink& sink) {
    const std::size_t count = static_cast<std::size_t>(g.numTriangles());
    for (std::size_t t = 0; t < count; ++t) {
        Vector3 p[3], n[3];
        Vector2 tc[3];
        bool ok = true;
        for (std::size_t k = 0; k < 3 && ok; ++k) {
            std::size_t i = 3 * t + k;
            std::size_t ni = g.perVertexNormals() ? i : t;
            ok = i < g.vertexIndices().size() && g.vertexIndices()[i] < g.vertices().size() &&
                 ni < g.normals().size();
            if (ok && g.hasTexCoords()) {
                ok =
                    i < g.texCoordIndices().size() && g.texCoordIndices()[i] < g.texCoords().size();
            }
            if (ok) {
                p[k] = g.vertices()[g.vertexIndices()[i]];
                n[k] = g.normals()[ni];
                tc[k] = g.hasTexCoords() ? g.texCoords()[g.texCoordIndices()[i]] : Vector2();
            }
        }
        if (ok) {
            sink.add(p, n, tc);
        }
    }
}

struct Extracted {
    std::map<unsigned, std::vector<Triangle>> byTexture;
    int shapes = 0;
    int skippedShapes = 0;
};

void extract(Node* first, const Affine& parent, Extracted& out) {
    for (Node* node = first; node; node = node->next()) {
        if (node->isTransform()) {
            auto* t = static_cast<NodeTransform*>(node);
            if (t->isVisible() && t->child()) {
                extract(t->child(), parent.times(Affine::ofTransform(*t)), out);
            }
        } else if (node->isShape()) {
            auto* shape = static_cast<NodeShape*>(node);
            unsigned texture = shape->texture() ? shape->texture()->glName() : 0;
            std::vector<Triangle>& list = out.byTexture[texture];
            TriangleSink sink(parent, list);
            ++out.shapes;
            if (auto* box = dynamic_cast<GeometryBox*>(shape->geometry())) {
                boxTriangles(*box, sink);
            } else if (auto* grid = dynamic_cast<GeometryFlatGrid*>(shape->geometry())) {
                gridTriangles(*grid, sink);
            } else if (auto* compiled = dynamic_cast<GeometryCompiled*>(shape->geometry())) {
                compiledTriangles(*compiled, sink);
            } else {
                ++out.skippedShapes;
            }
        }
    }
}

struct Box3 {
    float lo[3] = {1e30f, 1e30f, 1e30f};
    float hi[3] = {-1e30f, -1e30f, -1e30f};
    void add(const float p[3]) {
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], p[i]);
            hi[i] = std::max(hi[i], p[i]);
        }
    }
};

// The six planes of projection x model-view, each (a, b, c, d) with the
// inside where a x + b y + c z + d >= 0.
struct ViewVolume {
    float plane[6][4];
    void fromGL() {
        float p[16], mv[16];
        glGetFloatv(GL_PROJECTION_MATRIX, p);
        glGetFloatv(GL_MODELVIEW_MATRIX, mv);
        float c[16];
        for (int col = 0; col < 4; ++col) {
            for (int row = 0; row < 4; ++row) {
                float s = 0;
                for (int k = 0; k < 4; ++k) {
                    s += p[k * 4 + row] * mv[col * 4 + k];
                }
                c[col * 4 + row] = s;
            }
        }
        auto rowOf = [&](int r, int i) { return c[i * 4 + r]; };
        for (int i = 0; i < 3; ++i) {
            for (int k = 0; k < 4; ++k) {
                plane[2 * i][k] = rowOf(3, k) + rowOf(i, k);
                plane[2 * i + 1][k] = rowOf(3, k) - rowOf(i, k);
            }
        }
    }
    bool outside(const Box3& b) const {
        for (const auto& pl : plane) {
            float x = pl[0] >= 0 ? b.hi[0] : b.lo[0];
            float y = pl[1] >= 0 ? b.hi[1] : b.lo[1];
            float z = pl[2] >= 0 ? b.hi[2] : b.lo[2];
            if (pl[0] * x + pl[1] * y + pl[2] * z + pl[3] < 0) {
                return true;
            }
        }
        return false;
    }
};

// Per texture one buffer; its triangles sorted by chunk so that each chunk
// is one range of it.
class Reference {
public:
    struct Range {
        unsigned texture;
        GLint first;
        GLsizei count;
    };
    struct Chunk {
        Box3 bounds;
        std::vector<Range> ranges;
    };

    void build(const Extracted& source, float chunkSize) {
        for (const auto& [texture, triangles] : source.byTexture) {
            std::map<std::pair<int, int>, std::vector<const Triangle*>> byChunk;
            for (const Triangle& t : triangles) {
                float cx = (t.v[0].position[0] + t.v[1].position[0] + t.v[2].position[0]) / 3;
                float cz = (t.v[0].position[2] + t.v[1].position[2] + t.v[2].position[2]) / 3;
                byChunk[{static_cast<int>(std::floor(cx / chunkSize)),
                         static_cast<int>(std::floor(cz / chunkSize))}]
                    .push_back(&t);
            }
            std::vector<Vertex> vertices;
            for (const auto& [key, list] : byChunk) {
                Chunk& chunk = m_chunks[key];
                Range range{texture, static_cast<GLint>(vertices.size()), 0};
                for (const Triangle* t : list) {
                    for (const Vertex& v : t->v) {
                        vertices.push_back(v);
                        chunk.bounds.add(v.position);
                    }
                }
                range.count = static_cast<GLsizei>(vertices.size()) - range.first;
                chunk.ranges.push_back(range);
            }
            GLuint buffer = 0;
            glGenBuffers(1, &buffer);
            glBindBuffer(GL_ARRAY_BUFFER, buffer);
            glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)),
                         vertices.data(), GL_STATIC_DRAW);
            m_buffers[texture] = {buffer, static_cast<GLsizei>(vertices.size())};
            m_triangles += vertices.size() / 3;
        }
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
    ~Reference() {
        for (auto& [texture, buffer] : m_buffers) {
            glDeleteBuffers(1, &buffer.first);
        }
    }

    // The scene's camera and lights are set by the caller.
    void draw(bool culled) {
        static const Material material;
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, material.m_cAmbient.data());
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, material.m_cDiffuse.data());
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material.m_cSpecular.data());
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, material.m_cEmissive.data());
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0.0f);
        ViewVolume frustum;
        frustum.fromGL();
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        for (const auto& [texture, buffer] : m_buffers) {
            if (texture != 0) {
                glEnable(GL_TEXTURE_2D);
                glBindTexture(GL_TEXTURE_2D, texture);
            }
            glBindBuffer(GL_ARRAY_BUFFER, buffer.first);
            glVertexPointer(3, GL_FLOAT, sizeof(Vertex), nullptr);
            glNormalPointer(GL_FLOAT, sizeof(Vertex), reinterpret_cast<void*>(3 * sizeof(float)));
            glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex),
                              reinterpret_cast<void*>(6 * sizeof(float)));
            if (!culled) {
                glDrawArrays(GL_TRIANGLES, 0, buffer.second);
            } else {
                for (const auto& [key, chunk] : m_chunks) {
                    if (frustum.outside(chunk.bounds)) {
                        continue;
                    }
                    for (const Range& r : chunk.ranges) {
                        if (r.texture == texture) {
                            glDrawArrays(GL_TRIANGLES, r.first, r.count);
                        }
                    }
                }
            }
            if (texture != 0) {
                glDisable(GL_TEXTURE_2D);
            }
        }
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    std::size_t triangles() const { return m_triangles; }

private:
    std::map<unsigned, std::pair<GLuint, GLsizei>> m_buffers;
    std::map<std::pair<int, int>, Chunk> m_chunks;
    std::size_t m_triangles = 0;
};

// ---- Maps and the game object. ----

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// The castle map (24-bit, uncompressed) repeated to size x size cells.
std::string tiledMap(const std::string& castle, int size) {
    const int w =
        static_cast<unsigned char>(castle[12]) | (static_cast<unsigned char>(castle[13]) << 8);
    const int h =
        static_cast<unsigned char>(castle[14]) | (static_cast<unsigned char>(castle[15]) << 8);
    const std::size_t offset = 18 + static_cast<unsigned char>(castle[0]);
    std::string out = castle.substr(0, 18);
    out[0] = 0;
    out[12] = static_cast<char>(size & 0xFF);
    out[13] = static_cast<char>(size >> 8);
    out[14] = static_cast<char>(size & 0xFF);
    out[15] = static_cast<char>(size >> 8);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::size_t at = offset + 3 * (static_cast<std::size_t>(y % h) * w + (x % w));
            out += castle.substr(at, 3);
        }
    }
    return out;
}

class Fixture {
public:
    Fixture() : m_reporter(nullptr, false), m_settings(nullptr) {
        platform::keepFreedMemoryForReuse();  // as the game does at start
        platform::setMessageBoxHandler([](const platform::MessageBoxRequest& request) {
            ++g_messages;
            std::fprintf(stderr, "message: %s: %s\n", request.caption.c_str(),
                         request.text.c_str());
        });
        m_settings.loadControls("/nonexistent-spookhollow/control.cfg");
        ok = platform::startWindowSystem() &&
             m_window.create("bench", WIDTH, HEIGHT, false, 32) == platform::CreateResult::Ok &&
             m_window.createContext() && m_window.makeCurrent();
        generated = fs::path(SPOOKHOLLOW_GAME_DIR);
        folder =
            fs::temp_directory_path() / ("spookhollow-bench-view-" + std::to_string(::getpid()));
    }
    ~Fixture() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        m_window.deleteContext();
        m_window.destroyWindow();
        platform::stopWindowSystem();
    }

    fs::path tree(int size) {
        if (size == 32) {
            return generated;
        }
        fs::path root = folder / std::to_string(size) / "resources";
        fs::create_directories(root / "maps");
        for (const char* sub : {"textures", "models", "fonts", "audio"}) {
            fs::create_directory_symlink(generated / "resources" / sub, root / sub);
        }
        fs::copy_file(generated / "resources" / "objects.lvl", root / "objects.lvl");
        writeFile(root / "maps" / "castle.map",
                  tiledMap(readFile(generated / "resources" / "maps" / "castle.map"), size));
        return root.parent_path();
    }

    std::unique_ptr<GameScene> build(const fs::path& tree, double& seconds) {
        fs::path previous = fs::current_path();
        fs::current_path(tree);
        auto scene = std::make_unique<GameScene>(window);
        // The HUD's pictures come from the atlas the screens load first.
        scene->screens().art().instructions = scene->textures().loadTexture(
            0, false, 1, false, "resources/textures/instructions.tga");
        double start = now();
        bool built = scene->buildLevel();
        seconds = now() - start;
        fs::current_path(previous);
        if (!built) {
            scene.reset();
        }
        return scene;
    }

    void swap() { m_window.swapBuffers(); }

    FixedClock clock;
    GameWindow window{clock};
    fs::path generated;
    fs::path folder;
    bool ok = false;

private:
    ErrorReporter m_reporter;
    GameSettings m_settings;
    platform::Window m_window;
};

void prepareGL() {
    glViewport(0, 0, WIDTH, HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(WIDTH) / HEIGHT, static_cast<double>(0.1f),
                   VIEW_DISTANCE);
    glShadeModel(GL_SMOOTH);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_NORMALIZE);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glClearColor(0, 0, 0, 1);
}

struct Viewpoint {
    int x;
    int y;
    float heading;  // degrees from +x toward +z
};

// Eight fixed views around the middle of the castle (the nearest open cell
// to each), looking every way.
const Viewpoint VIEWPOINTS[] = {
    {15, 15, 0},   {16, 16, 45},  {14, 14, 90},  {17, 17, 135},
    {12, 12, 180}, {19, 19, 225}, {10, 20, 270}, {22, 10, 315},
};

bool openCell(GameScene& scene, int x, int y) {
    return x > 0 && y > 0 && x < 31 && y < 31 && !isBlack(scene.level().cellColour(x, y));
}

void placeView(GameScene& scene, const Viewpoint& v) {
    int bx = v.x, by = v.y;
    for (int r = 0; r < 32 && !openCell(scene, bx, by); ++r) {
        for (int dy = -r; dy <= r && !openCell(scene, bx, by); ++dy) {
            for (int dx = -r; dx <= r; ++dx) {
                if (openCell(scene, v.x + dx, v.y + dy)) {
                    bx = v.x + dx;
                    by = v.y + dy;
                    break;
                }
            }
        }
    }
    float a = v.heading * PI / 180.0f;
    scene.player().setView(
        Vector3(bx * scene.level().cellSize(), 1.8f, by * scene.level().cellSize()),
        Vector3(std::cos(a), -0.05f, std::sin(a)));
}

double median(std::vector<double> v) {
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The part of the engine's frame that grows with the map: deciding, for
// every root-level subtree, whether it moved and whether it can be seen.
// Measured with a view that sees nothing, so nothing is drawn, and with the
// caches emptied first, as the rasterizer leaves them in a real frame.
double cullPassMs(GameScene& scene) {
    RootCuller culler;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -1e7f);
    Frustum nothing;
    nothing.fromGL();
    Node* first = scene.node(1);
    culler.drawOpaque(first, nothing);  // the boxes are measured once
    std::vector<char> evict(64u << 20, 1);
    std::vector<double> times;
    for (int pass = 0; pass < 15; ++pass) {
        for (std::size_t i = 0; i < evict.size(); i += 64) {
            evict[i] = static_cast<char>(evict[i] + 1);
        }
        double start = now();
        culler.drawOpaque(first, nothing);
        times.push_back(now() - start);
    }
    glPopMatrix();
    return median(times) * 1000.0;
}

enum Mode { ENGINE, UNCULLED, CULLED, MODES };

void drawFrame(GameScene& scene, Reference& reference, Mode mode) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (mode == ENGINE) {
        scene.renderScene();
    } else {
        scene.camera().set(scene.eyePosition(), scene.lookAtPoint(), Vector3(0, 1, 0));
        scene.camera().apply();
        scene.enableLights();
        reference.draw(mode == CULLED);
        scene.disableLights();
    }
    glFinish();
}

std::string ppm() {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(WIDTH) * HEIGHT * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    std::string out = "P6\n" + std::to_string(WIDTH) + " " + std::to_string(HEIGHT) + "\n255\n";
    for (int y = HEIGHT - 1; y >= 0; --y) {
        out.append(reinterpret_cast<const char*>(&pixels[static_cast<std::size_t>(y) * WIDTH * 3]),
                   WIDTH * 3);
    }
    return out;
}

struct Options {
    int rounds = 15;
    std::vector<int> maps{32, 64, 128, 256};
    std::string dump;
    std::string compare;
};

// Returns the number of differing pixels against the earlier dump.
long comparePictures(const std::string& now, const fs::path& earlier, int& maxDiff) {
    std::string before = readFile(earlier);
    if (before.size() != now.size()) {
        maxDiff = 255;
        return -1;
    }
    long differing = 0;
    std::size_t header = now.size() - static_cast<std::size_t>(WIDTH) * HEIGHT * 3;
    for (std::size_t i = header; i < now.size(); i += 3) {
        int d = 0;
        for (int c = 0; c < 3; ++c) {
            d = std::max(d, std::abs(static_cast<unsigned char>(now[i + c]) -
                                     static_cast<unsigned char>(before[i + c])));
        }
        maxDiff = std::max(maxDiff, d);
        differing += d > 0 ? 1 : 0;
    }
    return differing;
}

int runMap(Fixture& fixture, int size, const Options& options, double& engineMedian) {
    double buildSeconds = 0;
    std::unique_ptr<GameScene> scene = fixture.build(fixture.tree(size), buildSeconds);
    if (!scene) {
        std::printf("%dx%d: buildLevel failed\n", size, size);
        return 1;
    }
    prepareGL();
    Extracted extracted;
    if (!scene->nodeCount()) {
        return 1;
    }
    extract(scene->node(1), Affine(), extracted);
    Reference reference;
    reference.build(extracted, CHUNK_CELLS * scene->level().cellSize());
    std::printf(
        "%dx%d: %zu nodes, %d shapes (%d not in the references), %zu triangles, "
        "buildLevel %.1f ms\n",
        size, size, scene->nodeCount(), extracted.shapes, extracted.skippedShapes,
        reference.triangles(), buildSeconds * 1000.0);

    std::vector<double> all[MODES];
    int failures = 0;
    std::printf("  view  engine ms  unculled ms  culled ms  engine/unculled  engine/culled\n");
    int index = 0;
    for (const Viewpoint& v : VIEWPOINTS) {
        placeView(*scene, v);
        for (int m = 0; m < MODES; ++m) {
            drawFrame(*scene, reference, static_cast<Mode>(m));  // warm up
        }
        std::vector<double> times[MODES];
        for (int r = 0; r < options.rounds; ++r) {
            for (int m = 0; m < MODES; ++m) {
                double start = now();
                drawFrame(*scene, reference, static_cast<Mode>(m));
                times[m].push_back(now() - start);
            }
        }
        double med[MODES];
        for (int m = 0; m < MODES; ++m) {
            med[m] = median(times[m]) * 1000.0;
            all[m].insert(all[m].end(), times[m].begin(), times[m].end());
        }
        std::printf("  %4d  %9.2f  %11.2f  %9.2f  %15.2f  %13.2f\n", index, med[ENGINE],
                    med[UNCULLED], med[CULLED], med[ENGINE] / med[UNCULLED],
                    med[ENGINE] / med[CULLED]);
        if (!options.dump.empty() || !options.compare.empty()) {
            drawFrame(*scene, reference, ENGINE);
            std::string picture = ppm();
            std::string name = "view" + std::to_string(size) + "_" + std::to_string(index) + ".ppm";
            if (!options.dump.empty()) {
                fs::create_directories(options.dump);
                writeFile(fs::path(options.dump) / name, picture);
            }
            if (!options.compare.empty()) {
                int maxDiff = 0;
                long differing =
                    comparePictures(picture, fs::path(options.compare) / name, maxDiff);
                std::printf("        picture: %ld pixels differ, largest difference %d\n",
                            differing, maxDiff);
                failures += differing != 0 ? 1 : 0;
            }
        }
        ++index;
    }
    double med[MODES];
    for (int m = 0; m < MODES; ++m) {
        med[m] = median(all[m]) * 1000.0;
    }
    engineMedian = med[ENGINE];
    std::printf("  deciding what to draw (every root-level subtree, cold caches): %.2f ms\n",
                cullPassMs(*scene));
    std::printf("  all   %9.2f  %11.2f  %9.2f  %15.2f  %13.2f   (medians over %zu frames each)\n",
                med[ENGINE], med[UNCULLED], med[CULLED], med[ENGINE] / med[UNCULLED],
                med[ENGINE] / med[CULLED], all[ENGINE].size());
    std::fflush(stdout);
    return failures;
}

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string key = argv[i];
        std::string value = argv[i + 1];
        if (key == "--rounds") {
            o.rounds = std::max(1, std::atoi(value.c_str()));
        } else if (key == "--dump") {
            o.dump = value;
        } else if (key == "--compare") {
            o.compare = value;
        } else if (key == "--maps") {
            o.maps.clear();
            std::stringstream s(value);
            std::string item;
            while (std::getline(s, item, ',')) {
                o.maps.push_back(std::atoi(item.c_str()));
            }
        }
    }
    return o;
}

}  // namespace

int main(int argc, char** argv) {
    Options options = parse(argc, argv);
    Fixture fixture;
    if (!fixture.ok) {
        std::printf("bench_play_view: no OpenGL window (run under Xvfb)\n");
        return 0;
    }
    std::printf("bench_play_view: %dx%d, renderer %s\n", WIDTH, HEIGHT,
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    int failures = 0;
    std::map<int, double> engine;
    for (int size : options.maps) {
        double median = 0;
        failures += runMap(fixture, size, options, median);
        engine[size] = median;
    }
    if (engine.count(32)) {
        for (const auto& [size, ms] : engine) {
            if (size != 32 && engine[32] > 0) {
                std::printf("engine median %dx%d / 32x32: %.2f\n", size, size, ms / engine[32]);
            }
        }
    }
    std::printf("messages shown: %d\n", g_messages);
    return failures == 0 ? 0 : 1;
}
