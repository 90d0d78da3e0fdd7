#pragma once
#include <string>
#include <vector>

// The top-level window with its OpenGL context. The steps are separate so the
// window code above can report each failure with its own message, in the
// order a Win32/WGL program would meet them.

struct SDL_Window;

namespace platform {

struct Size {
    int width = 0;
    int height = 0;
};

struct Point {
    int x = 0;
    int y = 0;
};

struct PixelFormat {
    int colourBits = 0;  // red + green + blue + alpha bits
    int depthBits = 0;
};

enum class CreateResult { Ok, NoPixelFormat, WindowFailed };

// Starts the window system (registering the window class on Win32).
bool startWindowSystem();
// Why the window system did not start.
std::string windowSystemFailure();
void stopWindowSystem();

// The primary display's current size.
Size screenSize();
// The part of the primary display a window may use (without panels and
// docks); the whole display when the window system does not say.
Size usableDisplaySize();
// A window of the wanted size that does not fit the usable area is shrunk,
// keeping its shape, to 90 % of it (so it can still be seen to be a window
// and be moved); one that fits keeps its size. A usable area of 0 keeps it.
Size shrinkToFit(Size wanted, Size usable);
// The sizes the primary display offers for fullscreen, each once, largest
// first (empty when it cannot say).
std::vector<Size> displayModes();

// The cursor, in screen coordinates.
void setCursorPosition(int x, int y);
void showCursor(bool visible);
// Relative mouse mode: the pointer is hidden and held by the window, and move
// events carry motion without the pointer ever being warped back (warping
// fails under XWayland and some window managers). False when refused.
bool setRelativeMouseMode(bool on);

class Window {
public:
    Window() = default;
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the window hidden, resizable, with a client area of exactly
    // width x height, a double-buffered RGBA surface of colourBits (32 or 16)
    // and a 24-bit depth buffer. Fullscreen windows have no border.
    CreateResult create(const std::string& title, int width, int height, bool fullscreen,
                        int colourBits);
    void move(int x, int y);
    bool createContext();
    bool makeCurrent();
    bool describePixelFormat(PixelFormat& format) const;
    // Switches the display to width x height and makes the window cover it;
    // false when the mode actually in force afterwards is not the one asked for.
    // fullscreenFailure() says why the last refused switch was refused.
    bool enterFullscreen(int width, int height, int bitsPerPixel);
    const std::string& fullscreenFailure() const { return m_fullscreenFailure; }
    // Covers the whole display at its own size without switching its mode;
    // false (with fullscreenFailure) when the window system refused.
    bool enterDesktopFullscreen();
    // Back to a bordered window of the client size and place it had before.
    void leaveFullscreen();
    // False when the driver offers no swap control.
    bool setSwapInterval(int interval);
    // Shows, raises and focuses the window.
    void show();
    void hide();
    bool swapBuffers();
    // Keeps the cursor inside the window (during play).
    void confineCursor(bool confined);

    Size clientSize() const;
    // The size of the OpenGL surface in pixels: on high-DPI screens it is
    // larger than the client size, which is in the window system's units.
    Size drawableSize() const;
    bool isMinimised() const;
    bool isMaximised() const;
    Point clientToScreen(Point client) const;
    bool exists() const { return m_window != nullptr; }
    bool hasContext() const { return m_context != nullptr; }

    void releaseContext();
    void deleteContext();
    void destroyWindow();

private:
    void rememberWindowedPlace();
    void coverDisplay(int width, int height);

    SDL_Window* m_window = nullptr;
    void* m_context = nullptr;
    bool m_fullscreen = false;
    Size m_windowedSize;  // to return to when fullscreen ends
    Point m_windowedPlace;
    std::string m_fullscreenFailure;
};

}  // namespace platform
