#include "input/input_router.h"

#include "app/game_window.h"
#include "input/game_settings.h"
#include "platform/keycodes.h"

namespace {

GameState currentState() {
    GameWindow* window = gameWindow();
    return window != nullptr ? window->currentState() : GameState::Intro;
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
            if (currentState() == GameState::Playing && m_hooks.weaponWheel) {
                m_hooks.weaponWheel(event.wheel);
            }
            return true;
        case platform::EventType::MouseMove:
            onMouseMove(event);
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
