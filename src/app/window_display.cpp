// The window's display: fullscreen at a mode or at the display's own size,
// switching between it and the window, following the drawable's size, and
// the brightness the frame is drawn with.
#include <vector>

#include "app/app_settings.h"
#include "app/error_reporter.h"
#include "app/game_window.h"

// A fullscreen the display refuses leaves the game in its window; either
// way the size of what is drawn is stored in the settings.
void GameWindow::applyDisplayMode() {
    if (m_fullscreen && !enterFullscreen()) {
        m_fullscreen = false;
        m_window.leaveFullscreen();
        readScreenSize();
        centreWindow();
    }
    readScreenSize();
    platform::Size drawable = m_window.drawableSize();
    if (drawable.width > 0 && drawable.height > 0) {
        m_width = drawable.width;
        m_height = drawable.height;
    }
    storeDisplaySize(m_width, m_height);
}

// The configured resolution, else the display's own size. One line in the
// log says why the resolution was not had.
bool GameWindow::enterFullscreen() {
    std::string refused;
    if (m_fullscreenWidth > 0 && m_fullscreenHeight > 0) {
        if (m_window.enterFullscreen(m_fullscreenWidth, m_fullscreenHeight, m_colour32 ? 32 : 16)) {
            return true;
        }
        refused = m_window.fullscreenFailure();
    }
    if (m_window.enterDesktopFullscreen()) {
        if (!refused.empty()) {
            logMessage(
                "Failed to switch to %dx%d fullscreen mode: %s. The game fills the display at its "
                "own size instead.",
                m_fullscreenWidth, m_fullscreenHeight, refused.c_str());
        }
        return true;
    }
    if (refused.empty()) {
        logMessage(
            "The display refused fullscreen at its own size: %s. The game stays in its window.",
            m_window.fullscreenFailure().c_str());
    } else {
        logMessage(
            "Failed to switch to %dx%d fullscreen mode: %s, nor to the display's own size: %s. The "
            "game stays in its window.",
            m_fullscreenWidth, m_fullscreenHeight, refused.c_str(),
            m_window.fullscreenFailure().c_str());
    }
    return false;
}

bool GameWindow::toggleFullscreen() {
    return setFullscreen(!m_fullscreen);
}

bool GameWindow::setFullscreen(bool on) {
    bool done = switchDisplay(on);
    AppSettings* settings = appSettings();
    if (settings != nullptr && settings->fullscreen != m_fullscreen) {
        settings->fullscreen = m_fullscreen;
        settings->settingsChanged = true;
    }
    return done;
}

bool GameWindow::setFullscreenMode(int width, int height) {
    if (!(width == 0 && height == 0) && !AppSettings::isDisplaySize(width, height)) {
        return false;
    }
    m_fullscreenWidth = width;
    m_fullscreenHeight = height;
    AppSettings* settings = appSettings();
    if (settings != nullptr &&
        (settings->screenWidth != width || settings->screenHeight != height)) {
        settings->screenWidth = width;
        settings->screenHeight = height;
        settings->settingsChanged = true;
    }
    return !m_fullscreen || switchDisplay(true);
}

// Leaves fullscreen first, so a new resolution starts from the window.
bool GameWindow::switchDisplay(bool fullscreen) {
    if (!m_window.exists()) {
        return false;
    }
    const bool wasFullscreen = m_fullscreen;
    if (m_fullscreen) {
        m_window.leaveFullscreen();
        m_fullscreen = false;
    }
    if (fullscreen) {
        m_fullscreen = enterFullscreen();
        if (!m_fullscreen) {
            m_window.leaveFullscreen();
        }
    }
    readScreenSize();
    if (!m_fullscreen && wasFullscreen) {
        centreWindow();
    }
    updateMouseCentre();
    if (m_fullscreen != wasFullscreen && m_scene) {
        m_scene->fullscreenChanged(m_fullscreen);
    }
    followDrawableSize();
    storeDisplaySize(m_width, m_height);
    return m_fullscreen == fullscreen;
}

std::vector<platform::Size> GameWindow::displayModes() const {
    return platform::displayModes();
}

// Takes the drawable's size when it changed (a resize, maximising, a
// fullscreen switch) and tells the game object.
void GameWindow::followDrawableSize() {
    platform::Size drawable = m_window.drawableSize();
    if (drawable.width <= 0 || drawable.height <= 0 ||
        (drawable.width == m_width && drawable.height == m_height)) {
        return;
    }
    m_width = drawable.width;
    m_height = drawable.height;
    storeDisplaySize(m_width, m_height);
    rememberWindowSize();
    traceEvent("window resized %dx%d", m_width, m_height);
    if (m_scene) {
        m_scene->windowResized(m_width, m_height);
    }
}

// A window the player sized is opened at that size next time; fullscreen
// and maximised sizes are the display's, not the window's.
void GameWindow::rememberWindowSize() {
    AppSettings* settings = appSettings();
    if (settings == nullptr || m_fullscreen || m_demoPlayer != nullptr || m_window.isMaximised()) {
        return;
    }
    platform::Size client = m_window.clientSize();
    if (AppSettings::isDisplaySize(client.width, client.height) &&
        (client.width != settings->windowWidth || client.height != settings->windowHeight)) {
        settings->windowWidth = client.width;
        settings->windowHeight = client.height;
        settings->settingsChanged = true;
    }
}

void GameWindow::setBrightness(float brightness) {
    AppSettings* settings = appSettings();
    if (settings == nullptr) {
        return;
    }
    if (!(brightness >= 0.0f)) {  // NaN as well
        brightness = 0.0f;
    } else if (brightness > AppSettings::MAX_BRIGHTNESS) {
        brightness = AppSettings::MAX_BRIGHTNESS;
    }
    if (brightness != settings->brightness) {
        settings->brightness = brightness;
        settings->settingsChanged = true;
    }
}
