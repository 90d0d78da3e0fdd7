// Recorded games: the file format in both directions, every way a file can be
// wrong, the player's pacing and timings, the frame-time hook of the loop and
// the demo options of the command line.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/demo_file.h"
#include "app/demo_player.h"
#include "app/demo_recorder.h"
#include "app/demo_session.h"
#include "app/game_window.h"
#include "support/fake_clock.h"
#include "support/temp_dir.h"

namespace {

using platform::Event;
using platform::EventType;
using platform::PadAxis;
using platform::PadButton;

Event makeEvent(EventType type, int key, bool extended, int button, int wheel, int x, int y, int dx,
                int dy) {
    Event event;
    event.type = type;
    event.keyCode = key;
    event.extended = extended;
    event.button = button;
    event.wheel = wheel;
    event.x = x;
    event.y = y;
    event.dx = dx;
    event.dy = dy;
    return event;
}

Demo sampleDemo() {
    Demo demo;
    demo.seed = 0xDEADBEEF;
    demo.window = {1024, 768, false};
    demo.frames.push_back({0.25, {}});
    demo.frames.push_back({0.0166,
                           {makeEvent(EventType::KeyDown, 0x57, false, 0, 0, 0, 0, 0, 0),
                            makeEvent(EventType::MouseMove, 0, false, 0, 0, -5, 2000, -32768, 77),
                            makeEvent(EventType::SysKeyDown, 0x0D, true, 0, 0, 0, 0, 0, 0)}});
    demo.frames.push_back({0.0,
                           {makeEvent(EventType::MouseWheel, 0, false, 0, -240, 1, 2, 0, 0),
                            makeEvent(EventType::MouseDown, 0, false, 4, 0, 3, 4, 0, 0),
                            makeEvent(EventType::Quit, 0, false, 0, 0, 0, 0, 0, 0)}});
    return demo;
}

bool sameEvent(const Event& a, const Event& b) {
    return a.type == b.type && a.keyCode == b.keyCode && a.extended == b.extended &&
           a.button == b.button && a.wheel == b.wheel && a.x == b.x && a.y == b.y && a.dx == b.dx &&
           a.dy == b.dy && a.pad == b.pad && a.padButton == b.padButton && a.padAxis == b.padAxis &&
           a.axisValue == b.axisValue;
}

Event padEvent(EventType type, int pad, PadButton button, PadAxis axis, int value) {
    Event event;
    event.type = type;
    event.pad = pad;
    event.padButton = button;
    event.padAxis = axis;
    event.axisValue = value;
    return event;
}

void expectSameDemo(const Demo& a, const Demo& b) {
    EXPECT_EQ(a.seed, b.seed);
    EXPECT_EQ(a.window.width, b.window.width);
    EXPECT_EQ(a.window.height, b.window.height);
    EXPECT_EQ(a.window.fullscreen, b.window.fullscreen);
    ASSERT_EQ(a.frames.size(), b.frames.size());
    for (std::size_t i = 0; i < a.frames.size(); ++i) {
        // Bit for bit: the replay's fixed steps depend on every digit.
        EXPECT_EQ(std::memcmp(&a.frames[i].frameTime, &b.frames[i].frameTime, sizeof(double)), 0);
        ASSERT_EQ(a.frames[i].events.size(), b.frames[i].events.size());
        for (std::size_t e = 0; e < a.frames[i].events.size(); ++e) {
            EXPECT_TRUE(sameEvent(a.frames[i].events[e], b.frames[i].events[e]))
                << "frame " << i << " event " << e;
        }
    }
}

// Builds files by hand, so that damaged ones can carry a valid checksum and
// be refused for what they say rather than for the checksum.
class FileBuilder {
public:
    FileBuilder& raw(const std::string& bytes) {
        m_bytes += bytes;
        return *this;
    }
    FileBuilder& u8(unsigned value) {
        m_bytes.push_back(static_cast<char>(value));
        return *this;
    }
    FileBuilder& u32(std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            u8((value >> (8 * i)) & 0xFF);
        }
        return *this;
    }
    FileBuilder& f64(double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        u32(static_cast<std::uint32_t>(bits));
        return u32(static_cast<std::uint32_t>(bits >> 32));
    }
    FileBuilder& header(std::uint32_t version = DEMO_VERSION, int width = 1024, int height = 768,
                        unsigned fullscreen = 0) {
        m_version = version;
        raw("SPKDEMO\n").u32(version).u32(7);
        return u32(static_cast<std::uint32_t>(width))
            .u32(static_cast<std::uint32_t>(height))
            .u8(fullscreen);
    }
    // An event of the header's version with pad fields as given (from
    // version 3 on).
    FileBuilder& event(unsigned type, unsigned extended = 0, int pad = -1, int button = -1,
                       int axis = 0, int value = 0) {
        u8(type).u32(0x41).u8(extended);
        for (int i = 0; i < 6; ++i) {
            u32(0);
        }
        if (m_version >= 3) {
            for (int field : {pad, button, axis, value}) {
                u32(static_cast<std::uint32_t>(field));
            }
        }
        return *this;
    }
    std::string sealed() const {
        std::uint32_t hash = 2166136261u;
        for (char c : m_bytes) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 16777619u;
        }
        FileBuilder copy = *this;
        copy.u32(hash);
        return copy.m_bytes;
    }

private:
    std::string m_bytes;
    std::uint32_t m_version = DEMO_VERSION;
};

TEST(DemoFile, WhatIsWrittenReadsBackTheSame) {
    Demo demo = sampleDemo();
    std::string bytes = encodeDemo(demo);
    Demo read;
    std::string reason;
    ASSERT_TRUE(decodeDemo(bytes, read, reason)) << reason;
    expectSameDemo(demo, read);

    Demo empty;
    empty.window = {640, 480, true};
    ASSERT_TRUE(decodeDemo(encodeDemo(empty), read, reason)) << reason;
    expectSameDemo(empty, read);
}

TEST(DemoFile, HandBuiltFileOfTheDocumentedLayoutIsRead) {
    std::string bytes = FileBuilder()
                            .header(DEMO_VERSION, 800, 600, 1)
                            .u32(1)
                            .f64(0.5)
                            .u32(1)
                            .event(static_cast<unsigned>(EventType::KeyUp))
                            .sealed();
    Demo demo;
    std::string reason;
    ASSERT_TRUE(decodeDemo(bytes, demo, reason)) << reason;
    EXPECT_EQ(demo.seed, 7u);
    EXPECT_EQ(demo.window.width, 800);
    EXPECT_TRUE(demo.window.fullscreen);
    ASSERT_EQ(demo.frames.size(), 1u);
    EXPECT_EQ(demo.frames[0].frameTime, 0.5);
    ASSERT_EQ(demo.frames[0].events.size(), 1u);
    EXPECT_EQ(demo.frames[0].events[0].type, EventType::KeyUp);
    EXPECT_EQ(demo.frames[0].events[0].keyCode, 0x41);
}

// The pad fields in their documented order; a file from before pads has
// none, and its events read as no pad's.
TEST(DemoFile, PadFieldsOfTheDocumentedLayoutAndNoneBeforeVersion3) {
    struct Case {
        std::uint32_t version;
        EventType type;
        Event expected;
    } cases[] = {
        {3, EventType::PadAxisMoved,
         padEvent(EventType::PadAxisMoved, 2, PadButton::None, PadAxis::RightTrigger, -32768)},
        {3, EventType::PadButtonDown,
         padEvent(EventType::PadButtonDown, 0, PadButton::DPadRight, PadAxis::LeftX, 0)},
        {2, EventType::KeyDown,
         padEvent(EventType::KeyDown, -1, PadButton::None, PadAxis::LeftX, 0)},
    };
    for (Case& c : cases) {
        c.expected.keyCode = 0x41;
        const std::string bytes =
            FileBuilder()
                .header(c.version)
                .u32(1)
                .f64(0.5)
                .u32(1)
                .event(static_cast<unsigned>(c.type), 0, c.expected.pad,
                       static_cast<int>(c.expected.padButton), static_cast<int>(c.expected.padAxis),
                       c.expected.axisValue)
                .sealed();
        Demo demo;
        std::string reason;
        ASSERT_TRUE(decodeDemo(bytes, demo, reason)) << reason;
        EXPECT_TRUE(sameEvent(demo.frames.at(0).events.at(0), c.expected)) << c.version;
    }
}

// Every kind of pad event, kept whole through the file and through a replay
// in a window of another size (pads have no pointer to place).
TEST(DemoFile, PadEventsRoundTripAndPassAnyWindowUnchanged) {
    const Event events[] = {
        padEvent(EventType::PadAdded, 0, PadButton::None, PadAxis::LeftX, 0),
        padEvent(EventType::PadButtonDown, 0, PadButton::A, PadAxis::LeftX, 0),
        padEvent(EventType::PadButtonUp, 0, PadButton::RightTrigger, PadAxis::LeftX, 0),
        padEvent(EventType::PadAxisMoved, 0, PadButton::None, PadAxis::LeftY, -32768),
        padEvent(EventType::PadAxisMoved, 0, PadButton::None, PadAxis::RightTrigger, 32767),
        padEvent(EventType::PadRemoved, 0, PadButton::None, PadAxis::LeftX, 0),
        padEvent(EventType::PadAdded, 12, PadButton::None, PadAxis::LeftX, 0),
    };
    Demo demo;
    demo.window = {1024, 768, false};
    demo.frames.push_back({0.02, {std::begin(events), std::end(events)}});
    Demo read;
    std::string reason;
    ASSERT_TRUE(decodeDemo(encodeDemo(demo), read, reason)) << reason;
    expectSameDemo(demo, read);

    const DesignFit fit = fitDesign(1920, 1080);
    for (const Event& event : events) {
        EXPECT_TRUE(sameEvent(demoEventFromWindow(event, fit), event));
        EXPECT_TRUE(sameEvent(demoEventToWindow(event, fit), event));
    }
}

// Version 1 kept the pointer in pixels of the window, laid out unscaled; it
// is read as the design point the pointer was on, motion kept as it was.
TEST(DemoFile, OldFilesPointerPositionsBecomeDesignPoints) {
    struct Case {
        int width, height;
        EventType type;
        int x, y;
        int designX, designY;
    } cases[] = {
        {1024, 768, EventType::MouseDown, 380, 400, 268, 284},
        {1024, 768, EventType::MouseMove, 112, 684, 0, 0},
        {1280, 1024, EventType::MouseUp, 300, 500, 60, 312},
        {800, 600, EventType::MouseWheel, 10, 20, 10, 580},
        {1024, 768, EventType::KeyDown, 380, 400, 0, 0},
    };
    for (const Case& c : cases) {
        const std::string bytes = FileBuilder()
                                      .header(1, c.width, c.height)
                                      .u32(1)
                                      .f64(0.01)
                                      .u32(1)
                                      .u8(static_cast<unsigned>(c.type))
                                      .u32(0)
                                      .u8(0)
                                      .u32(1)
                                      .u32(0)
                                      .u32(static_cast<std::uint32_t>(c.x))
                                      .u32(static_cast<std::uint32_t>(c.y))
                                      .u32(5)
                                      .u32(static_cast<std::uint32_t>(-7))
                                      .sealed();
        Demo demo;
        std::string reason;
        ASSERT_TRUE(decodeDemo(bytes, demo, reason)) << reason;
        const Event& event = demo.frames.at(0).events.at(0);
        if (c.type == EventType::KeyDown) {
            EXPECT_EQ(event.x, c.x) << "not a pointer event: kept";
            EXPECT_EQ(event.y, c.y);
        } else {
            EXPECT_EQ(event.x, c.designX * DEMO_POSITION_UNITS) << c.width << " " << c.x;
            EXPECT_EQ(event.y, c.designY * DEMO_POSITION_UNITS) << c.width << " " << c.y;
        }
        EXPECT_EQ(event.dx, 5);
        EXPECT_EQ(event.dy, -7);
    }
}

struct Refused {
    const char* name;
    std::string bytes;
    const char* says;
};

void PrintTo(const Refused& c, std::ostream* out) {
    *out << c.name;
}

class DemoFileRefuses : public ::testing::TestWithParam<Refused> {};

TEST_P(DemoFileRefuses, WithAClearReasonAndNothingRead) {
    Demo demo = sampleDemo();
    std::string reason;
    EXPECT_FALSE(decodeDemo(GetParam().bytes, demo, reason));
    EXPECT_NE(reason.find(GetParam().says), std::string::npos) << reason;
    EXPECT_TRUE(demo.frames.empty());
}

const unsigned QUIT = static_cast<unsigned>(EventType::Quit);
const unsigned LAST = static_cast<unsigned>(EventType::PadRemoved);
const double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Files, DemoFileRefuses,
    ::testing::Values(
        Refused{"empty", "", "not a Spookhollow demo"},
        Refused{"other file", "P6\n1 1\n255\nabc", "not a Spookhollow demo"},
        Refused{"magic only", "SPKDEMO\n", "cut short"},
        Refused{"newer version", FileBuilder().header(DEMO_VERSION + 1).u32(0).sealed(),
                "demo; this game plays versions 1 to"},
        Refused{"version 0", FileBuilder().header(0).u32(0).sealed(), "version 0 demo"},
        Refused{"no checksum", FileBuilder().header().u32(0).raw("").sealed().substr(0, 25),
                "checksum"},
        Refused{"zero width", FileBuilder().header(DEMO_VERSION, 0, 768).u32(0).sealed(),
                "bad window size"},
        Refused{"fullscreen 2", FileBuilder().header(DEMO_VERSION, 1024, 768, 2).u32(0).sealed(),
                "bad window size"},
        Refused{"frame count beyond the file", FileBuilder().header().u32(0xFFFFFFFF).sealed(),
                "bad frame count"},
        Refused{"frame cut short", FileBuilder().header().u32(1).f64(0.1).sealed(),
                "bad frame count"},
        Refused{"NaN frame time", FileBuilder().header().u32(1).f64(NOT_A_NUMBER).u32(0).sealed(),
                "bad frame time in frame 0"},
        Refused{"negative frame time", FileBuilder().header().u32(1).f64(-0.01).u32(0).sealed(),
                "bad frame time"},
        Refused{"frame time of days",
                FileBuilder().header().u32(1).f64(DEMO_MAX_FRAME_TIME * 2).u32(0).sealed(),
                "bad frame time"},
        Refused{"event count beyond the file",
                FileBuilder().header().u32(1).f64(0.1).u32(1000).event(1).sealed(),
                "bad event count in frame 0"},
        Refused{
            "unknown event type",
            FileBuilder().header().u32(2).f64(0.1).u32(0).f64(0.1).u32(1).event(LAST + 1).sealed(),
            "bad event in frame 1"},
        Refused{"extended flag 2",
                FileBuilder().header().u32(1).f64(0.1).u32(1).event(1, 2).sealed(), "bad event"},
        Refused{"bytes after the frames", FileBuilder().header().u32(0).raw("junk").sealed(),
                "bytes after the last frame"}));

// Pad fields out of their ranges, or pad events where a file cannot hold them.
INSTANTIATE_TEST_SUITE_P(
    PadFields, DemoFileRefuses,
    ::testing::Values(
        Refused{"pad event before pads",
                FileBuilder().header(2).u32(1).f64(0.1).u32(1).event(QUIT + 1).sealed(),
                "bad event in frame 0"},
        Refused{"pad number -2",
                FileBuilder().header().u32(1).f64(0.1).u32(1).event(LAST, 0, -2).sealed(),
                "bad pad number in frame 0"},
        Refused{"pad button beyond the last",
                FileBuilder().header().u32(1).f64(0.1).u32(1).event(LAST, 0, 0, 17).sealed(),
                "bad pad button in frame 0"},
        Refused{"pad button -2",
                FileBuilder().header().u32(1).f64(0.1).u32(1).event(LAST, 0, 0, -2).sealed(),
                "bad pad button"},
        Refused{"pad axis 6",
                FileBuilder().header().u32(1).f64(0.1).u32(1).event(LAST, 0, 0, -1, 6).sealed(),
                "bad pad axis in frame 0"},
        Refused{"pad axis -1",
                FileBuilder().header().u32(1).f64(0.1).u32(1).event(LAST, 0, 0, -1, -1).sealed(),
                "bad pad axis in"},
        Refused{
            "axis value over",
            FileBuilder().header().u32(1).f64(0.1).u32(1).event(LAST, 0, 0, -1, 0, 32768).sealed(),
            "bad pad axis value in frame 0"},
        Refused{
            "axis value under",
            FileBuilder().header().u32(1).f64(0.1).u32(1).event(LAST, 0, 0, -1, 0, -32769).sealed(),
            "bad pad axis value"},
        Refused{"pad event of the size before pads",
                FileBuilder()
                    .header()
                    .u32(1)
                    .f64(0.1)
                    .u32(1)
                    .u8(LAST)
                    .raw(std::string(29, '\0'))
                    .sealed(),
                "bad event count in frame 0"}));

TEST(DemoFile, EveryCutAndEveryFlippedByteIsRefused) {
    const std::string bytes = encodeDemo(sampleDemo());
    Demo demo;
    std::string reason;
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        EXPECT_FALSE(decodeDemo(bytes.substr(0, length), demo, reason)) << "cut at " << length;
        EXPECT_FALSE(reason.empty());
    }
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        std::string damaged = bytes;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x10);
        EXPECT_FALSE(decodeDemo(damaged, demo, reason)) << "flipped byte " << at;
    }
}

TEST(DemoFile, SavesWholeAndLoadsWithTheFileNamedInFailures) {
    TempDir dir;
    std::string path = dir.file("sub/game.demo");
    std::string reason;
    ASSERT_TRUE(saveDemo(path, sampleDemo(), reason)) << reason;
    Demo demo;
    ASSERT_TRUE(loadDemo(path, demo, reason)) << reason;
    expectSameDemo(sampleDemo(), demo);

    EXPECT_FALSE(loadDemo(dir.file("missing.demo"), demo, reason));
    EXPECT_EQ(reason, "Can not open the demo " + dir.file("missing.demo") + ".");
    writeFile(dir.file("new.demo"), FileBuilder().header(4).u32(0).sealed());
    EXPECT_FALSE(loadDemo(dir.file("new.demo"), demo, reason));
    EXPECT_EQ(reason, "Can not play the demo " + dir.file("new.demo") +
                          ": it is a version 4 demo; this game plays versions 1 to 3.");
    EXPECT_FALSE(loadDemo(dir.path(), demo, reason)) << "a folder is no demo";
}

TEST(DemoRecorder, EventsBelongToTheFrameThatFollowsThem) {
    TempDir dir;
    DemoRecorder recorder(dir.file("r.demo"), 42);
    recorder.start({800, 600, false});
    recorder.recordFrame(0.5);
    recorder.recordEvent(makeEvent(EventType::KeyDown, 1, false, 0, 0, 0, 0, 0, 0));
    recorder.recordEvent(makeEvent(EventType::KeyUp, 1, false, 0, 0, 0, 0, 0, 0));
    recorder.recordFrame(0.01);
    recorder.recordEvent(makeEvent(EventType::Quit, 0, false, 0, 0, 0, 0, 0, 0));
    std::string reason;
    ASSERT_TRUE(recorder.save(reason)) << reason;

    Demo demo;
    ASSERT_TRUE(loadDemo(dir.file("r.demo"), demo, reason)) << reason;
    EXPECT_EQ(demo.seed, 42u);
    EXPECT_EQ(demo.window.width, 800);
    ASSERT_EQ(demo.frames.size(), 2u);
    EXPECT_TRUE(demo.frames[0].events.empty());
    ASSERT_EQ(demo.frames[1].events.size(), 2u);
    EXPECT_EQ(demo.frames[1].events[1].type, EventType::KeyUp);

    DemoRecorder nowhere(dir.file("missing/\x01/../../x/y"), 1);
    writeFile(dir.file("missing"), "a file where a folder should be");
    EXPECT_FALSE(nowhere.save(reason));
    EXPECT_NE(reason.find("Can not save the demo"), std::string::npos) << reason;
}

TEST(DemoPlayer, HandsOutTheFramesInOrderAndTimesThemWithItsClock) {
    FakeClock clock(1000);
    DemoPlayer player(sampleDemo(), DemoPlayer::Pace::AsFastAsPossible, clock);
    std::vector<double> times;
    const double realMs[] = {4, 10, 6};
    for (double ms : realMs) {
        ASSERT_FALSE(player.finished());
        const DemoFrame& frame = player.nextFrame();
        EXPECT_EQ(player.frameTime(), frame.frameTime);
        times.push_back(frame.frameTime);
        clock.advanceTicks(static_cast<std::uint64_t>(ms));
        player.endFrame(GameState::Intro);
    }
    EXPECT_TRUE(player.finished());
    EXPECT_EQ(times, (std::vector<double>{0.25, 0.0166, 0.0}));
    DemoTimings timings = player.timings();
    EXPECT_EQ(timings.frames, 3u);
    EXPECT_NEAR(timings.medianMs, 6.0, 1e-6);
    EXPECT_NEAR(timings.percentile99Ms, 10.0, 1e-6);
    EXPECT_NEAR(timings.averageFps, 3 / 0.020, 1e-6);
}

TEST(DemoPlayer, AtTheRecordedPaceWaitsForTheFrameToBeDue) {
    FakeClock clock(1000);
    Demo demo;
    demo.window = {10, 10, false};
    demo.frames = {{5.0, {}}, {0.03, {}}};
    DemoPlayer player(demo, DemoPlayer::Pace::Recorded, clock);
    player.nextFrame();  // the first frame's time is start-up: not waited for
    player.endFrame(GameState::Intro);
    auto before = std::chrono::steady_clock::now();
    player.nextFrame();
    double waited =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
    EXPECT_GE(waited, 0.025);
    EXPECT_LT(waited, 1.0);
}

TEST(DemoPlayer, TimesStartUpToTheFirstFrameAndStartToPlayWithoutTheWaitWhenReady) {
    FakeClock clock(1000);
    Demo demo;
    demo.window = {10, 10, false};
    demo.frames.resize(8);
    DemoPlayer player(demo, DemoPlayer::Pace::AsFastAsPossible, clock);
    clock.advanceTicks(120);  // window and screens
    struct Step {
        GameState state;
        std::uint64_t ms;
    };
    const Step steps[] = {{GameState::Intro, 30},    {GameState::MainMenu, 5},
                          {GameState::Loading, 400}, {GameState::Ready, 7},
                          {GameState::Ready, 2000},  {GameState::Playing, 45},
                          {GameState::Playing, 10},  {GameState::Loading, 900}};
    for (const Step& step : steps) {
        player.nextFrame();
        clock.advanceTicks(step.ms);
        player.endFrame(step.state);
    }
    EXPECT_NEAR(player.startup().firstFrameMs, 150.0, 1e-6);
    EXPECT_NEAR(player.startup().startToReadyMs, 407.0, 1e-6);
    EXPECT_NEAR(player.startup().firstPlayFrameMs, 45.0, 1e-6);
    EXPECT_EQ(formatDemoStartup(player.startup()),
              "timedemo start-up: first frame 150.0 ms, Start to ready 407.0 ms, "
              "first play frame 45.0 ms");
    EXPECT_EQ(formatDemoTimingsByState(player.timingsByState()),
              "timedemo by screen: Intro 1 frames 30.00 ms, MainMenu 1 frames 5.00 ms, "
              "Loading 2 frames 650.00 ms, Ready 2 frames 1003.50 ms, "
              "Playing 2 frames 27.50 ms");

    DemoPlayer never(demo, DemoPlayer::Pace::AsFastAsPossible, clock);
    EXPECT_LT(never.startup().startToReadyMs, 0.0);
    EXPECT_LT(never.startup().firstPlayFrameMs, 0.0);
}

struct Summary {
    std::vector<double> seconds;
    double median;
    double p99;
    double fps;
};

TEST(DemoTimings, MedianPercentileAndAverageRate) {
    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i) {
        hundred.push_back(i / 1000.0);
    }
    const Summary cases[] = {
        {{}, 0, 0, 0},
        {{0.01}, 10, 10, 100},
        {{0.03, 0.01}, 20, 30, 50},
        {{0.002, 0.5, 0.004}, 4, 500, 3 / 0.506},
        {hundred, 50.5, 99, 100 / 5.05},
    };
    for (const Summary& c : cases) {
        DemoTimings t = summariseFrameTimes(c.seconds);
        EXPECT_EQ(t.frames, c.seconds.size());
        EXPECT_NEAR(t.medianMs, c.median, 1e-9) << c.seconds.size();
        EXPECT_NEAR(t.percentile99Ms, c.p99, 1e-9) << c.seconds.size();
        EXPECT_NEAR(t.averageFps, c.fps, 1e-9) << c.seconds.size();
    }
    EXPECT_EQ(formatDemoTimings(summariseFrameTimes({0.01, 0.03})),
              "timedemo: frames 2, median 20.00 ms, 99th percentile 30.00 ms, average 50.0 fps");
    EXPECT_EQ(formatDemoCounts(12, 300, -1, "score 5"),
              "demo: frames 12, play steps 300, game over frame -1, score 5");
}

TEST(GameWindowDemo, ReplayedFramesTakeTheRecordedTimeAndRecordingKeepsTheReadOne) {
    FakeClock clock(1000);
    GameWindow window(clock);
    DemoPlayer player(sampleDemo(), DemoPlayer::Pace::AsFastAsPossible, clock);
    window.setDemoPlayer(&player);
    clock.advanceTicks(999);  // the real clock is not asked
    player.nextFrame();
    window.beginFrame();
    EXPECT_EQ(window.frameTime(), 0.25);
    player.nextFrame();
    EXPECT_FLOAT_EQ(window.beginFrame(), 0.0166f);
    EXPECT_DOUBLE_EQ(window.totalTime(), 0.25 + 0.0166);

    TempDir dir;
    FakeClock liveClock(1000);
    GameWindow live(liveClock);
    DemoRecorder recorder(dir.file("live.demo"), 3);
    live.setDemoRecorder(&recorder);
    liveClock.advanceTicks(40);
    live.beginFrame();
    liveClock.advanceTicks(17);
    live.beginFrame();
    ASSERT_EQ(recorder.demo().frames.size(), 2u);
    EXPECT_DOUBLE_EQ(recorder.demo().frames[0].frameTime, 0.04);
    EXPECT_DOUBLE_EQ(recorder.demo().frames[1].frameTime, 0.017);
}

struct Options {
    std::vector<const char*> args;
    CommandLine::DemoMode mode;
    const char* file;
    const char* error;
    bool fullscreen;
};

TEST(CommandLineDemo, ModesFilesAndMissingNames) {
    const Options cases[] = {
        {{"game", "--record", "a.demo"}, CommandLine::DemoMode::Record, "a.demo", "", false},
        {{"game", "--playdemo", "b.demo", "-f"}, CommandLine::DemoMode::Play, "b.demo", "", true},
        {{"game", "--timedemo", "-fast.demo"},
         CommandLine::DemoMode::Time,
         "-fast.demo",
         "",
         false},
        {{"game", "--record", "a", "--timedemo", "b"}, CommandLine::DemoMode::Time, "b", "", false},
        {{"game", "--playdemo"},
         CommandLine::DemoMode::None,
         "",
         "--playdemo needs a file name.",
         false},
        {{"game", "--record", ""},
         CommandLine::DemoMode::None,
         "",
         "--record needs a file name.",
         false},
        {{"game", "-record", "x"}, CommandLine::DemoMode::None, "", "", false},
    };
    for (const Options& c : cases) {
        CommandLine line = parseCommandLine(static_cast<int>(c.args.size()), c.args.data());
        EXPECT_EQ(line.demoMode, c.mode) << c.args[1];
        EXPECT_EQ(line.demoFile, c.file) << c.args[1];
        EXPECT_EQ(line.demoError, c.error) << c.args[1];
        EXPECT_EQ(line.fullscreen, c.fullscreen) << c.args[1];
    }
}

TEST(DemoSession, ReplayTakesTheRecordedSeedAndWindowOrSaysWhyNot) {
    TempDir dir;
    std::string reason;
    ASSERT_TRUE(saveDemo(dir.file("s.demo"), sampleDemo(), reason));
    std::string path = dir.file("s.demo");
    const char* play[] = {"game", "--playdemo", path.c_str()};
    DemoSession session(parseCommandLine(3, play), 99);
    EXPECT_TRUE(session.failure().empty()) << session.failure();
    EXPECT_TRUE(session.replaying());
    EXPECT_EQ(session.seed(), 0xDEADBEEFu);
    WindowParams params;
    params.width = 640;
    params.height = 480;
    session.applyTo(params);
    EXPECT_EQ(params.width, 1024);
    EXPECT_EQ(params.height, 768);
    EXPECT_TRUE(params.windowed);

    // "--size" draws the recording at another size.
    const char* sized[] = {"game", "--timedemo", path.c_str(), "--size", "1920x1080"};
    WindowParams large;
    DemoSession(parseCommandLine(5, sized), 99).applyTo(large);
    EXPECT_EQ(large.width, 1920);
    EXPECT_EQ(large.height, 1080);
    EXPECT_TRUE(large.windowed);

    std::string missing = dir.file("none.demo");
    const char* bad[] = {"game", "--timedemo", missing.c_str()};
    DemoSession refused(parseCommandLine(3, bad), 99);
    EXPECT_EQ(refused.failure(), "Can not open the demo " + missing + ".");
    EXPECT_FALSE(refused.active());

    const char* record[] = {"game", "--record", "x.demo"};
    DemoSession recording(parseCommandLine(3, record), 99);
    EXPECT_EQ(recording.seed(), 99u);
    EXPECT_TRUE(recording.active());
    EXPECT_FALSE(recording.replaying());
}

}  // namespace
