#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "gl_feedback.h"
#include "scene/geometry_primitives.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/node.h"
#include "scene/node_shape.h"
#include "scene/scene.h"
#include "scene_test_support.h"
#include "support/gl_context.h"

namespace {

class StubTexture : public ShapeTexture {
public:
    explicit StubTexture(bool solid) : m_solid(solid) {}
    unsigned glName() const override { return 0; }
    bool isSolid() const override { return m_solid; }

private:
    bool m_solid;
};

class StubView : public PlayView {
public:
    Vector3 eyePosition() const override { return eye; }
    Vector3 lookAtPoint() const override { return target; }
    void drawWeapon() override {
        ++weaponDraws;
        blendOnForWeapon = glIsEnabled(GL_BLEND) == GL_TRUE;
    }
    Vector3 eye{0, 0, 0};
    Vector3 target{0, 0, -1};
    int weaponDraws = 0;
    bool blendOnForWeapon = false;
};

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        gl.resetState();
        glViewport(0, 0, gl.width(), gl.height());
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, 1.0, 0.1, 100.0);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glCullFace(GL_BACK);
        glEnable(GL_CULL_FACE);
        glEnable(GL_NORMALIZE);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        scene.setPlayView(&view);
    }
    void TearDown() override { scene.setPlayView(nullptr); }

    // A shape of geometry under a new transform at position, returning the
    // shape's ID.
    NodeID addShapeAt(Geometry* geometry, const Vector3& position, Material* material) {
        auto* t = new NodeTransform;
        t->m_vTranslation = position;
        NodeID parent = scene.addNode(t, 0);
        NodeID shape = scene.addNode(new NodeShape(geometry), parent);
        if (material) {
            static_cast<NodeShape*>(scene.node(shape))->setMaterial(material);
        }
        return shape;
    }
    Material* seeThrough(float alpha) {
        auto* m = new Material;
        m->m_cDiffuse = Color4(0.8f, 0.8f, 0.8f, alpha);
        scene.addMaterial(m);
        return m;
    }

    GLTestContext& gl = GLTestContext::shared();
    LoggedReporter log;
    Scene scene;
    StubView view;
};

TEST_F(RenderTest, LightDefaultsAndSetterClamps) {
    LightSpot spot;
    EXPECT_TRUE(spot.isOn());
    EXPECT_EQ(spot.spotCutoff(), 30.0f);
    EXPECT_EQ(spot.spotExponent(), 12.0f);
    EXPECT_EQ(spot.spotDirection(), Vector3(0, 0, -1));
    EXPECT_EQ(spot.position()[3], 1.0f);
    spot.setSpotCutoff(120);
    EXPECT_EQ(spot.spotCutoff(), 90.0f);
    spot.setSpotCutoff(-5);
    EXPECT_EQ(spot.spotCutoff(), 0.0f);
    spot.setSpotExponent(-3);
    EXPECT_EQ(spot.spotExponent(), 0.0f);
    spot.setSpotExponent(500);
    EXPECT_EQ(spot.spotExponent(), 128.0f);
    spot.setAttenuation(-1, 0.5f, 2);
    EXPECT_EQ(spot.attenuation(), Vector3(0, 0.5f, 2));

    LightDirectional sun;
    EXPECT_EQ(sun.position()[2], 1.0f);
    EXPECT_EQ(sun.position()[3], 0.0f);
    sun.setDirection(0, -1, 0);
    EXPECT_EQ(sun.position()[0], 0.0f);
    EXPECT_EQ(sun.position()[1], 1.0f);
    EXPECT_EQ(sun.position()[2], 0.0f);
    sun.setPosition(5, 5, 5);
    EXPECT_EQ(sun.position()[1], 1.0f);

    LightPoint lamp;
    EXPECT_EQ(lamp.position()[3], 1.0f);
    lamp.setDirection(1, 2, 3);
    EXPECT_EQ(lamp.spotDirection(), Vector3(0, 0, -1));
    lamp.setPosition(1, 2, 3);
    EXPECT_EQ(lamp.position()[2], 3.0f);
    lamp.setAmbient(2, -1, 0.5f, 1);  // stored as given
    EXPECT_EQ(lamp.ambient()[0], 2.0f);
    EXPECT_EQ(lamp.ambient()[1], -1.0f);

    glEnable(GL_LIGHT3);
    lamp.disable(3);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
    EXPECT_EQ(lamp.glLight(), static_cast<unsigned>(GL_LIGHT3));
    EXPECT_TRUE(lamp.isOn());
    EXPECT_EQ(Light::maxLights(), 8);
}

TEST_F(RenderTest, LightListingLines) {
    LightPoint lamp;
    lamp.setOn(false);
    lamp.setDiffuse(0.5f, 0.5f, 0.5f, 1);
    lamp.setPosition(1, 2, 3);
    LightDirectional sun;
    sun.setDirection(0, -1, 0);
    LightSpot spot;
    spot.setSpotCutoff(45);
    NodeLight node(&spot);
    lamp.print();
    sun.print();
    spot.print();
    node.print(1, true);
    auto id = [](const void* p) { return std::to_string(reinterpret_cast<long long>(p)); };
    std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "//Light lightID_" + id(&lamp) +
                            " Type_point  on_0 dif_0.500000,0.500000,0.500000,1.000000"
                            " atten_1.000000,0.000000,0.000000 pos_1.000000,2.000000,3.000000");
    EXPECT_EQ(lines[1],
              "//Light lightID_" + id(&sun) + " Type_dir dir_0.000000,-1.000000,0.000000");
    EXPECT_EQ(lines[2], "//Light lightID_" + id(&spot) +
                            " Type_spot atten_1.000000,0.000000,0.000000"
                            " dir_0.000000,0.000000,-1.000000 cut_45.000000");
    EXPECT_EQ(lines[3], "+Light //using #" + id(&spot));
}

TEST_F(RenderTest, LightSlotIsThePositionInTheList) {
    EXPECT_EQ(scene.addLight(new LightPoint), 0);
    EXPECT_EQ(scene.addLight(new LightPoint), 1);
    for (int i = 2; i < 9; ++i) {
        scene.addLight(new LightPoint);
    }
    scene.light(0)->setOn(false);
    scene.light(1)->setPosition(4, 5, 6);

    scene.enableLights();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));  // the light that is off leaves its slot
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_EQ(scene.light(1)->glLight(), static_cast<unsigned>(GL_LIGHT1));
    GLfloat position[4];
    glGetLightfv(GL_LIGHT1, GL_POSITION, position);
    EXPECT_EQ(position[0], 4.0f);  // identity matrix: eye coordinates
    EXPECT_EQ(position[2], 6.0f);
    for (int i = 2; i < 8; ++i) {
        EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + i)) << i;
    }
    // The ninth light is never applied.
    EXPECT_EQ(scene.light(8)->glLight(), 0u);
    EXPECT_EQ(scene.lightIndex(), 8u);

    scene.disableLights();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    for (int i = 0; i < 8; ++i) {
        EXPECT_FALSE(glIsEnabled(GL_LIGHT0 + i)) << i;
    }
    EXPECT_EQ(scene.light(8)->glLight(), 0u);

    // Emptied content numbers lights from 0 again.
    scene.clearScene(1);
    EXPECT_EQ(scene.lightCount(), 0u);
    EXPECT_EQ(scene.addLight(new LightSpot), 0);
}

TEST_F(RenderTest, SpotLightSettingsReachOpenGL) {
    auto* spot = new LightSpot;
    spot->setDirection(0, -1, 0);
    spot->setSpotCutoff(45);
    spot->setAttenuation(1, 0.25f, 0);
    scene.addLight(spot);
    scene.enableLights();
    GLfloat value[4];
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, value);
    EXPECT_EQ(value[0], 45.0f);
    glGetLightfv(GL_LIGHT0, GL_SPOT_EXPONENT, value);
    EXPECT_EQ(value[0], 12.0f);
    glGetLightfv(GL_LIGHT0, GL_LINEAR_ATTENUATION, value);
    EXPECT_EQ(value[0], 0.25f);
    glGetLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, value);
    EXPECT_EQ(value[1], -1.0f);
    scene.disableLights();
}

TEST_F(RenderTest, LightNodeHandsItsPlaceToTheLightForTheNextPass) {
    auto* lamp = new LightPoint;
    scene.addLight(lamp);
    auto* holder = new NodeTransform;
    holder->m_vTranslation = Vector3(0, 3, -5);
    NodeID parent = scene.addNode(holder, 0);
    GeometryBox* box = new GeometryBox(1, 1, 1);
    scene.addGeometry(box);
    scene.addNode(new NodeShape(box), parent);  // a transform draws only with children
    scene.addNode(new NodeLight(lamp), parent);

    scene.renderScene();
    // Camera at the origin looking down -z: the view is the identity.
    EXPECT_FLOAT_EQ(lamp->matrix().m[13], 3.0f);
    EXPECT_FLOAT_EQ(lamp->matrix().m[14], -5.0f);
    // Moved now, the light keeps last frame's place until the walk refreshes it.
    holder->m_vTranslation = Vector3(0, 7, -5);
    scene.enableLights();
    GLfloat position[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    EXPECT_FLOAT_EQ(position[1], 3.0f);
    scene.disableLights();
    scene.renderScene();
    EXPECT_FLOAT_EQ(lamp->matrix().m[13], 7.0f);
}

TEST_F(RenderTest, SeeThroughShapesAreDrawnFarthestFirstInWalkOrderForTies) {
    GeometryBox* box = new GeometryBox(1, 1, 1);
    scene.addGeometry(box);
    Material* clear = seeThrough(0.5f);
    Material* almost = seeThrough(0.996f);
    auto* opaqueEnough = new Material;
    opaqueEnough->m_cDiffuse = Color4(1.0f, 1.0f, 1.0f, 0.997f);
    scene.addMaterial(opaqueEnough);
    StubTexture holey(false);

    NodeID nearA = addShapeAt(box, Vector3(0, 0, -3), clear);
    NodeID far = addShapeAt(box, Vector3(0, 0, -10), almost);
    NodeID opaque = addShapeAt(box, Vector3(0, 0, -4), opaqueEnough);
    NodeID nearB = addShapeAt(box, Vector3(3, 0, 0), clear);  // distance 3 as well
    NodeID textured = addShapeAt(box, Vector3(0, 0, -6), nullptr);
    static_cast<NodeShape*>(scene.node(textured))->setTexture(&holey);
    addShapeAt(box, Vector3(0, 0, -5), nullptr);  // no material: opaque

    // nearB lies beside the view, where culling would leave it out of the
    // walk; the records' order is the subject here.
    scene.setCulling(false);
    scene.renderScene();
    const DeferredList& deferred = scene.deferred();
    ASSERT_EQ(deferred.size(), 4u);
    EXPECT_EQ(deferred[0]->shape, scene.node(far));
    EXPECT_EQ(deferred[1]->shape, scene.node(textured));
    EXPECT_EQ(deferred[2]->shape, scene.node(nearA));
    EXPECT_EQ(deferred[3]->shape, scene.node(nearB));
    EXPECT_FLOAT_EQ(deferred[0]->distance, 100.0f);
    EXPECT_FLOAT_EQ(deferred[3]->matrix.m[12], 3.0f);
    for (const auto& record : deferred) {
        EXPECT_NE(record->shape, scene.node(opaque));
    }
    EXPECT_EQ(view.weaponDraws, 1);
    EXPECT_TRUE(view.blendOnForWeapon);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    // The next frame starts a fresh list.
    scene.renderScene();
    EXPECT_EQ(scene.deferred().size(), 4u);
}

TEST_F(RenderTest, DeferredWalkDrawsEachSeeThroughShapeOnce) {
    GeometryBox* box = new GeometryBox(1, 1, 1);
    scene.addGeometry(box);
    Material* clear = seeThrough(0.5f);
    NodeID group = scene.addNode(new NodeTransform, 0);
    // Three siblings: see-through, opaque, see-through.
    NodeID first = scene.addNode(new NodeShape(box), group);
    scene.addNode(new NodeShape(box), group);
    NodeID third = scene.addNode(new NodeShape(box), group);
    scene.setShapeMaterial(first, 1);
    scene.setShapeMaterial(third, 1);
    (void)clear;
    view.target = Vector3(0, 0, 1);

    // Every shape is a box of 12 triangles: opaque walk 1 box, deferred 2.
    std::vector<FeedbackPolygon> drawn = captureFeedback(
        [&] {
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            glOrtho(-100, 100, -100, 100, -100, 100);
            glDisable(GL_CULL_FACE);
            scene.renderScene();
        },
        false);
    EXPECT_EQ(drawn.size(), 36u);
}

TEST_F(RenderTest, HiddenTransformHidesItsSubtreeButNotItsSiblings) {
    GeometryBox* box = new GeometryBox(1, 1, 1);
    scene.addGeometry(box);
    NodeID hidden = scene.addNode(new NodeTransform, 0);
    scene.addNode(new NodeShape(box), hidden);
    NodeID nested = scene.addNode(new NodeTransform, hidden);
    scene.addNode(new NodeShape(box), nested);
    NodeID shown = scene.addNode(new NodeTransform, 0);
    NodeID shownShape = scene.addNode(new NodeShape(box), shown);
    scene.node(hidden)->setVisible(false);
    // Shapes ignore their own flag.
    scene.node(shownShape)->setVisible(false);

    std::vector<FeedbackPolygon> drawn =
        captureFeedback([&] { scene.node(1)->render(false, true); }, false);
    EXPECT_EQ(drawn.size(), 12u);
    drawn = captureFeedback([&] { scene.node(1)->render(false, false); }, false);
    EXPECT_EQ(drawn.size(), 0u);
}

TEST_F(RenderTest, TransformAppliesMatrixTranslationCentreRotationScale) {
    GeometryBox* box = new GeometryBox(2, 2, 2);
    scene.addGeometry(box);
    auto* t = new NodeTransform;
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1};
    t->setMatrix(m);
    t->setUseMatrix(true);
    t->m_vTranslation = Vector3(0, 5, 0);
    t->m_vCentre = Vector3(1, 0, 0);
    t->m_fAngle = 90;
    t->setAxis(0, 1, 0);
    t->m_vScale = Vector3(2, 2, 2);
    NodeID id = scene.addNode(t, 0);
    scene.addNode(new NodeShape(box), id);
    std::vector<FeedbackPolygon> drawn =
        captureFeedback([&] { scene.node(1)->render(false, true); }, false);
    ASSERT_FALSE(drawn.empty());
    // The front face's first corner (-1, 0, 1): scale about the centre (1, 0, 0)
    // gives (-3, 0, 2); turned 90 degrees about y around the centre gives
    // (3, 0, 4); then +5 in y and +10 in x.
    const Vector3& p = drawn[0].vertices[0].position;
    EXPECT_NEAR(p.x, 13.0f, 1e-3);
    EXPECT_NEAR(p.y, 5.0f, 1e-3);
    EXPECT_NEAR(p.z, 4.0f, 1e-3);
    // The model-view matrix is back where it was.
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(after[12], 0.0f);
}

// Records the texture state it is drawn under.
class ProbeGeometry : public Geometry {
public:
    void print() const override {}
    void draw(bool textured) const override {
        ++draws;
        lastTextured = textured;
        glGetFloatv(GL_TEXTURE_MATRIX, textureMatrix);
        texturing = glIsEnabled(GL_TEXTURE_2D) == GL_TRUE;
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        matrixMode = mode;
    }
    mutable int draws = 0;
    mutable bool lastTextured = false;
    mutable bool texturing = false;
    mutable GLint matrixMode = 0;
    mutable GLfloat textureMatrix[16] = {};
};

TEST_F(RenderTest, TextureTransformTurnsAboutItsCentre) {
    auto* probe = new ProbeGeometry;
    scene.addGeometry(probe);
    auto* tfm = new TextureTransform;
    tfm->m_fRotation = 90;
    tfm->m_vCentre = Vector2(0.5f, 0.5f);
    tfm->m_vScale = Vector2(2, 1);
    tfm->m_vTranslation = Vector2(0.25f, 0);
    scene.addTextureTransform(tfm);
    StubTexture solid(true);
    NodeID parent = scene.addNode(new NodeTransform, 0);
    NodeID shape = scene.addNode(new NodeShape(probe), parent);
    static_cast<NodeShape*>(scene.node(shape))->setTexture(&solid);
    ASSERT_TRUE(scene.setShapeTextureTfm(shape, 1));

    scene.renderScene();
    ASSERT_EQ(probe->draws, 1);
    EXPECT_TRUE(probe->lastTextured);
    EXPECT_TRUE(probe->texturing);
    EXPECT_EQ(probe->matrixMode, GL_TEXTURE);
    // Where the texture coordinate (s, t) goes: T(trans) T(c) R S T(-c).
    auto apply = [&](float s, float t) {
        const GLfloat* m = probe->textureMatrix;
        return Vector2(m[0] * s + m[4] * t + m[12], m[1] * s + m[5] * t + m[13]);
    };
    Vector2 middle = apply(0.5f, 0.5f);
    EXPECT_NEAR(middle.x, 0.75f, 1e-5);  // the centre stays, moved by the translation
    EXPECT_NEAR(middle.y, 0.5f, 1e-5);
    Vector2 corner = apply(0, 1);  // scaled to (-0.5, 1), turned about the middle
    EXPECT_NEAR(corner.x, 0.25f + 0.0f, 1e-5);
    EXPECT_NEAR(corner.y, -0.5f, 1e-5);
    // The texture stack is left as it was, texturing off.
    GLint depth = 0;
    glGetIntegerv(GL_TEXTURE_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    // Without a texture nothing of this happens.
    static_cast<NodeShape*>(scene.node(shape))->setTexture(nullptr);
    scene.renderScene();
    EXPECT_FALSE(probe->lastTextured);
    EXPECT_FALSE(probe->texturing);
}

TEST_F(RenderTest, ShapeWithoutMaterialUsesTheDefaults) {
    GeometryBox* box = new GeometryBox(1, 1, 1);
    scene.addGeometry(box);
    auto* red = new Material;
    red->m_cDiffuse = Color4(1.0f, 0.0f, 0.0f, 1.0f);
    red->m_fShininess = 20;
    addShapeAt(box, Vector3(0, 0, -5), red);
    addShapeAt(box, Vector3(0, 0, -6), nullptr);
    scene.addMaterial(red);
    scene.renderScene();
    GLfloat value[4];
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, value);
    EXPECT_FLOAT_EQ(value[0], 0.8f);
    EXPECT_FLOAT_EQ(value[3], 1.0f);
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, value);
    EXPECT_FLOAT_EQ(value[0], 0.2f);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, value);
    EXPECT_EQ(value[0], 0.0f);
    EXPECT_TRUE(scene.deferred().empty());
}

TEST_F(RenderTest, EmptySceneDrawsNothingNotEvenTheWeapon) {
    scene.renderScene();
    EXPECT_EQ(view.weaponDraws, 0);
    auto* lamp = new LightPoint;
    scene.addLight(lamp);
    scene.renderScene();
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_EQ(view.weaponDraws, 0);
}

// Colours come from emission alone, so the pixel values are exact.
Material* glowing(Scene& scene, float r, float g, float b, float alpha) {
    auto* m = new Material;
    m->m_cAmbient = Color4(0.0f, 0.0f, 0.0f, alpha);
    m->m_cDiffuse = Color4(0.0f, 0.0f, 0.0f, alpha);
    m->m_cEmissive = Color4(r, g, b, 1.0f);
    scene.addMaterial(m);
    return m;
}

TEST_F(RenderTest, SeeThroughShapeBlendsOverTheOpaqueOneBehindIt) {
    auto* light = new LightDirectional;
    light->setDiffuse(0, 0, 0, 1);
    light->setSpecular(0, 0, 0, 1);
    scene.addLight(light);
    GeometryBox* box = new GeometryBox(1, 1, 1);
    scene.addGeometry(box);
    // The see-through green box comes first in the walk and stands in front.
    addShapeAt(box, Vector3(0, -0.5f, -3), glowing(scene, 0, 1, 0, 0.5f));
    addShapeAt(box, Vector3(0, -0.5f, -6), glowing(scene, 1, 0, 0, 1));
    addShapeAt(box, Vector3(1.2f, -0.5f, -3), glowing(scene, 0, 1, 0, 0.5f));  // black behind

    scene.renderScene();
    unsigned char pixel[4];
    gl.pixelAt(gl.width() / 2, gl.height() / 2, pixel);
    EXPECT_NEAR(pixel[0], 128, 2);
    EXPECT_NEAR(pixel[1], 128, 2);
    EXPECT_EQ(pixel[2], 0);
    // Over the black background only half the green shows.
    int x = static_cast<int>(gl.width() / 2 + gl.width() / 2 * (1.2 / (3 * std::tan(M_PI / 6))));
    gl.pixelAt(x, gl.height() / 2, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_NEAR(pixel[1], 128, 2);
}

TEST_F(RenderTest, LitTestSceneRendersToPng) {
    auto* sun = new LightDirectional;
    sun->setDirection(-0.5f, -1, -0.3f);
    sun->setAmbient(0.15f, 0.15f, 0.2f, 1);
    sun->setDiffuse(0.7f, 0.7f, 0.6f, 1);
    scene.addLight(sun);
    auto* lamp = new LightPoint;
    lamp->setDiffuse(0.9f, 0.5f, 0.2f, 1);
    lamp->setAttenuation(0.5f, 0.1f, 0.0f);
    scene.addLight(lamp);

    auto material = [&](float r, float g, float b, float a) {
        auto* m = new Material;
        m->m_cAmbient = Color4(r * 0.5f, g * 0.5f, b * 0.5f, a);
        m->m_cDiffuse = Color4(r, g, b, a);
        m->m_cSpecular = Color4(0.3f, 0.3f, 0.3f, a);
        m->m_fShininess = 30;
        scene.addMaterial(m);
        return m;
    };
    GeometryFlatGrid* floor = new GeometryFlatGrid(12, 12, 6, 6);
    GeometryBox* wall = new GeometryBox(1, 1, 2);
    GeometryCylinder* pillar = new GeometryCylinder(16, 0.4f, 2.5f, true);
    GeometrySphere* ball = new GeometrySphere(0.7f, 20, 14);
    for (Geometry* g : std::initializer_list<Geometry*>{floor, wall, pillar, ball}) {
        scene.addGeometry(g);
    }
    addShapeAt(floor, Vector3(0, 0, -6), material(0.4f, 0.6f, 0.4f, 1));
    NodeID walls = scene.addNode(new NodeTransform, 0);
    scene.node(walls)->setName("walls");
    auto* wallA = new NodeTransform;
    wallA->m_vTranslation = Vector3(-2.5f, 0, -7);
    NodeID a = scene.addNode(wallA, walls);
    NodeID wallShape = scene.addNode(new NodeShape(wall), a);
    static_cast<NodeShape*>(scene.node(wallShape))->setMaterial(material(0.7f, 0.6f, 0.5f, 1));
    ASSERT_TRUE(scene.copySubtree(scene.node(a), "wall", 3, walls));
    int offset = 0;
    for (Node* n = scene.node(a)->next(); n; n = n->next()) {
        static_cast<NodeTransform*>(n)->m_vTranslation = Vector3(-1.5f + offset++, 0, -8);
    }
    addShapeAt(pillar, Vector3(2, 0, -5), material(0.8f, 0.8f, 0.9f, 1));
    addShapeAt(ball, Vector3(0.5f, 0.7f, -4), material(0.3f, 0.5f, 1.0f, 0.5f));
    addShapeAt(ball, Vector3(-1.5f, 1.2f, -5), material(1.0f, 0.3f, 0.3f, 1));
    auto* lampHolder = new NodeTransform;
    lampHolder->m_vTranslation = Vector3(0, 2.5f, -3);
    NodeID holder = scene.addNode(lampHolder, 0);
    scene.addNode(new NodeLight(lamp), holder);
    scene.addNode(new NodeShape(ball), holder);
    static_cast<NodeShape*>(scene.node(static_cast<NodeID>(scene.nodeCount())))
        ->setMaterial(material(1, 1, 0.8f, 1));

    view.eye = Vector3(0, 2.2f, 1.5f);
    view.target = Vector3(0, 0.6f, -5);
    glClearColor(0.05f, 0.05f, 0.1f, 1);
    for (int frame = 0; frame < 2; ++frame) {  // the lamp node places the light for frame 2
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        scene.renderScene();
    }
    EXPECT_EQ(scene.deferred().size(), 1u);

    std::vector<unsigned char> pixels = gl.readPixels();
    int lit = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        if (pixels[i] > 40 || pixels[i + 1] > 40) {
            ++lit;
        }
    }
    EXPECT_GT(lit, gl.width() * gl.height() / 3);
    const char* out = std::getenv("SCENE_TEST_PNG");
    std::string path = out ? out : "/tmp/spookhollow_scene_test.png";
    EXPECT_TRUE(gl.savePng(path)) << path;
}

}  // namespace
