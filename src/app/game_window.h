#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/demo_player.h"
#include "app/demo_recorder.h"
#include "app/frame_handler.h"
#include "app/frame_timer.h"
#include "app/game_state.h"
#include "platform/clock.h"
#include "platform/window.h"

class GameWindow;

// Filled by start-up, read by window creation.
struct WindowParams {
    std::string title;
    // The window's size when not fullscreen.
    int width = 0;
    int height = 0;
    bool windowed = true;
    // The fullscreen resolution; 0 x 0 fills the display at its own size.
    int fullscreenWidth = 0;
    int fullscreenHeight = 0;
    bool colour32 = false;
    // A window bigger than the display is shrunk to fit it, unless its size
    // was asked for by name ("--size").
    bool fitToDisplay = true;
    std::string version = "version x";
    platform::Window* window = nullptr;  // written back by create()
};

// Creates the game object (the Scene) at the start of the main loop.
using SceneFactory = std::function<std::unique_ptr<FrameHandler>(GameWindow&)>;

// The one window of the game with its OpenGL context, the frame timer, the
// fixed-step accumulator, the GameState stack and the game object. It runs
// the main loop and decides what each frame does.
class GameWindow {
public:
    explicit GameWindow(platform::Clock& clock = platform::systemClock());
    ~GameWindow();
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    // Window and context.
    bool create(WindowParams& params);
    void destroy();
    void setSwapInterval(bool on);
    // The drawable's size and a vertical field of view of 45 degrees: a wide
    // window shows more at the sides, not less above and below.
    void setPerspective();
    void set2DProjection();
    void initRenderer();
    bool windowProc(const platform::Event& event);
    // Alt+Enter: between the window and fullscreen, as setFullscreen.
    bool toggleFullscreen();
    // Between the window and fullscreen in the configured resolution ("-f"
    // does the same at start). A resolution the display refuses falls back
    // to the display's own size, with one line in the log. The player's
    // choice is kept in the settings. False when the window could not become
    // what was asked (it then stays a window, and the log says why).
    bool setFullscreen(bool on);
    // The fullscreen resolution, 0 x 0 for the display's own size: taken at
    // once when fullscreen, and kept in the settings. Sizes the settings
    // cannot hold are refused (false).
    bool setFullscreenMode(int width, int height);
    int fullscreenModeWidth() const { return m_fullscreenWidth; }
    int fullscreenModeHeight() const { return m_fullscreenHeight; }
    // The sizes the display offers for fullscreen, largest first.
    std::vector<platform::Size> displayModes() const;
    // Light added to the finished picture, 0 (none) to
    // AppSettings::MAX_BRIGHTNESS; kept in the settings. The display's gamma
    // is never touched: a ramp set there would outlive a crash.
    void setBrightness(float brightness);

    // Main loop: runs until quitRequested is set. Starting the intro music
    // before it, and saving and showing the stored error after it, are the
    // start-up code's part.
    void run();
    // One turn of the main loop: a waiting event, else a frame, or while the
    // window is minimised a short sleep until the window system has news.
    void runOnce();
    void frame();
    // Steps 1 and 2 of a frame: reads the timer and returns the Scene's frame
    // time (0 on the first frame after a state change).
    float beginFrame();

    // States.
    void setState(GameState state);
    // Told the current state at the end of every setState call, also when
    // the stack did not change: setting a state again counts as entering it.
    // Null: nobody is told.
    void setStateListener(std::function<void(GameState)> listener) {
        m_stateListener = std::move(listener);
    }
    GameState currentState() const { return m_states.current(); }
    const StateStack& states() const { return m_states; }
    bool stateChanged() const { return m_stateChanged; }

    // Recording writes down what the loop consumes; playing feeds it back in
    // place of the clock and the window's events. Either one, set before run().
    void setDemoRecorder(DemoRecorder* recorder) { m_demoRecorder = recorder; }
    void setDemoPlayer(DemoPlayer* player) { m_demoPlayer = player; }
    // The geometry a recording keeps (see DemoWindow).
    DemoWindow demoWindow() const;
    // Counts a recorded game is compared by: frames run, fixed steps of play,
    // and the frame (0-based) after which the game was first over (-1: never).
    long frameCount() const { return m_frameCount; }
    long playStepCount() const { return m_playStepCount; }
    long gameOverFrame() const { return m_gameOverFrame; }

    // "--no-intro": the first frame shows the main menu (not with a
    // recorded game, which begins where it was recorded).
    void setSkipIntro(bool skip) { m_skipIntro = skip; }

    void setSceneFactory(SceneFactory factory) { m_sceneFactory = std::move(factory); }
    void setInputListener(InputListener* listener) { m_inputListener = listener; }
    FrameHandler* scene() { return m_scene.get(); }

    // Frame timing.
    double frameTime() const { return m_frameTime; }
    double totalTime() const { return m_totalTime; }
    const FixedStepper& stepper() const { return m_stepper; }
    float stepFraction() const { return m_stepFraction; }
    bool usesHighResolutionTimer() const { return m_timer.usesHighResolution(); }

    // Window facts. The window's size is that of its drawable, in pixels.
    int windowWidth() const { return m_width; }
    int windowHeight() const { return m_height; }
    int screenWidth() const { return m_screenWidth; }
    int screenHeight() const { return m_screenHeight; }
    bool isFullscreen() const { return m_fullscreen; }
    bool has32BitColour() const { return m_colour32; }
    bool hasDepthBuffer() const { return m_depthBuffer; }
    bool isActive() const { return m_active; }
    const std::string& title() const { return m_title; }
    const std::string& version() const { return m_version; }
    const std::string& extensions() const { return m_extensions; }
    platform::Window& window() { return m_window; }
    // Converts a point in client coordinates into screen coordinates.
    platform::Point clientToScreen(platform::Point client) const;

private:
    int runFixedSteps(const std::function<void(FrameHandler&)>& step);
    void dispatch(const platform::Event& event);
    void runDemo();
    void menuFrame();
    void playFrame();
    void clearScreen(bool white, bool depth);
    void brighten();
    bool swap();
    void updateCursorConfinement();
    void logGLErrors();
    void centreWindow();
    void updateMouseCentre();
    void onDeactivated();
    bool createContext();
    void applyDisplayMode();
    bool enterFullscreen();
    bool switchDisplay(bool fullscreen);
    void followDrawableSize();
    void rememberWindowSize();
    void readScreenSize();
    void storeDisplaySize(int width, int height);
    bool createFailed(int kind, const char* message);

    FrameTimer m_timer;
    FixedStepper m_stepper;
    double m_frameTime = 0.0;
    double m_totalTime = 0.0;
    float m_stepFraction = 0.0f;
    StateStack m_states;
    bool m_stateChanged = true;
    bool m_active = true;
    bool m_cursorConfined = false;
    bool m_altEnterHeld = false;  // one switch per press, not per key repeat
    bool m_skipIntro = false;

    std::string m_title;
    std::string m_className;
    std::string m_version;
    std::string m_extensions;
    int m_width = 0;
    int m_height = 0;
    int m_screenWidth = 0;
    int m_screenHeight = 0;
    int m_fullscreenWidth = 0;
    int m_fullscreenHeight = 0;
    bool m_fullscreen = false;
    bool m_colour32 = true;
    bool m_depthBuffer = true;
    bool m_windowSystemStarted = false;
    platform::Window m_window;

    DemoRecorder* m_demoRecorder = nullptr;
    DemoPlayer* m_demoPlayer = nullptr;
    long m_frameCount = 0;
    int m_glErrorsLogged = 0;
    long m_playStepCount = 0;
    long m_gameOverFrame = -1;

    std::function<void(GameState)> m_stateListener;
    SceneFactory m_sceneFactory;
    InputListener* m_inputListener = nullptr;
    std::unique_ptr<FrameHandler> m_scene;
};

// The one program-wide window (null before start-up creates it).
GameWindow* gameWindow();
