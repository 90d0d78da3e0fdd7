#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "gl_feedback.h"
#include "scene/geometry_compiled.h"
#include "scene/geometry_primitives.h"
#include "support/gl_context.h"

namespace {

// Mesa's feedback hands quads, polygons and strips back as triangles; these
// undo its split so that the vertices can be compared in the order they were
// sent: a quad (a b c d) comes back as (a b d)(b c d), a polygon as a fan
// around its first vertex with that vertex last, a strip as its triangles
// with every second one turned.
using Sequence = std::vector<FeedbackVertex>;

class Triangles {
public:
    explicit Triangles(std::vector<FeedbackPolygon> polygons) : m_polygons(std::move(polygons)) {}

    bool atEnd() const { return m_next == m_polygons.size(); }
    std::size_t remaining() const { return m_polygons.size() - m_next; }

    Sequence quad() {
        const auto& a = take();
        const auto& b = take();
        return {a[0], a[1], b[1], b[2]};
    }
    Sequence polygon(int n) {
        Sequence s;
        for (int k = 0; k < n - 2; ++k) {
            const auto& t = take();
            if (k == 0) {
                s = {t[2], t[0], t[1]};
            } else {
                s.push_back(t[1]);
            }
        }
        return s;
    }
    Sequence strip(int length) {
        Sequence s;
        for (int k = 0; k < length - 2; ++k) {
            const auto& t = take();
            if (k == 0) {
                s = {t[0], t[1], t[2]};
            } else {
                s.push_back(t[2]);
            }
        }
        return s;
    }
    Sequence triangle() {
        const auto& t = take();
        return {t[0], t[1], t[2]};
    }

private:
    const std::vector<FeedbackVertex>& take() {
        if (m_next >= m_polygons.size() || m_polygons[m_next].vertices.size() != 3) {
            ADD_FAILURE() << "feedback ran out or is not a triangle at " << m_next;
            static const std::vector<FeedbackVertex> empty(3);
            ++m_next;
            return empty;
        }
        return m_polygons[m_next++].vertices;
    }
    std::vector<FeedbackPolygon> m_polygons;
    std::size_t m_next = 0;
};

struct Expect {
    Vector3 position;
    Vector3 attribute;
};

void compare(const Sequence& got, const std::vector<Expect>& expected, const std::string& what,
             float tolerance = 2e-4f) {
    ASSERT_EQ(got.size(), expected.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        const Vector3& p = got[i].position;
        const Vector3& e = expected[i].position;
        EXPECT_NEAR(p.x, e.x, tolerance) << what << " vertex " << i;
        EXPECT_NEAR(p.y, e.y, tolerance) << what << " vertex " << i;
        EXPECT_NEAR(p.z, e.z, tolerance) << what << " vertex " << i;
        const Vector3& a = got[i].attribute;
        const Vector3& f = expected[i].attribute;
        EXPECT_NEAR(a.x, f.x, 1e-4) << what << " attribute " << i;
        EXPECT_NEAR(a.y, f.y, 1e-4) << what << " attribute " << i;
        EXPECT_NEAR(a.z, f.z, 1e-4) << what << " attribute " << i;
    }
}

class PrimitivesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        gl.resetState();
    }
    GLTestContext& gl = GLTestContext::shared();
};

TEST_F(PrimitivesTest, BoxStandsOnTheFloorWithItsAtlasFaces) {
    GeometryBox box(2, 4, 3);
    EXPECT_EQ(box.getSize(), Vector3(2, 3, 4));
    const float w = 1, d = 2, h = 3;
    struct Face {
        Vector3 normal;
        Vector3 v[4];
        Vector3 t[4];
    } faces[] = {
        {{0, 0, 1},
         {{-w, 0, d}, {w, 0, d}, {w, h, d}, {-w, h, d}},
         {{0.5f, 0.5f, 0}, {1, 0.5f, 0}, {1, 1, 0}, {0.5f, 1, 0}}},
        {{1, 0, 0},
         {{w, 0, d}, {w, 0, -d}, {w, h, -d}, {w, h, d}},
         {{0, 0, 0}, {0.5f, 0, 0}, {0.5f, 0.5f, 0}, {0, 0.5f, 0}}},
        {{0, 0, -1},
         {{w, 0, -d}, {-w, 0, -d}, {-w, h, -d}, {w, h, -d}},
         {{0.5f, 0, 0}, {1, 0, 0}, {1, 0.5f, 0}, {0.5f, 0.5f, 0}}},
        {{-1, 0, 0},
         {{-w, 0, -d}, {-w, 0, d}, {-w, h, d}, {-w, h, -d}},
         {{0, 0, 0}, {0.5f, 0, 0}, {0.5f, 0.5f, 0}, {0, 0.5f, 0}}},
        {{0, 1, 0},
         {{-w, h, d}, {w, h, d}, {w, h, -d}, {-w, h, -d}},
         {{0, 0.5f, 0}, {0.5f, 0.5f, 0}, {0.5f, 1, 0}, {0, 1, 0}}},
        {{0, -1, 0},
         {{-w, 0, -d}, {w, 0, -d}, {w, 0, d}, {-w, 0, d}},
         {{0, 0.5f, 0}, {0.5f, 0.5f, 0}, {0.5f, 1, 0}, {0, 1, 0}}},
    };
    Triangles textured(captureFeedback([&] { box.draw(true); }, false));
    Triangles normals(captureFeedback([&] { box.draw(false); }, true));
    for (int f = 0; f < 6; ++f) {
        std::vector<Expect> tex, nor;
        for (int k = 0; k < 4; ++k) {
            tex.push_back({faces[f].v[k], faces[f].t[k]});
            nor.push_back({faces[f].v[k], faces[f].normal});
        }
        compare(textured.quad(), tex, "box face " + std::to_string(f));
        compare(normals.quad(), nor, "box normal " + std::to_string(f));
    }
    EXPECT_TRUE(textured.atEnd());

    // Untextured drawing sends no texture coordinates at all.
    glTexCoord2f(9, 9);
    for (const FeedbackPolygon& p : captureFeedback(
             [&] {
                 glTexCoord2f(9, 9);
                 box.draw(false);
             },
             false)) {
        for (const FeedbackVertex& v : p.vertices) {
            EXPECT_EQ(v.attribute.x, 9.0f);
        }
    }
    // Sizes at or below 0 become 1: a unit box from y = 0 to 1.
    GeometryBox unit(0, -1, 0);
    EXPECT_EQ(unit.getSize(), Vector3(1, 1, 1));
}

TEST_F(PrimitivesTest, CylinderSidesWrapToUOneAndCapsUseTheUpperQuarters) {
    const int n = 4;
    const float r = 2, h = 3;
    GeometryCylinder cylinder(n, r, h, false);
    auto ring = [&](int i, float y) {
        float a = -static_cast<float>(i % n) * 2.0f * static_cast<float>(M_PI) / n;
        return Vector3(r * std::cos(a), y, r * std::sin(a));
    };
    auto faceNormal = [&](int i) {
        float a = -(i + 0.5f) * 2.0f * static_cast<float>(M_PI) / n;
        return Vector3(std::cos(a), 0, std::sin(a));
    };
    auto cap = [&](int i, float du) {
        float b = static_cast<float>(i) * 2.0f * static_cast<float>(M_PI) / n;
        return Vector3(0.25f * std::cos(b) + 0.25f + du, 0.25f * std::sin(b) + 0.75f, 0);
    };
    Triangles textured(captureFeedback([&] { cylinder.draw(true); }, false));
    Triangles normals(captureFeedback([&] { cylinder.draw(false); }, true));
    for (int i = 0; i < n; ++i) {
        float u0 = static_cast<float>(i) / n, u1 = static_cast<float>(i + 1) / n;
        compare(textured.quad(),
                {{ring(i + 1, 0), {u1, 0, 0}},
                 {ring(i + 1, h), {u1, 0.5f, 0}},
                 {ring(i, h), {u0, 0.5f, 0}},
                 {ring(i, 0), {u0, 0, 0}}},
                "side " + std::to_string(i));
        Vector3 fn = faceNormal(i);
        compare(normals.quad(),
                {{ring(i + 1, 0), fn}, {ring(i + 1, h), fn}, {ring(i, h), fn}, {ring(i, 0), fn}},
                "side normal " + std::to_string(i));
    }
    std::vector<Expect> top, bottom;
    for (int i = 0; i < n; ++i) {
        top.push_back({ring(i, h), cap(i, 0)});
    }
    for (int i = n - 1; i >= 0; --i) {
        bottom.push_back({ring(i, 0), cap(n - 1 - i, 0.5f)});
    }
    compare(textured.polygon(n), top, "top cap");
    compare(textured.polygon(n), bottom, "bottom cap");
    EXPECT_TRUE(textured.atEnd());

    std::vector<Expect> topNormals, bottomNormals;
    for (int i = 0; i < n; ++i) {
        topNormals.push_back({ring(i, h), {0, 1, 0}});
        bottomNormals.push_back({ring(n - 1 - i, 0), {0, -1, 0}});
    }
    compare(normals.polygon(n), topNormals, "top cap normal");
    compare(normals.polygon(n), bottomNormals, "bottom cap normal");
}

TEST_F(PrimitivesTest, SmoothCylinderNormalsFollowTheEdges) {
    const int n = 6;
    GeometryCylinder cylinder(n, 1, 1, true);
    auto edge = [&](int i) {
        float a = -static_cast<float>(i % n) * 2.0f * static_cast<float>(M_PI) / n;
        return Vector3(std::cos(a), 0, std::sin(a));
    };
    Triangles normals(captureFeedback([&] { cylinder.draw(false); }, true));
    for (int i = 0; i < n; ++i) {
        Sequence side = normals.quad();
        ASSERT_EQ(side.size(), 4u);
        // Each normal points straight out through its own vertex.
        compare(side,
                {{edge(i + 1), edge(i + 1)},
                 {edge(i + 1).add(Vector3(0, 1, 0)), edge(i + 1)},
                 {edge(i).add(Vector3(0, 1, 0)), edge(i)},
                 {edge(i), edge(i)}},
                "smooth side " + std::to_string(i));
    }
    // Out-of-range side counts are replaced.
    EXPECT_EQ(GeometryCylinder(50, 1, 1, true).numSides(), 20);
    EXPECT_EQ(GeometryCylinder(2, 1, 1, true).numSides(), 3);
}

TEST_F(PrimitivesTest, FlatGridStripsFaceUpWithOneRepeatPerCell) {
    GeometryFlatGrid grid(2, 4, 2, 2);
    Triangles textured(captureFeedback([&] { grid.draw(true); }, false));
    Triangles normals(captureFeedback([&] { grid.draw(false); }, true));
    const float xs[3] = {-1, 0, 1};
    const float zs[3] = {-2, 0, 2};
    for (int k = 0; k < 2; ++k) {
        std::vector<Expect> tex, nor;
        for (int c = 0; c <= 2; ++c) {
            for (int row = k; row <= k + 1; ++row) {
                Vector3 p(xs[c], 0, zs[row]);
                tex.push_back({p, {static_cast<float>(c), static_cast<float>(2 - row), 0}});
                nor.push_back({p, {0, 1, 0}});
            }
        }
        compare(textured.strip(6), tex, "strip " + std::to_string(k));
        compare(normals.strip(6), nor, "strip normal " + std::to_string(k));
    }
    EXPECT_TRUE(textured.atEnd());
}

// Whatever its counts, a sphere is a closed surface of 2H(V - 2) triangles
// on its radius, each turned outward, with normals pointing away from the
// centre and texture coordinates inside the picture.
void checkSphere(float r, int H, int V) {
    GeometrySphere sphere(r, H, V);
    const std::string what = "sphere H=" + std::to_string(H) + " V=" + std::to_string(V);
    // A corner by its position, to a thousandth.
    auto key = [](const Vector3& p) {
        return std::make_tuple(std::lround(p.x * 1000.0f), std::lround(p.y * 1000.0f),
                               std::lround(p.z * 1000.0f));
    };
    for (bool normals : {false, true}) {
        Triangles got(captureFeedback([&] { sphere.draw(!normals); }, normals));
        ASSERT_EQ(got.remaining(), static_cast<std::size_t>(2 * H * (V - 2))) << what;
        std::map<std::pair<decltype(key(Vector3())), decltype(key(Vector3()))>, int> edges;
        while (!got.atEnd()) {
            const Sequence t = got.triangle();
            Vector3 centroid;
            for (const FeedbackVertex& v : t) {
                const Vector3& p = v.position;
                EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), r, 2e-4f) << what;
                if (normals) {
                    EXPECT_NEAR(v.attribute.x, p.x / r, 1e-3f) << what;
                    EXPECT_NEAR(v.attribute.y, p.y / r, 1e-3f) << what;
                    EXPECT_NEAR(v.attribute.z, p.z / r, 1e-3f) << what;
                } else {
                    EXPECT_TRUE(v.attribute.x >= -1e-4f && v.attribute.x <= 1.0001f) << what;
                    EXPECT_TRUE(v.attribute.y >= -1e-4f && v.attribute.y <= 1.0001f) << what;
                }
                centroid = centroid.add(p);
            }
            const Vector3 facing =
                cross(t[1].position.subtract(t[0].position), t[2].position.subtract(t[0].position));
            EXPECT_GT(facing.dot(centroid), 0.0f) << what << " a triangle faces inward";
            for (int i = 0; i < 3; ++i) {
                auto a = key(t[static_cast<std::size_t>(i)].position);
                auto b = key(t[static_cast<std::size_t>((i + 1) % 3)].position);
                ++edges[a < b ? std::make_pair(a, b) : std::make_pair(b, a)];
            }
        }
        // Closed: every edge joins exactly two triangles.
        for (const auto& edge : edges) {
            EXPECT_EQ(edge.second, 2) << what;
        }
    }
}

TEST_F(PrimitivesTest, SphereCapsBandsAndClosingColumns) {
    checkSphere(2.0f, 5, 5);  // odd: equator and mirrored south
    checkSphere(1.5f, 6, 6);  // even: two north rows, mirrored
    checkSphere(1.0f, 4, 3);  // a double cone, no bands
}

TEST_F(PrimitivesTest, SphereRingsAndReplacedCounts) {
    GeometrySphere sphere(2, 8, 4);
    const float y = 2.0f * std::cos(static_cast<float>(M_PI) / 4);
    EXPECT_NEAR(sphere.vertices()[1].y, y, 1e-5);
    EXPECT_NEAR(sphere.vertices()[9].y, -y, 1e-5);
    GeometrySphere small(-1, 1, 2);
    EXPECT_EQ(small.numH(), 3);
    EXPECT_EQ(small.numV(), 3);
    EXPECT_EQ(small.vertices()[0].y, 1.0f);
    // Counts too large to allocate leave a sphere that draws nothing.
    GeometrySphere absurd(1, 2000000000, 2000000000);
    EXPECT_EQ(absurd.vertices(), nullptr);
    EXPECT_TRUE(captureFeedback([&] { absurd.draw(true); }, false).empty());
    GeometryFlatGrid hugeGrid(1, 1, 2000000000, 2000000000);
    EXPECT_EQ(hugeGrid.vertices(), nullptr);
    EXPECT_TRUE(captureFeedback([&] { hugeGrid.draw(true); }, false).empty());
}

TEST_F(PrimitivesTest, CompiledGeometryBuildsOneListOnce) {
    const float vertices[] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
    const float normals[] = {0, 0, 1, 1, 0, 0, 0, 1, 0};
    const float texCoords[] = {0, 0, 1, 0, 0, 1};
    const std::uint32_t vertexIndices[] = {0, 1, 2, 0, 2, 3, 1, 2, 3};
    const std::uint32_t texIndices[] = {0, 1, 2, 2, 1, 0, 0, 0, 1};

    GeometryCompiled faceted(false, true);
    faceted.setVertices(vertices, 12);
    faceted.setNormals(normals, 9);
    faceted.setTexCoords(texCoords, 6);
    faceted.setVertexIndices(vertexIndices, 9);
    faceted.setTexCoordIndices(texIndices, 9);

    // Before compiling it calls a list that does not exist: nothing is drawn.
    EXPECT_EQ(faceted.displayList(), GeometryCompiled::NO_LIST);
    EXPECT_TRUE(captureFeedback([&] { faceted.draw(true); }, false).empty());

    faceted.compile();
    unsigned list = faceted.displayList();
    EXPECT_NE(list, GeometryCompiled::NO_LIST);
    EXPECT_TRUE(glIsList(list));
    faceted.compile();
    EXPECT_EQ(faceted.displayList(), list);
    EXPECT_EQ(faceted.numTriangles(), 3);
    // The list was made once: the next free name follows it directly.
    GLuint next = glGenLists(1);
    EXPECT_EQ(next, list + 1);
    glDeleteLists(next, 1);

    Triangles textured(captureFeedback([&] { faceted.draw(false); }, false));
    Triangles lit(captureFeedback([&] { faceted.draw(false); }, true));
    for (int t = 0; t < 3; ++t) {
        std::vector<Expect> tex, nor;
        for (int k = 0; k < 3; ++k) {
            int p = 3 * t + k;
            const float* v = &vertices[3 * vertexIndices[p]];
            const float* c = &texCoords[2 * texIndices[p]];
            tex.push_back({{v[0], v[1], v[2]}, {c[0], c[1], 0}});
            nor.push_back(
                {{v[0], v[1], v[2]}, {normals[3 * t], normals[3 * t + 1], normals[3 * t + 2]}});
        }
        compare(textured.triangle(), tex, "compiled " + std::to_string(t));
        compare(lit.triangle(), nor, "compiled normal " + std::to_string(t));
    }

    GeometryCompiled smooth(true, false);
    smooth.setNormals(normals, 9);
    smooth.setVertices(vertices, 12);
    smooth.setVertexIndices(vertexIndices, 3);
    smooth.compile();
    EXPECT_EQ(smooth.numTriangles(), 1);
    Triangles perVertex(captureFeedback([&] { smooth.draw(true); }, true));
    compare(perVertex.triangle(),
            {{{0, 0, 0}, {0, 0, 1}}, {{1, 0, 0}, {1, 0, 0}}, {{0, 1, 0}, {0, 1, 0}}},
            "per-vertex normals");
    EXPECT_TRUE(perVertex.atEnd());
}

TEST_F(PrimitivesTest, CompiledGeometryLeavesOutTrianglesWithBadIndices) {
    const float vertices[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const float normals[] = {0, 0, 1, 0, 0, 1};
    const std::uint32_t indices[] = {0, 1, 2, 0, 1, 7};
    GeometryCompiled geometry(false, false);
    geometry.setVertices(vertices, 9);
    geometry.setNormals(normals, 6);
    geometry.setVertexIndices(indices, 6);
    geometry.compile();
    EXPECT_EQ(geometry.numTriangles(), 2);
    EXPECT_EQ(captureFeedback([&] { geometry.draw(false); }, false).size(), 1u);

    GeometryCompiled shortIndices(false, true);
    shortIndices.setVertices(vertices, 9);
    shortIndices.setNormals(normals, 6);
    shortIndices.setVertexIndices(indices, 3);
    shortIndices.compile();  // no texture coordinates at all: nothing to draw
    EXPECT_TRUE(captureFeedback([&] { shortIndices.draw(true); }, false).empty());
}

// What a primitive sends straight to OpenGL, beside what its list replays.
template <typename Primitive>
class Immediate : public Primitive {
public:
    using Primitive::Primitive;
    void drawImmediate(bool textured) const { this->emitGeometry(textured); }
};

// Where a lit view puts the shape: moved, then turned about x and y.
struct LitView {
    float x, y, distance, turnX, turnY;
};

// A lit view in which every face shows its interpolated lighting. Mesa's
// software drivers cut a quad along one diagonal in some of these views and
// along the other in the rest.
std::vector<unsigned char> litPicture(GLTestContext& gl, const LitView& view,
                                      const std::function<void()>& draw) {
    gl.resetState();
    glMatrixMode(GL_PROJECTION);
    gluPerspective(50.0, 1.0, 0.1, 50.0);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_NORMALIZE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat position[4] = {0.4f, 0.8f, 1.5f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, 0.5f);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.3f);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 0.0f);
    glTranslatef(view.x, view.y, -view.distance);
    glRotatef(view.turnX, 1.0f, 0.0f, 0.0f);
    glRotatef(view.turnY, 0.0f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw();
    glFinish();
    return gl.readPixels();
}

TEST_F(PrimitivesTest, PreparedPrimitivesDrawTheSamePixelsAsImmediateMode) {
    Immediate<GeometryBox> box(2.0f, 1.5f, 1.2f);
    Immediate<GeometryCylinder> flat(7, 0.9f, 1.4f, false);
    Immediate<GeometryCylinder> smooth(12, 0.9f, 1.4f, true);
    Immediate<GeometryFlatGrid> grid(3.0f, 2.0f, 3, 2);
    Immediate<GeometrySphere> sphere(1.1f, 9, 7);
    struct Case {
        const char* name;
        const GeometryPrimitive* prepared;
        std::function<void(bool)> immediate;
    } cases[] = {
        {"box", &box, [&](bool t) { box.drawImmediate(t); }},
        {"flat cylinder", &flat, [&](bool t) { flat.drawImmediate(t); }},
        {"smooth cylinder", &smooth, [&](bool t) { smooth.drawImmediate(t); }},
        {"grid", &grid, [&](bool t) { grid.drawImmediate(t); }},
        {"sphere", &sphere, [&](bool t) { sphere.drawImmediate(t); }},
    };
    for (const Case& c : cases) {
        const LitView views[] = {
            {0.0f, -0.6f, 4.0f, 30.0f, 35.0f},
            {-1.3f, -0.59f, 2.21f, 0.0f, 71.0f},
            {-0.74f, -0.56f, 0.88f, 0.0f, 90.0f},
        };
        for (const LitView& view : views) {
            for (bool textured : {false, true}) {
                const std::string name = std::string(c.name) + (textured ? " textured" : "") +
                                         " from " + std::to_string(view.turnY);
                std::vector<unsigned char> expected =
                    litPicture(gl, view, [&] { c.immediate(textured); });
                std::vector<unsigned char> prepared =
                    litPicture(gl, view, [&] { c.prepared->draw(textured); });
                EXPECT_TRUE(c.prepared->prepared(textured)) << name;
                std::size_t lit = 0;
                std::size_t differing = 0;
                for (std::size_t i = 0; i < expected.size(); ++i) {
                    lit += expected[i] != 0 ? 1 : 0;
                    differing += expected[i] != prepared[i] ? 1 : 0;
                }
                EXPECT_GT(lit, 1000u) << name;
                EXPECT_EQ(differing, 0u) << name;
            }
        }
    }
    // Drawing from arrays leaves no client state behind for other drawing.
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
}

}  // namespace
