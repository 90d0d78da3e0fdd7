// Window and OpenGL context: creation, destruction, projections and the
// fixed OpenGL state.
#include "app/game_window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <new>

#include "app/app_settings.h"
#include "app/error_reporter.h"

namespace {
GameWindow* g_gameWindow = nullptr;
}

GameWindow* gameWindow() {
    return g_gameWindow;
}

GameWindow::GameWindow(platform::Clock& clock) : m_timer(clock) {
    g_gameWindow = this;
}

GameWindow::~GameWindow() {
    // The game object goes first, while its display lists and textures still
    // have a current context to be deleted from.
    m_scene.reset();
    destroy();
    if (g_gameWindow == this) {
        g_gameWindow = nullptr;
    }
}

bool GameWindow::createFailed(int kind, const char* message) {
    destroy();
    reportError(kind, "%s", message);
    return false;
}

bool GameWindow::create(WindowParams& params) {
    if (m_window.exists()) {
        reportError(ERROR_GENERAL, "Window exists already, can not create it a 2nd time.");
        return false;
    }
    m_title = params.title;
    m_className = params.title;
    m_fullscreen = !params.windowed;
    m_colour32 = params.colour32;
    m_width = params.width;
    m_height = params.height;
    m_fullscreenWidth = params.fullscreenWidth;
    m_fullscreenHeight = params.fullscreenHeight;
    m_version = params.version;

    if (m_height < 1 || m_width < 1) {
        reportError(ERROR_GENERAL, "Invalid Parameters\nWidth   =%d\nHeight  =%d", m_width,
                    m_height);
        return false;
    }
    if (!platform::startWindowSystem()) {
        logMessage("The window system did not start: %s", platform::windowSystemFailure().c_str());
        reportError(ERROR_WINDOWS, "Cannot register %s with Windows.", m_className.c_str());
        return false;
    }
    m_windowSystemStarted = true;

    switch (m_window.create(m_title, m_width, m_height, m_fullscreen, m_colour32 ? 32 : 16)) {
        case platform::CreateResult::Ok:
            break;
        case platform::CreateResult::NoPixelFormat:
            return createFailed(ERROR_OPENGL,
                                "Could not find suitable OpenGL pixel format to use.");
        case platform::CreateResult::WindowFailed:
            return createFailed(ERROR_WINDOWS, "Cannot create window.");
    }
    params.window = &m_window;

    readScreenSize();
    if (!m_fullscreen) {
        centreWindow();
    }

    if (!createContext()) {
        return false;
    }
    applyDisplayMode();

    const GLubyte* extensions = glGetString(GL_EXTENSIONS);
    m_extensions = extensions != nullptr ? reinterpret_cast<const char*>(extensions) : "";
    if (appSettings() != nullptr) {
        setSwapInterval(appSettings()->vsync);
    }

    m_window.show();
    traceEvent("window %dx%d %s", m_width, m_height, m_fullscreen ? "fullscreen" : "windowed");
    return true;
}

// Makes the OpenGL context current and learns what the pixel format gave.
bool GameWindow::createContext() {
    if (!m_window.createContext()) {
        return createFailed(ERROR_OPENGL, "Could not create OpenGL context.");
    }
    if (!m_window.makeCurrent()) {
        return createFailed(ERROR_OPENGL, "Could not make current OpenGL context.");
    }
    platform::PixelFormat format;
    if (!m_window.describePixelFormat(format)) {
        return createFailed(ERROR_OPENGL, "Could not get information about selected pixel format.");
    }
    m_colour32 = format.colourBits == 32;
    m_depthBuffer = format.depthBits > 0;
    return true;
}

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

// Centres the client area; an axis that does not fit starts at 0.
void GameWindow::centreWindow() {
    platform::Size client = m_window.clientSize();
    int x = m_screenWidth > client.width ? (m_screenWidth - client.width) / 2 : 0;
    int y = m_screenHeight > client.height ? (m_screenHeight - client.height) / 2 : 0;
    m_window.move(x, y);
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

void GameWindow::updateMouseCentre() {
    if (appSettings() != nullptr) {
        appSettings()->mouseCentreX = m_screenWidth / 2;
        appSettings()->mouseCentreY = m_screenHeight / 2;
    }
}

void GameWindow::destroy() {
    if (m_window.exists()) {
        m_window.confineCursor(false);
    }
    m_window.deleteContext();
    m_window.destroyWindow();
    if (m_windowSystemStarted) {
        platform::stopWindowSystem();
        m_windowSystemStarted = false;
    }
}

void GameWindow::setSwapInterval(bool on) {
    // A driver without swap control keeps its own vertical sync: not an error.
    if (m_window.hasContext()) {
        m_window.setSwapInterval(on ? 1 : 0);
    }
}

void GameWindow::readScreenSize() {
    platform::Size screen = platform::screenSize();
    m_screenWidth = screen.width;
    m_screenHeight = screen.height;
}

void GameWindow::storeDisplaySize(int width, int height) {
    if (appSettings() != nullptr) {
        appSettings()->displayWidth = width;
        appSettings()->displayHeight = height;
    }
}

platform::Point GameWindow::clientToScreen(platform::Point client) const {
    return m_fullscreen ? client : m_window.clientToScreen(client);
}

void GameWindow::setPerspective() {
    glViewport(0, 0, m_width, m_height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    double farPlane = appSettings() != nullptr ? appSettings()->viewDistance : 55.0;
    const int height = m_height > 0 ? m_height : 1;
    gluPerspective(45.0, static_cast<double>(m_width) / static_cast<double>(height),
                   static_cast<double>(0.1f), farPlane);
}

void GameWindow::set2DProjection() {
    glViewport(0, 0, m_width, m_height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0.0, m_width, 0.0, m_height);
}

void GameWindow::initRenderer() {
    if (m_sceneFactory) {
        try {
            m_scene = m_sceneFactory(*this);
        } catch (const std::bad_alloc&) {
            m_scene.reset();
        }
        if (!m_scene) {
            appSettings()->quitRequested = true;
            reportError(ERROR_MEMORY, "Can not create a new Scene.");
            return;
        }
        if (!m_scene->setUpScreens()) {
            appSettings()->quitRequested = true;
            return;
        }
    }

    glShadeModel(GL_SMOOTH);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_NORMALIZE);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);

    // The game draws its own cursor; the system one stays hidden at the centre.
    updateMouseCentre();
    platform::setCursorPosition(appSettings()->mouseCentreX, appSettings()->mouseCentreY);
    platform::showCursor(false);
}
