#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/game_window.h"
#include "input/game_settings.h"
#include "input/input_router.h"
#include "input/key_names.h"
#include "platform/keycodes.h"

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

TEST_F(RoutingTest, WheelGoesToWeaponsOnlyDuringPlay) {
    std::vector<int> wheels;
    router.hooks().weaponWheel = [&](int w) { wheels.push_back(w); };
    Event wheel;
    wheel.type = EventType::MouseWheel;
    wheel.wheel = -120;
    router.handleInput(wheel);
    window.setState(GameState::Playing);
    router.handleInput(wheel);
    EXPECT_EQ(wheels, std::vector<int>{-120});
}

}  // namespace
