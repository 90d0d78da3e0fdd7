#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Talks to the X server the tests run under (Xvfb) the way a window manager
// or a user would: finds windows by title, closes them, reads their pixels.
namespace x11 {

bool displayAvailable();

// Waits up to timeoutSeconds for a mapped top-level window with this exact
// title; returns its id or 0.
unsigned long findWindow(const std::string& title, double timeoutSeconds);

// Sends WM_DELETE_WINDOW, as a window manager's close button does.
bool requestClose(unsigned long window);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // top row first
    // Fraction of pixels whose red, green and blue all lie within tolerance of the colour.
    double fractionNear(std::uint8_t r, std::uint8_t g, std::uint8_t b, int tolerance) const;
    bool writePpm(const std::string& path) const;
};

// The window's client pixels as they are on screen now.
bool capture(unsigned long window, Image& image);

struct Geometry {
    int x = 0;  // client origin in root (screen) coordinates
    int y = 0;
    int width = 0;
    int height = 0;
};
bool geometry(unsigned long window, Geometry& result);

}  // namespace x11
