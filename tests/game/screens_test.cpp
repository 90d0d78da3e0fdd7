// The screens' rules without a window: per-state keys, the GUI event table,
// rebinding through the control table, high-score name entry and leaving a
// game. The controls the rules reach are created without pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "game/game_scene.h"
#include "game/ghost.h"
#include "input/game_settings.h"
#include "input/input_router.h"
#include "platform/keycodes.h"
#include "support/fake_clock.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"

namespace {

using namespace platform;

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(dir.file("save"));
        settings.loadControls(nullptr);  // the default bindings
    }

    // The controls that key and mouse rules touch, at their places on the
    // screens but without textures or fonts.
    void createControls() {
        GUIManager& gui = scene.gui();
        ASSERT_TRUE(gui.createButton(6, GameState::MainMenu, 268, 100, 98, 36));
        ASSERT_TRUE(gui.createButton(5, GameState::MainMenu, 268, 201, 210, 34));
        ASSERT_TRUE(gui.createButton(4, GameState::MainMenu, 268, 262, 244, 39));
        ASSERT_TRUE(gui.createButton(3, GameState::MainMenu, 268, 323, 98, 38));
        ASSERT_TRUE(gui.createButton(13, GameState::HighScores, -52, -52, 217, 35));
        ASSERT_TRUE(gui.createButton(20, GameState::Options, -52, -52, 217, 35));
        ASSERT_TRUE(gui.createList(17, GameState::Options, 362, 250, 321, 307, 40, 33, 250, 205));
        ASSERT_TRUE(gui.assignListColumns(17, {150, 100}, {FontID{}}, {Color4(1, 1, 1, 1)}));
        scene.refreshControlList();
        ASSERT_TRUE(gui.createButton(18, GameState::Options, 462, 210, 124, 49));
        ASSERT_TRUE(gui.createText(19, GameState::Options, 0, 0, 0, 174));
        ASSERT_TRUE(gui.createButton(24, GameState::Options, 501, 124, 20, 20));
        ASSERT_TRUE(gui.createSlider(26, GameState::Options, 497, 65, 297, 34, 51, 50, 26, -8, true,
                                     0.001f, 0.0001f, 0.002f, 0.0f));
        ASSERT_TRUE(gui.createButton(30, GameState::Paused, 258, 257, 212, 36));
        ASSERT_TRUE(gui.createButton(29, GameState::Paused, 258, 381, 319, 35));
    }

    void press(int code) { settings.setKeyDown(code, true); }
    void release(int code) { settings.setKeyDown(code, false); }
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
    // The mouse at a point of the screens' layout (before the GUI offset).
    void mouseAt(float x, float y, bool click) {
        Vector2 offset = scene.gui().offset();
        scene.gui().setMousePositionForTest(x + offset.x, y + offset.y, click);
        settings.mouseClickInProgress = click;
        scene.guiMouseEvent(click);
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
        window.menuSelection = c.selection;
        press(c.key);
        scene.handleStateKeys();
        EXPECT_EQ(window.menuSelection, c.selectionAfter);
        EXPECT_EQ(window.currentState(), c.stateAfter);
        bool used = c.key == VK_UP || c.key == VK_DOWN || c.key == VK_RETURN;
        EXPECT_EQ(settings.isKeyDown(c.key), !used);
        release(c.key);
    }
    EXPECT_FALSE(settings.quitRequested);
    goTo({});
    window.menuSelection = 3;
    press(VK_RETURN);
    scene.handleStateKeys();
    EXPECT_TRUE(settings.quitRequested);
}

TEST_F(ScreensTest, UpAndDownTogetherMoveTheMenuOnlyOnce) {
    goTo({});
    window.menuSelection = 1;
    press(VK_UP);
    press(VK_DOWN);
    scene.handleStateKeys();
    EXPECT_EQ(window.menuSelection, 0);
    scene.handleStateKeys();  // Down is still waiting
    EXPECT_EQ(window.menuSelection, 1);
}

TEST_F(ScreensTest, HoveringAButtonMovesTheMarkerWithoutAClick) {
    createControls();
    goTo({});
    mouseAt(300, 270, false);  // over the high-score button
    EXPECT_EQ(window.menuSelection, 1);
    mouseAt(300, 110, false);  // quit
    EXPECT_EQ(window.menuSelection, 3);
    mouseAt(10, 10, false);  // nothing
    EXPECT_EQ(window.menuSelection, 3);
    EXPECT_EQ(window.currentState(), GameState::MainMenu);
    mouseAt(300, 330, true);  // start
    EXPECT_EQ(window.currentState(), GameState::Loading);
}

// ---- Options, high scores, pause ----

TEST_F(ScreensTest, OptionsKeysMoveFocusAndListAndEnterFollowsTheFocus) {
    createControls();
    goTo({GameState::Options});
    EXPECT_TRUE(window.optionsOnBack);  // entering the screen focuses Back

    press(VK_LEFT);
    scene.handleStateKeys();
    EXPECT_FALSE(window.optionsOnBack);
    press(VK_LEFT);
    press(VK_RIGHT);  // both at once count as one toggle, and both are taken
    scene.handleStateKeys();
    EXPECT_TRUE(window.optionsOnBack);
    EXPECT_FALSE(settings.isKeyDown(VK_LEFT));
    EXPECT_FALSE(settings.isKeyDown(VK_RIGHT));
    press(VK_RIGHT);
    scene.handleStateKeys();
    EXPECT_FALSE(window.optionsOnBack);

    GUIManager& gui = scene.gui();
    for (int key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_UP}) {
        press(key);
        scene.handleStateKeys();
    }
    EXPECT_EQ(gui.getListSelectedRow(17), 2);
    for (int i = 0; i < 10; ++i) {
        press(VK_DOWN);
        scene.handleStateKeys();
    }
    EXPECT_EQ(gui.getListSelectedRow(17), 6);  // stops at the last action

    press(VK_RETURN);
    scene.handleStateKeys();
    EXPECT_TRUE(scene.waitingForKey);
    EXPECT_EQ(text(19), "Press the button/key you want the    Attack    action to have");
    EXPECT_EQ(window.currentState(), GameState::Options);

    scene.bindKey(VK_F1);
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
    window.optionsOnBack = false;
    press(VK_ESCAPE);
    scene.handleStateKeys();
    EXPECT_EQ(stack(), MENU_ONLY);
    EXPECT_TRUE(window.optionsOnBack);
}

TEST_F(ScreensTest, PauseMenuTogglesWithUpOrDownAndEnterResumesOrQuits) {
    createControls();
    goTo({GameState::Loading, GameState::Ready, GameState::Playing, GameState::Paused});
    EXPECT_TRUE(window.pauseOnResume);  // the pause menu opens on resume
    press(VK_RETURN);
    scene.handleStateKeys();
    EXPECT_EQ(window.currentState(), GameState::Playing);

    window.setState(GameState::Paused);
    press(VK_UP);
    press(VK_DOWN);
    scene.handleStateKeys();
    EXPECT_FALSE(window.pauseOnResume);
    EXPECT_FALSE(settings.isKeyDown(VK_UP));
    EXPECT_FALSE(settings.isKeyDown(VK_DOWN));
    press(VK_DOWN);
    scene.handleStateKeys();
    EXPECT_TRUE(window.pauseOnResume);
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

// ---- The GUI event table ----

struct GuiEventCase {
    GUI_ID id;
    std::vector<GameState> stack;
    bool clicked;
    int selection;  // menuSelection afterwards (starts at 9)
    GameState stateAfter;
};

TEST_F(ScreensTest, EveryGuiEventRowDoesWhatItsRowSays) {
    createControls();
    const std::vector<GameState> options = {GameState::Options};
    const std::vector<GameState> scores = {GameState::HighScores};
    const std::vector<GameState> paused = {GameState::Loading, GameState::Ready, GameState::Playing,
                                           GameState::Paused};
    const GuiEventCase cases[] = {
        {3, {}, false, 0, GameState::MainMenu},
        {3, {}, true, 0, GameState::Loading},
        {4, {}, false, 1, GameState::MainMenu},
        {4, {}, true, 1, GameState::HighScores},
        {5, {}, false, 2, GameState::MainMenu},
        {5, {}, true, 2, GameState::Options},
        {6, {}, false, 3, GameState::MainMenu},
        {13, scores, false, 9, GameState::HighScores},
        {13, scores, true, 9, GameState::MainMenu},
        {20, options, false, 9, GameState::Options},
        {20, options, true, 9, GameState::MainMenu},
        {29, paused, false, 9, GameState::Paused},
        {29, paused, true, 9, GameState::Playing},
        {30, paused, false, 9, GameState::Paused},
        {30, paused, true, 9, GameState::MainMenu},
        {0, {}, true, 9, GameState::MainMenu},
        {2, {}, true, 9, GameState::MainMenu},
        {0, {GameState::Loading, GameState::Ready}, false, 9, GameState::Ready},
        {0, {GameState::Loading, GameState::Ready}, true, 9, GameState::Playing},
        {34, {GameState::Loading, GameState::Ready}, true, 9, GameState::Playing},
    };
    for (const GuiEventCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "id " << c.id << (c.clicked ? " clicked" : " hover"));
        goTo(c.stack);
        window.menuSelection = 9;
        window.optionsOnBack = false;
        window.pauseOnResume = c.id == 30;
        if (scene.gui().getButton(c.id) != nullptr) {
            scene.gui().setButtonToggled(c.id, true);  // as the click left it
        }
        scene.onGuiEvent(c.id, c.clicked);
        EXPECT_EQ(window.menuSelection, c.selection);
        EXPECT_EQ(window.currentState(), c.stateAfter);
        if (c.id == 20) {
            EXPECT_TRUE(window.optionsOnBack);
        }
        if (c.id == 29) {
            EXPECT_TRUE(window.pauseOnResume);
        }
        if (c.id == 30 && !c.clicked) {
            EXPECT_FALSE(window.pauseOnResume);
        }
        if (GUIButton* button = scene.gui().getButton(c.id)) {
            // A clicked menu button is back to its normal look.
            EXPECT_EQ(button->isToggled(), !c.clicked);
        }
        EXPECT_FALSE(settings.quitRequested);
    }
    scene.onGuiEvent(6, true);
    EXPECT_TRUE(settings.quitRequested);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ScreensTest, ChangeButtonFocusesTheListOnHoverAndStartsRebindingOnClick) {
    createControls();
    goTo({GameState::Options});
    scene.onGuiEvent(18, false);
    EXPECT_FALSE(window.optionsOnBack);
    EXPECT_FALSE(scene.waitingForKey);
    EXPECT_EQ(text(19), "No Text");
    scene.onGuiEvent(18, true);
    EXPECT_TRUE(scene.waitingForKey);
    EXPECT_EQ(text(19), "Press the button/key you want the    Move Forward    action to have");
    // Without a font the text has no width, so it starts at the centre.
    EXPECT_FLOAT_EQ(scene.gui().getPosition(19).x, 500.0f);
    EXPECT_FLOAT_EQ(scene.gui().getPosition(19).y, 174.0f);
}

TEST_F(ScreensTest, InvertToggleAndSliderReachTheSettingsAndThePlayer) {
    createControls();
    goTo({GameState::Options});
    ASSERT_TRUE(settings.invertMouse);
    scene.gui().setButtonToggled(24, true);
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
    mouseAt(600, 80, false);
    EXPECT_FALSE(settings.settingsChanged);
    EXPECT_FLOAT_EQ(settings.mouseSensitivity, 0.001f);

    // Grab the knob, drag past the right end of the slider, let go there.
    mouseAt(650, 80, true);
    EXPECT_TRUE(settings.settingsChanged);
    mouseAt(900, 80, false);
    EXPECT_FLOAT_EQ(scene.gui().getSliderValue(26), 0.002f);
    EXPECT_FLOAT_EQ(settings.mouseSensitivity, 0.002f);
    scene.gui().releaseGroup(GameState::Options);
    mouseAt(510, 20, false);
    EXPECT_FLOAT_EQ(settings.mouseSensitivity, 0.002f);
    // Dragged to the left end.
    mouseAt(600, 80, true);
    mouseAt(400, 80, false);
    EXPECT_FLOAT_EQ(settings.mouseSensitivity, 0.0001f);
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
    void keyDown(int code) {
        Event event;
        event.type = EventType::KeyDown;
        event.keyCode = code;
        router.handleInput(event);
    }
    void mouseDown(int button) {
        Event event;
        event.type = EventType::MouseDown;
        event.button = button;
        router.handleInput(event);
    }
    void rebindRow(int index) {
        scene.gui().getList(17)->selectRow(index);
        scene.onGuiEvent(18, true);
        ASSERT_TRUE(scene.waitingForKey);
    }
    InputRouter router;
};

TEST_F(RebindingTest, TheNextKeyBindsTheSelectedActionAndTheListShowsIt) {
    EXPECT_EQ(row(17, 0), "   Move Forward|W");
    rebindRow(0);
    keyDown(VK_UP);
    EXPECT_FALSE(scene.waitingForKey);
    EXPECT_EQ(settings.controls().boundKey(0), VK_UP);
    EXPECT_EQ(row(17, 0), "   Move Forward|[Up]");
    EXPECT_EQ(text(19), " ");
    EXPECT_FALSE(settings.isKeyDown(VK_UP));  // the key went to the binding only
    EXPECT_EQ(scene.gui().getList(17)->getRowCount(), 7);

    // A key already in use moves to the new action and leaves the old one unbound.
    rebindRow(2);
    keyDown('D');
    EXPECT_EQ(row(17, 2), "   Strafe Left|D");
    EXPECT_EQ(row(17, 3), "   Strafe Right|[none]");

    rebindRow(6);
    mouseDown(VK_RBUTTON);
    EXPECT_EQ(row(17, 6), "   Attack|[R Mouse]");
    EXPECT_FALSE(settings.isKeyDown(VK_RBUTTON));

    // Escape has no name: it unbinds.
    rebindRow(1);
    keyDown(VK_ESCAPE);
    EXPECT_EQ(row(17, 1), "   Move Back|[none]");
    EXPECT_EQ(settings.controls().boundKey(1), 0);
    EXPECT_EQ(window.currentState(), GameState::Options);
    EXPECT_EQ(scene.gui().getListSelectedRow(17), 1);

    // Not waiting: keys are plain keys again.
    keyDown('Q');
    EXPECT_TRUE(settings.isKeyDown('Q'));
    EXPECT_EQ(settings.controls().boundKey(1), 0);
}

TEST_F(RebindingTest, PromptNamesTheLabelWithItsSpacesAndStaysWithinTheTextLimit) {
    for (int index = 0; index < settings.controlCount(); ++index) {
        rebindRow(index);
        std::string prompt = text(19);
        EXPECT_EQ(prompt, "Press the button/key you want the " + settings.controlLabel(index) +
                              "    action to have");
        EXPECT_LE(prompt.size(), GUIText::MAX_TEXT);
        scene.bindKey(settings.controls().boundKey(settings.controlActionId(index)));
    }
}

// ---- Name entry ----

class NameEntryTest : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        scene.connectInput(router.hooks());
        scene.highScores().loadHighScores();  // the default table
        goTo({GameState::Loading, GameState::Ready, GameState::Playing, GameState::GameOver});
        scene.newHighScore = true;
    }
    void keyDown(int code) {
        Event event;
        event.type = EventType::KeyDown;
        event.keyCode = code;
        router.handleInput(event);
    }
    InputRouter router;
};

TEST_F(NameEntryTest, LettersDigitsShiftAndKeypadMakeTheName) {
    EXPECT_TRUE(scene.nameEntryKey('A', false));
    EXPECT_TRUE(scene.nameEntryKey('B', true));
    EXPECT_TRUE(scene.nameEntryKey('7', false));
    EXPECT_TRUE(scene.nameEntryKey(VK_NUMPAD0 + 3, false));
    EXPECT_EQ(scene.typedName, "aB73");
    EXPECT_TRUE(scene.nameEntryKey(VK_BACK, false));
    EXPECT_EQ(scene.typedName, "aB7");
    for (int code : {VK_SPACE, VK_OEM_1, VK_F1, VK_SHIFT, VK_ESCAPE, VK_MULTIPLY}) {
        EXPECT_FALSE(scene.nameEntryKey(code, false)) << code;
    }
    EXPECT_EQ(scene.typedName, "aB7");
    scene.typedName.clear();
    EXPECT_TRUE(scene.nameEntryKey(VK_BACK, false));  // nothing to remove
    EXPECT_EQ(scene.typedName, "");
}

TEST_F(NameEntryTest, RoutedKeysWithShiftReachTheNameAndTakenKeysAreCleared) {
    keyDown('A');
    keyDown(VK_SHIFT);
    keyDown('B');
    settings.setKeyDown(VK_SHIFT, false);
    keyDown('7');
    keyDown(VK_NUMPAD0 + 3);
    EXPECT_EQ(scene.typedName, "aB73");
    EXPECT_FALSE(settings.isKeyDown('A'));
    EXPECT_FALSE(settings.isKeyDown(VK_NUMPAD0 + 3));
}

TEST_F(NameEntryTest, NameStopsAtSixteenCharacters) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(scene.nameEntryKey('0' + i % 10, false));
    }
    EXPECT_EQ(scene.typedName.size(), 16u);
    EXPECT_TRUE(scene.nameEntryKey('Z', true));  // taken, and ignored
    EXPECT_TRUE(scene.nameEntryKey(VK_SPACE, false));
    EXPECT_EQ(scene.typedName, "0123456789012345");
    EXPECT_TRUE(scene.nameEntryKey(VK_BACK, false));
    EXPECT_TRUE(scene.nameEntryKey('Z', true));
    EXPECT_EQ(scene.typedName, "012345678901234Z");
}

TEST_F(NameEntryTest, EnterWithAnEmptyNameDoesNothing) {
    for (int enter : {VK_RETURN, VK_SEPARATOR}) {
        EXPECT_TRUE(scene.nameEntryKey(enter, false));
        EXPECT_EQ(window.currentState(), GameState::GameOver);
        EXPECT_TRUE(scene.newHighScore);
    }
    EXPECT_EQ(readFile("save/data.dat"), HighScoreTable::format(scene.highScores().entries()));
    EXPECT_EQ(scene.highScores().entries().front().name, "<none>");
}

TEST_F(NameEntryTest, EnterWithANameSavesTheScoreAndShowsTheTable) {
    scene.player().addScore(35);
    for (char c : std::string("GHOSTBUSTER")) {
        scene.nameEntryKey(c, true);
    }
    EXPECT_TRUE(scene.nameEntryKey(VK_SEPARATOR, false));  // keypad Enter
    std::vector<GameState> expected = {GameState::MainMenu, GameState::HighScores};
    EXPECT_EQ(stack(), expected);
    EXPECT_EQ(scene.typedName, "");
    EXPECT_FALSE(scene.newHighScore);
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
    scene.newHighScore = false;
    scene.typedName = "ignored";
    EXPECT_TRUE(scene.nameEntryKey(VK_RETURN, false));
    EXPECT_EQ(stack(), MENU_ONLY);
    EXPECT_EQ(scene.highScores().entries().front().name, "<none>");
}

TEST_F(NameEntryTest, OnlyTheGameOverScreenTakesNames) {
    goTo({GameState::Options});
    EXPECT_FALSE(scene.nameEntryKey('A', false));
    EXPECT_FALSE(scene.nameEntryKey(VK_RETURN, false));
    EXPECT_EQ(scene.typedName, "");
}

// ---- Leaving a game ----

TEST_F(ScreensTest, LeavingAGameRemovesTheLevelObjectsAndPlayControls) {
    GUIManager& gui = scene.gui();
    ASSERT_TRUE(gui.createImage(40, GameState::Playing, 0, 0, 10, 10));
    ASSERT_TRUE(gui.createImage(50, GameState::GameOver, 0, 0, 10, 10));
    ASSERT_TRUE(gui.createButton(29, GameState::Paused, 258, 381, 319, 35));
    scene.level().setMap(32, 24, [](int, int) { return Color4(1.0f, 1.0f, 1.0f, 1.0f); });
    scene.level().setCells(8.0f, 10.0f);
    scene.hud().setRadarRange(200.0f);
    scene.player().addScore(20);
    scene.player().addHealth(-30);

    scene.leaveGame();

    EXPECT_EQ(gui.groupSize(GameState::Playing), 0u);
    EXPECT_EQ(gui.groupSize(GameState::GameOver), 0u);
    EXPECT_NE(gui.getControl(29), nullptr);  // the menus stay
    // The HUD of the next game may use the same ids again.
    EXPECT_TRUE(gui.createImage(40, GameState::Playing, 0, 0, 10, 10));
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
        float bob = scene.bobbingTween.value();
        float pulse = scene.pulseTween.value();
        for (int i = 0; i < 10; ++i) {
            scene.menuStep();
        }
        EXPECT_EQ(scene.bobbingTween.value() != bob, c.bobs);
        EXPECT_EQ(scene.pulseTween.value() != pulse, c.pulses);
    }
}

}  // namespace
