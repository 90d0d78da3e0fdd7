#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "app/error_reporter.h"
#include "input/control_table.h"
#include "input/game_settings.h"
#include "input/pad_bindings.h"
#include "input/pad_input.h"
#include "input/pad_sticks.h"
#include "support/pad_events.h"
#include "support/temp_dir.h"

namespace {

using platform::Event;
using platform::EventType;
using platform::PadAxis;
using platform::PadButton;

// ---- Stick feel ----

TEST(PadSticks, DeadZoneLinearMoveAndCurvedLook) {
    struct Case {
        const char* what;
        int rawX, rawY;
        float moveX, moveY, lookX, lookY;
    } cases[] = {
        {"centre", 0, 0, 0, 0, 0, 0},
        {"inside the dead zone", 4000, -4000, 0, 0, 0, 0},
        {"at its edge", 6553, 0, 0, 0, 0, 0},
        {"a quarter right", 13107, 0, 0.25f, 0, 0.0742f, 0},
        {"half right", 19660, 0, 0.5f, 0, 0.2188f, 0},
        {"half pushed away", 0, -19660, 0, 0.5f, 0, 0.2188f},
        {"full left", -32768, 0, -1, 0, -1, 0},
        {"full pulled back", 0, 32767, 0, -1, 0, -1},
        {"corner of a square gate", 32767, -32768, 0.7071f, 0.7071f, 0.7071f, 0.7071f},
        {"beyond the range", INT_MIN, INT_MAX, -0.7071f, -0.7071f, -0.7071f, -0.7071f},
    };
    for (const Case& c : cases) {
        StickPosition move = shapeMoveStick(c.rawX, c.rawY);
        StickPosition look = shapeLookStick(c.rawX, c.rawY);
        EXPECT_NEAR(move.x, c.moveX, 1e-3) << c.what;
        EXPECT_NEAR(move.y, c.moveY, 1e-3) << c.what;
        EXPECT_NEAR(look.x, c.lookX, 1e-3) << c.what;
        EXPECT_NEAR(look.y, c.lookY, 1e-3) << c.what;
        EXPECT_EQ(isOutsideDeadZone(c.rawX, c.rawY), c.moveX != 0 || c.moveY != 0) << c.what;
    }
}

// ---- Pad state ----

// Each step: an event, then what the pads report.
struct PadStep {
    Event event;
    int active;
    int connected;
    bool aDown;
    bool rtDown;
    float moveY;
};

TEST(PadInput, LastUsedPadDrivesAndTriggersHaveHysteresis) {
    const PadStep steps[] = {
        {padEvent(EventType::PadAdded, 3), -1, 1, false, false, 0},
        {padEvent(EventType::PadAdded, 5), -1, 2, false, false, 0},
        // A push past the dead zone makes a pad active; one inside does not.
        {axisEvent(5, PadAxis::LeftY, -32768), 5, 2, false, false, 1},
        {axisEvent(3, PadAxis::LeftX, 3000), 5, 2, false, false, 1},
        {buttonEvent(3, PadButton::A, true), 3, 2, true, false, 0},
        {buttonEvent(5, PadButton::A, false), 3, 2, true, false, 0},
        // A trigger past half way presses, and lets go only under a quarter.
        {axisEvent(5, PadAxis::RightTrigger, 16000), 3, 2, true, false, 0},
        {axisEvent(5, PadAxis::RightTrigger, 20000), 5, 2, false, true, 1},
        {axisEvent(5, PadAxis::RightTrigger, 9000), 5, 2, false, true, 1},
        {axisEvent(5, PadAxis::RightTrigger, 8000), 5, 2, false, false, 1},
        // The active pad gone, none drives until another is used.
        {padEvent(EventType::PadRemoved, 5), -1, 1, false, false, 0},
        {axisEvent(3, PadAxis::RightX, 30000), 3, 1, true, false, 0},
        // A pad first heard of through a button is connected from then on.
        {buttonEvent(9, PadButton::B, true), 9, 2, false, false, 0},
        {padEvent(EventType::PadRemoved, 42), 9, 2, false, false, 0},
    };
    PadInput pads;
    int index = 0;
    for (const PadStep& step : steps) {
        pads.handle(step.event);
        EXPECT_EQ(pads.activePad(), step.active) << "step " << index;
        EXPECT_EQ(pads.connectedCount(), step.connected) << "step " << index;
        EXPECT_EQ(pads.isDown(PadButton::A), step.aDown) << "step " << index;
        EXPECT_EQ(pads.isDown(PadButton::RightTrigger), step.rtDown) << "step " << index;
        EXPECT_NEAR(pads.move().y, step.moveY, 1e-3) << "step " << index;
        ++index;
    }
    pads.clear();
    EXPECT_EQ(pads.activePad(), -1);
    EXPECT_EQ(pads.connectedCount(), 0);
}

TEST(PadInput, PressIsTakenOnceUntilReleased) {
    PadInput pads;
    auto transition = pads.handle(buttonEvent(0, PadButton::X, true));
    EXPECT_EQ(transition.button, PadButton::X);
    EXPECT_TRUE(transition.down);
    EXPECT_TRUE(pads.takePress(PadButton::X));
    EXPECT_FALSE(pads.takePress(PadButton::X));
    EXPECT_TRUE(pads.isDown(PadButton::X));  // still held, only used
    // A repeated down event is no new press.
    EXPECT_EQ(pads.handle(buttonEvent(0, PadButton::X, true)).button, PadButton::None);
    EXPECT_FALSE(pads.hasPress(PadButton::X));
    pads.handle(buttonEvent(0, PadButton::X, false));
    pads.handle(buttonEvent(0, PadButton::X, true));
    EXPECT_TRUE(pads.hasPress(PadButton::X));

    pads.handle(axisEvent(0, PadAxis::LeftTrigger, 32767));
    pads.forgetPresses();
    EXPECT_FALSE(pads.takePress(PadButton::X));
    EXPECT_FALSE(pads.takePress(PadButton::LeftTrigger));
    EXPECT_TRUE(pads.isDown(PadButton::LeftTrigger));
}

// Recordings carry pad events as numbers, so any number may arrive.
TEST(PadInput, EventsOutsideTheEnumsOrTooManyPadsChangeNothing) {
    PadInput pads;
    std::vector<Event> hostile = {
        buttonEvent(0, static_cast<PadButton>(17), true),
        buttonEvent(0, static_cast<PadButton>(-1), true),
        buttonEvent(0, static_cast<PadButton>(INT_MAX), true),
        // The trigger buttons come from the trigger axes only.
        buttonEvent(0, PadButton::RightTrigger, true),
        axisEvent(0, static_cast<PadAxis>(6), 32767),
        axisEvent(0, static_cast<PadAxis>(-7), 32767),
        buttonEvent(-1, PadButton::A, true),
    };
    for (const Event& event : hostile) {
        EXPECT_EQ(pads.handle(event).button, PadButton::None);
    }
    EXPECT_EQ(pads.activePad(), -1);
    EXPECT_FALSE(pads.isDown(static_cast<PadButton>(17)));
    EXPECT_FALSE(pads.takePress(static_cast<PadButton>(-5)));
    EXPECT_EQ(pads.axis(0, static_cast<PadAxis>(99)), 0);

    for (int pad = 0; pad < PadInput::MAX_PADS + 5; ++pad) {
        pads.handle(buttonEvent(pad, PadButton::A, true));
    }
    EXPECT_EQ(pads.connectedCount(), PadInput::MAX_PADS);
    EXPECT_EQ(pads.activePad(), PadInput::MAX_PADS - 1);

    pads.handle(axisEvent(0, PadAxis::LeftX, INT_MIN));
    pads.handle(axisEvent(0, PadAxis::LeftTrigger, -5));
    EXPECT_EQ(pads.axis(0, PadAxis::LeftX), -32768);
    EXPECT_EQ(pads.axis(0, PadAxis::LeftTrigger), 0);
    EXPECT_NEAR(pads.move().x, -1.0f, 1e-6);
}

// ---- Pad bindings ----

const char* const DEFAULT_PAD_FILE =
    "# Spookhollow pad bindings\n0 UP\n1 DOWN\n2 LEFT\n3 RIGHT\n7 LB\n8 RB\n9 RT\n";
const int ACTIONS[] = {0, 1, 2, 3, 7, 8, 9};
const PadButton DEFAULT_BUTTONS[] = {
    PadButton::DPadUp,       PadButton::DPadDown,      PadButton::DPadLeft,    PadButton::DPadRight,
    PadButton::LeftShoulder, PadButton::RightShoulder, PadButton::RightTrigger};

std::vector<PadButton> buttonsOf(const PadBindings& bindings) {
    std::vector<PadButton> buttons;
    for (int action : ACTIONS) {
        buttons.push_back(bindings.button(action));
    }
    return buttons;
}

const std::vector<PadButton> DEFAULTS(std::begin(DEFAULT_BUTTONS), std::end(DEFAULT_BUTTONS));

TEST(PadButtonNames, OneTableBothWays) {
    const char* names[] = {"A",  "B",  "X",  "Y",    "BACK", "GUIDE", "START", "LS", "RS",
                           "LB", "RB", "UP", "DOWN", "LEFT", "RIGHT", "LT",    "RT"};
    for (int i = 0; i < static_cast<int>(PadButton::Count); ++i) {
        auto button = static_cast<PadButton>(i);
        EXPECT_STREQ(padButtonName(button), names[i]);
        PadButton parsed = PadButton::None;
        EXPECT_TRUE(parsePadButton(names[i], parsed));
        EXPECT_EQ(parsed, button);
    }
    PadButton parsed = PadButton::A;
    EXPECT_TRUE(parsePadButton("Start", parsed));
    EXPECT_EQ(parsed, PadButton::Start);
    EXPECT_TRUE(parsePadButton("NONE", parsed));
    EXPECT_EQ(parsed, PadButton::None);
    for (const char* text : {"", "START1", " A", "L", "RTT", "15"}) {
        parsed = PadButton::B;
        EXPECT_FALSE(parsePadButton(text, parsed)) << text;
        EXPECT_EQ(parsed, PadButton::B) << text;
    }
    EXPECT_STREQ(padButtonName(PadButton::None), "none");
    EXPECT_STREQ(padButtonName(PadButton::Count), "none");
    EXPECT_STREQ(padButtonName(static_cast<PadButton>(-9)), "none");
}

class PadBindingsTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("save/pad.cfg");
    std::string logPath = dir.file("ErrorLog.txt");
    ErrorReporter reporter{logPath.c_str(), true};

    int startLines = 0;

    void SetUp() override {
        ASSERT_EQ(::mkdir(dir.file("save").c_str(), 0755), 0);
        startLines = logLines();  // the reporter's own heading
    }
    int logLines() {
        std::string log = readFile(logPath);
        return static_cast<int>(std::count(log.begin(), log.end(), '\n')) - startLines;
    }
};

TEST_F(PadBindingsTest, MissingFileGivesDefaultsAndSavesThem) {
    PadBindings bindings;
    EXPECT_TRUE(bindings.load(path.c_str()));
    EXPECT_EQ(buttonsOf(bindings), DEFAULTS);
    EXPECT_TRUE(bindings.save());
    EXPECT_EQ(readFile(path), DEFAULT_PAD_FILE);
    EXPECT_EQ(logLines(), 0);

    PadBindings unnamed;
    EXPECT_FALSE(unnamed.load(nullptr));
    EXPECT_EQ(buttonsOf(unnamed), DEFAULTS);
    EXPECT_TRUE(unnamed.save());  // nothing to write to
}

TEST_F(PadBindingsTest, ReadFilesWriteBackTheSameBytes) {
    using B = PadButton;
    const B N = B::None;
    struct Case {
        const char* text;
        std::vector<PadButton> buttons;
    } cases[] = {
        {DEFAULT_PAD_FILE, DEFAULTS},
        {"# Spookhollow pad bindings\n", DEFAULTS},
        {"# Spookhollow pad bindings\n9 A\n",
         {B::DPadUp, B::DPadDown, B::DPadLeft, B::DPadRight, B::LeftShoulder, B::RightShoulder,
          B::A}},
        // A button the file gives away leaves the action that had it by default.
        {"# Spookhollow pad bindings\n9 UP",
         {N, B::DPadDown, B::DPadLeft, B::DPadRight, B::LeftShoulder, B::RightShoulder, B::DPadUp}},
        // Edited by hand: Windows line ends, blanks, comments, any case.
        {"# Spookhollow pad bindings\r\n# mine\r\n\r\n  0\tx \r\n1 none\n\t8  start\n",
         {B::X, N, B::DPadLeft, B::DPadRight, B::LeftShoulder, B::Start, B::RightTrigger}},
        {"# Spookhollow pad bindings\n0 none\n1 none\n2 none\n3 none\n7 none\n8 none\n9 none\n",
         {N, N, N, N, N, N, N}},
    };
    for (const Case& c : cases) {
        writeFile(path, c.text);
        PadBindings first;
        ASSERT_TRUE(first.load(path.c_str()));
        EXPECT_EQ(buttonsOf(first), c.buttons) << c.text;
        ASSERT_TRUE(first.save());
        const std::string written = readFile(path);
        EXPECT_EQ(written, first.serialise());
        PadBindings second;
        second.load(path.c_str());
        EXPECT_EQ(second.serialise(), written) << c.text;
    }
    EXPECT_EQ(logLines(), 0);
}

// Any file that is not wholly a bindings file gives every default and one
// line in the log, and survives the save at exit unless a binding changes.
TEST_F(PadBindingsTest, BrokenFilesGiveDefaultsAndOneLogLine) {
    const std::string head = "# Spookhollow pad bindings\n";
    const std::string cases[] = {
        "",
        "0 A\n",
        "# spookhollow pad bindings\n0 A\n",
        head + "5 A\n",
        head + "0 FIRE\n",
        head + "0 A\n0 B\n",
        head + "0 A\n1 a\n",
        head + "0\n",
        head + "0 A B\n",
        head + "-1 A\n",
        head + "99999 A\n",
        head + "0x0 A\n",
        head + "0 A # ok?\n",
        head + std::string("0 A\0\n", 5),
        head + "0 \xC3\x84\n",
        head + "0 A\x1B[2J\n",
        head + std::string(70000, '#'),
        std::string(4096, '\xFF'),
    };
    int expectedLines = 0;
    for (const std::string& text : cases) {
        const std::string shown = text.substr(0, 40);
        writeFile(path, text);
        PadBindings bindings;
        bindings.setButton(0, PadButton::Y);
        EXPECT_TRUE(bindings.load(path.c_str())) << shown;
        EXPECT_EQ(buttonsOf(bindings), DEFAULTS) << shown;
        EXPECT_EQ(logLines(), ++expectedLines) << shown;
        EXPECT_TRUE(bindings.save());
        EXPECT_EQ(readFile(path), text) << shown;
    }
    // The reason names the file and the line, never the file's bytes.
    const std::string log = readFile(logPath);
    EXPECT_NE(log.find("Can not read " + path + ": line 2: no action 5."), std::string::npos)
        << log;
    for (char c : log) {
        EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << static_cast<int>(c);
    }

    // A folder where the file should be is no file either.
    std::string folder = dir.file("save/folder.cfg");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    PadBindings bindings;
    EXPECT_TRUE(bindings.load(folder.c_str()));
    EXPECT_EQ(logLines(), ++expectedLines);

    // Once a binding changes, the broken file gives way to the table.
    writeFile(path, head + "0 FIRE\n");
    bindings.load(path.c_str());
    bindings.setButton(9, PadButton::A);
    EXPECT_TRUE(bindings.save());
    EXPECT_EQ(readFile(path), bindings.serialise());
}

TEST_F(PadBindingsTest, EachButtonOnOneActionAndFailedSaveKeepsTheFile) {
    PadBindings bindings;
    bindings.load(path.c_str());
    bindings.setButton(9, PadButton::DPadUp);  // taken from Move Forward
    bindings.setButton(1, PadButton::None);
    bindings.setButton(4, PadButton::A);  // no such action
    bindings.setButton(7, static_cast<PadButton>(40));
    EXPECT_EQ(buttonsOf(bindings),
              (std::vector<PadButton>{PadButton::None, PadButton::None, PadButton::DPadLeft,
                                      PadButton::DPadRight, PadButton::None,
                                      PadButton::RightShoulder, PadButton::DPadUp}));
    EXPECT_EQ(bindings.button(4), PadButton::None);

    writeFile(path, DEFAULT_PAD_FILE);
    ASSERT_EQ(::mkdir((path + ".tmp").c_str(), 0755), 0);
    EXPECT_FALSE(bindings.save());
    EXPECT_EQ(readFile(path), DEFAULT_PAD_FILE);
    EXPECT_NE(readFile(logPath).find("Can not save " + path), std::string::npos);
}

// ---- The settings object's pad ----

class PadSettingsTest : public ::testing::Test {
protected:
    GameSettings settings{nullptr};
    void SetUp() override {
        settings.loadControls(nullptr);
        settings.loadPadControls(nullptr);
    }
    void send(const Event& event) { settings.pad().handle(event); }
};

TEST_F(PadSettingsTest, ActionIsTheKeyOrTheActivePadsButtonAndConsumingUsesBoth) {
    const int attack = ControlTable::ATTACK;
    send(axisEvent(1, PadAxis::RightTrigger, 32767));
    EXPECT_TRUE(settings.isActionActive(attack, false));
    EXPECT_TRUE(settings.isActionActive(attack, true));
    EXPECT_FALSE(settings.isActionActive(attack, true));  // used until pulled again

    settings.setKeyDown(1, true);
    send(axisEvent(1, PadAxis::RightTrigger, 0));
    send(axisEvent(1, PadAxis::RightTrigger, 32767));
    EXPECT_TRUE(settings.isActionActive(attack, true));
    EXPECT_FALSE(settings.isActionActive(attack, false));
    EXPECT_FALSE(settings.isKeyDown(1));

    // Another pad used last: the first pad's held button no longer counts.
    send(buttonEvent(1, PadButton::DPadUp, true));
    send(buttonEvent(2, PadButton::A, true));
    EXPECT_FALSE(settings.isActionActive(ControlTable::MOVE_FORWARD, false));
    send(buttonEvent(2, PadButton::DPadUp, true));
    EXPECT_TRUE(settings.isActionActive(ControlTable::MOVE_FORWARD, false));

    // Rebound: the old button does nothing, the new one acts.
    settings.setPadControl(ControlTable::MOVE_FORWARD, PadButton::A);
    EXPECT_EQ(settings.padControl(ControlTable::MOVE_FORWARD), PadButton::A);
    EXPECT_TRUE(settings.isActionActive(ControlTable::MOVE_FORWARD, false));
    settings.clearKeys();
    EXPECT_FALSE(settings.isActionActive(ControlTable::MOVE_FORWARD, false));
    EXPECT_TRUE(settings.pad().isDown(PadButton::A));
    EXPECT_FALSE(settings.isActionActive(4, false));  // no such action
}

TEST_F(PadSettingsTest, ButtonNamesFollowTheRowsOfTheLabels) {
    settings.setPadControl(ControlTable::MELEE_WEAPON, PadButton::None);
    const char* names[] = {"UP", "DOWN", "LEFT", "RIGHT", "[none]", "RB", "RT"};
    ASSERT_EQ(settings.controlCount(), 7);
    for (int row = 0; row < 7; ++row) {
        EXPECT_EQ(settings.controlPadButtonName(row), names[row]) << settings.controlLabel(row);
    }
    EXPECT_EQ(settings.controlPadButtonName(7), "");
    EXPECT_EQ(settings.controlPadButtonName(-1), "");
}

TEST_F(PadSettingsTest, RumbleReachesTheActivePadOnlyWhenOn) {
    std::vector<std::tuple<int, float, int>> calls;
    settings.rumble(1.0f, 100);  // no output yet: nothing happens
    settings.rumbleOutput = [&](int pad, float strength, int ms) {
        calls.emplace_back(pad, strength, ms);
    };
    send(padEvent(EventType::PadAdded, 4));
    settings.rumble(1.0f, 100);  // connected, but no pad used yet
    send(buttonEvent(4, PadButton::A, true));
    settings.rumble(0.5f, 100);
    settings.rumble(7.0f, 1 << 30);
    settings.rumble(std::nanf(""), -3);
    settings.setRumbleEnabled(false);
    EXPECT_TRUE(settings.settingsChanged);
    settings.rumble(1.0f, 100);
    settings.setRumbleEnabled(true);
    send(padEvent(EventType::PadRemoved, 4));
    settings.rumble(1.0f, 100);
    EXPECT_EQ(calls,
              (std::vector<std::tuple<int, float, int>>{
                  {4, 0.5f, 100}, {4, 1.0f, GameSettings::MAX_RUMBLE_MILLISECONDS}, {4, 0.0f, 0}}));
}

TEST(PadSettings, SavingSettingsWritesPadControls) {
    TempDir dir;
    std::string pads = dir.file("save/pad.cfg");
    {
        GameSettings settings(dir.file("save/config.ini").c_str());
        settings.loadControls(dir.file("save/control.cfg").c_str());
        ASSERT_TRUE(settings.loadPadControls(pads.c_str()));
        settings.setPadControl(ControlTable::ATTACK, PadButton::X);
        EXPECT_TRUE(settings.saveSettings());
    }
    GameSettings settings(nullptr);
    settings.loadPadControls(pads.c_str());
    EXPECT_EQ(settings.padControl(ControlTable::ATTACK), PadButton::X);
    EXPECT_EQ(settings.padControl(ControlTable::MOVE_FORWARD), PadButton::DPadUp);
}

}  // namespace
