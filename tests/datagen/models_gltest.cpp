// The generated models through the game's QVR reader, and drawn the way the
// game draws them: the pickups and the ghost in the world, the weapons in
// eye space at their held positions. With SPOOKHOLLOW_MODEL_PNG set to a
// folder, each picture is also written there as a PNG (for the contact
// sheet).
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "app/error_reporter.h"
#include "assets/qvr_reader.h"
#include "assets/qvr_test_support.h"
#include "generated_tree.h"
#include "scene/light.h"
#include "scene/node.h"
#include "support/gl_context.h"
#include "support/message_box_recorder.h"
#include "support/x11_helpers.h"

using namespace datagen_test;

namespace {

class FixedView : public PlayView {
public:
    Vector3 eyePosition() const override { return eye; }
    Vector3 lookAtPoint() const override { return target; }
    void drawWeapon() override {}
    Vector3 eye{0, 0, 0};
    Vector3 target{0, 0, -1};
};

class ModelsGl : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(generatedRoot().empty());
        if (!x11::displayAvailable() || !GLTestContext::shared().ok()) {
            GTEST_SKIP() << "no GL context";
        }
        cwd = std::make_unique<ScopedWorkingDir>(generatedRoot() + "/..");
        scene.setHooks(&hooks);
    }
    void TearDown() override { scene.setPlayView(nullptr); }

    // Loads the model as the game does; true when it came in whole and
    // quietly.
    bool load(const std::string& file, NodeID parent = 0) {
        bool whole = reader.loadQVR("resources/models/" + file, 1, parent);
        EXPECT_TRUE(boxes.boxes().empty()) << file << ": " << boxes.boxes().front().text;
        EXPECT_EQ(reporter.getErrorKind(), 0) << file << ": " << reporter.getMessage();
        return whole;
    }
    NodeTransform* named(const char* name) {
        Node* node = scene.findByName(name);
        EXPECT_NE(node, nullptr) << name;
        return node != nullptr && node->isTransform() ? static_cast<NodeTransform*>(node) : nullptr;
    }

    // Draws the scene from the view, lit by a cool moon light and a warm
    // candle, and returns the share of pixels the models cover.
    double draw(const std::string& picture) {
        GLTestContext& gl = GLTestContext::shared();
        gl.resetState();
        glViewport(0, 0, gl.width(), gl.height());
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, 1.0, 0.1, 100.0);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glEnable(GL_NORMALIZE);
        glEnable(GL_TEXTURE_2D);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glClearColor(0.06f, 0.05f, 0.09f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (scene.lightCount() == 0) {
            auto* moon = new LightDirectional;
            moon->setDirection(-0.4f, -0.6f, -0.7f);
            moon->setDiffuse(0.75f, 0.8f, 0.95f, 1);
            moon->setAmbient(0.25f, 0.25f, 0.3f, 1);
            moon->setOn(true);
            scene.addLight(moon);
            auto* candle = new LightDirectional;
            candle->setDirection(0.7f, 0.2f, -0.4f);
            candle->setDiffuse(0.55f, 0.35f, 0.18f, 1);
            candle->setSpecular(0.4f, 0.3f, 0.2f, 1);
            candle->setOn(true);
            scene.addLight(candle);
        }
        scene.setPlayView(&view);
        scene.renderScene();
        std::vector<unsigned char> pixels = gl.readPixels();
        std::size_t covered = 0;
        for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
            if (std::abs(pixels[i] - 15) + std::abs(pixels[i + 1] - 13) +
                    std::abs(pixels[i + 2] - 23) >
                12)
                ++covered;
        }
        if (const char* folder = std::getenv("SPOOKHOLLOW_MODEL_PNG")) {
            EXPECT_TRUE(gl.savePng(std::string(folder) + "/" + picture + ".png"));
        }
        return static_cast<double>(covered) / static_cast<double>(pixels.size() / 4);
    }

    std::unique_ptr<ScopedWorkingDir> cwd;
    MessageBoxRecorder boxes;
    ErrorReporter reporter{nullptr, false};
    TextureManager textures;
    TextureHooks hooks{textures};
    Scene scene;
    QvrReader reader{scene, textures, 4};
    FixedView view;
};

}  // namespace

TEST_F(ModelsGl, GhostLoadsWithItsJointsAndIsDrawnPaleAndWhole) {
    ASSERT_TRUE(load("ghost.qvr"));
    NodeTransform* ghost = named("ghost");
    for (const char* joint : {"jawBone", "R_Shoulder", "L_Shoulder", "R_hand", "L_hand"})
        ASSERT_NE(ghost->findByName(joint), nullptr) << joint;
    // Seen from a player's eye 3.5 units ahead, mid-attack.
    ghost->m_fAngle = 20;
    ghost->m_vTranslation = Vector3(0, 0.2f, 0);
    named("R_Shoulder")->m_fAngle = -40;
    named("R_hand")->m_fAngle = 30;
    named("jawBone")->m_vTranslation.y = -0.03f;
    view.eye = Vector3(0.35f, 1.55f, 2.9f);
    view.target = Vector3(0, 1.15f, 0);
    EXPECT_GT(draw("ghost"), 0.08);
}

TEST_F(ModelsGl, CrossbowAndLoadedArrowShowInViewWhenHeld) {
    auto* hidden = new NodeTransform;
    hidden->setName("HiddenWeapons");
    NodeID hiddenId = scene.addNode(hidden, 0);
    ASSERT_TRUE(load("crossbow.qvr", hiddenId));
    ASSERT_TRUE(load("arrow.qvr", hiddenId));
    ASSERT_TRUE(load("mace.qvr", hiddenId));
    for (const char* name : {"weapon", "stringL", "stringR", "pusher", "arrow", "mace"})
        ASSERT_NE(hidden->findByName(name), nullptr) << name;
    // The crossbow loaded and drawn, as the game places it in eye space; the
    // mace stays hidden.
    hidden->setVisible(true);
    named("mace")->setVisible(false);
    NodeTransform* bow = named("weapon");
    bow->m_vTranslation = Vector3(0.171f, -0.239f, -0.949f);
    bow->m_vScale = Vector3(0.16f, 0.16f, 0.16f);
    named("stringL")->m_fAngle = 35;
    named("stringR")->m_fAngle = 35;
    named("pusher")->m_vTranslation.z = 1.53f;
    NodeTransform* arrow = named("arrow");
    arrow->m_vTranslation = Vector3(0.172f, -0.238f, -1.06f);
    arrow->m_vScale = Vector3(0.16f, 0.16f, 0.16f);
    arrow->m_fAngle = -90;
    EXPECT_GT(draw("crossbow"), 0.05);
    // The same seen from the side, for a look at the whole bow.
    view.eye = Vector3(1.09f, 0.25f, -0.45f);
    view.target = Vector3(0.17f, -0.27f, -1.05f);
    EXPECT_GT(draw("crossbow_side"), 0.08);
    // The arrow on its own, close up from the side.
    bow->setVisible(false);
    view.eye = Vector3(0.84f, -0.02f, -0.82f);
    view.target = Vector3(0.172f, -0.238f, -0.82f);
    EXPECT_GT(draw("arrow"), 0.015);
}

TEST_F(ModelsGl, MaceShowsInViewHeldAndInTheStrikeWindow) {
    ASSERT_TRUE(load("mace.qvr"));
    NodeTransform* mace = named("mace");
    mace->m_vTranslation = Vector3(-2.017f, 5.729f, -3.668f);
    mace->setAxis(-0.1f, -0.1f, 1.0f);
    const double held = draw("mace");
    EXPECT_GT(held, 0.03);
    mace->m_fAngle = 50;
    const double striking = draw("mace_strike");
    EXPECT_GT(striking, 0.03);
    view.eye = Vector3(0.35f, 0.05f, -0.1f);
    view.target = Vector3(0.04f, -0.1f, -0.5f);
    mace->m_fAngle = 0;
    EXPECT_GT(draw("mace_side"), 0.03);
    view.eye = Vector3(0, 0, 0);
    view.target = Vector3(0, 0, -1);
    // Put away, it leaves the view.
    mace->m_fAngle = 0;
    mace->m_vTranslation = Vector3(-2.107f, 5.6f, -3.13f);
    EXPECT_LT(draw("mace_away"), held / 4);
}

TEST_F(ModelsGl, PickupsLoadAndShowOnTheFloor) {
    struct Pickup {
        const char* file;
        const char* root;
        const char* nested;
    };
    for (const Pickup& p : {Pickup{"healthPack.qvr", "healthPack.cob", nullptr},
                            Pickup{"powerCell.qvr", "battery.cob", "powerCell"},
                            Pickup{"arrowPickup.qvr", "arrowCase", nullptr}}) {
        ASSERT_TRUE(load(p.file));
        NodeTransform* root = named(p.root);
        ASSERT_NE(root, nullptr);
        if (p.nested != nullptr) {
            ASSERT_NE(root->findByName(p.nested), nullptr);
        }
        root->m_fAngle = 30;
        view.eye = Vector3(0.0f, 0.85f, 1.6f);
        view.target = Vector3(0, 0.36f, 0);
        EXPECT_GT(draw(p.root), 0.06) << p.file;
        root->setVisible(false);
    }
}
