#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstddef>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "scene/geometry_primitives.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/node.h"
#include "scene/node_shape.h"
#include "scene/scene.h"
#include "scene/scene_cull.h"
#include "scene_test_support.h"
#include "support/gl_context.h"

namespace {

class MovableView : public PlayView {
public:
    Vector3 eyePosition() const override { return eye; }
    Vector3 lookAtPoint() const override { return target; }
    void drawWeapon() override {}
    Vector3 eye{0, 1, 0};
    Vector3 target{0, 1, -1};
};

// A field of boxes, cylinders and spheres all round the eye, some of them
// see-through, a lit "ghost" with turned and scaled parts and a light of its
// own, and things beyond the far plane. With the parameter set, the field
// (and a carpet over its floor, which must be drawn after the floor it
// covers) is fixed in place.
class CullingTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        gl.resetState();
        glViewport(0, 0, gl.width(), gl.height());
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, 1.0, 0.1, 30.0);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_CULL_FACE);
        glEnable(GL_NORMALIZE);
        scene.setPlayView(&view);
        build();
    }
    void TearDown() override { scene.setPlayView(nullptr); }

    NodeID addAt(NodeID parent, Geometry* geometry, const Vector3& position, Material* material,
                 bool fixed = false) {
        auto* t = new NodeTransform;
        t->m_vTranslation = position;
        t->setFixedInPlace(fixed);
        NodeID id = scene.addNode(t, parent);
        NodeID shape = scene.addNode(new NodeShape(geometry), id);
        static_cast<NodeShape*>(scene.node(shape))->setMaterial(material);
        return id;
    }
    Material* material(float r, float g, float b, float a) {
        auto* m = new Material;
        m->m_cDiffuse = Color4(r, g, b, a);
        m->m_cAmbient = Color4(r * 0.3f, g * 0.3f, b * 0.3f, a);
        scene.addMaterial(m);
        return m;
    }
    NodeTransform* transform(NodeID id) { return static_cast<NodeTransform*>(scene.node(id)); }

    void build() {
        auto* eyeLight = new LightPoint;
        eyeLight->setAttenuation(0.5f, 0.05f, 0.0f);
        scene.addLight(eyeLight);
        auto* box = new GeometryBox(1.0f, 1.0f, 2.0f);
        auto* cylinder = new GeometryCylinder(9, 0.4f, 1.5f, true);
        auto* sphere = new GeometrySphere(0.6f, 10, 8);
        auto* floor = new GeometryFlatGrid(4.0f, 4.0f, 2, 2);
        for (Geometry* g : std::vector<Geometry*>{box, cylinder, sphere, floor}) {
            scene.addGeometry(g);
        }
        Material* stone = material(0.7f, 0.7f, 0.6f, 1.0f);
        Material* glass = material(0.4f, 0.6f, 1.0f, 0.5f);
        Geometry* kinds[] = {box, cylinder, sphere};
        int n = 0;
        for (int z = -40; z <= 40; z += 3) {
            for (int x = -40; x <= 40; x += 3) {
                if (x == 0 && z == 0) {
                    continue;
                }
                Geometry* g = kinds[n % 3];
                addAt(0, g, Vector3(static_cast<float>(x), 0.0f, static_cast<float>(z)),
                      n % 7 == 0 ? glass : stone, GetParam());
                ++n;
            }
        }
        for (int z = -40; z <= 40; z += 4) {
            for (int x = -40; x <= 40; x += 4) {
                addAt(0, floor, Vector3(static_cast<float>(x), -0.01f, static_cast<float>(z)),
                      stone, GetParam());
            }
        }
        // In the floor's plane, centred away from most of what it covers:
        // depth ties go to what is drawn last.
        auto* carpetGrid = new GeometryFlatGrid(30.0f, 30.0f, 4, 4);
        scene.addGeometry(carpetGrid);
        addAt(0, carpetGrid, Vector3(15.0f, -0.01f, -15.0f), material(0.8f, 0.3f, 0.2f, 1.0f),
              GetParam());
        // The ghost: a turned, scaled root with a centre, a nested moving
        // part, and a red light under it.
        ghost = addAt(0, sphere, Vector3(2.0f, 1.0f, -6.0f), material(0.9f, 0.9f, 0.9f, 1.0f));
        transform(ghost)->setAxis(0.0f, 1.0f, 0.0f);
        transform(ghost)->m_fAngle = 30.0f;
        transform(ghost)->m_vCentre = Vector3(0.5f, 0.0f, 0.0f);
        transform(ghost)->m_vScale = Vector3(1.2f, 1.0f, 1.2f);
        part = addAt(ghost, box, Vector3(0.0f, 1.0f, 0.0f), glass);
        auto* red = new LightPoint;
        red->setDiffuse(0.8f, 0.0f, 0.0f, 1.0f);
        red->setAttenuation(0.2f, 0.2f, 0.0f);
        scene.addLight(red);
        scene.addNode(new NodeLight(red), ghost);
        // Far off to the right: outside the view until it is moved.
        wanderer = addAt(0, box, Vector3(40.0f, 0.0f, 3.0f), material(1.0f, 0.2f, 0.2f, 1.0f));
        hidden = addAt(0, cylinder, Vector3(-1.0f, 0.0f, -4.0f), stone);
        transform(hidden)->setVisible(false);
    }

    // The second of two frames: lights under nodes use the last frame's place.
    std::vector<unsigned char> frame(bool culling) {
        scene.setCulling(culling);
        for (int i = 0; i < 2; ++i) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            scene.renderScene();
        }
        glFinish();
        return gl.readPixels();
    }

    void expectSamePicture(const std::string& what) {
        std::vector<unsigned char> culled = frame(true);
        const std::size_t drawn = scene.rootsDrawnLastFrame();
        const std::size_t left = scene.rootsCulledLastFrame();
        std::vector<unsigned char> whole = frame(false);
        std::size_t differing = 0;
        std::size_t lit = 0;
        for (std::size_t i = 0; i < whole.size(); ++i) {
            differing += culled[i] != whole[i] ? 1 : 0;
            lit += whole[i] > 8 ? 1 : 0;
        }
        EXPECT_EQ(differing, 0u) << what;
        EXPECT_GT(lit, whole.size() / 10) << what;
        EXPECT_GT(drawn, 0u) << what;
        EXPECT_GT(left, drawn) << what << ": most of the field lies outside the view";
    }

    GLTestContext& gl = GLTestContext::shared();
    LoggedReporter log;
    Scene scene;
    MovableView view;
    NodeID ghost = 0;
    NodeID part = 0;
    NodeID wanderer = 0;
    NodeID hidden = 0;
};

TEST_P(CullingTest, CullingLeavesEveryViewAsItWas) {
    const Vector3 targets[] = {{0, 1, -1}, {1, 1, 0}, {0, 1, 1}, {-1, 1, 0}, {1, 0.5f, -1}};
    for (const Vector3& target : targets) {
        view.target = target;
        expectSamePicture("looking at " + std::to_string(target.x) + "," +
                          std::to_string(target.z));
    }
}

// Game code moves nodes by writing their fields: whatever moved into view
// since the last frame is drawn in the next one.
TEST_P(CullingTest, MovedTurnedShownAndRelinkedNodesAreDrawnTheNextFrame) {
    expectSamePicture("before");
    transform(wanderer)->m_vTranslation = Vector3(-0.5f, 0.0f, -3.0f);
    expectSamePicture("a root moved into view");
    transform(part)->m_vTranslation = Vector3(-1.0f, 0.5f, 3.0f);
    expectSamePicture("a nested part moved");
    transform(ghost)->m_fAngle = 200.0f;
    transform(ghost)->m_vScale = Vector3(2.0f, 2.0f, 2.0f);
    expectSamePicture("the ghost turned and grown");
    transform(ghost)->setAxis(1.0f, 0.0f, 0.0f);
    transform(ghost)->m_vCentre = Vector3(0.0f, 1.0f, 0.0f);
    expectSamePicture("the ghost's axis and centre changed");
    transform(hidden)->setVisible(true);
    expectSamePicture("a hidden node shown");
    addAt(wanderer, new GeometryBox(3.0f, 3.0f, 3.0f), Vector3(0.0f, 0.0f, 1.0f), nullptr);
    expectSamePicture("a shape added under a drawn node");
    const float matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 4, 0, -2, 1};
    transform(hidden)->setMatrix(matrix);
    transform(hidden)->setUseMatrix(true);
    expectSamePicture("a matrix set");
}

TEST_P(CullingTest, ANodeMovedIntoViewIsDrawnAtOnce) {
    scene.setCulling(true);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene.renderScene();
    const std::size_t before = scene.rootsDrawnLastFrame();
    // Straight ahead and close: it covers the middle of the picture.
    transform(wanderer)->m_vTranslation = Vector3(0.0f, 0.0f, -1.5f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene.renderScene();
    EXPECT_EQ(scene.rootsDrawnLastFrame(), before + 1);
    unsigned char rgba[4];
    gl.pixelAt(gl.width() / 2, gl.height() / 2, rgba);
    EXPECT_GT(rgba[0], 2 * rgba[1]) << "the red box fills the middle";
}

TEST_P(CullingTest, RootLevelNodesChainInTheOrderAdded) {
    std::vector<Node*> roots;
    for (Node* n = scene.node(1); n; n = n->next()) {
        roots.push_back(n);
    }
    auto* last = new NodeTransform;
    NodeID id = scene.addNode(last, 0);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(roots.back()->next(), last);
    EXPECT_EQ(last->prev(), roots.back());
    EXPECT_EQ(last->next(), nullptr);
}

// Walls promised never to move are still watched, a few per frame: one that
// moves after all is drawn where it now is once its turn has come.
TEST_P(CullingTest, AFixedNodeThatMovesAfterAllIsDrawnWhereItIsWithinItsTurn) {
    expectSamePicture("before");
    NodeTransform* moved = nullptr;
    std::size_t fixedRoots = 0;
    for (Node* n = scene.node(1); n; n = n->next()) {
        if (n->isFixedInPlace()) {
            ++fixedRoots;
            auto* t = static_cast<NodeTransform*>(n);
            if (t->m_vTranslation.z > 30.0f) {
                moved = t;  // well behind the eye
            }
        }
    }
    if (!GetParam()) {
        EXPECT_EQ(fixedRoots, 0u);
        return;
    }
    ASSERT_NE(moved, nullptr);
    moved->m_vTranslation = Vector3(0.5f, 0.0f, -3.0f);
    const std::size_t turns = fixedRoots / RootCuller::FIXED_CHECKS_PER_FRAME + 1;
    scene.setCulling(true);
    for (std::size_t i = 0; i < turns; ++i) {
        scene.renderScene();
    }
    expectSamePicture("a fixed node moved into view");
}

// What changes in play costs in proportion to the change: each change below
// has its own subtree's box worked out again, not the field's, and the next
// picture is still the unculled one.
TEST_P(CullingTest, AChangeDuringPlayMeasuresOnlyTheSubtreeItTouched) {
    expectSamePicture("before");
    // A field root in view, and one behind the eye.
    NodeID near = 0;
    NodeID behind = 0;
    for (NodeID id = 1; id <= scene.nodeCount(); ++id) {
        Node* n = scene.node(id);
        if (n->parentLink() != nullptr || !n->isTransform() || n->isFixedInPlace() != GetParam()) {
            continue;
        }
        const Vector3& at = transform(id)->m_vTranslation;
        if (at.y == 0.0f && std::fabs(at.x) < 3.0f) {
            near = at.z < -2.0f && at.z > -8.0f ? id : near;
            behind = at.z > 4.0f && at.z < 7.0f ? id : behind;
        }
    }
    ASSERT_NE(near, 0u);
    ASSERT_NE(behind, 0u);
    auto* patch = new GeometryFlatGrid(3.0f, 3.0f, 1, 1);
    scene.addGeometry(patch);
    auto* ball = new GeometrySphere(0.3f, 8, 6);
    scene.addGeometry(ball);
    Material* red = material(1.0f, 0.2f, 0.2f, 1.0f);
    // Ten ahead: what stood behind the eye comes into view.
    const float ahead[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -10.0f, 1};
    struct Step {
        const char* what;
        std::function<void()> change;
    };
    const Step steps[] = {
        {"nothing changed", [] {}},
        {"a root added in view", [&] { addAt(0, ball, Vector3(0.5f, 0.5f, -2.5f), red); }},
        // Coplanar with the floor it lies on, so it must still come after it.
        {"a fixed root added on the floor",
         [&] { addAt(0, patch, Vector3(-1.0f, -0.01f, -5.0f), red, true); }},
        {"a part added in view under a field root behind the eye",
         [&] {
             addAt(behind, ball, Vector3(-transform(behind)->m_vTranslation.x, 1.4f, -7.5f), red);
         }},
        {"a field root behind the eye moved into view by a matrix",
         [&] {
             transform(behind)->setMatrix(ahead);
             transform(behind)->setUseMatrix(true);
         }},
        {"a field root's promise changed", [&] { transform(near)->setFixedInPlace(!GetParam()); }},
        {"the ghost hidden", [&] { transform(ghost)->setVisible(false); }},
    };
    const std::size_t changed[] = {0, 1, 1, 1, 1, 1, 1};
    static_assert(std::size(changed) == std::size(steps));
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        steps[i].change();
        scene.setCulling(true);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        scene.renderScene();
        EXPECT_EQ(scene.rootsMeasuredLastFrame(), changed[i]) << steps[i].what;
        expectSamePicture(steps[i].what);
    }
}

// A subtree that grows frame after frame outgrows its place among the kept
// transform values again and again; what it left behind is cleared away now
// and then, and every subtree is still compared with its own values.
TEST_P(CullingTest, SubtreesGrowingInPlayAreStillWatched) {
    expectSamePicture("before");
    auto* small = new GeometryBox(0.2f, 0.2f, 0.2f);
    scene.addGeometry(small);
    scene.setCulling(true);
    for (int i = 0; i < 120; ++i) {
        addAt(wanderer, small, Vector3(0.0f, 0.3f * static_cast<float>(i % 10), 0.0f), nullptr);
        scene.renderScene();
        EXPECT_EQ(scene.rootsMeasuredLastFrame(), 1u);
    }
    transform(hidden)->m_vTranslation = Vector3(0.5f, 0.0f, -2.5f);
    transform(hidden)->setVisible(true);
    expectSamePicture("another subtree shown in front");
    transform(wanderer)->m_vTranslation = Vector3(-0.5f, 0.0f, -3.0f);
    expectSamePicture("the grown subtree moved into view");
}

INSTANTIATE_TEST_SUITE_P(FieldFixedOrNot, CullingTest, ::testing::Bool());

}  // namespace
