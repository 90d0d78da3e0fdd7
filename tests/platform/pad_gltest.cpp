// Pads through the platform layer: the test pad's commands reach pollEvent by
// SDL's own controller path, with a window or without, rumble requests reach
// the pad, and the player's mapping file is read or refused without harm.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/events.h"
#include "platform/pad.h"
#include "platform/window.h"
#include "support/temp_dir.h"
#include "support/x11_helpers.h"

namespace {

using platform::Event;
using platform::EventType;
using platform::PadAxis;
using platform::PadButton;

std::vector<Event> drain() {
    std::vector<Event> events;
    Event event;
    while (platform::pollEvent(event)) {
        events.push_back(event);
    }
    return events;
}

void append(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::app | std::ios::binary) << text;
}

// The test pad's variables for one test.
class ScopedTestPad {
public:
    explicit ScopedTestPad(const TempDir& dir)
        : commands(dir.file("pad.txt")), log(dir.file("rumble.txt")) {
        setenv("SPOOKHOLLOW_TEST_PAD", commands.c_str(), 1);
        setenv("SPOOKHOLLOW_TEST_PAD_LOG", log.c_str(), 1);
    }
    ~ScopedTestPad() {
        platform::closePads();
        unsetenv("SPOOKHOLLOW_TEST_PAD");
        unsetenv("SPOOKHOLLOW_TEST_PAD_LOG");
    }
    ScopedTestPad(const ScopedTestPad&) = delete;
    ScopedTestPad& operator=(const ScopedTestPad&) = delete;

    // The events of one pollEvent round after the text is written: a command
    // must not wait for a later round.
    std::vector<Event> after(const std::string& text) const {
        append(commands, text);
        return drain();
    }

    const std::string commands;
    const std::string log;
};

std::vector<Event> padEventsOnly(const std::vector<Event>& events) {
    std::vector<Event> pads;
    for (const Event& event : events) {
        if (event.type >= EventType::PadButtonDown) {
            pads.push_back(event);
        }
    }
    return pads;
}

// Pads work whether the game has opened its window yet or not.
class PadEvents : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (!x11::displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
        if (GetParam()) {
            ASSERT_TRUE(platform::startWindowSystem()) << platform::windowSystemFailure();
            ASSERT_EQ(window.create("Spookhollow pad test", 320, 240, false, 32),
                      platform::CreateResult::Ok);
            window.show();
            // SDL drops pad input while another program has the focus.
            bool focused = false;
            auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!focused && std::chrono::steady_clock::now() < end) {
                for (const Event& event : drain()) {
                    focused = focused || event.type == EventType::Activated;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            ASSERT_TRUE(focused);
        }
    }
    void TearDown() override {
        platform::closePads();
        window.destroyWindow();
        platform::stopWindowSystem();
    }

    platform::Window window;
};

struct Expected {
    EventType type;
    PadButton button;
    PadAxis axis;
    int value;
};

struct Step {
    const char* commands;
    std::vector<Expected> events;
};

const PadButton NO_BUTTON = PadButton::None;
const PadAxis NO_AXIS = PadAxis::LeftX;

TEST_P(PadEvents, TestPadCommandsComeOutAsPadEventsOfOnePad) {
    TempDir dir;
    ScopedTestPad testPad(dir);
    // A pad connected before the start is announced once, though SDL
    // announces it too.
    append(testPad.commands, "attach\n");
    std::string logLine = "unchanged";
    ASSERT_TRUE(platform::openPads(dir.file("no_mappings.txt"), &logLine));
    EXPECT_EQ(logLine, "") << "no mapping file, nothing to log";
    std::vector<Event> added = padEventsOnly(drain());
    ASSERT_EQ(added.size(), 1u);
    ASSERT_EQ(added[0].type, EventType::PadAdded);
    const int pad = added[0].pad;
    EXPECT_GE(pad, 0);

    const Step steps[] = {
        {"press a\n", {{EventType::PadButtonDown, PadButton::A, NO_AXIS, 0}}},
        {"release a\npress start\nrelease start\n",
         {{EventType::PadButtonUp, PadButton::A, NO_AXIS, 0},
          {EventType::PadButtonDown, PadButton::Start, NO_AXIS, 0},
          {EventType::PadButtonUp, PadButton::Start, NO_AXIS, 0}}},
        {"press dpleft\n", {{EventType::PadButtonDown, PadButton::DPadLeft, NO_AXIS, 0}}},
        // A line counts once it is whole.
        {"press b", {}},
        {"\n", {{EventType::PadButtonDown, PadButton::B, NO_AXIS, 0}}},
        {"axis leftx -32768\naxis righty 32767\n",
         {{EventType::PadAxisMoved, NO_BUTTON, PadAxis::LeftX, -32768},
          {EventType::PadAxisMoved, NO_BUTTON, PadAxis::RightY, 32767}}},
        // Triggers come out as asked, though SDL stretches them on the way.
        {"axis righttrigger 32767\naxis righttrigger 1\naxis lefttrigger 16000\n",
         {{EventType::PadAxisMoved, NO_BUTTON, PadAxis::RightTrigger, 32767},
          {EventType::PadAxisMoved, NO_BUTTON, PadAxis::RightTrigger, 1},
          {EventType::PadAxisMoved, NO_BUTTON, PadAxis::LeftTrigger, 16000}}},
        {"# a comment\n\nfly away\npress z\npress a now\naxis leftx 40000\n"
         "axis lefttrigger -1\naxis lefty 12x\nattach\n",
         {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.commands);
        std::vector<Event> events = padEventsOnly(testPad.after(step.commands));
        ASSERT_EQ(events.size(), step.events.size());
        for (std::size_t i = 0; i < events.size(); ++i) {
            EXPECT_EQ(events[i].type, step.events[i].type) << i;
            EXPECT_EQ(events[i].pad, pad) << i;
            EXPECT_EQ(events[i].padButton, step.events[i].button) << i;
            if (step.events[i].type == EventType::PadAxisMoved) {
                EXPECT_EQ(events[i].padAxis, step.events[i].axis) << i;
                EXPECT_EQ(events[i].axisValue, step.events[i].value) << i;
            }
        }
    }

    // The strength on both motors, for the time asked; no time never means
    // a rumble without end.
    EXPECT_TRUE(platform::rumblePad(pad, 0.5f, 200));
    EXPECT_TRUE(platform::rumblePad(pad, 7.0f, 100));
    EXPECT_TRUE(platform::rumblePad(pad, 1.0f, 0));
    EXPECT_FALSE(platform::rumblePad(pad + 1, 1.0f, 100));
    EXPECT_EQ(readFile(testPad.log),
              "rumble 32768 32768 200\nrumble 65535 65535 100\nrumble 0 0 0\n");

    // Held buttons and moved axes may be let go first, as when a real pad
    // is pulled out; the removal comes last.
    std::vector<Event> removed = padEventsOnly(testPad.after("detach\n"));
    ASSERT_FALSE(removed.empty());
    EXPECT_EQ(removed.back().type, EventType::PadRemoved);
    EXPECT_EQ(removed.back().pad, pad);
    EXPECT_FALSE(platform::rumblePad(pad, 1.0f, 100));
    EXPECT_TRUE(padEventsOnly(testPad.after("press a\ndetach\n")).empty());

    // Connected while the game runs. What follows an attach waits for the
    // pad to be open, a round later, rather than go nowhere.
    std::vector<Event> again = padEventsOnly(testPad.after("attach\npress y\n"));
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].type, EventType::PadAdded);
    EXPECT_NE(again[0].pad, pad) << "a pad connected again is a new pad";
    std::vector<Event> pressed = padEventsOnly(drain());
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_EQ(pressed[0].padButton, PadButton::Y);
    EXPECT_EQ(pressed[0].pad, again[0].pad);

    // Closed pads say nothing more, and closing twice is harmless.
    platform::closePads();
    EXPECT_TRUE(padEventsOnly(testPad.after("press x\n")).empty());
    EXPECT_FALSE(platform::rumblePad(again[0].pad, 1.0f, 100));
    platform::closePads();
}

INSTANTIATE_TEST_SUITE_P(WindowOrNot, PadEvents, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return param.param ? "WithWindow" : "WithoutWindow";
                         });

struct MappingCase {
    const char* name;
    std::string contents;  // empty: a folder where the file should be
    const char* logged;    // then the file's name
    const char* after;
};

TEST(PadMappings, FileIsAddedOrRefusedInOneLineAndPadsStillStart) {
    platform::closePads();  // never opened: harmless
    TempDir dir;
    const MappingCase cases[] = {
        {"one.txt",
         "# a player's own pad, and one for another system\n"
         "03000000f1f10000e2e2000001000000,Spookhollow Mapping Pad,a:b0,b:b1,x:b2,y:b3,"
         "start:b7,leftx:a0,lefty:a1,platform:Linux,\r\n"
         "03000000f1f10000e2e2000001000000,Spookhollow Mapping Pad,a:b1,platform:Windows,\n",
         "Pad mappings: 1 added from ", "."},
        {"broken.txt",
         std::string("not a mapping\n,,,,platform:Linux,\nzz,Bad,a:q9,platform:Linux,\n") +
             std::string("\x01\xff\0\n", 4) + std::string(100000, 'x'),
         "Pad mappings: 0 added from ", "; 5 lines could not be used (the first is line 1)."},
        {"folder", "", "Can not read the pad mappings in ", ": it is not a file."},
    };
    for (const MappingCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir.file(c.name);
        if (c.contents.empty()) {
            std::filesystem::create_directory(path);
        } else {
            writeFile(path, c.contents);
        }
        std::string logLine;
        EXPECT_TRUE(platform::openPads(path, &logLine));
        EXPECT_EQ(logLine, c.logged + path + c.after);
        platform::closePads();
    }
}

}  // namespace
