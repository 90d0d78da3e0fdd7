// Building levels from map images written by the tests and from the
// generated castle: the cells' nodes, textures and masks, the player's start,
// the failures with their messages, a picture of the start view, and a
// minute of scripted walking through the real play step.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <malloc.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/ghost.h"
#include "game/map_colours.h"
#include "game/pickup_set.h"
#include "game/tuning.h"
#include "game/weapon_crossbow.h"
#include "game_fixture.h"
#include "input/control_table.h"
#include "level_files.h"
#include "scene/geometry.h"
#include "scene/material.h"
#include "scene/node.h"
#include "scene/node_shape.h"
#include "support/gl_context.h"
#include "support/temp_dir.h"
#include "support/x11_helpers.h"

namespace {

using Cell = std::pair<int, int>;

// A mouse offset that turns the view by 90 degrees at the level's turn speed.
constexpr float QUARTER_TURN = 1.5707964f / 3.0f;

class LevelTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11::displayAvailable() || !GLTestContext::shared().ok()) {
            GTEST_SKIP() << "no GL context";
        }
        GLTestContext::shared().resetState();
    }

    // Builds the level from this map and object list in a resources/ tree
    // of the test's own.
    bool build(const std::vector<std::string>& rows,
               const std::string& objects = level_files::generatedObjects()) {
        level_files::makeResources(dir.path(), level_files::mapImage(rows), objects);
        cwd = std::make_unique<ScopedWorkingDir>(dir.path());
        return buildHere();
    }
    // What the screens' set-up has loaded before any level is built (the
    // game-over picture of the HUD), then the level from the current folder.
    bool buildHere() {
        scene().screens().art().instructions = scene().textures().loadTexture(
            0, false, 1, false, "resources/textures/instructions.tga");
        return scene().buildLevel();
    }
    // Builds the generated castle as the game ships it.
    bool buildCastle() {
        cwd = std::make_unique<ScopedWorkingDir>(SPOOKHOLLOW_GAME_DIR);
        return buildHere();
    }

    GameScene& scene() { return *game.scene; }
    int countNamed(const char* prefix) {
        int count = 0;
        for (std::size_t id = 1; id <= scene().nodeCount(); ++id) {
            const char* name = scene().node(static_cast<NodeID>(id))->getName();
            if (name != nullptr && std::strncmp(name, prefix, std::strlen(prefix)) == 0) {
                ++count;
            }
        }
        return count;
    }
    NodeTransform* transform(const std::string& name) {
        Node* node = scene().findByName(name.c_str());
        return node != nullptr && node->isTransform() ? static_cast<NodeTransform*>(node) : nullptr;
    }
    // The shape under a cell's transform, and what it draws (null when any
    // is missing).
    static NodeShape* shapeOf(const NodeTransform* t) {
        return t != nullptr && t->child() != nullptr && t->child()->isShape()
                   ? static_cast<NodeShape*>(t->child())
                   : nullptr;
    }
    static ShapeTexture* textureOf(const NodeTransform* t) {
        NodeShape* shape = shapeOf(t);
        return shape != nullptr ? shape->texture() : nullptr;
    }
    static Geometry* geometryOf(const NodeTransform* t) {
        NodeShape* shape = shapeOf(t);
        return shape != nullptr ? shape->geometry() : nullptr;
    }
    static const TextureTransform* textureTfmOf(const NodeTransform* t) {
        NodeShape* shape = shapeOf(t);
        return shape != nullptr ? shape->textureTransform() : nullptr;
    }
    ShapeTexture* surface(const char* file) {
        TextureID id = scene().textures().loadTexture(1, true, 4, 1,
                                                      std::string("resources/textures/") + file);
        return scene().findTexture(id.group, id.id);
    }
    Cell playerCell() {
        int cx = -1;
        int cz = -1;
        Vector3 p = scene().player().getPosition();
        scene().level().worldToCell(p.x, p.z, cx, cz);
        return {cx, cz};
    }

    TempDir dir;
    std::unique_ptr<ScopedWorkingDir> cwd;
    GameFixture game;

    // The walls collisions use, row by row.
    std::vector<int> wallMasks() {
        const Level& level = scene().level();
        std::vector<int> masks;
        for (int y = 0; y < level.height(); ++y) {
            for (int x = 0; x < level.width(); ++x) {
                masks.push_back(level.storedWallMask(x, y));
            }
        }
        return masks;
    }
};

TEST_F(LevelTest, ThreeByThreeMapWithOneOpenCell) {
    ASSERT_TRUE(build({"###", "#.#", "###"})) << ::testing::PrintToString(game.messages());
    EXPECT_EQ(countNamed("WallBox("), 8);
    EXPECT_EQ(countNamed("TallWallBox("), 0);
    EXPECT_EQ(countNamed("Floor("), 1);
    EXPECT_EQ(countNamed("Ceiling("), 1);
    EXPECT_EQ(wallMasks(), (std::vector<int>{-1, -1, -1, -1, 255, -1, -1, -1, -1}));
    EXPECT_EQ(scene().level().cellSize(), 6.0f);
    EXPECT_EQ(scene().level().wallHeight(), 4.0f);
    EXPECT_FLOAT_EQ(scene().hud().radarScale(), 100.0f / 36.0f);
    EXPECT_EQ(scene().level().width(), 3);
    EXPECT_EQ(scene().level().height(), 3);

    NodeTransform* wall = transform("WallBox(2,1)");
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(wall->m_vTranslation, Vector3(12.0f, 0.0f, 6.0f));
    EXPECT_EQ(textureOf(wall), surface("box.tga"));
    ASSERT_NE(geometryOf(wall), nullptr);
    EXPECT_EQ(geometryOf(wall)->name(), "box");

    NodeTransform* floor = transform("Floor(1,1)");
    ASSERT_NE(floor, nullptr);
    EXPECT_EQ(floor->m_vTranslation, Vector3(6.0f, 0.0f, 6.0f));
    EXPECT_EQ(floor->getParent(), nullptr);
    EXPECT_EQ(textureOf(floor), surface("ground.tga"));
    ASSERT_NE(geometryOf(floor), nullptr);
    EXPECT_EQ(geometryOf(floor)->name(), "plane");
    EXPECT_EQ(textureTfmOf(floor), nullptr);

    NodeTransform* ceiling = transform("Ceiling(1,1)");
    ASSERT_NE(ceiling, nullptr);
    EXPECT_EQ(ceiling->getParent(), floor);
    EXPECT_EQ(ceiling->m_vTranslation, Vector3(0.0f, 4.0f, 0.0f));
    EXPECT_EQ(ceiling->m_fAngle, 180.0f);
    EXPECT_EQ(ceiling->axis(), Vector3(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(textureOf(ceiling), surface("ceiling.tga"));

    // Walled in on all four sides: the view goes along +X.
    EXPECT_EQ(scene().player().getPosition(), Vector3(6.0f, 1.8f, 6.0f));
    Vector3 d = scene().player().getDirection();
    EXPECT_NEAR(d.x, 1.0f, 1e-6f);
    EXPECT_NEAR(d.z, 0.0f, 1e-6f);
    EXPECT_EQ(scene().player().getMoveSpeed(), 20.0f);
    EXPECT_TRUE(game.messages().empty()) << ::testing::PrintToString(game.messages());
}

// Halls raise the walls and low passages beside them (side neighbours only);
// every cell class gets its floor and ceiling.
TEST_F(LevelTest, CellClassesAndTallWalls) {
    //   x 0123456
    ASSERT_TRUE(build({"#######",    // y 0
                       "#Y#...#",    // y 1
                       "##.#.M#",    // y 2
                       "#R..#.#",    // y 3
                       "#######"}))  // y 4
        << ::testing::PrintToString(game.messages());
    struct Expect {
        Cell cell;
        bool wall, tall, floor;
        float ceiling;  // 0: none
        const char* floorTexture;
    };
    const Expect cases[] = {
        {{2, 1}, true, true, false, 0, nullptr},           // black beside yellow
        {{6, 2}, true, true, false, 0, nullptr},           // black beside magenta
        {{3, 2}, true, false, false, 0, nullptr},          // black among white cells
        {{0, 3}, true, false, false, 0, nullptr},          // black beside red
        {{2, 2}, false, false, true, 4.0f, "ground.tga"},  // yellow only diagonally
        {{4, 2}, false, true, true, 0, "ground.tga"},      // white beside magenta
        {{5, 1}, false, true, true, 0, "ground.tga"},      // white beside magenta
        {{2, 3}, false, false, true, 4.0f, "ground.tga"},  // white beside red
        {{1, 1}, false, false, true, 8.0f, "wood.tga"},    // yellow hall
        {{5, 2}, false, false, true, 8.0f, "carpet.tga"},  // magenta hall
        {{1, 3}, false, false, true, 8.0f, "ground.tga"},  // red: an open cell
    };
    for (const Expect& e : cases) {
        const std::string at =
            "(" + std::to_string(e.cell.first) + "," + std::to_string(e.cell.second) + ")";
        SCOPED_TRACE(at);
        const float x = e.cell.first * 6.0f;
        const float z = e.cell.second * 6.0f;
        NodeTransform* wall = transform("WallBox" + at);
        NodeTransform* tall = transform("TallWallBox" + at);
        NodeTransform* floor = transform("Floor" + at);
        NodeTransform* ceiling = transform("Ceiling" + at);
        EXPECT_EQ(wall != nullptr, e.wall);
        EXPECT_EQ(tall != nullptr, e.tall);
        EXPECT_EQ(floor != nullptr, e.floor);
        EXPECT_EQ(ceiling != nullptr, e.ceiling > 0.0f);
        if (wall != nullptr) {
            EXPECT_EQ(wall->m_vTranslation, Vector3(x, 0.0f, z));
        }
        if (tall != nullptr) {
            EXPECT_EQ(tall->m_vTranslation, Vector3(x, 4.0f, z));
            EXPECT_EQ(textureOf(tall), surface("box.tga"));
        }
        if (floor != nullptr) {
            EXPECT_EQ(textureOf(floor), surface(e.floorTexture));
            const TextureTransform* tfm = textureTfmOf(floor);
            EXPECT_EQ(tfm != nullptr, std::strcmp(e.floorTexture, "carpet.tga") == 0);
            if (tfm != nullptr) {
                EXPECT_EQ(tfm->m_vScale.x, 2.0f);
                EXPECT_EQ(tfm->m_vScale.y, 2.0f);
                EXPECT_EQ(tfm->m_fRotation, 0.0f);
            }
        }
        if (ceiling != nullptr) {
            EXPECT_EQ(ceiling->m_vTranslation.y, e.ceiling);
        }
        const int mask = scene().level().storedWallMask(e.cell.first, e.cell.second);
        EXPECT_EQ(mask, e.wall ? -1 : scene().level().cellWallMask(e.cell.first, e.cell.second));
    }
    EXPECT_EQ(wallMasks().size(), 35u);
}

// The start look goes to the first open side neighbour in the order +X, +Z,
// -X, -Z, with a small sideways part. Maps with two free cells list both.
TEST_F(LevelTest, StartDirectionFollowsTheFirstOpenSide) {
    struct Case {
        std::vector<std::string> rows;
        std::map<Cell, Vector3> starts;
    };
    const Case cases[] = {
        {{"###", "#..", "###"},
         {{{1, 1}, Vector3(1.0f, 0.0f, 0.1f)}, {{2, 1}, Vector3(-1.0f, 0.0f, 0.1f)}}},
        {{"###", "#.#", "#.#"},
         {{{1, 1}, Vector3(0.1f, 0.0f, 1.0f)}, {{1, 2}, Vector3(0.1f, 0.0f, -1.0f)}}},
        {{"###", "..#", "###"}, {{{1, 1}, Vector3(-1.0f, 0.0f, 0.1f)}}},
        {{"#.#", "#.#", "###"}, {{{1, 1}, Vector3(0.1f, 0.0f, -1.0f)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.rows));
        game.scene = std::make_unique<GameScene>(game.window);
        TempDir fresh;
        level_files::makeResources(fresh.path(), level_files::mapImage(c.rows));
        ScopedWorkingDir inFresh(fresh.path());
        ASSERT_TRUE(buildHere()) << ::testing::PrintToString(game.messages());
        Cell start = playerCell();
        auto expected = c.starts.find(start);
        ASSERT_NE(expected, c.starts.end()) << start.first << "," << start.second;
        Vector3 want = expected->second;
        want.normalize();
        Vector3 got = scene().player().getDirection();
        EXPECT_NEAR(got.x, want.x, 1e-6f);
        EXPECT_EQ(got.y, 0.0f);
        EXPECT_NEAR(got.z, want.z, 1e-6f);
        EXPECT_EQ(scene().player().getPosition().y, 1.8f);
    }
}

// The pickups lie on free cells, never on row or column 0 and never on each
// other while there is room.
TEST_F(LevelTest, PickupsLieOnSeparateFreeCells) {
    ASSERT_TRUE(build({".....", ".#..#", ".#.##", ".....", "#.#.#"}))
        << ::testing::PrintToString(game.messages());
    const PickupSet& set = scene().pickups();
    const PickupObject* pickups[] = {set.health(), set.energy(), set.arrows()};
    std::vector<Cell> cells;
    for (const PickupObject* pickup : pickups) {
        ASSERT_NE(pickup, nullptr);
        Vector3 p = pickup->getPosition();
        int cx = 0;
        int cz = 0;
        scene().level().worldToCell(p.x, p.z, cx, cz);
        EXPECT_EQ(p, Vector3(cx * 6.0f, 0.0f, cz * 6.0f));
        EXPECT_GE(cx, 1);
        EXPECT_GE(cz, 1);
        EXPECT_FALSE(isBlack(scene().level().cellColour(cx, cz)));
        for (const Cell& other : cells) {
            EXPECT_NE(other, Cell(cx, cz));
        }
        cells.push_back({cx, cz});
    }
}

struct FailureCase {
    const char* name;
    std::vector<std::string> rows;
    std::string objects;
    std::string message;  // the start of the message shown
};

TEST_F(LevelTest, UnusableFilesFailWithAMessage) {
    const std::string box = "box geoid_1 wid_6 dep_6 hei_4 name_box";
    std::string cylinderBox = level_files::generatedObjects();
    ASSERT_NE(cylinderBox.find(box), std::string::npos);
    cylinderBox.replace(cylinderBox.find(box), box.size(),
                        "cyl geoid_1 num_8 rad_3 hei_4 smooth_1 name_box");
    const FailureCase cases[] = {
        {"noBox",
         {"###", "#.#", "###"},
         level_files::objectsWithout("box"),
         "Could not find required Geometry in lvl file."},
        {"noPlane",
         {"###", "#.#", "###"},
         level_files::objectsWithout("plane"),
         "Could not find required Geometry in lvl file."},
        {"boxNotABox", {"###", "#.#", "###"}, cylinderBox, "resources/objects.lvl\n"},
        {"allWall",
         {"###", "###", "###"},
         level_files::generatedObjects(),
         "resources/maps/castle.map\n"},
        {"openOnlyOnRowAndColumnZero",
         {"...", ".##", ".##"},
         level_files::generatedObjects(),
         "resources/maps/castle.map\n"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        game.scene = std::make_unique<GameScene>(game.window);
        game.boxes.clear();
        TempDir fresh;
        level_files::makeResources(fresh.path(), level_files::mapImage(c.rows), c.objects);
        ScopedWorkingDir inFresh(fresh.path());
        EXPECT_FALSE(buildHere());
        std::vector<std::string> messages = game.messages();
        bool shown = false;
        for (const std::string& m : messages) {
            shown = shown || m.rfind(c.message, 0) == 0;
        }
        EXPECT_TRUE(shown) << ::testing::PrintToString(messages);
        EXPECT_EQ(game.reporter.getErrorKind(), ERROR_NONE);
    }
}

// The game returns to the main menu after a failed build; the next Start
// must build from nothing, not trip over the remains (the HUD's ids).
TEST_F(LevelTest, AFailedBuildLeavesNothingBehindAndTheNextBuildWorks) {
    level_files::makeResources(dir.path(), level_files::mapImage({"###", "###", "###"}));
    cwd = std::make_unique<ScopedWorkingDir>(dir.path());
    EXPECT_FALSE(buildHere());
    EXPECT_EQ(scene().nodeCount(), 0u);
    EXPECT_EQ(scene().lightCount(), 0u);
    EXPECT_EQ(scene().gui().groupSize(GameState::Playing), 0u);
    EXPECT_EQ(scene().gui().groupSize(GameState::GameOver), 0u);
    EXPECT_EQ(scene().level().cellSize(), 0.0f);
    EXPECT_EQ(scene().ghosts().count(), 0u);
    EXPECT_EQ(scene().pickups().health(), nullptr);

    game.boxes.clear();
    level_files::makeResources(dir.path(), level_files::mapImage({"####", "#..#", "#..#", "####"}));
    EXPECT_TRUE(buildHere()) << ::testing::PrintToString(game.messages());
    EXPECT_TRUE(game.messages().empty()) << ::testing::PrintToString(game.messages());
    EXPECT_EQ(scene().gui().groupSize(GameState::Playing), 15u);
}

TEST_F(LevelTest, AMissingMapFails) {
    level_files::makeResources(dir.path(), "");
    std::remove((dir.path() + "/resources/maps/castle.map").c_str());
    cwd = std::make_unique<ScopedWorkingDir>(dir.path());
    EXPECT_FALSE(buildHere());
    EXPECT_TRUE(wallMasks().empty());
}

TEST_F(LevelTest, TheGeneratedCastleBuildsWhole) {
    ASSERT_TRUE(buildCastle()) << ::testing::PrintToString(game.messages());
    EXPECT_TRUE(game.messages().empty()) << ::testing::PrintToString(game.messages());
    const Level& level = scene().level();
    ASSERT_GT(level.width(), 2);
    for (int y = 0; y < level.height(); ++y) {
        for (int x = 0; x < level.width(); ++x) {
            bool wall = isBlack(level.cellColour(x, y));
            EXPECT_EQ(level.storedWallMask(x, y) == -1, wall) << x << "," << y;
        }
    }
    EXPECT_EQ(scene().ghosts().count(), static_cast<std::size_t>(GHOST_COUNT));
    EXPECT_NE(transform("ghost_1"), nullptr);
    EXPECT_NE(transform("ghost_3"), nullptr);
    EXPECT_EQ(transform("ghost"), nullptr);
    EXPECT_NE(transform("arrow_25"), nullptr);
    NodeTransform* hidden = transform("HiddenWeapons");
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(hidden->isVisible());
    ASSERT_NE(scene().player().getCrossbow(), nullptr);
    EXPECT_NE(scene().player().getMace(), nullptr);
    // The player's light, the candles' and one per ghost: within what GL has.
    EXPECT_LE(scene().lightCount(), 8u);
    EXPECT_FALSE(scene().play().footstepsPlaying());
    EXPECT_TRUE(scene().hud().radarOn());
    Cell start = playerCell();
    EXPECT_FALSE(isBlack(scene().level().cellColour(start.first, start.second)));
    // Only the cells promise never to move; ghosts, pickups and weapons move.
    std::size_t fixedRoots = 0;
    for (Node* n = scene().node(1); n; n = n->next()) {
        const std::string name = n->getName() ? n->getName() : "";
        const bool cell = name.rfind("Floor(", 0) == 0 || name.rfind("WallBox(", 0) == 0 ||
                          name.rfind("TallWallBox(", 0) == 0;
        EXPECT_EQ(n->isFixedInPlace(), cell) << name;
        fixedRoots += n->isFixedInPlace() ? 1 : 0;
    }
    EXPECT_GT(fixedRoots, 500u);
}

// Draws the play view the way the play frame does, with the window's fixed
// OpenGL state.
void drawView(GameScene& scene, const GLTestContext& gl) {
    glViewport(0, 0, gl.width(), gl.height());
    glShadeModel(GL_SMOOTH);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_NORMALIZE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(gl.width()) / gl.height(), 0.1, 55.0);
    scene.draw3D();
    glFinish();
}

// The picture goes to the build folder for a look; the test checks that the
// view is mostly lit surfaces, with no hole where a wall meets a floor.
TEST_F(LevelTest, StartViewOfTheCastle) {
    ASSERT_TRUE(buildCastle()) << ::testing::PrintToString(game.messages());
    GLTestContext& gl = GLTestContext::shared();
    const std::string folder = std::string(SPOOKHOLLOW_GAME_DIR) + "/../";
    const char* names[] = {"castle_start_view.png", "castle_start_view_left.png",
                           "castle_start_view_back.png"};
    for (int view = 0; view < 3; ++view) {
        drawView(scene(), gl);
        EXPECT_TRUE(gl.savePng(folder + names[view]));
        std::vector<unsigned char> pixels = gl.readPixels();
        std::size_t black = 0;
        for (std::size_t i = 0; i < pixels.size(); i += 4) {
            if (pixels[i] < 3 && pixels[i + 1] < 3 && pixels[i + 2] < 3) {
                ++black;
            }
        }
        EXPECT_LT(static_cast<double>(black) / (pixels.size() / 4), 0.25) << names[view];
        scene().mouseLook(QUARTER_TURN, 0.0f);
    }
    // Inside a hall, looking a little up: the tall walls meet the high ceiling.
    Cell hall{-1, -1};
    for (int y = 1; y < scene().level().height() && hall.first < 0; ++y) {
        for (int x = 1; x < scene().level().width() && hall.first < 0; ++x) {
            if (isYellow(scene().level().cellColour(x, y)) &&
                isYellow(scene().level().cellColour(x + 1, y))) {
                hall = {x, y};
            }
        }
    }
    ASSERT_GE(hall.first, 0);
    scene().player().setView(Vector3(hall.first * 6.0f, 1.8f, hall.second * 6.0f),
                             Vector3(1.0f, 0.35f, 0.4f));
    drawView(scene(), gl);
    EXPECT_TRUE(gl.savePng(folder + "castle_hall_view.png"));
}

// The walls and floors are culled patch by patch: every view looks as it
// does with nothing culled.
TEST_F(LevelTest, TheCastleLooksTheSameWithAndWithoutCulling) {
    ASSERT_TRUE(buildCastle()) << ::testing::PrintToString(game.messages());
    GLTestContext& gl = GLTestContext::shared();
    auto picture = [&](bool culling) {
        scene().setCulling(culling);
        drawView(scene(), gl);  // lights placed by nodes follow one frame late
        drawView(scene(), gl);
        return gl.readPixels();
    };
    for (int turn = 0; turn < 8; ++turn) {
        const std::vector<unsigned char> culled = picture(true);
        ASSERT_GT(scene().rootsCulledLastFrame(), scene().rootsDrawnLastFrame()) << turn;
        const std::vector<unsigned char> whole = picture(false);
        std::size_t differing = 0;
        for (std::size_t i = 0; i < whole.size(); ++i) {
            differing += culled[i] != whole[i] ? 1 : 0;
        }
        EXPECT_EQ(differing, 0u) << "turn " << turn;
        scene().mouseLook(QUARTER_TURN / 2.0f, 0.0f);
    }
    scene().setCulling(true);
}

// A minute of game time through the real play step, with a script of held
// keys and mouse turns repeated as needed. The ghosts chase and hurt; health
// is topped up so the game never ends. The animations run every tenth step,
// as a frame of the main loop would, so collected pickups come back.
TEST_F(LevelTest, AMinuteOfScriptedWalkingNeverEntersAWallOrLeavesTheMap) {
    ASSERT_TRUE(buildCastle()) << ::testing::PrintToString(game.messages());
    game.window.setState(GameState::Playing);
    struct Segment {
        double seconds;
        std::vector<int> actions;  // held for the whole segment
        float turn;                // mouse offset per step
    };
    const Segment script[] = {
        {4.0, {ControlTable::MOVE_FORWARD}, 0.0f},
        {2.0, {ControlTable::MOVE_FORWARD}, 0.004f},
        {1.5, {ControlTable::STRAFE_LEFT, ControlTable::ATTACK}, 0.0f},
        {3.0, {ControlTable::MOVE_FORWARD, ControlTable::STRAFE_RIGHT}, -0.002f},
        {1.0, {ControlTable::MOVE_BACK}, 0.0f},
        {0.5, {ControlTable::RANGED_WEAPON}, 0.01f},
        {3.0, {ControlTable::MOVE_FORWARD, ControlTable::ATTACK}, 0.0015f},
        {2.0, {ControlTable::STRAFE_RIGHT, ControlTable::MOVE_BACK}, -0.003f},
        {0.5, {ControlTable::MELEE_WEAPON}, 0.0f},
        {2.5, {ControlTable::MOVE_FORWARD, ControlTable::STRAFE_LEFT}, 0.006f},
    };
    const int allActions[] = {ControlTable::MOVE_FORWARD, ControlTable::MOVE_BACK,
                              ControlTable::STRAFE_LEFT,  ControlTable::STRAFE_RIGHT,
                              ControlTable::MELEE_WEAPON, ControlTable::RANGED_WEAPON,
                              ControlTable::ATTACK};
    Player& player = scene().player();
    Vector3 last = player.getPosition();
    double travelled = 0.0;
    std::map<Cell, int> visited;
    int step = 0;
    const int totalSteps = 6000;
    while (step < totalSteps) {
        for (const Segment& segment : script) {
            for (int action : allActions) {
                game.hold(action, false);
            }
            for (int action : segment.actions) {
                game.hold(action, true);
            }
            const int segmentSteps = static_cast<int>(segment.seconds * 100.0 + 0.5);
            for (int i = 0; i < segmentSteps && step < totalSteps; ++i, ++step) {
                if (segment.turn != 0.0f) {
                    scene().mouseLook(segment.turn, 0.0f);
                }
                game.advanceTime(0.01);
                scene().updatePlay();
                ASSERT_EQ(game.window.currentState(), GameState::Playing) << step;
                player.addHealth(100.0f);
                if (step % 10 == 9) {
                    scene().setFrameTime(0.1f);
                    scene().updateAnimations(0.5f);
                }
                Vector3 p = player.getPosition();
                ASSERT_FALSE(std::isnan(p.x) || std::isnan(p.z)) << step;
                Cell cell = playerCell();
                ASSERT_TRUE(scene().level().isInMap(cell.first, cell.second)) << step;
                ASSERT_FALSE(isBlack(scene().level().cellColour(cell.first, cell.second)))
                    << "step " << step << " at " << p.x << "," << p.z;
                ASSERT_EQ(p.y, 1.8f);
                travelled += std::hypot(p.x - last.x, p.z - last.z);
                last = p;
                ++visited[cell];
            }
        }
    }
    // The walk went somewhere: it slid along walls rather than sticking.
    EXPECT_GT(travelled, 100.0);
    EXPECT_GT(visited.size(), 5u);
}

}  // namespace

namespace {

// Each game builds the level and leaving it takes everything back: after
// the first build, building the castle again and again leaves the heap in
// use where it was (glibc's count of the bytes handed out).
TEST_F(LevelTest, BuildingAndLeavingTheCastleAgainKeepsTheHeapFlat) {
    cwd = std::make_unique<ScopedWorkingDir>(SPOOKHOLLOW_GAME_DIR);
    std::size_t afterFirst = 0;
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(buildHere()) << "build " << i;
        scene().leaveGame();
        if (i == 1) {
            afterFirst = mallinfo2().uordblks;
        }
    }
    const std::size_t afterTen = mallinfo2().uordblks;
    EXPECT_LT(afterTen, afterFirst + 64 * 1024)
        << "in use after the 2nd build " << afterFirst << " bytes, after the 10th " << afterTen;
}

}  // namespace
