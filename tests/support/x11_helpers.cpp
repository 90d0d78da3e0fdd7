#include "support/x11_helpers.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace x11 {
namespace {

// Windows may vanish while a test walks the tree; such errors are expected
// and must not end the test process (Xlib's default handler exits).
int ignoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

// One connection for the whole test process: opening many in a row now and
// then fails under Xvfb. Opening is retried for a short while.
Display* sharedDisplay() {
    static Display* display = nullptr;
    for (int attempt = 0; display == nullptr && attempt < 50; ++attempt) {
        display = XOpenDisplay(nullptr);
        if (display == nullptr) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    if (display != nullptr) {
        XSetErrorHandler(ignoreXErrors);
    }
    return display;
}

struct Connection {
    Display* display = sharedDisplay();
};

std::string windowTitle(Display* display, Window window) {
    char* name = nullptr;
    std::string result;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        result = name;
        XFree(name);
    }
    return result;
}

Window searchTree(Display* display, Window parent, const std::string& title) {
    Window root = 0, parentOut = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, parent, &root, &parentOut, &children, &count) == 0) {
        return 0;
    }
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable && windowTitle(display, children[i]) == title) {
            found = children[i];
        } else {
            found = searchTree(display, children[i], title);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

}  // namespace

bool displayAvailable() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        return false;
    }
    Connection connection;
    return connection.display != nullptr;
}

unsigned long findWindow(const std::string& title, double timeoutSeconds) {
    Connection connection;
    if (connection.display == nullptr) {
        return 0;
    }
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::milliseconds(static_cast<int>(timeoutSeconds * 1000));
    do {
        Window found = searchTree(connection.display, DefaultRootWindow(connection.display), title);
        if (found != 0) {
            return found;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < deadline);
    return 0;
}

bool requestClose(unsigned long window) {
    Connection connection;
    if (connection.display == nullptr) {
        return false;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(connection.display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] =
        static_cast<long>(XInternAtom(connection.display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    Status sent = XSendEvent(connection.display, window, False, NoEventMask, &event);
    XFlush(connection.display);
    return sent != 0;
}

bool capture(unsigned long window, Image& image) {
    Connection connection;
    if (connection.display == nullptr) {
        return false;
    }
    XWindowAttributes attributes;
    if (XGetWindowAttributes(connection.display, window, &attributes) == 0) {
        return false;
    }
    XImage* shot = XGetImage(connection.display, window, 0, 0, attributes.width, attributes.height,
                             AllPlanes, ZPixmap);
    if (shot == nullptr) {
        return false;
    }
    image.width = attributes.width;
    image.height = attributes.height;
    image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            unsigned long pixel = XGetPixel(shot, x, y);
            std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * 3;
            image.rgb[at] = static_cast<std::uint8_t>((pixel & shot->red_mask) >> 16);
            image.rgb[at + 1] = static_cast<std::uint8_t>((pixel & shot->green_mask) >> 8);
            image.rgb[at + 2] = static_cast<std::uint8_t>(pixel & shot->blue_mask);
        }
    }
    XDestroyImage(shot);
    return true;
}

bool geometry(unsigned long window, Geometry& result) {
    Connection connection;
    if (connection.display == nullptr) {
        return false;
    }
    XWindowAttributes attributes;
    if (XGetWindowAttributes(connection.display, window, &attributes) == 0) {
        return false;
    }
    Window child = 0;
    XTranslateCoordinates(connection.display, window, DefaultRootWindow(connection.display), 0, 0,
                          &result.x, &result.y, &child);
    result.width = attributes.width;
    result.height = attributes.height;
    return true;
}

double Image::fractionNear(std::uint8_t r, std::uint8_t g, std::uint8_t b, int tolerance) const {
    if (width == 0 || height == 0) {
        return 0.0;
    }
    std::size_t near = 0;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        if (std::abs(rgb[i] - r) <= tolerance && std::abs(rgb[i + 1] - g) <= tolerance &&
            std::abs(rgb[i + 2] - b) <= tolerance) {
            ++near;
        }
    }
    return static_cast<double>(near) / (static_cast<double>(width) * height);
}

bool Image::writePpm(const std::string& path) const {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    std::fwrite(rgb.data(), 1, rgb.size(), file);
    std::fclose(file);
    return true;
}

}  // namespace x11
