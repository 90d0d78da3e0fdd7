// The weapon in hand is drawn in eye space, whatever the view, and the
// ghosts switch their lights with their lives.
#include <GL/gl.h>
#include <GL/glu.h>

#include <memory>
#include <string>

#include "game/ghost.h"
#include "game/player.h"
#include "game/weapon_crossbow.h"
#include "game/weapon_mace.h"
#include "play_objects_fixture.h"
#include "scene/geometry_primitives.h"
#include "scene/light.h"
#include "scene/node_shape.h"
#include "support/gl_context.h"

namespace {

class WeaponDrawTest : public PlayObjectsTest {
protected:
    WeaponDrawTest() : box(1.0f, 1.0f, 1.0f) {}

    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        gl.resetState();
        glMatrixMode(GL_PROJECTION);
        gluPerspective(60.0, 1.0, 0.1, 100.0);
        // A view far from the weapons: drawn under it they would be off screen.
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(50.0f, 0.0f, 0.0f);
        glColor3f(1.0f, 1.0f, 1.0f);

        hidden = nodes.weapons();
        ASSERT_TRUE(player.createWeapons(hidden));
        // Each model gets a unit box placed so that it shows in the middle of
        // the view while the weapon is held: the mace's on the left, the
        // crossbow's (scaled by 0.16) on the right.
        addBox(static_cast<NodeTransform*>(hidden->findByName("mace")),
               Vector3(2.017f - 0.5f, -5.729f - 0.5f, 3.668f - 3.0f), 1.0f);
        addBox(static_cast<NodeTransform*>(hidden->findByName("weapon")),
               Vector3((-0.171f + 0.5f) / 0.16f, (0.239f - 0.5f) / 0.16f, (0.949f - 3.0f) / 0.16f),
               1.0f / 0.16f);
    }

    // A unit box with its base centre at offset (in the parent's units).
    void addBox(NodeTransform* parent, const Vector3& offset, float scale) {
        NodeTransform* holder = nodes.make("box", parent);
        holder->m_vTranslation = offset;
        holder->m_vScale = Vector3(scale, scale, scale);
        shapes.push_back(std::make_unique<NodeShape>(&box));
        shapes.back()->attachTo(holder);
    }
    bool litAt(int x, int y) {
        unsigned char rgba[4];
        gl.pixelAt(x, y, rgba);
        return rgba[0] > 128;
    }
    void drawFrame() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        player.renderWeapon();
        glFinish();
    }

    GLTestContext& gl = GLTestContext::shared();
    GeometryBox box;
    std::vector<std::unique_ptr<NodeShape>> shapes;
    NodeTransform* hidden = nullptr;
    Player player{0.5f};
};

TEST_F(WeaponDrawTest, TheWeaponInHandIsDrawnInEyeSpaceAndTheViewIsKept) {
    const int w = gl.width();
    const int h = gl.height();
    GLfloat before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    drawFrame();
    EXPECT_TRUE(litAt(w / 2 - w / 8, h / 2));   // the mace
    EXPECT_FALSE(litAt(w / 2 + w / 8, h / 2));  // no crossbow
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(after[i], before[i]) << i;
    }

    player.switchWeapon();
    while (player.getWeaponState() != WeaponState::CrossbowReady) {
        player.updateWeapons();
    }
    drawFrame();
    EXPECT_FALSE(litAt(w / 2 - w / 8, h / 2));
    EXPECT_TRUE(litAt(w / 2 + w / 8, h / 2));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(WeaponDrawTest, ArrowsStuckForAMinuteGoWhicheverWeaponIsInHand) {
    WeaponCrossbow* crossbow = player.getCrossbow();
    NodeTransform* arrow = nodes.make("arrow_1");
    ASSERT_TRUE(crossbow->setArrowNode(0, arrow));
    player.switchWeapon();
    while (player.getWeaponState() != WeaponState::CrossbowReady) {
        player.updateWeapons();
    }
    crossbow->addArrows(1);
    hold(ControlTable::ATTACK, true);
    while (crossbow->flyingCount() == 0) {
        player.updateWeapons();
    }
    hold(ControlTable::ATTACK, false);
    crossbow->stopArrow(0);
    press(ControlTable::MELEE_WEAPON);
    while (player.getWeaponState() != WeaponState::MaceReady) {
        player.updateWeapons();
    }
    advance(59.9);
    drawFrame();
    EXPECT_TRUE(arrow->isVisible());
    advance(0.2);
    drawFrame();
    EXPECT_FALSE(arrow->isVisible());
    EXPECT_EQ(crossbow->flyingCount(), 0);
}

TEST_F(WeaponDrawTest, AGhostsLightGoesOutWhenItDiesAndOnWhenItReturns) {
    LightPoint light;
    light.setOn(false);
    GhostWorld world{100.0f, 100.0f};
    Ghost ghost(nodes.ghost());
    ghost.setLight(&light);
    EXPECT_TRUE(ghost.checkNodes());
    EXPECT_TRUE(boxes.boxes().empty());
    ghost.update(Vector3(), world);
    EXPECT_TRUE(light.isOn());
    ghost.setPosition(50.0f, 0.0f, 50.0f);
    ghost.kill();
    EXPECT_FALSE(light.isOn());
    for (int i = 0; i < 120; ++i) {
        ghost.setPosition(50.0f, 0.0f, 50.0f);
        ghost.update(Vector3(), world);
    }
    EXPECT_FALSE(light.isOn());
    advance(5.1);
    ghost.update(Vector3(), world);
    EXPECT_TRUE(ghost.isAlive());
    EXPECT_TRUE(light.isOn());
}

}  // namespace
