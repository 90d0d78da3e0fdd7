#pragma once
// PRIVATE HEADER: only src/platform includes this (it includes SDL).
// A virtual pad for tests of the real executable.
// No pad can be faked from outside the process (there is no uinput device on
// a test machine), so a test writes commands to a file instead and the game
// plays them on a virtual joystick of SDL's; their events then take the same
// path through SDL's controller layer as a real pad's.
//
// One command a line, applied when the line is complete (ends in a newline);
// the commands after an attach wait until the new pad is open:
//   attach | detach                connects or disconnects the pad (a pad
//                                  attached again is a new pad)
//   press NAME | release NAME      a b x y back guide start leftstick
//                                  rightstick leftshoulder rightshoulder
//                                  dpup dpdown dpleft dpright
//   axis NAME VALUE                leftx lefty rightx righty (-32768 to
//                                  32767), lefttrigger righttrigger (0 to 32767)
// Empty lines and lines starting with # are skipped; any other line is
// ignored with a line on standard error. Each rumble the game asks of the
// pad is appended to the log file as "rumble LOW HIGH MS".
#include <SDL.h>

#include <cstdint>
#include <string>

namespace platform {

class TestPad {
public:
    TestPad(std::string commandFile, std::string rumbleLog);
    ~TestPad();
    TestPad(const TestPad&) = delete;
    TestPad& operator=(const TestPad&) = delete;

    // Applies the complete lines written since the last call, each turned
    // into its SDL events at once so none is lost to the next; stops after
    // an attach until the pad is open. Costs one look at the file's size
    // when nothing was written.
    void poll();

    // The game's rumble requests carry a duration the virtual joystick is
    // not told; the pad layer says it around each request for the log.
    void setRumbleDuration(int milliseconds) { m_rumbleMs = milliseconds; }
    void rumbled(std::uint16_t low, std::uint16_t high);
    // The pad layer has opened a pad: once it is this one, the commands
    // after "attach" go on (input to a pad not yet open would be lost).
    void opened(int instance);

private:
    void apply(const std::string& line);
    void attach();
    void detach();

    std::string m_commandFile;
    std::string m_rumbleLog;
    std::uintmax_t m_read = 0;  // bytes of the file handled, up to a line's end
    bool m_skippingLongLine = false;
    SDL_Joystick* m_joystick = nullptr;
    Uint64 m_waitingSince = 0;  // ticks of an attach not yet opened by the pad layer
    int m_rumbleMs = 0;
};

}  // namespace platform
