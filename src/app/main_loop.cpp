// The main loop, the two kinds of frame, the state stack and the window's
// event procedure.
#include <GL/gl.h>

#include "app/app_settings.h"
#include "app/design_fit.h"
#include "app/error_reporter.h"
#include "app/game_window.h"
#include "platform/keycodes.h"

void GameWindow::setState(GameState state) {
    if (m_states.set(state)) {
        m_stateChanged = true;
        traceEvent("state %s", stateName(currentState()));
    }
    if (m_stateListener) {
        m_stateListener(currentState());
    }
}

void GameWindow::run() {
    initRenderer();
    if (appSettings()->quitRequested) {
        traceEvent("screens not set up");
    } else {
        traceEvent("state %s", stateName(currentState()));
        if (m_skipIntro && m_scene && m_demoRecorder == nullptr && m_demoPlayer == nullptr &&
            currentState() == GameState::Intro) {
            m_scene->skipIntro();
        }
    }
    if (m_demoRecorder != nullptr) {
        m_demoRecorder->start(demoWindow());
    }
    if (m_demoPlayer != nullptr) {
        runDemo();
        return;
    }
    while (!appSettings()->quitRequested) {
        runOnce();
    }
}

void GameWindow::runOnce() {
    platform::Event event;
    if (platform::pollEvent(event)) {
        if (m_demoRecorder != nullptr) {
            m_demoRecorder->recordEvent(demoEventFromWindow(event, fitDesign(m_width, m_height)));
        }
        dispatch(event);
    } else if (m_window.isMinimised()) {
        // Nothing is drawn for a window nobody sees, and the loop sleeps
        // instead of spinning; play was paused by the minimising itself (it
        // arrives as a focus loss). The time away is not played out.
        platform::waitForEvents(100);
        m_timer.read();
    } else {
        frame();
    }
}

void GameWindow::dispatch(const platform::Event& event) {
    if (event.type == platform::EventType::Quit) {
        appSettings()->quitRequested = true;
    } else {
        windowProc(event);
    }
}

DemoWindow GameWindow::demoWindow() const {
    DemoWindow window;
    window.width = m_width;
    window.height = m_height;
    window.fullscreen = m_fullscreen;
    return window;
}

// The recording stands in for the window: only a request to close reaches
// the game from outside, everything else it plays comes from the file. Its
// pointer positions are in the screens' design space, so they are placed in
// this window as its screens are, whatever the size it was recorded in.
void GameWindow::runDemo() {
    if (appSettings()->quitRequested) {
        return;
    }
    platform::Event event;
    while (!appSettings()->quitRequested) {
        while (platform::pollEvent(event)) {
            if (event.type == platform::EventType::Quit ||
                event.type == platform::EventType::CloseRequested) {
                dispatch(event);
            }
        }
        if (appSettings()->quitRequested) {
            break;
        }
        if (m_demoPlayer->finished()) {
            appSettings()->quitRequested = true;
            break;
        }
        const DemoFrame& recordedFrame = m_demoPlayer->nextFrame();
        const DesignFit fit = fitDesign(m_width, m_height);
        for (const platform::Event& recorded : recordedFrame.events) {
            dispatch(demoEventToWindow(recorded, fit));
        }
        // As in the live loop, a quit among the events ends it before a frame.
        if (appSettings()->quitRequested) {
            break;
        }
        GameState state = currentState();
        frame();
        m_demoPlayer->endFrame(state);
    }
}

float GameWindow::beginFrame() {
    m_frameTime = m_demoPlayer != nullptr ? m_demoPlayer->frameTime() : m_timer.read();
    if (m_demoRecorder != nullptr) {
        m_demoRecorder->recordFrame(m_frameTime);
    }
    m_totalTime += m_frameTime;
    if (m_stateChanged) {
        m_stateChanged = false;
        return 0.0f;
    }
    return static_cast<float>(m_frameTime);
}

void GameWindow::frame() {
    // What the audio thread could not show itself reaches the screen here;
    // the time the box was up is not played out.
    if (showPendingErrors()) {
        m_timer.read();
    }
    followDrawableSize();
    float sceneFrameTime = beginFrame();
    if (m_scene) {
        m_scene->setFrameTime(sceneFrameTime);
    }
    updateCursorConfinement();
    const GameState state = currentState();
    if (isMenuState(state)) {
        menuFrame();
    } else if (state == GameState::Playing || state == GameState::GameOver) {
        playFrame();
    }
    if (m_gameOverFrame < 0 && currentState() == GameState::GameOver) {
        m_gameOverFrame = m_frameCount;
    }
#ifndef NDEBUG
    logGLErrors();
#endif
    ++m_frameCount;
}

// Debug builds look for OpenGL errors once a frame and log the first few,
// so a soak or a test run finds a call the driver refused without a flood.
void GameWindow::logGLErrors() {
    if (!m_window.hasContext()) {
        return;
    }
    constexpr int MAX_LOGGED = 20;
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        if (m_glErrorsLogged < MAX_LOGGED) {
            ++m_glErrorsLogged;
            logMessage("OpenGL error 0x%04X in frame %ld.", static_cast<unsigned>(error),
                       static_cast<long>(m_frameCount));
        }
    }
}

void GameWindow::clearScreen(bool white, bool depth) {
    if (white) {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    } else {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    }
    glClear(m_depthBuffer && depth ? (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)
                                   : GL_COLOR_BUFFER_BIT);
}

// Brightens the finished picture: dst * (1 + brightness), clamped by the
// framebuffer. At 0 nothing is drawn, so the picture is exactly as without.
void GameWindow::brighten() {
    const float extra = appSettings() != nullptr ? appSettings()->brightness : 0.0f;
    if (extra <= 0.0f || !m_window.hasContext()) {
        return;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_VIEWPORT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_DST_COLOR, GL_ONE);
    glViewport(0, 0, m_width, m_height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor4f(extra, extra, extra, 1.0f);
    glBegin(GL_QUADS);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

bool GameWindow::swap() {
    brighten();
    glFlush();
    if (!m_window.swapBuffers()) {
        appSettings()->quitRequested = true;
        return false;
    }
    return true;
}

// The time of this frame, consumed in fixed steps; without a game object the
// steps still run so the timing is the same.
int GameWindow::runFixedSteps(const std::function<void(FrameHandler&)>& step) {
    return m_stepper.run(m_frameTime, [&] {
        if (m_scene) {
            step(*m_scene);
        }
    });
}

void GameWindow::menuFrame() {
    GameState state = currentState();
    // The screens are flat pictures, drawn without the depth test: clearing
    // and testing depth would only cost a software renderer time per pixel.
    clearScreen(state == GameState::Intro, false);
    runFixedSteps([](FrameHandler& scene) { scene.menuStep(); });
    if (m_scene) {
        m_scene->handleStateKeys();
    }

    set2DProjection();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    if (m_scene) {
        m_scene->drawScreenOverlay();
        state = currentState();
        if (showsMouseCursor(state)) {
            m_scene->drawMouseCursor();
        }
    }
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    swap();

    if (currentState() == GameState::Loading && m_scene) {
        // Either state change marks the next frame as the first of a state,
        // so the time spent building is not played out.
        bool built = m_scene->buildLevel();
        traceEvent(built ? "level built" : "level not built");
        setState(built ? GameState::Ready : GameState::MainMenu);
    }
}

void GameWindow::playFrame() {
    if (currentState() == GameState::Playing) {
        // Mouse look comes from relative motion (updateCursorConfinement), so
        // the pointer is no longer warped back to the centre here.
        m_playStepCount += runFixedSteps([](FrameHandler& scene) { scene.playStep(); });
        m_stepFraction = m_stepper.stepFraction();
        if (m_scene) {
            m_scene->updateAnimations(m_stepFraction);
        }
    } else if (currentState() == GameState::GameOver) {
        runFixedSteps([](FrameHandler& scene) { scene.menuStep(); });
    }

    clearScreen(false, true);
    setPerspective();
    if (m_scene) {
        m_scene->draw3D();
    }
    set2DProjection();
    if (m_scene) {
        m_scene->drawPlayOverlay();
    }
    swap();
}

// During play the pointer is held by the window in relative mode, the mouse
// look's source; on the screens it moves freely under the game's own cursor.
void GameWindow::updateCursorConfinement() {
    bool confine = m_active && m_demoPlayer == nullptr && currentState() == GameState::Playing;
    if (confine != m_cursorConfined) {
        m_window.confineCursor(confine);
        if (!platform::setRelativeMouseMode(confine) && confine) {
            logMessage(
                "Relative mouse mode is not available; mouse look may stop at the window's edge.");
        }
        m_cursorConfined = confine;
    }
}

void GameWindow::onDeactivated() {
    m_active = false;
    if (currentState() == GameState::Playing) {
        setState(GameState::Paused);
    }
}

bool GameWindow::windowProc(const platform::Event& event) {
    switch (event.type) {
        case platform::EventType::Activated:
            m_active = true;
            return true;
        case platform::EventType::Deactivated:
            onDeactivated();
            return true;
        case platform::EventType::CloseRequested:
            // Closing ends the loop; the window and context are released in
            // shutdown order, after the game object is gone.
            m_window.hide();
            platform::postQuit();
            return true;
        case platform::EventType::Quit:
            appSettings()->quitRequested = true;
            return true;
        case platform::EventType::SysKeyDown:
            if (event.keyCode == platform::VK_RETURN) {
                if (!m_altEnterHeld) {
                    m_altEnterHeld = true;
                    toggleFullscreen();
                }
                return true;
            }
            break;
        case platform::EventType::KeyUp:
        case platform::EventType::SysKeyUp:
            if (event.keyCode == platform::VK_RETURN) {
                m_altEnterHeld = false;
            }
            break;
        default:
            break;
    }
    if (m_inputListener != nullptr) {
        return m_inputListener->handleInput(event);
    }
    return false;
}
