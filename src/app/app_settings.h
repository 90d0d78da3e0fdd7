#pragma once

// The part of the program-wide settings object that the application core
// itself reads and writes: the quit flag, the window's settings and what
// window creation learns about the display. The full settings object of the
// game (key state, controls, the settings file) derives from this class, so
// there is still just one program-wide settings object.
class AppSettings {
public:
    AppSettings();
    virtual ~AppSettings();
    AppSettings(const AppSettings&) = delete;
    AppSettings& operator=(const AppSettings&) = delete;

    bool quitRequested = false;

    // Settings read from the settings file (defaults until then).
    // The fullscreen resolution; 0 x 0 fills the display at its own size
    // without switching its mode ("Desktop").
    int screenWidth = 0;
    int screenHeight = 0;
    float viewDistance = 55.0f;  // far clipping plane
    bool vsync = false;
    // The window's size when it is not fullscreen, in the window system's units.
    int windowWidth = 1024;
    int windowHeight = 768;
    // Fullscreen at start (as "-f" asks for one run).
    bool fullscreen = false;
    // Light added to the drawn picture: 0 draws it as it is, 1 twice as bright.
    float brightness = 0.0f;
    static constexpr float MAX_BRIGHTNESS = 1.0f;
    // Set by whatever changes a setting the settings file keeps.
    bool settingsChanged = false;

    // The sizes a fullscreen resolution or a window may have.
    static constexpr int MIN_WIDTH = 640;
    static constexpr int MIN_HEIGHT = 480;
    static constexpr int MAX_WIDTH = 7680;
    static constexpr int MAX_HEIGHT = 2160;
    static bool isDisplaySize(int width, int height) {
        return width >= MIN_WIDTH && width <= MAX_WIDTH && height >= MIN_HEIGHT &&
               height <= MAX_HEIGHT;
    }

    // Stored by window creation: the size of what is actually drawn.
    int displayWidth = 0;
    int displayHeight = 0;

    // Centre of the screen in screen coordinates; the play frame keeps the
    // cursor there and mouse look measures from it.
    int mouseCentreX = 0;
    int mouseCentreY = 0;
};

// The one program-wide settings object (null before start-up creates it).
AppSettings* appSettings();
