#include "platform/events.h"

#include <SDL.h>

#include <cmath>

#include "platform/keycodes.h"
#include "platform/pad_events.h"

namespace platform {
namespace {

bool isSystemKey(int keyCode, Uint16 mods) {
    if (keyCode == VK_MENU || keyCode == VK_F10) {
        return true;
    }
    // Keys pressed with Alt (but not AltGr, which arrives as Ctrl+Alt) are
    // system keys, so Alt shortcuts stay the window system's. The modifiers
    // are the event's own: by the time a queued event is read, the keyboard's
    // present state may already have the Alt key up again.
    return (mods & KMOD_ALT) != 0 && (mods & KMOD_CTRL) == 0;
}

bool translateKey(const SDL_KeyboardEvent& key, bool down, Event& out) {
    TranslatedKey translated = translateScancode(key.keysym.scancode);
    if (translated.keyCode == VK_NONE) {
        return false;
    }
    out.keyCode = translated.keyCode;
    out.extended = translated.extended;
    if (isSystemKey(translated.keyCode, key.keysym.mod)) {
        out.type = down ? EventType::SysKeyDown : EventType::SysKeyUp;
    } else {
        out.type = down ? EventType::KeyDown : EventType::KeyUp;
    }
    return true;
}

// SDL gives mouse positions in the window system's units; the game draws
// and hit-tests in pixels of its OpenGL surface.
void setDrawablePosition(Uint32 windowId, int x, int y, Event& out) {
    out.x = x;
    out.y = y;
    SDL_Window* window = SDL_GetWindowFromID(windowId);
    if (window == nullptr) {
        return;
    }
    int width = 0, height = 0, pixelsWide = 0, pixelsHigh = 0;
    SDL_GetWindowSize(window, &width, &height);
    SDL_GL_GetDrawableSize(window, &pixelsWide, &pixelsHigh);
    out.x = toDrawablePixels(x, width, pixelsWide);
    out.y = toDrawablePixels(y, height, pixelsHigh);
}

int translateButton(Uint8 sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return 1;
        case SDL_BUTTON_RIGHT:
            return 2;
        case SDL_BUTTON_MIDDLE:
            return 4;
        default:
            return 0;
    }
}

bool translateButtonEvent(const SDL_MouseButtonEvent& button, bool down, Event& out) {
    out.button = translateButton(button.button);
    if (out.button == 0) {
        return false;
    }
    out.type = down ? EventType::MouseDown : EventType::MouseUp;
    setDrawablePosition(button.windowID, button.x, button.y, out);
    return true;
}

bool translateWindowEvent(const SDL_WindowEvent& window, Event& out) {
    switch (window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            out.type = EventType::Activated;
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
        // A minimised window may keep the focus on some systems; the game
        // must pause all the same.
        case SDL_WINDOWEVENT_MINIMIZED:
            out.type = EventType::Deactivated;
            return true;
        case SDL_WINDOWEVENT_CLOSE:
            out.type = EventType::CloseRequested;
            return true;
        default:
            return false;
    }
}

// Returns true when the SDL event became one of ours.
bool translate(const SDL_Event& in, Event& out) {
    out = Event{};
    switch (in.type) {
        case SDL_QUIT:
            out.type = EventType::Quit;
            return true;
        case SDL_WINDOWEVENT:
            return translateWindowEvent(in.window, out);
        case SDL_KEYDOWN:
            return translateKey(in.key, true, out);
        case SDL_KEYUP:
            return translateKey(in.key, false, out);
        case SDL_MOUSEBUTTONDOWN:
            return translateButtonEvent(in.button, true, out);
        case SDL_MOUSEBUTTONUP:
            return translateButtonEvent(in.button, false, out);
        case SDL_MOUSEWHEEL:
            out.type = EventType::MouseWheel;
            out.wheel = (in.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -in.wheel.y : in.wheel.y) *
                        WHEEL_NOTCH;
            return out.wheel != 0;
        case SDL_MOUSEMOTION:
            out.type = EventType::MouseMove;
            setDrawablePosition(in.motion.windowID, in.motion.x, in.motion.y, out);
            // Motion stays in the window system's units: mouse look must not
            // turn faster on a high-DPI screen.
            out.dx = in.motion.xrel;
            out.dy = in.motion.yrel;
            return true;
        // The raw joystick events of the same pads are left alone.
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
            return translatePadEvent(in, out);
        default:
            return false;
    }
}

}  // namespace

int toDrawablePixels(int position, int windowUnits, int drawablePixels) {
    if (windowUnits <= 0 || drawablePixels <= 0 || windowUnits == drawablePixels) {
        return position;
    }
    return static_cast<int>(
        std::floor(position * static_cast<double>(drawablePixels) / windowUnits));
}

bool pollEvent(Event& event) {
    // A round of calls lasts until one finds no event (once a frame in the
    // main loop).
    static bool roundStarts = true;
    if (roundStarts) {
        pollTestPad();
        roundStarts = false;
    }
    if (takePendingPadEvent(event)) {
        return true;
    }
    SDL_Event sdlEvent;
    // Events we do not translate are dropped here and the next one is tried,
    // so "no event" really means the queue is empty.
    while (SDL_PollEvent(&sdlEvent) != 0) {
        if (translate(sdlEvent, event)) {
            return true;
        }
    }
    roundStarts = true;
    return false;
}

void waitForEvents(int milliseconds) {
    SDL_WaitEventTimeout(nullptr, milliseconds);
}

void postQuit() {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

}  // namespace platform
