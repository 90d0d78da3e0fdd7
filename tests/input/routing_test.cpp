#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/game_window.h"
#include "input/game_settings.h"
#include "input/input_router.h"
#include "input/key_names.h"
#include "platform/keycodes.h"
#include "support/pad_events.h"

namespace {

using platform::Event;
using platform::EventType;

// SDL scancodes (USB usage ids), as the platform layer receives them.
constexpr int SC_GRAVE = 53;
constexpr int SC_F11 = 68;
constexpr int SC_KP_ENTER = 88;
constexpr int SC_KP_5 = 93;
constexpr int SC_RETURN = 40;
constexpr int SC_LCTRL = 224;
constexpr int SC_LALT = 226;
constexpr int SC_RCTRL = 228;
constexpr int SC_RALT = 230;

Event keyEvent(EventType type, int scancode) {
    platform::TranslatedKey key = platform::translateScancode(scancode);
    Event event;
    event.type = type;
    event.keyCode = key.keyCode;
    event.extended = key.extended;
    return event;
}

Event mouseEvent(EventType type, int button) {
    Event event;
    event.type = type;
    event.button = button;
    return event;
}

class RoutingTest : public ::testing::Test {
protected:
    GameSettings settings{nullptr};
    GameWindow window;
    InputRouter router;
    std::vector<int> bound;
    bool waiting = false;

    void SetUp() override {
        settings.loadControls(nullptr);
        router.hooks().waitingForKey = [this] { return waiting; };
        router.hooks().bindKey = [this](int code) {
            bound.push_back(code);
            waiting = false;
        };
    }
    int pressAndRelease(int scancode, EventType down = EventType::KeyDown,
                        EventType up = EventType::KeyUp) {
        router.handleInput(keyEvent(down, scancode));
        int code = -1;
        for (int i = 0; i < GameSettings::KEY_COUNT; ++i) {
            if (settings.keyDown[i]) {
                code = i;
            }
        }
        router.handleInput(keyEvent(up, scancode));
        return code;
    }
};

TEST_F(RoutingTest, ExtendedKeysBecomeTheirOwnCodes) {
    EXPECT_EQ(pressAndRelease(SC_RCTRL), 163);
    EXPECT_EQ(pressAndRelease(SC_LCTRL), 17);
    EXPECT_EQ(pressAndRelease(SC_KP_ENTER), 108);
    EXPECT_EQ(pressAndRelease(SC_RETURN), 13);
    EXPECT_EQ(pressAndRelease(SC_RALT, EventType::SysKeyDown, EventType::SysKeyUp), 165);
    EXPECT_EQ(pressAndRelease(SC_LALT, EventType::SysKeyDown, EventType::SysKeyUp), 18);
    for (int i = 0; i < GameSettings::KEY_COUNT; ++i) {
        EXPECT_EQ(settings.keyDown[i], 0) << i;
    }
    EXPECT_EQ(keyName(163), "[R Control]");
    EXPECT_EQ(keyName(pressAndRelease(SC_KP_5)), "[Num5]");
    EXPECT_EQ(keyName(pressAndRelease(SC_F11)), "[F11]");
    EXPECT_EQ(keyName(pressAndRelease(SC_GRAVE)), "~");
}

TEST_F(RoutingTest, OtherSystemKeysGoToTheSystem) {
    Event event;
    event.type = EventType::SysKeyDown;
    event.keyCode = 115;  // F4 with Alt held
    EXPECT_FALSE(router.handleInput(event));
    EXPECT_EQ(settings.keyDown[115], 0);
    event.keyCode = platform::VK_F10;
    EXPECT_TRUE(router.handleInput(event));
    EXPECT_EQ(settings.keyDown[platform::VK_F10], 1);
}

TEST_F(RoutingTest, AttackConsumesOncePerPress) {
    router.handleInput(mouseEvent(EventType::MouseDown, 1));
    EXPECT_TRUE(settings.isActionActive(9, true));
    EXPECT_FALSE(settings.isActionActive(9, true));
    router.handleInput(mouseEvent(EventType::MouseUp, 1));
    EXPECT_FALSE(settings.isActionActive(9, true));
    router.handleInput(mouseEvent(EventType::MouseDown, 1));
    EXPECT_TRUE(settings.isActionActive(9, false));
    EXPECT_TRUE(settings.isActionActive(9, true));
    EXPECT_FALSE(settings.isActionActive(9, false));
    EXPECT_FALSE(settings.isActionActive(4, false));  // not in the table
}

TEST_F(RoutingTest, EscapePausesPlayAndBindingTakesKeysInOptions) {
    window.setState(GameState::Playing);
    router.handleInput(keyEvent(EventType::KeyDown, 41));  // Escape
    EXPECT_EQ(window.currentState(), GameState::Paused);
    EXPECT_EQ(settings.keyDown[27], 0);

    window.setState(GameState::MainMenu);
    window.setState(GameState::Options);
    waiting = true;
    router.handleInput(keyEvent(EventType::KeyDown, SC_RCTRL));
    EXPECT_EQ(settings.keyDown[163], 0);  // a bound key sets no state
    waiting = true;
    router.handleInput(mouseEvent(EventType::MouseDown, 2));
    waiting = true;
    router.handleInput(keyEvent(EventType::SysKeyDown, SC_RALT));
    EXPECT_EQ(bound, (std::vector<int>{163, 2, 165}));
    EXPECT_EQ(settings.keyDown[2], 0);
}

TEST_F(RoutingTest, ClicksAndMovesReachTheGuiAndLookReachesThePlayer) {
    std::vector<bool> guiEvents;
    std::vector<GameState> released;
    std::vector<std::pair<float, float>> looks;
    router.hooks().guiMouseEvent = [&](bool clicked) {
        EXPECT_EQ(settings.mouseClickInProgress, clicked);
        guiEvents.push_back(clicked);
    };
    router.hooks().guiButtonReleased = [&](GameState s) { released.push_back(s); };
    router.hooks().mouseLook = [&](float dx, float dy) { looks.emplace_back(dx, dy); };
    router.hooks().sceneExists = [] { return true; };

    window.setState(GameState::MainMenu);
    router.handleInput(mouseEvent(EventType::MouseDown, 1));
    EXPECT_FALSE(settings.mouseClickInProgress);
    router.handleInput(mouseEvent(EventType::MouseUp, 1));
    Event move;
    move.type = EventType::MouseMove;
    // Left of the client area (the cursor is confined only during play) the
    // position is negative and must stay so, or the GUI would see x = 65531.
    move.x = -5;
    move.y = 70000;
    router.handleInput(move);
    EXPECT_EQ(guiEvents, (std::vector<bool>{true, false}));
    EXPECT_EQ(released, (std::vector<GameState>{GameState::MainMenu}));
    EXPECT_EQ(settings.mouseX, -5);
    EXPECT_EQ(settings.mouseY, 70000);

    settings.mouseCentreX = 512;
    settings.mouseCentreY = 384;
    settings.mouseSensitivity = 0.002f;
    window.setState(GameState::Playing);
    // Look comes from the relative motion; where the pointer is plays no part.
    move.x = 3;
    move.y = 900;
    move.dx = 10;
    move.dy = -10;
    router.handleInput(move);
    ASSERT_EQ(looks.size(), 1u);
    EXPECT_FLOAT_EQ(looks[0].first, 0.02f);
    EXPECT_FLOAT_EQ(looks[0].second, -0.02f);
    EXPECT_EQ(guiEvents.size(), 2u);

    router.hooks().sceneExists = [] { return false; };
    router.handleInput(move);
    EXPECT_EQ(looks.size(), 1u);
}

TEST_F(RoutingTest, NameEntryTakesKeysOnTheGameOverScreen) {
    std::vector<std::pair<int, bool>> typed;
    router.hooks().nameEntryKey = [&](int code, bool shift) {
        typed.emplace_back(code, shift);
        return code != 13 && code != 16;  // Shift and Enter are not typed
    };
    window.setState(GameState::GameOver);
    router.handleInput(keyEvent(EventType::KeyDown, 225));  // left Shift
    router.handleInput(keyEvent(EventType::KeyDown, 5));    // B
    router.handleInput(keyEvent(EventType::KeyDown, SC_RETURN));
    ASSERT_EQ(typed.size(), 3u);
    EXPECT_EQ(typed[1], std::make_pair(66, true));
    EXPECT_EQ(settings.keyDown[66], 0);  // taken by the name entry
    EXPECT_EQ(settings.keyDown[13], 1);  // not taken
}

TEST_F(RoutingTest, WheelGoesToWeaponsDuringPlayAndToTheScreensOtherwise) {
    std::vector<int> weapons;
    std::vector<int> screens;
    router.hooks().weaponWheel = [&](int w) { weapons.push_back(w); };
    router.hooks().menuWheel = [&](int w) { screens.push_back(w); };
    Event wheel;
    wheel.type = EventType::MouseWheel;
    wheel.wheel = -120;
    router.handleInput(wheel);
    window.setState(GameState::Playing);
    wheel.wheel = 240;
    router.handleInput(wheel);
    EXPECT_EQ(weapons, std::vector<int>{240});
    EXPECT_EQ(screens, std::vector<int>{-120});
}

}  // namespace

// ---- Pads ----

namespace {

using platform::PadAxis;
using platform::PadButton;

class PadRoutingTest : public RoutingTest {
protected:
    std::vector<PadButton> offered;  // to the screens' hook
    std::vector<PadButton> padBound;
    std::vector<PadButton> named;
    PadButton menuTakes = PadButton::None;
    PadButton nameTakes = PadButton::None;

    void SetUp() override {
        RoutingTest::SetUp();
        settings.loadPadControls(nullptr);
        router.hooks().menuPad = [this](PadButton b) {
            offered.push_back(b);
            return b == menuTakes;
        };
        router.hooks().nameEntryPad = [this](PadButton b) {
            named.push_back(b);
            return b == nameTakes;
        };
        router.hooks().bindPadButton = [this](PadButton b) {
            padBound.push_back(b);
            waiting = false;
        };
    }
    void send(const Event& event) { EXPECT_TRUE(router.handleInput(event)); }
    void down(PadButton b, int pad = 0) { send(buttonEvent(pad, b, true)); }
    void up(PadButton b, int pad = 0) { send(buttonEvent(pad, b, false)); }
    void goTo(GameState state) {
        window.setState(GameState::MainMenu);
        if (state != GameState::MainMenu) {
            window.setState(state);
        }
    }
    std::vector<int> keysDown() const {
        std::vector<int> codes;
        for (int i = 0; i < GameSettings::KEY_COUNT; ++i) {
            if (settings.keyDown[i]) {
                codes.push_back(i);
            }
        }
        return codes;
    }
};

// A press no screen takes is the key a keyboard player would press, held
// until the button is let go; the press itself is used up on the screen.
TEST_F(PadRoutingTest, PadButtonsOnScreensAreOfferedThenBecomeKeys) {
    using platform::VK_DOWN;
    using platform::VK_ESCAPE;
    using platform::VK_LEFT;
    using platform::VK_RETURN;
    using platform::VK_SPACE;
    using platform::VK_UP;
    struct Case {
        GameState state;
        PadButton button;
        std::vector<int> keys;
    } cases[] = {
        {GameState::MainMenu, PadButton::DPadUp, {VK_UP}},
        {GameState::MainMenu, PadButton::DPadDown, {VK_DOWN}},
        {GameState::Options, PadButton::DPadLeft, {VK_LEFT}},
        {GameState::MainMenu, PadButton::A, {VK_RETURN}},
        {GameState::Options, PadButton::Start, {VK_RETURN}},
        {GameState::HighScores, PadButton::B, {VK_ESCAPE}},
        {GameState::GameOver, PadButton::A, {VK_RETURN}},
        {GameState::Paused, PadButton::A, {VK_RETURN}},
        // The intro is skipped with Space only.
        {GameState::Intro, PadButton::A, {VK_SPACE}},
        {GameState::Intro, PadButton::Start, {VK_SPACE}},
        {GameState::MainMenu, PadButton::X, {}},
        {GameState::MainMenu, PadButton::RightShoulder, {}},
    };
    for (const Case& c : cases) {
        const std::string what = std::string(stateName(c.state)) + " " + padButtonName(c.button);
        if (c.state == GameState::Intro) {
            window.setState(GameState::Intro);  // from the menu: pushed on top
        } else {
            goTo(c.state);
        }
        offered.clear();
        down(c.button);
        EXPECT_EQ(offered, std::vector<PadButton>{c.button}) << what;
        EXPECT_EQ(keysDown(), c.keys) << what;
        EXPECT_FALSE(settings.pad().hasPress(c.button)) << what;
        EXPECT_TRUE(settings.pad().isDown(c.button)) << what;
        up(c.button);
        EXPECT_EQ(keysDown(), std::vector<int>{}) << what;
    }

    // Taken by the screen: no key.
    goTo(GameState::MainMenu);
    menuTakes = PadButton::A;
    down(PadButton::A);
    EXPECT_EQ(keysDown(), std::vector<int>{});
    up(PadButton::A);
}

// The ready screen is left by a click, anywhere; A gives one.
TEST_F(PadRoutingTest, PadAOnTheReadyScreenClicks) {
    std::vector<bool> clicks;
    std::vector<GameState> released;
    router.hooks().guiMouseEvent = [&](bool clicked) { clicks.push_back(clicked); };
    router.hooks().guiButtonReleased = [&](GameState s) { released.push_back(s); };
    goTo(GameState::Ready);
    down(PadButton::A);
    EXPECT_EQ(clicks, std::vector<bool>{true});
    EXPECT_TRUE(settings.isKeyDown(platform::VK_LBUTTON));
    up(PadButton::A);
    EXPECT_FALSE(settings.isKeyDown(platform::VK_LBUTTON));
    EXPECT_EQ(released, std::vector<GameState>{GameState::Ready});
}

TEST_F(PadRoutingTest, PadStartPausesAndResumesAndLosingThePadPauses) {
    send(padEvent(EventType::PadAdded, 2));
    send(padEvent(EventType::PadAdded, 5));
    EXPECT_EQ(settings.pad().connectedCount(), 2);
    goTo(GameState::Ready);
    window.setState(GameState::Playing);

    // In play the pad is only state, polled by play.
    down(PadButton::A, 5);
    down(PadButton::DPadUp, 5);
    EXPECT_TRUE(offered.empty());
    EXPECT_EQ(keysDown(), std::vector<int>{});
    EXPECT_TRUE(settings.isActionActive(ControlTable::MOVE_FORWARD, false));
    EXPECT_EQ(window.currentState(), GameState::Playing);

    down(PadButton::Start, 5);
    EXPECT_EQ(window.currentState(), GameState::Paused);
    up(PadButton::Start, 5);
    down(PadButton::Start, 5);
    EXPECT_EQ(window.currentState(), GameState::Playing);
    EXPECT_EQ(offered, std::vector<PadButton>{PadButton::Start});
    up(PadButton::Start, 5);

    // Only a pad that was known pauses when it goes.
    send(padEvent(EventType::PadRemoved, 7));
    EXPECT_EQ(window.currentState(), GameState::Playing);
    send(padEvent(EventType::PadRemoved, 2));
    EXPECT_EQ(window.currentState(), GameState::Paused);
    EXPECT_EQ(settings.pad().connectedCount(), 1);
}

TEST_F(PadRoutingTest, PadBindsWhileOptionsWaitAndNameEntryComesFirst) {
    goTo(GameState::Options);
    waiting = true;
    send(axisEvent(0, PadAxis::RightTrigger, 30000));
    EXPECT_EQ(padBound, std::vector<PadButton>{PadButton::RightTrigger});
    waiting = true;
    send(axisEvent(0, PadAxis::LeftY, -32768));  // the stick binds nothing
    down(PadButton::DPadDown);
    EXPECT_EQ(padBound, (std::vector<PadButton>{PadButton::RightTrigger, PadButton::DPadDown}));
    EXPECT_TRUE(offered.empty());
    EXPECT_EQ(keysDown(), std::vector<int>{});
    up(PadButton::DPadDown);
    send(axisEvent(0, PadAxis::LeftY, 0));

    std::vector<int> typed;
    router.hooks().nameEntryKey = [&](int code, bool) {
        typed.push_back(code);
        return true;
    };
    goTo(GameState::GameOver);
    nameTakes = PadButton::DPadUp;
    down(PadButton::DPadUp);
    down(PadButton::A);
    EXPECT_EQ(named, (std::vector<PadButton>{PadButton::DPadUp, PadButton::A}));
    EXPECT_EQ(offered, std::vector<PadButton>{PadButton::A});
    EXPECT_EQ(typed, std::vector<int>{platform::VK_RETURN});  // through the keys' name entry
}

// Past half of its travel the left stick presses the D-pad once; the next
// press waits until it is back under 0.3. In play it is only held, so a
// stick still pushed when the pause menu opens moves nothing there.
TEST_F(PadRoutingTest, PadStickIsADPadOnScreensWithHysteresis) {
    struct Step {
        GameState state;
        PadAxis axis;
        int value;
        std::vector<PadButton> pressesSoFar;
        std::vector<int> keys;
    };
    const PadButton U = PadButton::DPadUp;
    const PadButton R = PadButton::DPadRight;
    const PadButton D = PadButton::DPadDown;
    const int VK_UP = platform::VK_UP;
    const Step steps[] = {
        {GameState::MainMenu, PadAxis::LeftY, -10000, {}, {}},
        {GameState::MainMenu, PadAxis::LeftY, -17000, {U}, {VK_UP}},
        {GameState::MainMenu, PadAxis::LeftY, -32768, {U}, {VK_UP}},
        {GameState::MainMenu, PadAxis::LeftY, -10500, {U}, {VK_UP}},
        {GameState::MainMenu, PadAxis::LeftY, -17000, {U}, {VK_UP}},
        {GameState::MainMenu, PadAxis::LeftY, -9000, {U}, {}},
        {GameState::MainMenu, PadAxis::LeftY, -17000, {U, U}, {VK_UP}},
        // Rolled round to the right: up lets go, right presses.
        {GameState::MainMenu, PadAxis::LeftX, 32767, {U, U}, {VK_UP}},
        {GameState::MainMenu, PadAxis::LeftY, 0, {U, U, R}, {platform::VK_RIGHT}},
        {GameState::MainMenu, PadAxis::LeftX, 0, {U, U, R}, {}},
        {GameState::Playing, PadAxis::LeftY, 32767, {U, U, R}, {}},
        {GameState::Paused, PadAxis::LeftY, 30000, {U, U, R}, {}},
        {GameState::Paused, PadAxis::LeftY, 0, {U, U, R}, {}},
        {GameState::Paused, PadAxis::LeftY, 30000, {U, U, R, D}, {platform::VK_DOWN}},
    };
    int index = 0;
    for (const Step& step : steps) {
        if (window.currentState() != step.state) {
            window.setState(step.state);
        }
        send(axisEvent(0, step.axis, step.value));
        EXPECT_EQ(offered, step.pressesSoFar) << "step " << index;
        EXPECT_EQ(keysDown(), step.keys) << "step " << index;
        ++index;
    }
    // Unplugged while holding a direction: the key is let go.
    send(padEvent(EventType::PadRemoved, 0));
    EXPECT_EQ(keysDown(), std::vector<int>{});
}

TEST_F(PadRoutingTest, PadUsedLastDrivesAndItsKeysGoWithIt) {
    goTo(GameState::MainMenu);
    down(PadButton::DPadDown, 1);
    send(axisEvent(2, PadAxis::LeftX, -20000));
    EXPECT_EQ(settings.pad().activePad(), 2);
    EXPECT_EQ(keysDown(), (std::vector<int>{platform::VK_LEFT, platform::VK_DOWN}));
    send(padEvent(EventType::PadRemoved, 1));
    EXPECT_EQ(keysDown(), std::vector<int>{platform::VK_LEFT});
    EXPECT_EQ(settings.pad().activePad(), 2);
    // Events of a pad the pad state does not keep are dropped whole.
    down(PadButton::A, -1);
    EXPECT_EQ(offered, (std::vector<PadButton>{PadButton::DPadDown, PadButton::DPadLeft}));
}

}  // namespace
