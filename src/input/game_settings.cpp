#include "input/game_settings.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include "app/atomic_file.h"
#include "input/settings_file.h"

namespace {
GameSettings* g_gameSettings = nullptr;
}

GameSettings* gameSettings() {
    return g_gameSettings;
}

GameSettings::GameSettings(const char* settingsFileName) {
    g_gameSettings = this;
    loadSettings(settingsFileName);
}

GameSettings::~GameSettings() {
    if (g_gameSettings == this) {
        g_gameSettings = nullptr;
    }
}

void GameSettings::setDefaults() {
    screenWidth = 0;
    screenHeight = 0;
    viewDistance = 55.0f;
    textureQuality = 3;
    invertMouse = true;
    mouseSensitivity = DEFAULT_MOUSE_SENSITIVITY;
    vsync = false;
    windowWidth = 1024;
    windowHeight = 768;
    fullscreen = false;
    brightness = 0.0f;
    padLookSpeed = DEFAULT_PAD_LOOK_SPEED;
    rumbleEnabled = true;
}

void GameSettings::loadSettings(const char* fileName) {
    setDefaults();
    if (fileName != nullptr) {
        std::ifstream in(fileName);
        if (in) {
            readSettings(in, *this);
        }
        m_settingsFileName = fileName;
    } else {
        m_settingsFileName.clear();
    }
    clearKeys();
    m_controls.clear();
}

bool GameSettings::saveSettings() {
    bool saved = true;
    if (!m_settingsFileName.empty() && settingsChanged) {
        saved = saveOrLog(m_settingsFileName, formatSettings(*this));
    }
    // Each file is written whatever became of the one before it.
    bool controls = saveControls();
    bool padControls = savePadControls();
    return saved && controls && padControls;
}

void GameSettings::setInvertMouse(bool invert) {
    invertMouse = invert;
    settingsChanged = true;
}

void GameSettings::setMouseSensitivity(float sensitivity) {
    if (isMouseSensitivity(sensitivity)) {
        mouseSensitivity = sensitivity;
        settingsChanged = true;
    }
}

void GameSettings::setPadLookSpeed(float speed) {
    if (isPadLookSpeed(speed)) {
        padLookSpeed = speed;
        settingsChanged = true;
    }
}

void GameSettings::setRumbleEnabled(bool enabled) {
    rumbleEnabled = enabled;
    settingsChanged = true;
}

void GameSettings::rumble(float strength, int milliseconds) {
    const int pad = m_pad.activePad();
    if (!rumbleEnabled || pad < 0 || !rumbleOutput) {
        return;
    }
    // NaN is no strength at all.
    strength = std::isnan(strength) ? 0.0f : std::clamp(strength, 0.0f, 1.0f);
    rumbleOutput(pad, strength, std::clamp(milliseconds, 0, MAX_RUMBLE_MILLISECONDS));
}

std::string GameSettings::controlPadButtonName(int row) const {
    int actionId = m_controls.actionIdAt(row);
    if (actionId < 0) {
        return std::string();
    }
    platform::PadButton button = m_padControls.button(actionId);
    return button == platform::PadButton::None ? "[none]" : padButtonName(button);
}

bool GameSettings::isKeyDown(int code) const {
    return code >= 0 && code < KEY_COUNT && keyDown[code] != 0;
}

void GameSettings::setKeyDown(int code, bool down) {
    if (code >= 0 && code < KEY_COUNT) {
        keyDown[code] = down ? 1 : 0;
    }
}

void GameSettings::clearKeys() {
    std::memset(keyDown, 0, sizeof keyDown);
    m_pad.forgetPresses();
}

bool GameSettings::isActionActive(int actionId, bool consume) {
    int key = m_controls.boundKey(actionId);
    // An unbound action (key 0) is never active, whatever reached entry 0.
    bool keyActive = key > 0 && isKeyDown(key);
    platform::PadButton button = m_padControls.button(actionId);
    bool padActive = button != platform::PadButton::None && m_pad.hasPress(button);
    if (consume) {
        if (keyActive) {
            keyDown[key] = 0;
        }
        if (padActive) {
            m_pad.takePress(button);
        }
    }
    return keyActive || padActive;
}
