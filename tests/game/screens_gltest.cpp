// The screens built from the generated atlases: every control at its place,
// size and texture offset, the lists filled from the files, the cursor, the
// rebinding prompt centred with its real width, the moving parts of the
// overlay, and a clean failure without the game's data.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "audio/audio_manager.h"
#include "game/game_scene.h"
#include "game/gui_ids.h"
#include "game/sound_slots.h"
#include "game/tuning.h"
#include "input/game_settings.h"
#include "platform/keycodes.h"
#include "support/fake_clock.h"
#include "support/gl_context.h"
#include "support/map_images.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"
#include "support/x11_helpers.h"

namespace {

using namespace gui_id;

std::string boxTexts(const MessageBoxRecorder& boxes) {
    std::string texts;
    for (const auto& box : boxes.boxes()) {
        texts += box.text + "\n";
    }
    return texts;
}

// A scratch game folder: the generated resources and a save folder of its own.
class ScreensGL : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11::displayAvailable() || !GLTestContext::shared().ok()) {
            GTEST_SKIP() << "no GL context";
        }
        std::string resources = std::string(SPOOKHOLLOW_GAME_DIR) + "/resources";
        if (!std::filesystem::exists(resources)) {
            GTEST_SKIP() << "the build made no resources";
        }
        GLTestContext::shared().resetState();
        std::filesystem::create_directory(dir.file("save"));
        std::filesystem::create_directory_symlink(resources, dir.file("resources"));
        cwd = std::make_unique<ScopedWorkingDir>(dir.path());
        settings.loadControls(nullptr);
        setenv("ALSOFT_DRIVERS", "null", 1);
        audio = std::make_unique<AudioManager>();
        audio->init();
    }
    void TearDown() override {
        scene.reset();
        audio.reset();
    }

    void buildScreens() {
        scene = std::make_unique<GameScene>(window);
        ASSERT_TRUE(scene->setUpScreens()) << boxTexts(boxes) << reporter.getMessage();
        ASSERT_TRUE(boxes.boxes().empty()) << boxTexts(boxes);
    }
    GUIManager& gui() { return scene->gui(); }
    Screens& screens() { return scene->screens(); }
    void goTo(std::vector<GameState> stack) {
        window.setState(GameState::MainMenu);
        for (GameState state : stack) {
            window.setState(state);
        }
    }
    void drawAt(double seconds) {
        clock.advanceSeconds(seconds - window.totalTime());
        window.beginFrame();
        scene->drawScreenOverlay();
    }

    TempDir dir;
    std::unique_ptr<ScopedWorkingDir> cwd;
    MessageBoxRecorder boxes;
    ErrorReporter reporter{"ErrorLog", false};
    GameSettings settings{nullptr};
    FakeClock clock;
    GameWindow window{clock};
    std::unique_ptr<AudioManager> audio;
    std::unique_ptr<GameScene> scene;
};

enum Atlas { GUI_ATLAS, INSTRUCTIONS, LARGE };

struct Placement {
    GUI_ID id;
    GameState state;
    GUIType type;
    float x, y, width, height;
    Atlas atlas;
    int px, py;  // the picture's texture offset (-1: a text)
};

// The screens' table, in each group's creation order.
const Placement PLACEMENTS[] = {
    {INTRO_PICTURE, GameState::Intro, GUI_IMAGE, 0, 182, 560, 316, GUI_ATLAS, 463, 1023},
    {MENU_QUIT, GameState::MainMenu, GUI_BUTTON, 268, 100, 98, 36, GUI_ATLAS, 0, 185},
    {MENU_OPTIONS, GameState::MainMenu, GUI_BUTTON, 268, 201, 210, 34, GUI_ATLAS, 0, 149},
    {MENU_HIGH_SCORES, GameState::MainMenu, GUI_BUTTON, 268, 262, 244, 39, GUI_ATLAS, 0, 113},
    {MENU_START, GameState::MainMenu, GUI_BUTTON, 268, 323, 98, 38, GUI_ATLAS, 0, 75},
    {MENU_TITLE, GameState::MainMenu, GUI_IMAGE, 268, 450, 249, 169, GUI_ATLAS, 775, 168},
    {MENU_MARKER, GameState::MainMenu, GUI_IMAGE, 214, 331, 42, 29, GUI_ATLAS, 22, 29},
    {MENU_GHOST, GameState::MainMenu, GUI_IMAGE, 473, 61, 321, 420, GUI_ATLAS, 361, 420},
    {HIGH_SCORES_BACK, GameState::HighScores, GUI_BUTTON, -52, -52, 217, 35, GUI_ATLAS, 0, 223},
    {HIGH_SCORES_MARKER, GameState::HighScores, GUI_IMAGE, -95, -50, 41, 27, GUI_ATLAS, 23, 30},
    {HIGH_SCORE_LIST, GameState::HighScores, GUI_LIST, 193, 156, 420, 307, GUI_ATLAS, 5, 1018},
    {HIGH_SCORES_TITLE, GameState::HighScores, GUI_IMAGE, 202, 430, 402, 101, GUI_ATLAS, 0, 709},
    // Turned a quarter: the 256 x 512 picture is drawn 512 wide and 256 high.
    {HIGH_SCORES_CASTLE, GameState::HighScores, GUI_IMAGE, 368, -40, 512, 256, LARGE, 256, 511},
    {OPTIONS_BACK, GameState::Options, GUI_BUTTON, -52, -52, 217, 35, GUI_ATLAS, 0, 223},
    {OPTIONS_MARKER, GameState::Options, GUI_IMAGE, -95, -50, 41, 27, GUI_ATLAS, 23, 30},
    {CONTROL_LIST, GameState::Options, GUI_LIST, 362, 250, 321, 307, GUI_ATLAS, 698, 662},
    {OPTIONS_TITLE, GameState::Options, GUI_IMAGE, 379, 544, 286, 64, GUI_ATLAS, 0, 617},
    {OPTIONS_CHANGE, GameState::Options, GUI_BUTTON, 462, 210, 124, 49, GUI_ATLAS, 797, 701},
    {REBIND_PROMPT, GameState::Options, GUI_TEXT, 0, 174, -1, -1, GUI_ATLAS, -1, -1},
    {OPTIONS_WINDOW, GameState::Options, GUI_IMAGE, -64, 64, 256, 512, LARGE, 0, 511},
    {INVERT_MOUSE_LABEL, GameState::Options, GUI_IMAGE, 307, 122, 184, 24, GUI_ATLAS, 494, 691},
    {INVERT_MOUSE_TOGGLE, GameState::Options, GUI_BUTTON, 501, 124, 20, 20, GUI_ATLAS, 430, 1008},
    {SENSITIVITY_SLIDER, GameState::Options, GUI_SLIDER, 497, 65, 51, 50, GUI_ATLAS, 719, 346},
    {SENSITIVITY_LABEL, GameState::Options, GUI_IMAGE, 276, 70, 215, 26, GUI_ATLAS, 462, 661},
    {SENSITIVITY_LOW, GameState::Options, GUI_TEXT, 500, 55, -1, -1, GUI_ATLAS, -1, -1},
    {SENSITIVITY_HIGH, GameState::Options, GUI_TEXT, 757, 55, -1, -1, GUI_ATLAS, -1, -1},
    // The display settings; the resolution's arrows are texts over buttons
    // without a picture.
    {RESOLUTION_PREVIOUS, GameState::Options, GUI_BUTTON, 194, 490, 20, 24, GUI_ATLAS, -1, -1},
    {RESOLUTION_NEXT, GameState::Options, GUI_BUTTON, 344, 490, 20, 24, GUI_ATLAS, -1, -1},
    {RESOLUTION_LABEL, GameState::Options, GUI_TEXT, 200, 520, -1, -1, GUI_ATLAS, -1, -1},
    {RESOLUTION_PREVIOUS_ARROW, GameState::Options, GUI_TEXT, 200, 496, -1, -1, GUI_ATLAS, -1, -1},
    {RESOLUTION_VALUE, GameState::Options, GUI_TEXT, 220, 496, -1, -1, GUI_ATLAS, -1, -1},
    {RESOLUTION_NEXT_ARROW, GameState::Options, GUI_TEXT, 350, 496, -1, -1, GUI_ATLAS, -1, -1},
    {FULLSCREEN_LABEL, GameState::Options, GUI_TEXT, 200, 456, -1, -1, GUI_ATLAS, -1, -1},
    {FULLSCREEN_TOGGLE, GameState::Options, GUI_BUTTON, 336, 452, 20, 20, GUI_ATLAS, 430, 1008},
    {VSYNC_LABEL, GameState::Options, GUI_TEXT, 200, 424, -1, -1, GUI_ATLAS, -1, -1},
    {VSYNC_TOGGLE, GameState::Options, GUI_BUTTON, 336, 420, 20, 20, GUI_ATLAS, 430, 1008},
    {BRIGHTNESS_SLIDER, GameState::Options, GUI_SLIDER, 497, 8, 51, 50, GUI_ATLAS, 719, 346},
    {BRIGHTNESS_LABEL, GameState::Options, GUI_TEXT, 400, 18, -1, -1, GUI_ATLAS, -1, -1},
    {LOOK_SPEED_PREVIOUS, GameState::Options, GUI_BUTTON, 194, 354, 20, 24, GUI_ATLAS, -1, -1},
    {LOOK_SPEED_NEXT, GameState::Options, GUI_BUTTON, 344, 354, 20, 24, GUI_ATLAS, -1, -1},
    {LOOK_SPEED_LABEL, GameState::Options, GUI_TEXT, 200, 384, -1, -1, GUI_ATLAS, -1, -1},
    {LOOK_SPEED_PREVIOUS_ARROW, GameState::Options, GUI_TEXT, 200, 360, -1, -1, GUI_ATLAS, -1, -1},
    {LOOK_SPEED_VALUE, GameState::Options, GUI_TEXT, 220, 360, -1, -1, GUI_ATLAS, -1, -1},
    {LOOK_SPEED_NEXT_ARROW, GameState::Options, GUI_TEXT, 350, 360, -1, -1, GUI_ATLAS, -1, -1},
    {RUMBLE_LABEL, GameState::Options, GUI_TEXT, 200, 320, -1, -1, GUI_ATLAS, -1, -1},
    {RUMBLE_TOGGLE, GameState::Options, GUI_BUTTON, 336, 316, 20, 20, GUI_ATLAS, 430, 1008},
    {PAUSE_QUIT, GameState::Paused, GUI_BUTTON, 258, 257, 212, 36, GUI_ATLAS, 0, 299},
    {PAUSE_RESUME, GameState::Paused, GUI_BUTTON, 258, 381, 319, 35, GUI_ATLAS, 0, 261},
    {PAUSE_MARKER, GameState::Paused, GUI_IMAGE, 212, 388, 42, 29, GUI_ATLAS, 22, 29},
    {LOADING_TEXT, GameState::Loading, GUI_TEXT, 10, -50, -1, -1, GUI_ATLAS, -1, -1},
    {LOADING_PICTURE, GameState::Loading, GUI_IMAGE, -104, -22, 1006, 671, INSTRUCTIONS, 9, 676},
    {READY_PICTURE, GameState::Ready, GUI_IMAGE, -104, -22, 1006, 671, INSTRUCTIONS, 9, 676},
    {MAP_CHOICE_TITLE, GameState::MapChoice, GUI_IMAGE, 180, 466, 440, 101, GUI_ATLAS, 0, 530},
    {MAP_LIST, GameState::MapChoice, GUI_LIST, 238, 156, 324, 307, GUI_ATLAS, 5, 1018},
    {MAP_START, GameState::MapChoice, GUI_BUTTON, 351, 106, 98, 38, GUI_ATLAS, 0, 75},
    {MAP_BACK, GameState::MapChoice, GUI_BUTTON, -52, -52, 217, 35, GUI_ATLAS, 0, 223},
    {MAP_CHOICE_MARKER, GameState::MapChoice, GUI_IMAGE, -95, -50, 41, 27, GUI_ATLAS, 23, 30},
};

// The lower-left texture corner back in pixels: u = px / S, v = (S - py) / S.
void expectCorner(const GUITexRect& rect, float side, int px, int py) {
    float s = side - 1.0f;
    EXPECT_NEAR(rect.uMin * s, static_cast<float>(px), 0.01f);
    EXPECT_NEAR(s - rect.vMin * s, static_cast<float>(py), 0.01f);
}

TEST_F(ScreensGL, EveryControlSitsAtItsPlaceWithItsPicture) {
    buildScreens();
    const float sides[] = {1024.0f, 1024.0f, 512.0f};
    std::size_t groupCounts[GUIManager::GROUP_COUNT] = {};
    for (const Placement& p : PLACEMENTS) {
        SCOPED_TRACE(testing::Message() << "control " << p.id);
        GUIControl* control = gui().getControl(p.id);
        ASSERT_NE(control, nullptr);
        ++groupCounts[static_cast<int>(p.state)];
        EXPECT_EQ(control->getType(), p.type);
        EXPECT_FLOAT_EQ(control->getPosition().x, p.x);
        EXPECT_FLOAT_EQ(control->getPosition().y, p.y);
        if (p.width >= 0) {
            EXPECT_FLOAT_EQ(control->getSize().x, p.width);
            EXPECT_FLOAT_EQ(control->getSize().y, p.height);
        }
        float side = sides[p.atlas];
        const bool tick = p.id == INVERT_MOUSE_TOGGLE || p.id == FULLSCREEN_TOGGLE ||
                          p.id == VSYNC_TOGGLE || p.id == RUMBLE_TOGGLE;
        if (GUIButton* button = gui().getButton(p.id)) {
            EXPECT_EQ(button->getTextureName() != 0u, p.px >= 0);
            if (!tick && p.px >= 0) {
                EXPECT_EQ(button->getSound(), slotOf(Sound::MenuButton));
                for (int look = 0; look < 4; ++look) {
                    expectCorner(button->getTexRect(look), side, p.px, p.py);
                }
            }
        } else if (GUIImage* image = gui().getImage(p.id)) {
            EXPECT_NE(image->getTextureName(), 0u);
            EXPECT_EQ(image->getOrientation(), p.id == HIGH_SCORES_CASTLE ? 2 : 0);
            expectCorner(image->getTexRect(), side, p.px, p.py);
        } else if (GUIList* list = gui().getList(p.id)) {
            EXPECT_NE(list->getTextureName(), 0u);
            expectCorner(list->getTexRect(3), side, p.px, p.py);
        }
    }
    for (int state = 0; state < GUIManager::GROUP_COUNT; ++state) {
        EXPECT_EQ(gui().groupSize(static_cast<GameState>(state)), groupCounts[state]) << state;
    }

    // The tick boxes: a picture per look, no sound.
    for (GUI_ID id : {INVERT_MOUSE_TOGGLE, FULLSCREEN_TOGGLE, VSYNC_TOGGLE, RUMBLE_TOGGLE}) {
        GUIButton* tick = gui().getButton(id);
        EXPECT_EQ(tick->getSound(), 0u);
        const int looks[4][2] = {{430, 1008}, {364, 1008}, {408, 1008}, {386, 1008}};
        for (int look = 0; look < 4; ++look) {
            expectCorner(tick->getTexRect(look), 1024.0f, looks[look][0], looks[look][1]);
        }
    }

    // The slider: track 297 x 34 at its place, knob 51 x 50, mouse box below by 8.
    GUISlider* slider = gui().getSlider(SENSITIVITY_SLIDER);
    EXPECT_FLOAT_EQ(slider->getHitSize().x, 297.0f);
    EXPECT_FLOAT_EQ(slider->getHitSize().y, 34.0f);
    EXPECT_FLOAT_EQ(slider->getHitOffset().y, -8.0f);
    EXPECT_FLOAT_EQ(slider->getMinimum(), SENSITIVITY_SLIDER_MIN);
    EXPECT_FLOAT_EQ(slider->getMaximum(), SENSITIVITY_SLIDER_MAX);
    EXPECT_FLOAT_EQ(slider->getStep(), 0.0f);
    expectCorner(slider->getTexRect(GUISlider::TRACK_PART), 1024.0f, 719, 346);
    expectCorner(slider->getTexRect(GUISlider::KNOB_PART), 1024.0f, 358, 898);
    EXPECT_NEAR((slider->getTexRect(GUISlider::KNOB_OVER_PART).uMin -
                 slider->getTexRect(GUISlider::KNOB_PART).uMin) *
                    1023.0f,
                51.0f, 0.01f);

    // The two lists' mouse boxes.
    EXPECT_FLOAT_EQ(gui().getList(HIGH_SCORE_LIST)->getHitOffset().x, 19.0f);
    EXPECT_FLOAT_EQ(gui().getList(HIGH_SCORE_LIST)->getHitSize().y, 256.0f);
    EXPECT_FLOAT_EQ(gui().getList(CONTROL_LIST)->getHitOffset().x, 40.0f);
    EXPECT_FLOAT_EQ(gui().getList(CONTROL_LIST)->getHitSize().y, 205.0f);
    Color4 highlight = gui().getList(CONTROL_LIST)->getHighlightColour();
    EXPECT_FLOAT_EQ(highlight.r, 0.729412f);
    EXPECT_FLOAT_EQ(highlight.b, 0.278431f);

    EXPECT_EQ(gui().getText(REBIND_PROMPT)->getText(), " ");
    EXPECT_EQ(gui().getText(SENSITIVITY_LOW)->getText(), "LOW");
    EXPECT_EQ(gui().getText(SENSITIVITY_HIGH)->getText(), "HIGH");
    EXPECT_EQ(gui().getText(LOADING_TEXT)->getText(), "Loading ...");
    EXPECT_GT(gui().getTextControlSize(LOADING_TEXT).x, 50.0f);

    GUIImage* cursor = gui().mouseCursor();
    ASSERT_NE(cursor, nullptr);
    EXPECT_FLOAT_EQ(cursor->getSize().x, 20.0f);
    EXPECT_FLOAT_EQ(cursor->getSize().y, 33.0f);
    EXPECT_FLOAT_EQ(gui().cursorHotSpot().x, 1.0f);
    EXPECT_FLOAT_EQ(gui().cursorHotSpot().y, 30.0f);
    expectCorner(cursor->getTexRect(), 1024.0f, 0, 32);
}

TEST_F(ScreensGL, ButtonsCreatedBeforeTheBobbingPictureWinWhereTheyOverlap) {
    buildScreens();
    goTo({});
    // The high-score button reaches under the bobbing picture's left edge.
    auto mouseAt = [this](float x, float y) {
        Vector2 at = gui().designToWindow(Vector2(x, y));
        gui().setMousePositionForTest(at.x, at.y, false);
    };
    mouseAt(490, 280);
    EXPECT_EQ(gui().handleMouse(GameState::MainMenu), MENU_HIGH_SCORES);
    mouseAt(600, 280);
    EXPECT_EQ(gui().handleMouse(GameState::MainMenu), MENU_GHOST);
}

TEST_F(ScreensGL, ListsShowTheHighScoreFileAndTheBindings) {
    writeFile(dir.file("save/data.dat"), "3\n40\nwilma\n25\nfred\n5\nbarney\n");
    buildScreens();
    GUIList* scores = gui().getList(HIGH_SCORE_LIST);
    ASSERT_EQ(scores->getRowCount(), 3);
    EXPECT_EQ(scores->getRow(0), (std::vector<std::string>{"40", "wilma", ""}));
    EXPECT_EQ(scores->getRow(2), (std::vector<std::string>{"5", "barney", ""}));
    EXPECT_GT(scores->getRowHeight(), 6);

    scene->highScores().saveHighScores(true, 30, "dino", "room.png");
    ASSERT_EQ(scores->getRowCount(), 3);
    EXPECT_EQ(scores->getRow(1), (std::vector<std::string>{"30", "dino", "room.png"}));

    GUIList* bindings = gui().getList(CONTROL_LIST);
    ASSERT_EQ(bindings->getRowCount(), 7);
    EXPECT_EQ(bindings->getRow(0), (std::vector<std::string>{"   Move Forward", "W / UP"}));
    EXPECT_EQ(bindings->getRow(6), (std::vector<std::string>{"   Attack", "[L Mouse] / RT"}));
}

TEST_F(ScreensGL, StartOffersThePlayersMapsAndKeepsThePlayerThereForABadOne) {
    std::filesystem::create_directory(dir.file("maps"));
    buildScreens();
    scene->maps().offerFolder(dir.file("maps"));
    auto press = [this](int code) {
        settings.setKeyDown(code, true);
        screens().keys();
    };
    goTo({});
    screens().guiEvent(MENU_START, true);  // only the castle: no choice
    EXPECT_EQ(window.currentState(), GameState::Loading);

    writeFile(dir.file("maps/room.tga"), mapTga({"#####", "#..y#", "#.#.#", "#####"}));
    writeFile(dir.file("maps/empty.png"), mapPng({"###", "###", "###"}));
    goTo({});
    screens().guiEvent(MENU_START, true);
    ASSERT_EQ(window.currentState(), GameState::MapChoice);
    GUIList* list = gui().getList(MAP_LIST);
    ASSERT_EQ(list->getRowCount(), 3);
    EXPECT_EQ(list->getRow(0), (std::vector<std::string>{"Castle", "32 x 32"}));
    EXPECT_EQ(list->getRow(1), (std::vector<std::string>{"empty.png", "cannot play"}));
    EXPECT_EQ(list->getRow(2), (std::vector<std::string>{"room.tga", "5 x 4"}));

    MapChoiceScreen& choice = screens().mapChoice();
    screens().wheel(-2 * platform::WHEEL_NOTCH);  // towards the user: down the list
    EXPECT_EQ(choice.selected(), 2);
    screens().wheel(platform::WHEEL_NOTCH);
    EXPECT_EQ(choice.selected(), 1);
    screens().wheel(platform::WHEEL_NOTCH);
    press(platform::VK_DOWN);
    press(platform::VK_RETURN);
    EXPECT_EQ(window.currentState(), GameState::MapChoice);
    EXPECT_EQ(choice.message().rfind("empty.png: no open cell", 0), 0u) << choice.message();
    EXPECT_EQ(scene->maps().current().label, "Castle");

    press(platform::VK_DOWN);
    press(platform::VK_RETURN);
    EXPECT_EQ(window.currentState(), GameState::Loading);
    EXPECT_EQ(scene->maps().current().label, "room.tga");
    EXPECT_EQ(scene->maps().current().file, dir.file("maps/room.tga"));

    // Back at the menu the map played last is highlighted; Escape leaves.
    goTo({});
    screens().guiEvent(MENU_START, true);
    EXPECT_EQ(choice.selected(), 2);
    EXPECT_TRUE(choice.message().empty());
    press(platform::VK_ESCAPE);
    EXPECT_EQ(window.currentState(), GameState::MainMenu);
}

TEST_F(ScreensGL, AMissingHighScoreFileIsCreatedWithTheDefaultTable) {
    buildScreens();
    GUIList* scores = gui().getList(HIGH_SCORE_LIST);
    ASSERT_EQ(scores->getRowCount(), 8);
    for (int row = 0; row < 8; ++row) {
        EXPECT_EQ(scores->getRow(row), (std::vector<std::string>{"0", "<none>", ""}));
    }
    EXPECT_EQ(readFile(dir.file("save/data.dat")).substr(0, 11), "8\n0\n<none>\n");
}

TEST_F(ScreensGL, InvertToggleAndSliderStartFromTheSettings) {
    settings.invertMouse = false;
    settings.mouseSensitivity = 0.0015f;
    buildScreens();
    EXPECT_FALSE(gui().isButtonToggled(INVERT_MOUSE_TOGGLE));
    EXPECT_FLOAT_EQ(gui().getSliderValue(SENSITIVITY_SLIDER), 0.0015f);

    settings.invertMouse = true;
    settings.mouseSensitivity = SENSITIVITY_SLIDER_MAX * 1.5f;  // allowed by the file
    scene.reset();
    audio.reset();  // a fresh start: the sound slots are empty again
    audio = std::make_unique<AudioManager>();
    audio->init();
    buildScreens();
    EXPECT_TRUE(gui().isButtonToggled(INVERT_MOUSE_TOGGLE));
    EXPECT_FLOAT_EQ(gui().getSliderValue(SENSITIVITY_SLIDER), SENSITIVITY_SLIDER_MAX);
}

TEST_F(ScreensGL, RebindingPromptIsCentredOnFiveHundred) {
    buildScreens();
    goTo({GameState::Options});
    for (int row : {0, 5}) {
        gui().getList(CONTROL_LIST)->selectRow(row);
        screens().guiEvent(OPTIONS_CHANGE, true);
        Vector2 size = gui().getTextControlSize(REBIND_PROMPT);
        Vector2 position = gui().getPosition(REBIND_PROMPT);
        EXPECT_GT(size.x, 300.0f);
        EXPECT_NEAR(position.x + size.x / 2.0f, 500.0f, 0.01f);
        EXPECT_FLOAT_EQ(position.y, 174.0f);
        // Inside the 800-wide layout.
        EXPECT_GE(position.x, 0.0f);
        EXPECT_LE(position.x + size.x, 800.0f);
        screens().bindKey(row == 0 ? 'W' : '2');
    }
    EXPECT_EQ(gui().getText(REBIND_PROMPT)->getText(), " ");
    EXPECT_TRUE(boxes.boxes().empty()) << boxTexts(boxes);
}

TEST_F(ScreensGL, OverlayMovesTheIntroPictureTheMarkersAndTheBobbingPicture) {
    buildScreens();
    // The intro picture: far left at the start, still at 4 s, then out to the right.
    const double times[] = {0.5, 4.0, 5.0, 6.0};
    const float xs[] = {-1166.25f, 120.0f, 150.0f, 360.0f};
    for (int i = 0; i < 4; ++i) {
        drawAt(times[i]);
        EXPECT_NEAR(gui().getPosition(INTRO_PICTURE).x, xs[i], 0.05f) << times[i];
        EXPECT_FLOAT_EQ(gui().getPosition(INTRO_PICTURE).y, 182.0f);
    }

    goTo({});
    // Beside each entry, top to bottom.
    const GUI_ID entries[] = {MENU_START, MENU_HIGH_SCORES, MENU_OPTIONS, MENU_QUIT};
    const float markerYs[] = {331.0f, 270.0f, 209.0f, 108.0f};
    for (int entry = 0; entry < 4; ++entry) {
        screens().guiEvent(entries[entry], false);
        scene->drawScreenOverlay();
        EXPECT_FLOAT_EQ(gui().getPosition(MENU_MARKER).y, markerYs[entry]);
        EXPECT_FLOAT_EQ(gui().getPosition(MENU_MARKER).x, 214.0f);
    }
    // The bobbing picture follows the tween and turns back at either end.
    float lowest = 1000.0f;
    float highest = -1000.0f;
    for (int frame = 0; frame < 800; ++frame) {
        scene->menuStep();
        scene->drawScreenOverlay();
        float y = gui().getPosition(MENU_GHOST).y;
        EXPECT_FLOAT_EQ(y, screens().mainMenu().bobbing().value());
        lowest = std::min(lowest, y);
        highest = std::max(highest, y);
    }
    EXPECT_NEAR(lowest, 61.0f, 0.5f);
    EXPECT_NEAR(highest, 86.0f, 0.5f);

    goTo({GameState::Options});
    scene->drawScreenOverlay();
    EXPECT_FLOAT_EQ(gui().getPosition(OPTIONS_MARKER).x, -95.0f);
    EXPECT_FLOAT_EQ(gui().getPosition(OPTIONS_MARKER).y, -50.0f);
    screens().guiEvent(OPTIONS_CHANGE, false);
    scene->drawScreenOverlay();
    EXPECT_FLOAT_EQ(gui().getPosition(OPTIONS_MARKER).x, 420.0f);
    EXPECT_FLOAT_EQ(gui().getPosition(OPTIONS_MARKER).y, 220.0f);

    goTo({GameState::Loading, GameState::Ready, GameState::Playing, GameState::Paused});
    scene->drawScreenOverlay();
    EXPECT_FLOAT_EQ(gui().getPosition(PAUSE_MARKER).y, 384.0f);
    screens().guiEvent(PAUSE_QUIT, false);
    scene->drawScreenOverlay();
    EXPECT_FLOAT_EQ(gui().getPosition(PAUSE_MARKER).y, 261.0f);
    EXPECT_FLOAT_EQ(gui().getPosition(PAUSE_MARKER).x, 212.0f);
}

TEST_F(ScreensGL, ReadyAndGameOverPulseAndLeaveTheSharedFontOpaque) {
    writeFile(dir.file("save/data.dat"), "1\n50\nann\n");
    buildScreens();
    goTo({GameState::Loading, GameState::Ready});
    const MenuArt& art = screens().art();
    BitmapFont* font = scene->textures().getFont(art.scoreFont.group, art.scoreFont.id);
    ASSERT_NE(font, nullptr);
    bool wentUp = false;
    bool cameBack = false;
    for (int frame = 0; frame < 300; ++frame) {
        scene->menuStep();
        scene->drawScreenOverlay();
        float pulse = screens().pulse().value();
        wentUp = wentUp || pulse > 0.95f;
        cameBack = cameBack || (wentUp && pulse < 0.35f);
        EXPECT_FLOAT_EQ(font->colour().a, 1.0f);
    }
    EXPECT_TRUE(cameBack);  // the pulse turned back at its end

    window.setState(GameState::Playing);
    window.setState(GameState::GameOver);
    for (int score : {0, 60}) {  // below the table's one entry, then above it
        scene->player().addScore(score);
        screens().gameOver().begin();
        screens().nameEntryKey('A', false);
        scene->menuStep();
        scene->drawScreenOverlay();
        EXPECT_FLOAT_EQ(font->colour().a, 1.0f);
    }
    BitmapFont* small = scene->textures().getFont(art.smallFont.group, art.smallFont.id);
    goTo({});
    scene->drawScreenOverlay();
    EXPECT_FLOAT_EQ(small->colour().r, 0.0f);  // set back to black after the menu's lines
    EXPECT_TRUE(boxes.boxes().empty()) << boxTexts(boxes);
}

TEST_F(ScreensGL, WithoutTheGamesDataSetupFailsWithTheLoadersMessage) {
    TempDir empty;
    ScopedWorkingDir inEmpty(empty.path());
    scene = std::make_unique<GameScene>(window);
    EXPECT_FALSE(scene->setUpScreens());
    EXPECT_FALSE(boxes.boxes().empty());
    EXPECT_NE(boxTexts(boxes).find("btnOver.wav"), std::string::npos) << boxTexts(boxes);

    // Without sound the first missing file is the atlas.
    boxes.clear();
    audio.reset();
    scene = std::make_unique<GameScene>(window);
    EXPECT_FALSE(scene->setUpScreens());
    std::string shown = boxTexts(boxes) + reporter.getMessage();
    // The message names the file as the game asked for it.
    EXPECT_NE(shown.find("resources/textures/GUI.tga"), std::string::npos) << shown;
}

}  // namespace
