// The screens' rules without a window: per-state keys, the GUI events,
// rebinding through the control table, high-score name entry and leaving a
// game. The controls the rules reach are created without pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "game/game_scene.h"
#include "game/ghost.h"
#include "game/gui_ids.h"
#include "game/tuning.h"
#include "input/game_settings.h"
#include "input/input_router.h"
#include "platform/keycodes.h"
#include "support/fake_clock.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"

namespace {

using namespace platform;

// The main menu's entries in the order of its selection, top to bottom.
const GUI_ID MENU_ENTRIES[] = {gui_id::MENU_START, gui_id::MENU_HIGH_SCORES, gui_id::MENU_OPTIONS,
                               gui_id::MENU_QUIT};

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(dir.file("save"));
        settings.loadControls(nullptr);  // the default bindings
    }

    // The controls that key and mouse rules touch, at their places on the
    // screens but without textures or fonts.
    void createControls() {
        using namespace gui_id;
        GUIManager& gui = scene.gui();
        ASSERT_TRUE(gui.createButton(MENU_QUIT, GameState::MainMenu, 268, 100, 98, 36));
        ASSERT_TRUE(gui.createButton(MENU_OPTIONS, GameState::MainMenu, 268, 201, 210, 34));
        ASSERT_TRUE(gui.createButton(MENU_HIGH_SCORES, GameState::MainMenu, 268, 262, 244, 39));
        ASSERT_TRUE(gui.createButton(MENU_START, GameState::MainMenu, 268, 323, 98, 38));
        ASSERT_TRUE(gui.createButton(HIGH_SCORES_BACK, GameState::HighScores, -52, -52, 217, 35));
        ASSERT_TRUE(gui.createButton(OPTIONS_BACK, GameState::Options, -52, -52, 217, 35));
        ASSERT_TRUE(
            gui.createList(CONTROL_LIST, GameState::Options, 362, 250, 321, 307, 40, 33, 250, 205));
        ASSERT_TRUE(
            gui.assignListColumns(CONTROL_LIST, {150, 100}, {FontID{}}, {Color4(1, 1, 1, 1)}));
        ASSERT_TRUE(gui.createButton(OPTIONS_CHANGE, GameState::Options, 462, 210, 124, 49));
        ASSERT_TRUE(gui.createText(REBIND_PROMPT, GameState::Options, 0, 0, 0, 174));
        ASSERT_TRUE(gui.createButton(INVERT_MOUSE_TOGGLE, GameState::Options, 501, 124, 20, 20));
        ASSERT_TRUE(gui.createSlider(SENSITIVITY_SLIDER, GameState::Options, 497, 65, 297, 34, 51,
                                     50, 26, -8, true, GameSettings::DEFAULT_MOUSE_SENSITIVITY,
                                     SENSITIVITY_SLIDER_MIN, SENSITIVITY_SLIDER_MAX, 0.0f));
        // What entering the options shows of the display.
        ASSERT_TRUE(gui.createText(RESOLUTION_VALUE, GameState::Options, 0, 0, 220, 496));
        ASSERT_TRUE(gui.createButton(FULLSCREEN_TOGGLE, GameState::Options, 336, 452, 20, 20));
        ASSERT_TRUE(gui.createButton(VSYNC_TOGGLE, GameState::Options, 336, 420, 20, 20));
        ASSERT_TRUE(gui.createText(LOOK_SPEED_VALUE, GameState::Options, 0, 0, 220, 360));
        ASSERT_TRUE(gui.createButton(RUMBLE_TOGGLE, GameState::Options, 336, 316, 20, 20));
        ASSERT_TRUE(gui.createSlider(BRIGHTNESS_SLIDER, GameState::Options, 497, 8, 297, 34, 51, 50,
                                     26, -8, true, 0.0f, 0.0f, 1.0f, 0.0f));
        ASSERT_TRUE(gui.createButton(PAUSE_QUIT, GameState::Paused, 258, 257, 212, 36));
        ASSERT_TRUE(gui.createButton(PAUSE_RESUME, GameState::Paused, 258, 381, 319, 35));
        screens().options().refreshControlList();
    }

    Screens& screens() { return scene.screens(); }
    int selection() { return screens().mainMenu().selection(); }
    // The main menu's marker to an entry, as the mouse over it puts it.
    void select(int entry) { screens().mainMenu().guiEvent(MENU_ENTRIES[entry], false); }

    void press(int code) { settings.setKeyDown(code, true); }
    void release(int code) { settings.setKeyDown(code, false); }
    // A key as the window hands it on, through the input routes.
    void keyDown(int code) {
        Event event;
        event.type = EventType::KeyDown;
        event.keyCode = code;
        router.handleInput(event);
    }
    // One menu frame's key handling after the game clock ran on.
    void frameAt(double seconds) {
        clock.advanceSeconds(seconds - window.totalTime());
        window.beginFrame();
        scene.handleStateKeys();
    }
    // The window starts on the intro above the main menu.
    void goTo(std::vector<GameState> stack) {
        window.setState(GameState::MainMenu);
        for (GameState state : stack) {
            window.setState(state);
        }
    }
    std::vector<GameState> stack() const { return window.states().entries(); }
    std::string row(GUI_ID list, int index) {
        const std::vector<std::string>& texts = scene.gui().getList(list)->getRow(index);
        return texts.at(0) + "|" + texts.at(1);
    }
    std::string text(GUI_ID id) { return scene.gui().getText(id)->getText(); }
    // The mouse at a point of the screens' design, placed as the GUI fits it.
    void mouseAt(float x, float y, bool click) {
        Vector2 at = scene.gui().designToWindow(Vector2(x, y));
        scene.gui().setMousePositionForTest(at.x, at.y, click);
        settings.mouseClickInProgress = click;
        screens().guiMouseEvent(click);
        settings.mouseClickInProgress = false;
    }

    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    MessageBoxRecorder boxes;
    ErrorReporter reporter{"ErrorLog", false};
    GameSettings settings{nullptr};
    FakeClock clock;
    GameWindow window{clock};
    GameScene scene{window};
    InputRouter router;
};

const std::vector<GameState> MENU_ONLY = {GameState::MainMenu};

// ---- Intro ----

struct IntroCase {
    const char* what;
    double spaceDown;  // < 0: never pressed
    double spaceUp;    // < 0: held
    double endsAfter;  // the intro ends in the first frame later than this
    double endsBy;     // ... and no later than this
};

TEST_F(ScreensTest, IntroEndsAfterEightSecondsOrWithSpaceAfterFive) {
    const IntroCase cases[] = {
        {"no key", -1, -1, 8.0, 8.1},
        {"Space tapped before 5 s is forgotten", 2.0, 2.1, 8.0, 8.1},
        {"Space held from 4 s ends it past 5 s", 4.0, -1, 5.0, 5.1},
        {"Space at 6 s ends it at once", 6.0, 6.05, 5.9, 6.0},
    };
    for (const IntroCase& c : cases) {
        SCOPED_TRACE(c.what);
        FakeClock introClock;
        GameWindow introWindow(introClock);
        GameScene introScene(introWindow);
        settings.clearKeys();
        double endedAt = -1.0;
        for (int frame = 1; frame <= 200 && endedAt < 0; ++frame) {
            double t = frame * 0.05;
            introClock.advanceSeconds(0.05);
            introWindow.beginFrame();
            if (c.spaceDown >= 0 && std::abs(t - c.spaceDown) < 1e-6) {
                press(VK_SPACE);
            }
            if (c.spaceUp >= 0 && std::abs(t - c.spaceUp) < 1e-6) {
                release(VK_SPACE);
            }
            introScene.handleStateKeys();
            if (introWindow.currentState() != GameState::Intro) {
                endedAt = introWindow.totalTime();
                EXPECT_EQ(introWindow.states().entries(), MENU_ONLY);
            }
        }
        EXPECT_GT(endedAt, c.endsAfter);
        EXPECT_LE(endedAt, c.endsBy + 1e-6);
    }
}

TEST_F(ScreensTest, SpaceThatEndsTheIntroIsTakenAndAnEarlyOneIsLeftAlone) {
    press(VK_SPACE);
    frameAt(4.9);
    EXPECT_EQ(window.currentState(), GameState::Intro);
    EXPECT_TRUE(settings.isKeyDown(VK_SPACE));  // the key-up will clear it
    frameAt(5.01);
    EXPECT_EQ(window.currentState(), GameState::MainMenu);
    EXPECT_FALSE(settings.isKeyDown(VK_SPACE));
}

// ---- Main menu ----

struct MenuKeyCase {
    int selection;
    int key;
    int selectionAfter;
    GameState stateAfter;
};

TEST_F(ScreensTest, MainMenuKeysWrapTheSelectionAndEnterActsOnIt) {
    createControls();
    const MenuKeyCase cases[] = {
        {0, VK_UP, 3, GameState::MainMenu},    {3, VK_DOWN, 0, GameState::MainMenu},
        {1, VK_UP, 0, GameState::MainMenu},    {1, VK_DOWN, 2, GameState::MainMenu},
        {0, VK_RETURN, 0, GameState::Loading}, {1, VK_RETURN, 1, GameState::HighScores},
        {2, VK_RETURN, 2, GameState::Options}, {2, VK_ESCAPE, 2, GameState::MainMenu},
        {2, VK_SPACE, 2, GameState::MainMenu},
    };
    for (const MenuKeyCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "selection " << c.selection << " key " << c.key);
        goTo({});
        select(c.selection);
        press(c.key);
        scene.handleStateKeys();
        EXPECT_EQ(selection(), c.selectionAfter);
        EXPECT_EQ(window.currentState(), c.stateAfter);
        bool used = c.key == VK_UP || c.key == VK_DOWN || c.key == VK_RETURN;
        EXPECT_EQ(settings.isKeyDown(c.key), !used);
        release(c.key);
    }
    EXPECT_FALSE(settings.quitRequested);
    goTo({});
    select(3);
    press(VK_RETURN);
    scene.handleStateKeys();
    EXPECT_TRUE(settings.quitRequested);
}

TEST_F(ScreensTest, UpAndDownTogetherMoveTheMenuOnlyOnce) {
    goTo({});
    select(1);
    press(VK_UP);
    press(VK_DOWN);
    scene.handleStateKeys();
    EXPECT_EQ(selection(), 0);
    scene.handleStateKeys();  // Down is still waiting
    EXPECT_EQ(selection(), 1);
}

TEST_F(ScreensTest, HoveringAButtonMovesTheMarkerWithoutAClick) {
    createControls();
    goTo({});
    mouseAt(300, 270, false);  // over the high-score button
    EXPECT_EQ(selection(), 1);
    mouseAt(300, 110, false);  // quit
    EXPECT_EQ(selection(), 3);
    mouseAt(10, 10, false);  // nothing
    EXPECT_EQ(selection(), 3);
    EXPECT_EQ(window.currentState(), GameState::MainMenu);
    mouseAt(300, 330, true);  // start
    EXPECT_EQ(window.currentState(), GameState::Loading);
}

// ---- Options, high scores, pause ----

TEST_F(ScreensTest, OptionsKeysMoveFocusAndListAndEnterFollowsTheFocus) {
    createControls();
    const OptionsScreen& options = screens().options();
    goTo({GameState::Options});
    EXPECT_TRUE(options.backFocused());  // entering the screen focuses Back

    press(VK_LEFT);
    scene.handleStateKeys();
    EXPECT_FALSE(options.backFocused());
    press(VK_LEFT);
    press(VK_RIGHT);  // both at once count as one toggle, and both are taken
    scene.handleStateKeys();
    EXPECT_TRUE(options.backFocused());
    EXPECT_FALSE(settings.isKeyDown(VK_LEFT));
    EXPECT_FALSE(settings.isKeyDown(VK_RIGHT));
    press(VK_RIGHT);
    scene.handleStateKeys();
    EXPECT_FALSE(options.backFocused());

    GUIManager& gui = scene.gui();
    for (int key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_UP}) {
        press(key);
        scene.handleStateKeys();
    }
    EXPECT_EQ(gui.getListSelectedRow(gui_id::CONTROL_LIST), 2);
    for (int i = 0; i < 10; ++i) {
        press(VK_DOWN);
        scene.handleStateKeys();
    }
    const int last = settings.controlCount() - 1;
    EXPECT_EQ(gui.getListSelectedRow(gui_id::CONTROL_LIST), last);  // stops at the last action

    press(VK_RETURN);
    scene.handleStateKeys();
    EXPECT_TRUE(screens().waitingForKey());
    EXPECT_EQ(text(gui_id::REBIND_PROMPT), "Press the button/key you want the " +
                                               settings.controlLabel(last) + "    action to have");
    EXPECT_EQ(window.currentState(), GameState::Options);

    screens().bindKey(VK_F1);
    press(VK_LEFT);
    scene.handleStateKeys();
    press(VK_RETURN);
    scene.handleStateKeys();
    EXPECT_EQ(stack(), MENU_ONLY);
}

TEST_F(ScreensTest, EscapeAndEnterLeaveHighScoresAndEscapeLeavesOptions) {
    createControls();
    for (int key : {VK_ESCAPE, VK_RETURN}) {
        goTo({GameState::HighScores});
        press(key);
        scene.handleStateKeys();
        EXPECT_EQ(stack(), MENU_ONLY);
        EXPECT_FALSE(settings.isKeyDown(key));
    }
    goTo({GameState::HighScores});
    press(VK_ESCAPE);
    press(VK_RETURN);
    scene.handleStateKeys();
    EXPECT_FALSE(settings.isKeyDown(VK_RETURN));  // taken with Escape: no second action

    goTo({GameState::Options});
    screens().guiEvent(gui_id::OPTIONS_CHANGE, false);  // the focus on Change
    press(VK_ESCAPE);
    scene.handleStateKeys();
    EXPECT_EQ(stack(), MENU_ONLY);
    EXPECT_TRUE(screens().options().backFocused());
}

TEST_F(ScreensTest, PauseMenuTogglesWithUpOrDownAndEnterResumesOrQuits) {
    createControls();
    const PauseScreen& pause = screens().pause();
    goTo({GameState::Loading, GameState::Ready, GameState::Playing, GameState::Paused});
    EXPECT_TRUE(pause.resumeFocused());  // the pause menu opens on resume
    press(VK_RETURN);
    scene.handleStateKeys();
    EXPECT_EQ(window.currentState(), GameState::Playing);

    window.setState(GameState::Paused);
    press(VK_UP);
    press(VK_DOWN);
    scene.handleStateKeys();
    EXPECT_FALSE(pause.resumeFocused());
    EXPECT_FALSE(settings.isKeyDown(VK_UP));
    EXPECT_FALSE(settings.isKeyDown(VK_DOWN));
    press(VK_DOWN);
    scene.handleStateKeys();
    EXPECT_TRUE(pause.resumeFocused());
    press(VK_UP);
    scene.handleStateKeys();
    scene.player().addScore(15);
    press(VK_RETURN);
    scene.handleStateKeys();
    EXPECT_EQ(stack(), MENU_ONLY);
    EXPECT_EQ(scene.player().getScore(), 0);  // the game was left
}

TEST_F(ScreensTest, LoadingReadyAndPlayTakeNoMenuKeys) {
    for (GameState state : {GameState::Loading, GameState::Ready, GameState::Playing}) {
        goTo({state});
        for (int key : {VK_UP, VK_RETURN, VK_ESCAPE, VK_SPACE}) {
            press(key);
        }
        scene.handleStateKeys();
        EXPECT_EQ(window.currentState(), state);
        EXPECT_TRUE(settings.isKeyDown(VK_RETURN));
    }
}

// ---- GUI events ----

struct GuiEventCase {
    GUI_ID id;
    std::vector<GameState> stack;
    bool clicked;
    GameState stateAfter;
};

TEST_F(ScreensTest, ClicksActAndHoversDoNot) {
    createControls();
    using namespace gui_id;
    const std::vector<GameState> options = {GameState::Options};
    const std::vector<GameState> scores = {GameState::HighScores};
    const std::vector<GameState> ready = {GameState::Loading, GameState::Ready};
    const std::vector<GameState> paused = {GameState::Loading, GameState::Ready, GameState::Playing,
                                           GameState::Paused};
    const GuiEventCase cases[] = {
        {MENU_START, {}, false, GameState::MainMenu},
        {MENU_START, {}, true, GameState::Loading},
        {MENU_HIGH_SCORES, {}, false, GameState::MainMenu},
        {MENU_HIGH_SCORES, {}, true, GameState::HighScores},
        {MENU_OPTIONS, {}, false, GameState::MainMenu},
        {MENU_OPTIONS, {}, true, GameState::Options},
        {MENU_QUIT, {}, false, GameState::MainMenu},
        {HIGH_SCORES_BACK, scores, false, GameState::HighScores},
        {HIGH_SCORES_BACK, scores, true, GameState::MainMenu},
        {OPTIONS_BACK, options, false, GameState::Options},
        {OPTIONS_BACK, options, true, GameState::MainMenu},
        {PAUSE_RESUME, paused, false, GameState::Paused},
        {PAUSE_RESUME, paused, true, GameState::Playing},
        {PAUSE_QUIT, paused, false, GameState::Paused},
        {PAUSE_QUIT, paused, true, GameState::MainMenu},
        {0, {}, true, GameState::MainMenu},
        {MENU_TITLE, {}, true, GameState::MainMenu},
        // On the ready screen any click starts the game.
        {0, ready, false, GameState::Ready},
        {0, ready, true, GameState::Playing},
        {READY_PICTURE, ready, true, GameState::Playing},
    };
    for (const GuiEventCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "id " << c.id << (c.clicked ? " clicked" : " hover"));
        goTo(c.stack);
        GUIButton* button = scene.gui().getButton(c.id);
        if (button != nullptr) {
            button->setToggled(true);  // as the click left it
        }
        screens().guiEvent(c.id, c.clicked);
        EXPECT_EQ(window.currentState(), c.stateAfter);
        if (button != nullptr) {
            // A clicked menu button is back to its normal look.
            EXPECT_EQ(button->isToggled(), !c.clicked);
        }
        EXPECT_FALSE(settings.quitRequested);
    }
    goTo({});
    screens().guiEvent(MENU_QUIT, true);
    EXPECT_TRUE(settings.quitRequested);
    EXPECT_TRUE(boxes.boxes().empty());
}

// The left button both starts the game and, by default, attacks: the press
// that starts it is not an attack, the next one is.
TEST_F(ScreensTest, TheClickThatStartsTheGameIsNoAttack) {
    scene.connectInput(router.hooks());
    goTo({GameState::Loading, GameState::Ready});
    auto mouse = [&](EventType type) {
        Event event;
        event.type = type;
        event.button = VK_LBUTTON;
        router.handleInput(event);
    };
    mouse(EventType::MouseDown);
    EXPECT_EQ(window.currentState(), GameState::Playing);
    EXPECT_FALSE(settings.isActionActive(ControlTable::ATTACK, false));
    mouse(EventType::MouseUp);
    mouse(EventType::MouseDown);
    EXPECT_TRUE(settings.isActionActive(ControlTable::ATTACK, false));
}

// Events go to the screen of the current state only.
TEST_F(ScreensTest, AnotherScreensControlDoesNothing) {
    createControls();
    using namespace gui_id;
    const GuiEventCase cases[] = {
        {OPTIONS_BACK, {}, true, GameState::MainMenu},
        {PAUSE_QUIT, {}, true, GameState::MainMenu},
        {MENU_START, {GameState::Options}, true, GameState::Options},
        {HIGH_SCORES_BACK, {GameState::Options}, true, GameState::Options},
    };
    scene.player().addScore(5);
    for (const GuiEventCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "id " << c.id);
        goTo(c.stack);
        scene.gui().getButton(c.id)->setToggled(true);
        screens().guiEvent(c.id, c.clicked);
        EXPECT_EQ(window.currentState(), c.stateAfter);
        EXPECT_TRUE(scene.gui().getButton(c.id)->isToggled());
    }
    EXPECT_EQ(scene.player().getScore(), 5);  // no game was left
}

// The keys' focus follows a hover, and each visit to the screen starts on
// Back (options) or Resume (pause).
TEST_F(ScreensTest, HoveringMovesTheKeysFocusAndEnteringAgainResetsIt) {
    createControls();
    const OptionsScreen& options = screens().options();
    goTo({GameState::Options});
    screens().guiEvent(gui_id::OPTIONS_CHANGE, false);
    EXPECT_FALSE(options.backFocused());
    goTo({GameState::Options});
    EXPECT_TRUE(options.backFocused());
    screens().guiEvent(gui_id::OPTIONS_CHANGE, false);
    screens().guiEvent(gui_id::OPTIONS_BACK, false);
    EXPECT_TRUE(options.backFocused());

    const PauseScreen& pause = screens().pause();
    goTo({GameState::Loading, GameState::Ready, GameState::Playing, GameState::Paused});
    screens().guiEvent(gui_id::PAUSE_QUIT, false);
    EXPECT_FALSE(pause.resumeFocused());
    window.setState(GameState::Previous);
    window.setState(GameState::Paused);
    EXPECT_TRUE(pause.resumeFocused());
    screens().guiEvent(gui_id::PAUSE_QUIT, false);
    screens().guiEvent(gui_id::PAUSE_RESUME, false);
    EXPECT_TRUE(pause.resumeFocused());
}

TEST_F(ScreensTest, ChangeButtonFocusesTheListOnHoverAndStartsRebindingOnClick) {
    createControls();
    goTo({GameState::Options});
    screens().guiEvent(gui_id::OPTIONS_CHANGE, false);
    EXPECT_FALSE(screens().options().backFocused());
    EXPECT_FALSE(screens().waitingForKey());
    EXPECT_EQ(text(gui_id::REBIND_PROMPT), "No Text");
    screens().guiEvent(gui_id::OPTIONS_CHANGE, true);
    EXPECT_TRUE(screens().waitingForKey());
    EXPECT_EQ(text(gui_id::REBIND_PROMPT), "Press the button/key you want the " +
                                               settings.controlLabel(0) + "    action to have");
    // Without a font the text has no width, so it starts at the centre.
    EXPECT_FLOAT_EQ(scene.gui().getPosition(gui_id::REBIND_PROMPT).x, 500.0f);
    EXPECT_FLOAT_EQ(scene.gui().getPosition(gui_id::REBIND_PROMPT).y, 174.0f);
}

TEST_F(ScreensTest, InvertToggleAndSliderReachTheSettingsAndThePlayer) {
    createControls();
    goTo({GameState::Options});
    ASSERT_TRUE(settings.invertMouse);
    scene.gui().setButtonToggled(gui_id::INVERT_MOUSE_TOGGLE, true);
    scene.player().setInvertMouse(true);

    mouseAt(510, 130, true);  // the click flips the toggle off
    EXPECT_FALSE(settings.invertMouse);
    EXPECT_EQ(scene.player().getInvertSign(), 1);
    EXPECT_TRUE(settings.settingsChanged);
    mouseAt(510, 130, false);  // hovering changes nothing
    EXPECT_FALSE(settings.invertMouse);
    mouseAt(510, 130, true);
    EXPECT_TRUE(settings.invertMouse);
    EXPECT_EQ(scene.player().getInvertSign(), -1);

    // Hovering the slider without moving it is no change to save.
    settings.settingsChanged = false;
    const float before = settings.mouseSensitivity;
    mouseAt(600, 80, false);
    EXPECT_FALSE(settings.settingsChanged);
    EXPECT_FLOAT_EQ(settings.mouseSensitivity, before);

    // Grab the knob, drag past the right end of the slider, let go there.
    mouseAt(650, 80, true);
    EXPECT_TRUE(settings.settingsChanged);
    mouseAt(900, 80, false);
    EXPECT_FLOAT_EQ(scene.gui().getSliderValue(gui_id::SENSITIVITY_SLIDER), SENSITIVITY_SLIDER_MAX);
    EXPECT_FLOAT_EQ(settings.mouseSensitivity, SENSITIVITY_SLIDER_MAX);
    scene.gui().releaseGroup(GameState::Options);
    mouseAt(510, 20, false);
    EXPECT_FLOAT_EQ(settings.mouseSensitivity, SENSITIVITY_SLIDER_MAX);
    // Dragged to the left end.
    mouseAt(600, 80, true);
    mouseAt(400, 80, false);
    EXPECT_FLOAT_EQ(settings.mouseSensitivity, SENSITIVITY_SLIDER_MIN);
    EXPECT_TRUE(boxes.boxes().empty());
}

// ---- Rebinding through the control table ----

class RebindingTest : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        createControls();
        scene.connectInput(router.hooks());
        goTo({GameState::Options});
    }
    void mouseDown(int button) {
        Event event;
        event.type = EventType::MouseDown;
        event.button = button;
        router.handleInput(event);
    }
    void rebindRow(int index) {
        scene.gui().getList(gui_id::CONTROL_LIST)->selectRow(index);
        screens().guiEvent(gui_id::OPTIONS_CHANGE, true);
        ASSERT_TRUE(screens().waitingForKey());
    }
    std::string binding(int index) { return row(gui_id::CONTROL_LIST, index); }
    // A pad button pressed and let go, with a frame's keys between.
    void padPress(PadButton button) {
        Event event;
        event.pad = 1;
        event.type = EventType::PadButtonDown;
        event.padButton = button;
        router.handleInput(event);
        scene.handleStateKeys();
        event.type = EventType::PadButtonUp;
        router.handleInput(event);
    }
};

TEST_F(RebindingTest, TheNextKeyBindsTheSelectedActionAndTheListShowsIt) {
    // Each row shows the key, then the pad button.
    EXPECT_EQ(binding(0), "   Move Forward|W / UP");
    rebindRow(0);
    keyDown(VK_UP);
    EXPECT_FALSE(screens().waitingForKey());
    EXPECT_EQ(settings.controls().boundKey(0), VK_UP);
    EXPECT_EQ(binding(0), "   Move Forward|[Up] / UP");
    EXPECT_EQ(text(gui_id::REBIND_PROMPT), " ");
    EXPECT_FALSE(settings.isKeyDown(VK_UP));  // the key went to the binding only
    EXPECT_EQ(scene.gui().getList(gui_id::CONTROL_LIST)->getRowCount(), settings.controlCount());

    // A key already in use moves to the new action and leaves the old one unbound.
    rebindRow(2);
    keyDown('D');
    EXPECT_EQ(binding(2), "   Strafe Left|D / LEFT");
    EXPECT_EQ(binding(3), "   Strafe Right|[none] / RIGHT");

    rebindRow(6);
    mouseDown(VK_RBUTTON);
    EXPECT_EQ(binding(6), "   Attack|[R Mouse] / RT");
    EXPECT_FALSE(settings.isKeyDown(VK_RBUTTON));

    // Escape has no name: it unbinds.
    rebindRow(1);
    keyDown(VK_ESCAPE);
    EXPECT_EQ(binding(1), "   Move Back|[none] / DOWN");
    EXPECT_EQ(settings.controls().boundKey(1), 0);
    EXPECT_EQ(window.currentState(), GameState::Options);
    EXPECT_EQ(scene.gui().getListSelectedRow(gui_id::CONTROL_LIST), 1);

    // Not waiting: keys are plain keys again.
    keyDown('Q');
    EXPECT_TRUE(settings.isKeyDown('Q'));
    EXPECT_EQ(settings.controls().boundKey(1), 0);
}

TEST_F(RebindingTest, PadButtonsBindLikeKeysAndThePadsBackUnbinds) {
    Event added;
    added.type = EventType::PadAdded;
    added.pad = 1;
    router.handleInput(added);

    rebindRow(6);
    padPress(PadButton::X);
    EXPECT_FALSE(screens().waitingForKey());
    EXPECT_EQ(binding(6), "   Attack|[L Mouse] / X");
    // A button in use moves to the new action.
    rebindRow(4);
    padPress(PadButton::X);
    EXPECT_EQ(binding(4), "   Melee Weapon|1 / X");
    EXPECT_EQ(binding(6), "   Attack|[L Mouse]");
    rebindRow(4);
    padPress(PadButton::Back);
    EXPECT_EQ(binding(4), "   Melee Weapon|1");
    EXPECT_EQ(settings.padControl(ControlTable::MELEE_WEAPON), PadButton::None);
}

// The pad's focus walks every setting top to bottom, the control list row by
// row, and wraps; left and right change the focused setting, A acts.
TEST_F(RebindingTest, PadFocusWalksEverySettingAndChangesIt) {
    using Item = OptionsScreen::Item;
    const OptionsScreen& options = screens().options();
    ASSERT_EQ(options.focus(), Item::Back);
    scene.gui().setButtonToggled(gui_id::RUMBLE_TOGGLE, true);  // as set up from the settings
    std::vector<Item> walked;
    std::vector<int> rows;
    for (int i = 0; i < 16; ++i) {
        padPress(PadButton::DPadDown);
        walked.push_back(options.focus());
        rows.push_back(scene.gui().getListSelectedRow(gui_id::CONTROL_LIST));
    }
    const std::vector<Item> expected = {
        Item::Resolution,  Item::Fullscreen,  Item::VerticalSync, Item::LookSpeed,
        Item::Rumble,      Item::Controls,    Item::Controls,     Item::Controls,
        Item::Controls,    Item::Controls,    Item::Controls,     Item::Controls,
        Item::InvertMouse, Item::Sensitivity, Item::Brightness,   Item::Back};
    EXPECT_EQ(walked, expected);
    EXPECT_EQ(std::vector<int>(rows.begin() + 5, rows.begin() + 12),
              (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));

    // Up from Back: brightness, then the sensitivity slider, nudged left.
    padPress(PadButton::DPadUp);
    padPress(PadButton::DPadUp);
    const float sensitivity = settings.mouseSensitivity;
    padPress(PadButton::DPadLeft);
    EXPECT_FLOAT_EQ(settings.mouseSensitivity,
                    sensitivity - (SENSITIVITY_SLIDER_MAX - SENSITIVITY_SLIDER_MIN) / 20.0f);
    // Up into the list enters it at its last row.
    padPress(PadButton::DPadUp);
    padPress(PadButton::DPadUp);
    EXPECT_EQ(options.focus(), Item::Controls);
    EXPECT_EQ(scene.gui().getListSelectedRow(gui_id::CONTROL_LIST), 6);
    padPress(PadButton::A);
    EXPECT_TRUE(screens().waitingForKey());
    padPress(PadButton::Y);
    EXPECT_EQ(settings.padControl(ControlTable::ATTACK), PadButton::Y);

    for (int i = 0; i < 7; ++i) {
        padPress(PadButton::DPadUp);  // through the rows and up to rumble
    }
    ASSERT_EQ(options.focus(), Item::Rumble);
    padPress(PadButton::DPadRight);
    EXPECT_FALSE(settings.rumbleEnabled);
    padPress(PadButton::A);
    EXPECT_TRUE(settings.rumbleEnabled);
    padPress(PadButton::DPadUp);
    padPress(PadButton::DPadRight);
    EXPECT_FLOAT_EQ(settings.padLookSpeed, GameSettings::DEFAULT_PAD_LOOK_SPEED + 15.0f);
    EXPECT_EQ(text(gui_id::LOOK_SPEED_VALUE), "165");
    for (int i = 0; i < 30; ++i) {
        padPress(PadButton::DPadLeft);
    }
    EXPECT_FLOAT_EQ(settings.padLookSpeed, GameSettings::MIN_PAD_LOOK_SPEED);

    padPress(PadButton::B);  // back, as Escape is
    EXPECT_EQ(window.currentState(), GameState::MainMenu);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(RebindingTest, PromptNamesTheLabelWithItsSpacesAndStaysWithinTheTextLimit) {
    for (int index = 0; index < settings.controlCount(); ++index) {
        rebindRow(index);
        std::string prompt = text(gui_id::REBIND_PROMPT);
        EXPECT_EQ(prompt, "Press the button/key you want the " + settings.controlLabel(index) +
                              "    action to have");
        EXPECT_LE(prompt.size(), GUIText::MAX_TEXT);
        screens().bindKey(settings.controls().boundKey(settings.controlActionId(index)));
    }
}

// ---- Name entry ----

class NameEntryTest : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        scene.connectInput(router.hooks());
        scene.highScores().loadHighScores();  // the default table, which any score reaches
        goTo({GameState::Loading, GameState::Ready, GameState::Playing, GameState::GameOver});
        gameOver().begin();
        ASSERT_TRUE(gameOver().newHighScore());
    }
    GameOverScreen& gameOver() { return screens().gameOver(); }
    const std::string& name() { return gameOver().typedName(); }
    bool key(int code, bool shift = false) { return screens().nameEntryKey(code, shift); }
};

// Up and down choose among A-Z and 0-9, wrapping; A adds, B takes back,
// Start enters.
TEST_F(NameEntryTest, PadEntersTheNameLetterByLetter) {
    struct Step {
        PadButton button;
        char letter;
        const char* name;
    };
    const Step steps[] = {
        {PadButton::DPadUp, 'B', ""},    {PadButton::A, 'B', "B"},  {PadButton::DPadDown, 'A', "B"},
        {PadButton::DPadDown, '9', "B"}, {PadButton::A, '9', "B9"}, {PadButton::B, '9', "B"},
        {PadButton::DPadUp, 'A', "B"},   {PadButton::A, 'A', "BA"},
    };
    for (const Step& step : steps) {
        EXPECT_TRUE(gameOver().nameEntryPad(step.button));
        EXPECT_EQ(gameOver().padLetter(), step.letter);
        EXPECT_EQ(name(), step.name);
    }
    EXPECT_TRUE(gameOver().nameEntryPad(PadButton::Start));
    EXPECT_EQ(window.currentState(), GameState::HighScores);
    EXPECT_EQ(scene.highScores().entries().at(0).name, "BA");
}

TEST_F(NameEntryTest, LettersDigitsShiftAndKeypadMakeTheName) {
    EXPECT_TRUE(key('A'));
    EXPECT_TRUE(key('B', true));
    EXPECT_TRUE(key('7'));
    EXPECT_TRUE(key(VK_NUMPAD0 + 3));
    EXPECT_EQ(name(), "aB73");
    EXPECT_TRUE(key(VK_BACK));
    EXPECT_EQ(name(), "aB7");
    for (int code : {VK_SPACE, VK_OEM_1, VK_F1, VK_SHIFT, VK_ESCAPE, VK_MULTIPLY}) {
        EXPECT_FALSE(key(code)) << code;
    }
    EXPECT_EQ(name(), "aB7");
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(key(VK_BACK));  // the last time with nothing to remove
    }
    EXPECT_EQ(name(), "");
}

TEST_F(NameEntryTest, RoutedKeysWithShiftReachTheNameAndTakenKeysAreCleared) {
    keyDown('A');
    keyDown(VK_SHIFT);
    keyDown('B');
    settings.setKeyDown(VK_SHIFT, false);
    keyDown('7');
    keyDown(VK_NUMPAD0 + 3);
    EXPECT_EQ(name(), "aB73");
    EXPECT_FALSE(settings.isKeyDown('A'));
    EXPECT_FALSE(settings.isKeyDown(VK_NUMPAD0 + 3));
}

TEST_F(NameEntryTest, NameStopsAtItsLongest) {
    std::string longest;
    for (std::size_t i = 0; i < HighScoreTable::MAX_NAME_LENGTH; ++i) {
        longest.push_back(static_cast<char>('0' + i % 10));
        EXPECT_TRUE(key(longest.back()));
    }
    EXPECT_EQ(name(), longest);
    EXPECT_TRUE(key('Z', true));  // taken, and ignored
    EXPECT_TRUE(key(VK_SPACE));
    EXPECT_EQ(name(), longest);
    EXPECT_TRUE(key(VK_BACK));
    EXPECT_TRUE(key('Z', true));
    longest.back() = 'Z';
    EXPECT_EQ(name(), longest);
}

TEST_F(NameEntryTest, EnterWithAnEmptyNameDoesNothing) {
    for (int enter : {VK_RETURN, VK_SEPARATOR}) {
        EXPECT_TRUE(key(enter));
        EXPECT_EQ(window.currentState(), GameState::GameOver);
        EXPECT_TRUE(gameOver().newHighScore());
    }
    EXPECT_EQ(readFile("save/data.dat"), HighScoreTable::format(scene.highScores().entries()));
    EXPECT_EQ(scene.highScores().entries().front().name, "<none>");
}

TEST_F(NameEntryTest, EnterWithANameSavesTheScoreAndShowsTheTable) {
    scene.player().addScore(35);
    for (char c : std::string("GHOSTBUSTER")) {
        key(c, true);
    }
    EXPECT_TRUE(key(VK_SEPARATOR));  // keypad Enter
    std::vector<GameState> expected = {GameState::MainMenu, GameState::HighScores};
    EXPECT_EQ(stack(), expected);
    EXPECT_EQ(name(), "");
    EXPECT_FALSE(gameOver().newHighScore());
    EXPECT_EQ(scene.player().getScore(), 0);
    std::string saved = readFile("save/data.dat");
    EXPECT_EQ(saved.substr(0, 21), "8\n35\nGHOSTBUSTER\n0\n<n");
    EXPECT_EQ(scene.highScores().entries().size(), 8u);
    // Escape on the table returns to the main menu.
    press(VK_ESCAPE);
    scene.handleStateKeys();
    EXPECT_EQ(stack(), MENU_ONLY);
}

TEST_F(NameEntryTest, EnterWithoutAHighScoreReturnsToTheMenu) {
    writeFile("save/data.dat", "1\n50\nann\n");
    scene.highScores().loadHighScores();
    scene.player().addScore(20);
    gameOver().begin();
    EXPECT_FALSE(gameOver().newHighScore());
    key('X');  // typed, but not saved
    EXPECT_TRUE(key(VK_RETURN));
    EXPECT_EQ(stack(), MENU_ONLY);
    EXPECT_EQ(readFile("save/data.dat"), "1\n50\nann\n");
    EXPECT_EQ(scene.player().getScore(), 0);  // the game was left
}

TEST_F(NameEntryTest, OnlyTheGameOverScreenTakesNames) {
    goTo({GameState::Options});
    EXPECT_FALSE(key('A'));
    EXPECT_FALSE(key(VK_RETURN));
    EXPECT_EQ(name(), "");
}

// ---- Leaving a game ----

TEST_F(ScreensTest, LeavingAGameRemovesTheLevelObjectsAndPlayControls) {
    GUIManager& gui = scene.gui();
    ASSERT_TRUE(gui.createImage(gui_id::CROSSHAIR, GameState::Playing, 0, 0, 10, 10));
    ASSERT_TRUE(gui.createImage(gui_id::GAME_OVER_PICTURE, GameState::GameOver, 0, 0, 10, 10));
    ASSERT_TRUE(gui.createButton(gui_id::PAUSE_RESUME, GameState::Paused, 258, 381, 319, 35));
    scene.level().setMap(32, 24, [](int, int) { return Color4(1.0f, 1.0f, 1.0f, 1.0f); });
    scene.level().setCells(8.0f, 10.0f);
    scene.hud().setRadarRange(200.0f);
    scene.player().addScore(20);
    scene.player().addHealth(-30);

    scene.leaveGame();

    EXPECT_EQ(gui.groupSize(GameState::Playing), 0u);
    EXPECT_EQ(gui.groupSize(GameState::GameOver), 0u);
    EXPECT_NE(gui.getControl(gui_id::PAUSE_RESUME), nullptr);  // the menus stay
    // The HUD of the next game may use the same ids again.
    EXPECT_TRUE(gui.createImage(gui_id::CROSSHAIR, GameState::Playing, 0, 0, 10, 10));
    EXPECT_EQ(scene.level().cellSize(), 0.0f);
    EXPECT_EQ(scene.level().width(), 0);
    EXPECT_EQ(scene.level().storedWallMask(1, 1), -1);
    EXPECT_EQ(scene.hud().radarScale(), 0.0f);
    EXPECT_EQ(scene.ghosts().count(), 0u);
    EXPECT_EQ(scene.pickups().health(), nullptr);
    EXPECT_EQ(scene.player().getScore(), 0);
    EXPECT_EQ(scene.player().getHealth(), 100);
    EXPECT_EQ(scene.nodeCount(), 0u);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ScreensTest, LeavingWithNoLevelIsHarmless) {
    scene.leaveGame();
    scene.leaveGame();
    EXPECT_EQ(scene.level().cellSize(), 0.0f);
    EXPECT_TRUE(boxes.boxes().empty());
}

// ---- Menu steps ----

TEST_F(ScreensTest, MenuStepMovesTheBobbingPictureOnTheMenuAndThePulseOnReadyAndGameOver) {
    struct Case {
        std::vector<GameState> stack;
        bool bobs;
        bool pulses;
    };
    const Case cases[] = {
        {{}, true, false},
        {{GameState::Loading, GameState::Ready}, false, true},
        {{GameState::Loading, GameState::Ready, GameState::Playing, GameState::GameOver},
         false,
         true},
        {{GameState::Options}, false, false},
        {{GameState::Loading, GameState::Ready, GameState::Playing}, false, false},
    };
    for (const Case& c : cases) {
        goTo(c.stack);
        const Tween& bobbing = screens().mainMenu().bobbing();
        float bob = bobbing.value();
        float pulse = screens().pulse().value();
        for (int i = 0; i < 10; ++i) {
            scene.menuStep();
        }
        EXPECT_EQ(bobbing.value() != bob, c.bobs);
        EXPECT_EQ(screens().pulse().value() != pulse, c.pulses);
    }
}

// The window outlives game objects: one that is gone must hear no more
// states (the sanitizer build sees a call into it).
TEST_F(ScreensTest, AGameObjectThatIsGoneHearsNoMoreStates) {
    auto other = std::make_unique<GameScene>(window);
    other.reset();
    goTo({GameState::Options, GameState::Paused});
    EXPECT_EQ(window.currentState(), GameState::Paused);
}

}  // namespace
