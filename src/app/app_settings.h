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
    int screenWidth = 1024;
    int screenHeight = 768;
    float viewDistance = 55.0f;  // far clipping plane
    bool vsync = false;

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
