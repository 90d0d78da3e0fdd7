#include "platform/window.h"

#include <SDL.h>

namespace platform {
namespace {

void requestColourBits(int colourBits) {
    if (colourBits == 32) {
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    } else {
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 6);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
        SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    }
}

void requestPixelFormat(int colourBits, int alphaBits) {
    SDL_GL_ResetAttributes();
    requestColourBits(colourBits);
    if (alphaBits == 0) {
        SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    }
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

Uint32 windowFlags(bool fullscreen, bool withGL) {
    // The OpenGL surface may have more pixels than the window has units
    // (high-DPI screens); the window code draws at the surface's size.
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (withGL) {
        flags |= SDL_WINDOW_OPENGL;
    }
    if (fullscreen) {
        flags |= SDL_WINDOW_BORDERLESS;
    }
    return flags;
}

}  // namespace

std::string windowSystemFailure() {
    const char* reason = SDL_GetError();
    return reason != nullptr ? reason : "";
}

bool startWindowSystem() {
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "1");
    // The screen saver stays off while the game runs (SDL's default, made explicit).
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    // A close request is ours to handle; the quit follows from it.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return false;
    }
    // Without a display SDL falls back to drivers that draw nowhere; a game
    // nobody can see must fail like any other missing window system, unless
    // such a driver was asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* requested = SDL_getenv("SDL_VIDEODRIVER");
    bool invisible = driver != nullptr &&
                     (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
    if (invisible && (requested == nullptr || SDL_strcmp(requested, driver) != 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_SetError("no display to open a window on");
        return false;
    }
    SDL_DisableScreenSaver();
    return true;
}

void stopWindowSystem() {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

Size screenSize() {
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(0, &mode) != 0) {
        return Size{};
    }
    return Size{mode.w, mode.h};
}

std::vector<Size> displayModes() {
    std::vector<Size> sizes;
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0) {
            continue;
        }
        // The display lists a size once per refresh rate and pixel format.
        bool known = false;
        for (const Size& size : sizes) {
            known = known || (size.width == mode.w && size.height == mode.h);
        }
        if (!known) {
            sizes.push_back(Size{mode.w, mode.h});
        }
    }
    return sizes;
}

Size usableDisplaySize() {
    SDL_Rect bounds;
    if (SDL_GetDisplayUsableBounds(0, &bounds) == 0 && bounds.w > 0 && bounds.h > 0) {
        return Size{bounds.w, bounds.h};
    }
    return screenSize();
}

Size shrinkToFit(Size wanted, Size usable) {
    if (usable.width <= 0 || usable.height <= 0 ||
        (wanted.width <= usable.width && wanted.height <= usable.height)) {
        return wanted;
    }
    const double byWidth = 0.9 * usable.width / wanted.width;
    const double byHeight = 0.9 * usable.height / wanted.height;
    const double factor = byWidth < byHeight ? byWidth : byHeight;
    return Size{static_cast<int>(wanted.width * factor), static_cast<int>(wanted.height * factor)};
}

void setCursorPosition(int x, int y) {
    SDL_WarpMouseGlobal(x, y);
}

void showCursor(bool visible) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

bool setRelativeMouseMode(bool on) {
    return SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE) == 0;
}

Window::~Window() {
    deleteContext();
    destroyWindow();
}

CreateResult Window::create(const std::string& title, int width, int height, bool fullscreen,
                            int colourBits) {
    m_fullscreen = false;
    m_windowedSize = Size{width, height};
    m_windowedPlace = Point{};
    // Ask for the full format first; some X servers have no visual with
    // destination alpha, so fall back to one without before giving up.
    for (int alphaBits : {8, 0}) {
        requestPixelFormat(colourBits, alphaBits);
        m_window =
            SDL_CreateWindow(title.c_str(), 0, 0, width, height, windowFlags(fullscreen, true));
        if (m_window != nullptr) {
            // Smaller windows leave the menus' design no room; one asked
            // for smaller still keeps its size.
            SDL_SetWindowMinimumSize(m_window, width < 640 ? width : 640,
                                     height < 480 ? height : 480);
            return CreateResult::Ok;
        }
    }
    // Tell a missing pixel format apart from a window system that cannot make
    // windows at all.
    SDL_Window* probe =
        SDL_CreateWindow(title.c_str(), 0, 0, width, height, windowFlags(fullscreen, false));
    if (probe != nullptr) {
        SDL_DestroyWindow(probe);
        return CreateResult::NoPixelFormat;
    }
    return CreateResult::WindowFailed;
}

void Window::move(int x, int y) {
    if (m_window != nullptr) {
        SDL_SetWindowPosition(m_window, x, y);
    }
}

bool Window::createContext() {
    m_context = SDL_GL_CreateContext(m_window);
    return m_context != nullptr;
}

bool Window::makeCurrent() {
    return m_context != nullptr && SDL_GL_MakeCurrent(m_window, m_context) == 0;
}

bool Window::describePixelFormat(PixelFormat& format) const {
    int red = 0, green = 0, blue = 0, alpha = 0, depth = 0;
    if (SDL_GL_GetAttribute(SDL_GL_RED_SIZE, &red) != 0 ||
        SDL_GL_GetAttribute(SDL_GL_GREEN_SIZE, &green) != 0 ||
        SDL_GL_GetAttribute(SDL_GL_BLUE_SIZE, &blue) != 0 ||
        SDL_GL_GetAttribute(SDL_GL_ALPHA_SIZE, &alpha) != 0 ||
        SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth) != 0) {
        return false;
    }
    format.colourBits = red + green + blue + alpha;
    format.depthBits = depth;
    return true;
}

void Window::rememberWindowedPlace() {
    if (!m_fullscreen) {
        m_windowedSize = clientSize();
        SDL_GetWindowPosition(m_window, &m_windowedPlace.x, &m_windowedPlace.y);
    }
}

// The fullscreen request is carried out by the window manager; without one
// (a bare X server, a kiosk) the window would keep its size and place, so it
// first becomes a borderless one covering the display by itself.
void Window::coverDisplay(int width, int height) {
    SDL_Rect bounds{0, 0, width, height};
    SDL_GetDisplayBounds(0, &bounds);
    SDL_SetWindowBordered(m_window, SDL_FALSE);
    SDL_SetWindowPosition(m_window, bounds.x, bounds.y);
    SDL_SetWindowSize(m_window, width, height);
}

bool Window::enterFullscreen(int width, int height, int bitsPerPixel) {
    m_fullscreenFailure.clear();
    if (m_window == nullptr) {
        return false;
    }
    rememberWindowedPlace();
    SDL_DisplayMode wanted{};
    wanted.format = bitsPerPixel == 32 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_RGB565;
    wanted.w = width;
    wanted.h = height;
    SDL_DisplayMode closest;
    if (SDL_GetClosestDisplayMode(0, &wanted, &closest) == nullptr) {
        m_fullscreenFailure =
            std::string("the display offers no mode near it (") + SDL_GetError() + ")";
        return false;
    }
    if (closest.w != width || closest.h != height) {
        m_fullscreenFailure = "the display's nearest mode is " + std::to_string(closest.w) + "x" +
                              std::to_string(closest.h);
        return false;
    }
    coverDisplay(width, height);
    if (SDL_SetWindowDisplayMode(m_window, &closest) != 0 ||
        SDL_SetWindowFullscreen(m_window, SDL_WINDOW_FULLSCREEN) != 0) {
        m_fullscreenFailure = std::string("the window system refused it (") + SDL_GetError() + ")";
        m_fullscreen = true;  // so the window's place comes back
        leaveFullscreen();
        return false;
    }
    // Some servers accept the request yet keep their mode: check what is in force.
    Size now = screenSize();
    if (now.width != width || now.height != height) {
        m_fullscreenFailure =
            "the display stayed at " + std::to_string(now.width) + "x" + std::to_string(now.height);
        m_fullscreen = true;
        leaveFullscreen();
        return false;
    }
    m_fullscreen = true;
    return true;
}

bool Window::enterDesktopFullscreen() {
    m_fullscreenFailure.clear();
    if (m_window == nullptr) {
        return false;
    }
    rememberWindowedPlace();
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) != 0) {
        m_fullscreenFailure = std::string("the display's size is unknown (") + SDL_GetError() + ")";
        return false;
    }
    coverDisplay(bounds.w, bounds.h);
    if (SDL_SetWindowFullscreen(m_window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        m_fullscreenFailure = std::string("the window system refused it (") + SDL_GetError() + ")";
        m_fullscreen = true;  // so the window's place comes back
        leaveFullscreen();
        return false;
    }
    m_fullscreen = true;
    return true;
}

void Window::leaveFullscreen() {
    if (m_window != nullptr) {
        SDL_SetWindowFullscreen(m_window, 0);
        // A window created fullscreen was made without a border.
        SDL_SetWindowBordered(m_window, SDL_TRUE);
        if (m_fullscreen && m_windowedSize.width > 0 && m_windowedSize.height > 0) {
            // A window bigger than the display (a small display, or a size
            // remembered from a bigger one) would hide the HUD's edges.
            const Size usable = usableDisplaySize();
            const Size size = shrinkToFit(m_windowedSize, usable);
            SDL_SetWindowSize(m_window, size.width, size.height);
            if (size.width == m_windowedSize.width && size.height == m_windowedSize.height) {
                SDL_SetWindowPosition(m_window, m_windowedPlace.x, m_windowedPlace.y);
            } else {
                SDL_SetWindowPosition(m_window, (usable.width - size.width) / 2,
                                      (usable.height - size.height) / 2);
            }
        }
    }
    m_fullscreen = false;
}

bool Window::setSwapInterval(int interval) {
    return SDL_GL_SetSwapInterval(interval) == 0;
}

void Window::show() {
    if (m_window != nullptr) {
        SDL_ShowWindow(m_window);
        SDL_RaiseWindow(m_window);
    }
}

void Window::hide() {
    if (m_window != nullptr) {
        SDL_HideWindow(m_window);
    }
}

bool Window::swapBuffers() {
    if (m_window == nullptr || m_context == nullptr) {
        return false;
    }
    SDL_GL_SwapWindow(m_window);
    return true;
}

void Window::confineCursor(bool confined) {
    if (m_window != nullptr) {
        SDL_SetWindowGrab(m_window, confined ? SDL_TRUE : SDL_FALSE);
    }
}

Size Window::clientSize() const {
    Size size;
    if (m_window != nullptr) {
        SDL_GetWindowSize(m_window, &size.width, &size.height);
    }
    return size;
}

Size Window::drawableSize() const {
    Size size;
    if (m_window != nullptr) {
        SDL_GL_GetDrawableSize(m_window, &size.width, &size.height);
    }
    return size;
}

bool Window::isMinimised() const {
    return m_window != nullptr && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_MINIMIZED) != 0;
}

bool Window::isMaximised() const {
    return m_window != nullptr && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_MAXIMIZED) != 0;
}

Point Window::clientToScreen(Point client) const {
    if (m_window == nullptr) {
        return client;
    }
    int x = 0, y = 0;
    SDL_GetWindowPosition(m_window, &x, &y);
    return Point{client.x + x, client.y + y};
}

void Window::releaseContext() {
    if (m_context != nullptr) {
        SDL_GL_MakeCurrent(m_window, nullptr);
    }
}

void Window::deleteContext() {
    if (m_context != nullptr) {
        releaseContext();
        SDL_GL_DeleteContext(m_context);
        m_context = nullptr;
    }
}

void Window::destroyWindow() {
    if (m_window != nullptr) {
        if (m_fullscreen) {
            leaveFullscreen();
        }
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
    }
}

}  // namespace platform
