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
    if (params.fitToDisplay) {
        const platform::Size fitted =
            platform::shrinkToFit(platform::Size{m_width, m_height}, platform::usableDisplaySize());
        m_width = fitted.width;
        m_height = fitted.height;
    }

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

// Centres the client area; an axis that does not fit starts at 0.
void GameWindow::centreWindow() {
    platform::Size client = m_window.clientSize();
    int x = m_screenWidth > client.width ? (m_screenWidth - client.width) / 2 : 0;
    int y = m_screenHeight > client.height ? (m_screenHeight - client.height) / 2 : 0;
    m_window.move(x, y);
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
