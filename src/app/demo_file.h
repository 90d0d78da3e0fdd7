#pragma once
// A recorded game: the random seed, the window it was played in, and for
// every frame the input events the main loop handled before it and the frame
// time it read. Replaying the events and times through the same loop with the
// same seed plays the same game.
//
// The file, all numbers little-endian:
//   magic    8 bytes "SPKDEMO\n"
//   version  u32 (DEMO_VERSION)
//   seed     u32
//   window   i32 width, height (at least 1); u8 fullscreen (0 or 1)
//   frames   u32 count, then per frame:
//            f64 frame time (seconds, finite, 0 to DEMO_MAX_FRAME_TIME)
//            u32 event count (at most DEMO_MAX_EVENTS_PER_FRAME), then per
//            event: u8 type, i32 key code, u8 extended, i32 button, i32 wheel,
//            i32 x, i32 y, i32 dx, i32 dy, and from version 3 on
//            i32 pad (-1 or more), i32 pad button (PadButton: -1 to 16),
//            i32 pad axis (PadAxis: 0 to 5), i32 axis value (-32768 to 32767)
//   checksum u32, FNV-1a of every byte before it
//
// Versions 1 and 2 hold no pad events (their event types end at Quit); their
// events are read with the pad fields at their defaults.
//
// The pointer position (x, y) of a mouse event is kept in the design space of
// the screens (app/design_fit.h), in 1/DEMO_POSITION_UNITS of a design pixel
// with y up, so a game recorded in one window size clicks the same controls
// when replayed in another. Version 1 kept window pixels (origin top-left) of
// the recorded window under the unscaled layout; reading one converts them.
// Motion (dx, dy) is the mouse look's and is kept as it came.
#include <cstdint>
#include <string>
#include <vector>

#include "app/design_fit.h"
#include "platform/events.h"

constexpr std::uint32_t DEMO_VERSION = 3;
constexpr std::uint32_t DEMO_OLDEST_VERSION = 1;
constexpr int DEMO_POSITION_UNITS = 256;
constexpr double DEMO_MAX_FRAME_TIME = 3600.0;
constexpr std::uint32_t DEMO_MAX_EVENTS_PER_FRAME = 100000;
// Larger files are refused before they are read into memory.
constexpr std::uintmax_t DEMO_MAX_FILE_SIZE = 512u * 1024u * 1024u;

// The window the game was recorded in; a replay opens the same unless told
// otherwise, and plays the same game in any size.
struct DemoWindow {
    int width = 0;
    int height = 0;
    bool fullscreen = false;
};

struct DemoFrame {
    double frameTime = 0.0;
    std::vector<platform::Event> events;
};

struct Demo {
    std::uint32_t seed = 0;
    DemoWindow window;
    std::vector<DemoFrame> frames;
};

// A mouse event's pointer position between the window (pixels, origin
// top-left, of the window the fit is for) and the recording; other events
// pass unchanged. Positions beyond what an int holds are clamped.
platform::Event demoEventFromWindow(const platform::Event& event, const DesignFit& fit);
platform::Event demoEventToWindow(const platform::Event& event, const DesignFit& fit);

std::string encodeDemo(const Demo& demo);
// False for a file of another format or version, or a damaged one; reason
// then says which in words for the player.
bool decodeDemo(const std::string& bytes, Demo& demo, std::string& reason);

// reason names the file and what is wrong with it.
bool loadDemo(const std::string& path, Demo& demo, std::string& reason);
bool saveDemo(const std::string& path, const Demo& demo, std::string& reason);
