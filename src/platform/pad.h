#pragma once
// Game controllers ("pads"). Their buttons and axes arrive through pollEvent
// as pad events (platform/events.h); a pad is named by its instance number,
// which a pad keeps while it stays connected and no other pad ever reuses.
#include <string>

namespace platform {

// Starts the controller subsystem, with or without a window. SDL's own
// database of pads and the SDL_GAMECONTROLLERCONFIG variable apply; then the
// mappings in mappingFile (SDL's text format, one pad a line) are added when
// that file exists. Every pad already connected is opened and reported by a
// PadAdded event on the next pollEvent calls.
//
// False only when the subsystem cannot start (the game then plays without
// pads). A mapping file that cannot be read or holds nothing usable is no
// reason to refuse: logLine, when given, then says why in one line for the
// error log, and otherwise how many mappings the file added. It stays empty
// when there was nothing to say (no mapping file).
//
// When SPOOKHOLLOW_TEST_PAD names a file, a virtual pad that the commands in
// that file drive is also set up (platform/test_pad.h).
bool openPads(const std::string& mappingFile, std::string* logLine = nullptr);

// Closes every pad and stops the subsystem; harmless when it never started.
void closePads();

// Rumbles both motors of the pad at strength (0 to 1, clamped; 0 stops it)
// for milliseconds. Returns at once; false when the pad is not connected or
// cannot rumble.
bool rumblePad(int pad, float strength, int milliseconds);

}  // namespace platform
