#include "input/input_router.h"

#include <cmath>
#include <iterator>

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "input/game_settings.h"
#include "platform/keycodes.h"

namespace {

using platform::PadAxis;
using platform::PadButton;

GameState currentState() {
    GameWindow* window = gameWindow();
    return window != nullptr ? window->currentState() : GameState::Intro;
}

// The key a keyboard player would press on the screen for a pad button; 0
// for none. The intro is skipped with Space alone, and the ready screen is
// left by a click (anywhere), so A and Start give those there.
int screenKeyFor(GameState state, PadButton button) {
    switch (button) {
        case PadButton::DPadUp:
            return platform::VK_UP;
        case PadButton::DPadDown:
            return platform::VK_DOWN;
        case PadButton::DPadLeft:
            return platform::VK_LEFT;
        case PadButton::DPadRight:
            return platform::VK_RIGHT;
        case PadButton::B:
            return platform::VK_ESCAPE;
        case PadButton::A:
        case PadButton::Start:
            if (state == GameState::Intro) {
                return platform::VK_SPACE;
            }
            if (state == GameState::Ready) {
                return platform::VK_LBUTTON;
            }
            return platform::VK_RETURN;
        default:
            return 0;
    }
}

// How far the stick is pushed towards a D-pad direction (up is away).
float towards(PadButton direction, float x, float y) {
    switch (direction) {
        case PadButton::DPadUp:
            return y;
        case PadButton::DPadDown:
            return -y;
        case PadButton::DPadLeft:
            return -x;
        case PadButton::DPadRight:
            return x;
        default:
            return 0.0f;
    }
}

}  // namespace

int InputRouter::translateKeyCode(int keyCode, bool extended) {
    if (!extended) {
        return keyCode;
    }
    switch (keyCode) {
        case platform::VK_RETURN:
            return platform::VK_SEPARATOR;
        case platform::VK_CONTROL:
            return platform::VK_RCONTROL;
        case platform::VK_MENU:
            return platform::VK_RMENU;
        default:
            return keyCode;
    }
}

bool InputRouter::binding() const {
    return currentState() == GameState::Options && m_hooks.waitingForKey && m_hooks.waitingForKey();
}

bool InputRouter::handleInput(const platform::Event& event) {
    GameSettings* settings = gameSettings();
    if (settings == nullptr) {
        return false;
    }
    switch (event.type) {
        case platform::EventType::KeyDown:
            onKeyDown(translateKeyCode(event.keyCode, event.extended));
            return true;
        case platform::EventType::KeyUp:
            settings->setKeyDown(translateKeyCode(event.keyCode, event.extended), false);
            return true;
        case platform::EventType::SysKeyDown:
            return onSysKeyDown(translateKeyCode(event.keyCode, event.extended));
        case platform::EventType::SysKeyUp: {
            int code = translateKeyCode(event.keyCode, event.extended);
            if (code != platform::VK_MENU && code != platform::VK_RMENU &&
                code != platform::VK_F10) {
                return false;
            }
            settings->setKeyDown(code, false);
            return true;
        }
        case platform::EventType::MouseDown:
            onMouseDown(event.button);
            return true;
        case platform::EventType::MouseUp:
            onMouseUp(event.button);
            return true;
        case platform::EventType::MouseWheel:
            if (currentState() == GameState::Playing) {
                if (m_hooks.weaponWheel) {
                    m_hooks.weaponWheel(event.wheel);
                }
            } else if (m_hooks.menuWheel) {
                m_hooks.menuWheel(event.wheel);
            }
            return true;
        case platform::EventType::MouseMove:
            onMouseMove(event);
            return true;
        case platform::EventType::PadButtonDown:
        case platform::EventType::PadButtonUp:
        case platform::EventType::PadAxisMoved:
        case platform::EventType::PadAdded:
        case platform::EventType::PadRemoved:
            onPadEvent(event);
            return true;
        default:
            return false;
    }
}

void InputRouter::onKeyDown(int code) {
    GameSettings* settings = gameSettings();
    GameState state = currentState();
    if (state == GameState::Playing && code == platform::VK_ESCAPE) {
        gameWindow()->setState(GameState::Paused);
        return;
    }
    if (binding()) {
        if (m_hooks.bindKey) {
            m_hooks.bindKey(code);
        }
        return;
    }
    settings->setKeyDown(code, true);
    if (state == GameState::GameOver && m_hooks.nameEntryKey) {
        bool shift = settings->isKeyDown(platform::VK_SHIFT);
        if (m_hooks.nameEntryKey(code, shift)) {
            settings->setKeyDown(code, false);
        }
    }
}

bool InputRouter::onSysKeyDown(int code) {
    if (code != platform::VK_MENU && code != platform::VK_RMENU && code != platform::VK_F10) {
        // Left to the system, so its Alt shortcuts keep working.
        return false;
    }
    if (binding()) {
        if (m_hooks.bindKey) {
            m_hooks.bindKey(code);
        }
    } else {
        gameSettings()->setKeyDown(code, true);
    }
    return true;
}

void InputRouter::onMouseDown(int button) {
    if (button != platform::VK_LBUTTON && button != platform::VK_RBUTTON &&
        button != platform::VK_MBUTTON) {
        return;
    }
    if (binding()) {
        if (m_hooks.bindKey) {
            m_hooks.bindKey(button);
        }
        return;
    }
    GameSettings* settings = gameSettings();
    settings->setKeyDown(button, true);
    if (button == platform::VK_LBUTTON) {
        settings->mouseClickInProgress = true;
        if (m_hooks.guiMouseEvent) {
            m_hooks.guiMouseEvent(true);
        }
        settings->mouseClickInProgress = false;
    }
}

void InputRouter::onMouseUp(int button) {
    if (button != platform::VK_LBUTTON && button != platform::VK_RBUTTON &&
        button != platform::VK_MBUTTON) {
        return;
    }
    GameSettings* settings = gameSettings();
    settings->setKeyDown(button, false);
    if (button == platform::VK_LBUTTON) {
        settings->mouseClickInProgress = false;
        if (m_hooks.guiButtonReleased) {
            m_hooks.guiButtonReleased(currentState());
        }
    }
}

void InputRouter::onMouseMove(const platform::Event& event) {
    GameSettings* settings = gameSettings();
    settings->mouseX = event.x;
    settings->mouseY = event.y;

    GameWindow* window = gameWindow();
    bool sceneExists = m_hooks.sceneExists ? m_hooks.sceneExists()
                                           : (window != nullptr && window->scene() != nullptr);
    if (!sceneExists) {
        return;
    }
    if (currentState() == GameState::Playing) {
        // The window holds the pointer in relative mode during play, so each
        // move carries the motion since the last one: the offset from the
        // centre that the pointer used to be warped back to.
        float dx = static_cast<float>(event.dx) * settings->mouseSensitivity;
        float dy = static_cast<float>(event.dy) * settings->mouseSensitivity;
        if (m_hooks.mouseLook) {
            m_hooks.mouseLook(dx, dy);
        }
        return;
    }
    if (m_hooks.guiMouseEvent) {
        m_hooks.guiMouseEvent(settings->mouseClickInProgress);
    }
}

InputRouter::PadScreenState& InputRouter::padScreenState(int pad) {
    auto found = m_padScreens.find(pad);
    if (found != m_padScreens.end()) {
        return found->second;
    }
    // Pads the pad state forgot without an event (clear()) go first.
    const PadInput& pads = gameSettings()->pad();
    for (auto it = m_padScreens.begin(); it != m_padScreens.end();) {
        auto next = std::next(it);
        if (!pads.isConnected(it->first)) {
            releasePadScreenState(it->first);
        }
        it = next;
    }
    PadScreenState& state = m_padScreens[pad];
    state.pad = pad;
    return state;
}

// The keys a pad still holds are let go, as if its buttons were released.
void InputRouter::releasePadScreenState(int pad) {
    auto found = m_padScreens.find(pad);
    if (found == m_padScreens.end()) {
        return;
    }
    for (int& key : found->second.heldKey) {
        releaseKey(key);
    }
    releaseKey(found->second.stickKey);
    m_padScreens.erase(found);
}

void InputRouter::onPadEvent(const platform::Event& event) {
    GameSettings* settings = gameSettings();
    PadInput& pads = settings->pad();
    if (event.type == platform::EventType::PadAdded) {
        traceEvent("pad connected, number %d", event.pad);
    }
    if (event.type == platform::EventType::PadRemoved) {
        traceEvent("pad disconnected, number %d", event.pad);
        const bool known = pads.isConnected(event.pad);
        pads.handle(event);
        releasePadScreenState(event.pad);
        // Like losing the focus: the player lost their controls.
        if (known && currentState() == GameState::Playing) {
            gameWindow()->setState(GameState::Paused);
        }
        return;
    }
    const PadTransition change = pads.handle(event);
    if (!pads.isConnected(event.pad)) {
        return;  // a pad too many, or no pad at all
    }
    PadScreenState& pad = padScreenState(event.pad);
    const GameState state = currentState();
    if (event.type == platform::EventType::PadAxisMoved &&
        (event.padAxis == PadAxis::LeftX || event.padAxis == PadAxis::LeftY)) {
        followStick(pad, state);
        return;
    }
    if (change.button == PadButton::None) {
        return;
    }
    int& heldKey = pad.heldKey[static_cast<std::size_t>(change.button)];
    if (!change.down) {
        releaseKey(heldKey);
        return;
    }
    onPadPress(change.button, state, false, heldKey);
}

void InputRouter::onPadPress(PadButton button, GameState state, bool fromStick, int& heldKey) {
    PadInput& pads = gameSettings()->pad();
    if (state == GameState::Playing) {
        // The rest is polled by play.
        if (button == PadButton::Start) {
            pads.takePress(button);
            gameWindow()->setState(GameState::Paused);
        }
        return;
    }
    bool taken = false;
    if (binding()) {
        if (!fromStick && m_hooks.bindPadButton) {
            m_hooks.bindPadButton(button);
        }
        taken = true;
    } else if (state == GameState::GameOver && m_hooks.nameEntryPad &&
               m_hooks.nameEntryPad(button)) {
        taken = true;
    } else if (m_hooks.menuPad && m_hooks.menuPad(button)) {
        taken = true;
    }
    // A press used on a screen must not act again in the play it may start.
    if (!fromStick) {
        pads.takePress(button);
    }
    if (taken) {
        return;
    }
    // The pause screen takes no key that resumes: Start resumes here, as it
    // paused here.
    if (state == GameState::Paused && button == PadButton::Start) {
        gameWindow()->setState(GameState::Previous);
        return;
    }
    const int code = screenKeyFor(state, button);
    if (code != 0) {
        releaseKey(heldKey);
        pressKey(code);
        heldKey = code;
    }
}

void InputRouter::followStick(PadScreenState& pad, GameState state) {
    const PadInput& pads = gameSettings()->pad();
    const float x = stickFraction(pads.axis(pad.pad, PadAxis::LeftX));
    const float y = -stickFraction(pads.axis(pad.pad, PadAxis::LeftY));
    if (pad.stickDirection != PadButton::None &&
        towards(pad.stickDirection, x, y) < STICK_RELEASE) {
        pad.stickDirection = PadButton::None;
        releaseKey(pad.stickKey);
    }
    if (pad.stickDirection != PadButton::None) {
        return;
    }
    PadButton direction = PadButton::None;
    if (std::fabs(x) >= std::fabs(y)) {
        direction = x > 0.0f ? PadButton::DPadRight : PadButton::DPadLeft;
    } else {
        direction = y > 0.0f ? PadButton::DPadUp : PadButton::DPadDown;
    }
    if (!(towards(direction, x, y) > STICK_PRESS)) {
        return;
    }
    // Held in play and while binding too, without a press: a stick still
    // pushed when a screen opens must come back before it moves a choice.
    pad.stickDirection = direction;
    if (state != GameState::Playing && !binding()) {
        onPadPress(direction, state, true, pad.stickKey);
    }
}

void InputRouter::pressKey(int code) {
    if (code == platform::VK_LBUTTON) {
        onMouseDown(code);
    } else {
        onKeyDown(code);
    }
}

void InputRouter::releaseKey(int& code) {
    if (code == platform::VK_LBUTTON) {
        onMouseUp(code);
    } else if (code != 0) {
        gameSettings()->setKeyDown(code, false);
    }
    code = 0;
}
