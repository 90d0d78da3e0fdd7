#include "platform/test_pad.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace platform {
namespace {

// In SDL's controller order, so SDL maps the virtual joystick as a pad by
// itself: button i is the pad's button i, axis i its axis i.
const char* const BUTTON_NAMES[] = {"a",
                                    "b",
                                    "x",
                                    "y",
                                    "back",
                                    "guide",
                                    "start",
                                    "leftstick",
                                    "rightstick",
                                    "leftshoulder",
                                    "rightshoulder",
                                    "dpup",
                                    "dpdown",
                                    "dpleft",
                                    "dpright"};
const char* const AXIS_NAMES[] = {"leftx",  "lefty",       "rightx",
                                  "righty", "lefttrigger", "righttrigger"};
constexpr int BUTTONS = static_cast<int>(sizeof BUTTON_NAMES / sizeof BUTTON_NAMES[0]);
constexpr int AXES = static_cast<int>(sizeof AXIS_NAMES / sizeof AXIS_NAMES[0]);
constexpr int FIRST_TRIGGER = 4;

// Commands are short; a longer line is garbage and is dropped unread.
constexpr std::uintmax_t MAX_LINE = 256;
// A pad that SDL does not take for a pad would hold up every later command.
constexpr Uint64 OPEN_WAIT_MS = 2000;

int indexOf(const std::string& name, const char* const* names, int count) {
    for (int i = 0; i < count; ++i) {
        if (name == names[i]) {
            return i;
        }
    }
    return -1;
}

bool parseInt(const std::string& text, long& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && end != nullptr && *end == '\0';
}

// SDL reads a trigger from the joystick's full axis range and scales it to
// 0..32767 for the pad; this is the raw value that scales back to exactly
// the value asked for.
Sint16 rawTrigger(long value) {
    long raw = (value * 65535 + 32766) / 32767 - 32768;
    return static_cast<Sint16>(raw);
}

int SDLCALL rumbleCallback(void* userdata, Uint16 low, Uint16 high) {
    static_cast<TestPad*>(userdata)->rumbled(low, high);
    return 0;
}

void complain(const std::string& line, const char* why) {
    std::fprintf(stderr, "test pad: %s: %s\n", why, line.c_str());
}

}  // namespace

TestPad::TestPad(std::string commandFile, std::string rumbleLog)
    : m_commandFile(std::move(commandFile)), m_rumbleLog(std::move(rumbleLog)) {}

TestPad::~TestPad() {
    detach();
}

void TestPad::poll() {
    if (m_waitingSince != 0) {
        if (SDL_GetTicks64() - m_waitingSince < OPEN_WAIT_MS) {
            return;
        }
        std::fprintf(stderr, "test pad: the attached pad was not opened as a pad\n");
        m_waitingSince = 0;
    }
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(m_commandFile, error);
    if (error) {
        return;  // not written yet
    }
    if (size < m_read) {
        // Written anew from the start.
        m_read = 0;
        m_skippingLongLine = false;
    }
    if (size == m_read) {
        return;
    }
    std::ifstream in(m_commandFile, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(m_read));
    std::string text(static_cast<std::size_t>(size - m_read), '\0');
    in.read(&text[0], static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));

    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos && m_waitingSince == 0;
         end = text.find('\n', start)) {
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (m_skippingLongLine) {
            m_skippingLongLine = false;
            continue;
        }
        apply(line);
    }
    // An unfinished line waits for its end, unless it is already too long
    // to be a command.
    if (m_waitingSince == 0 && !m_skippingLongLine && text.size() - start > MAX_LINE) {
        complain(text.substr(start, 40) + "...", "line too long, ignored");
        m_skippingLongLine = true;
    }
    m_read += m_skippingLongLine ? text.size() : start;
}

void TestPad::opened(int instance) {
    if (m_joystick != nullptr && SDL_JoystickInstanceID(m_joystick) == instance) {
        m_waitingSince = 0;
    }
}

void TestPad::apply(const std::string& line) {
    if (!line.empty() && line.back() == '\r') {
        apply(line.substr(0, line.size() - 1));
        return;
    }
    std::istringstream words(line);
    std::string command, name, value, extra;
    words >> command >> name >> value >> extra;
    if (command.empty() || command[0] == '#') {
        return;
    }
    if (!extra.empty()) {
        complain(line, "unknown command");
        return;
    }
    if ((command == "attach" || command == "detach") && name.empty()) {
        if (command == "attach") {
            attach();
        } else if (m_joystick == nullptr) {
            complain(line, "no pad attached");
        } else {
            detach();
        }
        return;
    }
    if ((command == "press" || command == "release") && value.empty()) {
        int button = indexOf(name, BUTTON_NAMES, BUTTONS);
        if (button < 0) {
            complain(line, "unknown button");
        } else if (m_joystick == nullptr) {
            complain(line, "no pad attached");
        } else {
            SDL_JoystickSetVirtualButton(m_joystick, button, command == "press" ? 1 : 0);
            SDL_JoystickUpdate();
        }
        return;
    }
    if (command == "axis") {
        int axis = indexOf(name, AXIS_NAMES, AXES);
        long number = 0;
        bool trigger = axis >= FIRST_TRIGGER;
        if (axis < 0) {
            complain(line, "unknown axis");
        } else if (!parseInt(value, number) || number > 32767 || number < (trigger ? 0 : -32768)) {
            complain(line, "axis value out of range");
        } else if (m_joystick == nullptr) {
            complain(line, "no pad attached");
        } else {
            SDL_JoystickSetVirtualAxis(m_joystick, axis,
                                       trigger ? rawTrigger(number) : static_cast<Sint16>(number));
            SDL_JoystickUpdate();
        }
        return;
    }
    complain(line, "unknown command");
}

void TestPad::attach() {
    if (m_joystick != nullptr) {
        std::fprintf(stderr, "test pad: already attached\n");
        return;
    }
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = AXES;
    desc.nbuttons = BUTTONS;
    desc.button_mask = (1u << BUTTONS) - 1;
    desc.axis_mask = (1u << AXES) - 1;
    desc.name = "Spookhollow test pad";
    desc.userdata = this;
    desc.Rumble = rumbleCallback;
    int device = SDL_JoystickAttachVirtualEx(&desc);
    if (device < 0) {
        std::fprintf(stderr, "test pad: can not attach: %s\n", SDL_GetError());
        return;
    }
    m_joystick = SDL_JoystickOpen(device);
    if (m_joystick == nullptr) {
        std::fprintf(stderr, "test pad: can not open: %s\n", SDL_GetError());
        SDL_JoystickDetachVirtual(device);
        return;
    }
    // A virtual axis starts at 0, which for a trigger is half pulled.
    for (int axis = FIRST_TRIGGER; axis < AXES; ++axis) {
        SDL_JoystickSetVirtualAxis(m_joystick, axis, SDL_JOYSTICK_AXIS_MIN);
    }
    SDL_JoystickUpdate();
    // Until the pad layer has opened the new pad, its input would go nowhere.
    m_waitingSince = SDL_GetTicks64();
    if (m_waitingSince == 0) {
        m_waitingSince = 1;
    }
}

void TestPad::detach() {
    if (m_joystick == nullptr) {
        return;
    }
    // Device numbers shift as devices come and go; the instance is ours for good.
    SDL_JoystickID id = SDL_JoystickInstanceID(m_joystick);
    for (int device = 0; device < SDL_NumJoysticks(); ++device) {
        if (SDL_JoystickGetDeviceInstanceID(device) == id) {
            SDL_JoystickDetachVirtual(device);
            break;
        }
    }
    SDL_JoystickClose(m_joystick);
    m_joystick = nullptr;
    m_waitingSince = 0;
}

void TestPad::rumbled(std::uint16_t low, std::uint16_t high) {
    if (m_rumbleLog.empty()) {
        return;
    }
    std::ofstream log(m_rumbleLog, std::ios::app);
    log << "rumble " << low << ' ' << high << ' ' << m_rumbleMs << '\n';
}

}  // namespace platform
