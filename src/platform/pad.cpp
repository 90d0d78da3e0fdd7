#include "platform/pad.h"

#include <SDL.h>

#include <cmath>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "platform/pad_events.h"
#include "platform/test_pad.h"

namespace platform {
namespace {

// SDL's own database of every known pad is a few hundred kilobytes; a file
// far beyond that is no mapping file and is not read through.
constexpr std::uintmax_t MAX_MAPPING_FILE = 16u * 1024u * 1024u;

struct Pads {
    bool started = false;
    std::map<SDL_JoystickID, SDL_GameController*> open;
    // PadAdded for the pads found at start, handed out before SDL's queue.
    std::deque<Event> pending;
    std::unique_ptr<TestPad> testPad;
};

// Never destroyed: nothing may call into SDL after it has shut down at exit.
Pads& pads() {
    static Pads* state = new Pads;
    return *state;
}

Event padEvent(EventType type, int pad) {
    Event event;
    event.type = type;
    event.pad = pad;
    return event;
}

// The instance number of the pad newly opened at a device number, or -1
// when that device is no pad or is open already (SDL announces the pads
// found at start a second time).
int openPad(int device) {
    Pads& state = pads();
    if (!SDL_IsGameController(device)) {
        return -1;
    }
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device);
    if (id < 0 || state.open.count(id) != 0) {
        return -1;
    }
    SDL_GameController* controller = SDL_GameControllerOpen(device);
    if (controller == nullptr) {
        return -1;
    }
    id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (id < 0 || state.open.count(id) != 0) {
        SDL_GameControllerClose(controller);
        return -1;
    }
    state.open[id] = controller;
    if (state.testPad) {
        state.testPad->opened(id);
    }
    return id;
}

bool sameText(const std::string& a, const char* b) {
    return SDL_strcasecmp(a.c_str(), b) == 0;
}

// SDL's file reader takes the lines whose platform field names this system
// and counts whatever it could store, garbage included; this one tells the
// player which of their lines are not used.
enum class MappingLine { Blank, OtherSystem, Bad, Used };

MappingLine addMapping(std::string line) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') {
        return MappingLine::Blank;
    }
    const std::string field = "platform:";
    std::size_t platform = line.find(field);
    if (platform == std::string::npos) {
        return MappingLine::Bad;  // SDL would skip it
    }
    platform += field.size();
    std::size_t platformEnd = line.find(',', platform);
    if (platformEnd == std::string::npos) {
        return MappingLine::Bad;
    }
    if (!sameText(line.substr(platform, platformEnd - platform), SDL_GetPlatform())) {
        return MappingLine::OtherSystem;
    }
    // A pad's GUID, then its name.
    std::size_t guidEnd = line.find(',');
    bool guid = guidEnd == 32 && line.find_first_not_of("0123456789abcdefABCDEF") == guidEnd;
    if (!guid || line.find(',', guidEnd + 1) == std::string::npos ||
        SDL_GameControllerAddMapping(line.c_str()) < 0) {
        return MappingLine::Bad;
    }
    return MappingLine::Used;
}

std::string addMappings(const std::string& file) {
    std::error_code error;
    if (file.empty() || (!std::filesystem::exists(file, error) && !error)) {
        return "";  // most players have none
    }
    const std::string cannot = "Can not read the pad mappings in " + file + ": ";
    if (!std::filesystem::is_regular_file(file, error)) {
        return cannot + "it is not a file.";
    }
    std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error && size > MAX_MAPPING_FILE) {
        return cannot + "it is too large.";
    }
    std::ifstream in(file, std::ios::binary);
    if (error || !in) {
        return cannot + "it can not be opened.";
    }
    int added = 0, bad = 0, firstBad = 0, number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        MappingLine result = addMapping(line);
        added += result == MappingLine::Used ? 1 : 0;
        if (result == MappingLine::Bad && bad++ == 0) {
            firstBad = number;
        }
    }
    std::string said = "Pad mappings: " + std::to_string(added) + " added from " + file;
    if (bad > 0) {
        said += "; " + std::to_string(bad) + (bad == 1 ? " line" : " lines") +
                " could not be used (the first is line " + std::to_string(firstBad) + ")";
    }
    return said + ".";
}

PadButton padButton(Uint8 button) {
    // SDL's first fifteen buttons are ours in the same order; the extra
    // paddles and the touchpad are not used.
    if (button <= SDL_CONTROLLER_BUTTON_DPAD_RIGHT) {
        return static_cast<PadButton>(button);
    }
    return PadButton::None;
}

bool padAxis(Uint8 axis, PadAxis& out) {
    if (axis > SDL_CONTROLLER_AXIS_TRIGGERRIGHT) {
        return false;
    }
    out = static_cast<PadAxis>(axis);
    return true;
}

static_assert(SDL_CONTROLLER_BUTTON_A == static_cast<int>(PadButton::A) &&
                  SDL_CONTROLLER_BUTTON_START == static_cast<int>(PadButton::Start) &&
                  SDL_CONTROLLER_BUTTON_LEFTSHOULDER == static_cast<int>(PadButton::LeftShoulder) &&
                  SDL_CONTROLLER_BUTTON_DPAD_RIGHT == static_cast<int>(PadButton::DPadRight),
              "our pad buttons follow SDL's order");
static_assert(SDL_CONTROLLER_AXIS_RIGHTY == static_cast<int>(PadAxis::RightY) &&
                  SDL_CONTROLLER_AXIS_TRIGGERRIGHT == static_cast<int>(PadAxis::RightTrigger),
              "our pad axes follow SDL's order");

}  // namespace

bool openPads(const std::string& mappingFile, std::string* logLine) {
    closePads();
    std::string line;
    Pads& state = pads();
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        line = std::string("Game controllers can not be used: ") + SDL_GetError();
    } else {
        state.started = true;
        line = addMappings(mappingFile);
        const char* commands = SDL_getenv("SPOOKHOLLOW_TEST_PAD");
        if (commands != nullptr && *commands != '\0') {
            const char* log = SDL_getenv("SPOOKHOLLOW_TEST_PAD_LOG");
            state.testPad = std::make_unique<TestPad>(commands, log != nullptr ? log : "");
            // Attached before the game started, as a pad plugged in beforehand.
            state.testPad->poll();
        }
        // After the player's mappings, which may make pads of joysticks.
        for (int device = 0; device < SDL_NumJoysticks(); ++device) {
            int id = openPad(device);
            if (id >= 0) {
                state.pending.push_back(padEvent(EventType::PadAdded, id));
            }
        }
    }
    if (logLine != nullptr) {
        *logLine = line;
    }
    return state.started;
}

void closePads() {
    Pads& state = pads();
    for (auto& [id, controller] : state.open) {
        SDL_GameControllerClose(controller);
    }
    state.open.clear();
    state.pending.clear();
    state.testPad.reset();
    if (!state.started) {
        return;
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    state.started = false;
    // With the window still open the queue lives on; what the pads left in
    // it would name pads nobody knows any more.
    if (SDL_WasInit(SDL_INIT_EVENTS) != 0) {
        SDL_FlushEvents(SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERSENSORUPDATE);
    }
}

bool rumblePad(int pad, float strength, int milliseconds) {
    Pads& state = pads();
    auto found = state.open.find(pad);
    if (found == state.open.end()) {
        return false;
    }
    // SDL rumbles without end when given no duration; here no time is no rumble.
    if (!(strength > 0.0f) || milliseconds <= 0) {
        strength = 0.0f;
        milliseconds = 0;
    }
    auto motor = static_cast<Uint16>(std::lround(std::fmin(strength, 1.0f) * 65535.0f));
    if (state.testPad) {
        state.testPad->setRumbleDuration(milliseconds);
    }
    bool rumbling = SDL_GameControllerRumble(found->second, motor, motor,
                                             static_cast<Uint32>(milliseconds)) == 0;
    if (state.testPad) {
        // SDL stops the rumble itself when its time is up.
        state.testPad->setRumbleDuration(0);
    }
    return rumbling;
}

void pollTestPad() {
    Pads& state = pads();
    if (state.testPad) {
        state.testPad->poll();
    }
}

bool takePendingPadEvent(Event& out) {
    Pads& state = pads();
    if (state.pending.empty()) {
        return false;
    }
    out = state.pending.front();
    state.pending.pop_front();
    return true;
}

bool translatePadEvent(const SDL_Event& in, Event& out) {
    Pads& state = pads();
    switch (in.type) {
        case SDL_CONTROLLERDEVICEADDED: {
            int id = openPad(in.cdevice.which);
            if (id < 0) {
                return false;
            }
            out = padEvent(EventType::PadAdded, id);
            return true;
        }
        case SDL_CONTROLLERDEVICEREMOVED: {
            auto found = state.open.find(in.cdevice.which);
            if (found == state.open.end()) {
                return false;
            }
            SDL_GameControllerClose(found->second);
            state.open.erase(found);
            out = padEvent(EventType::PadRemoved, in.cdevice.which);
            return true;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            PadButton button = padButton(in.cbutton.button);
            if (button == PadButton::None || state.open.count(in.cbutton.which) == 0) {
                return false;
            }
            bool down = in.type == SDL_CONTROLLERBUTTONDOWN;
            out = padEvent(down ? EventType::PadButtonDown : EventType::PadButtonUp,
                           in.cbutton.which);
            out.padButton = button;
            return true;
        }
        case SDL_CONTROLLERAXISMOTION: {
            PadAxis axis = PadAxis::LeftX;
            if (!padAxis(in.caxis.axis, axis) || state.open.count(in.caxis.which) == 0) {
                return false;
            }
            out = padEvent(EventType::PadAxisMoved, in.caxis.which);
            out.padAxis = axis;
            out.axisValue = in.caxis.value;
            return true;
        }
        default:
            return false;
    }
}

}  // namespace platform
