#pragma once
#include <string>
#include <vector>

#include "platform/window.h"

// A hidden window with a current OpenGL context for tests that draw. Drawing
// goes to the back buffer, which readPixels reads (nothing is ever shown).
class GLTestContext {
public:
    GLTestContext(int width = 256, int height = 256);
    ~GLTestContext();
    GLTestContext(const GLTestContext&) = delete;
    GLTestContext& operator=(const GLTestContext&) = delete;

    // One context for the whole test binary: opening and closing the window
    // system for every test now and then fails under Xvfb. resetState puts
    // back the OpenGL state tests commonly change.
    static GLTestContext& shared();
    void resetState();

    bool ok() const { return m_ok; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    // RGBA bytes of the back buffer, bottom row first.
    std::vector<unsigned char> readPixels() const;
    // The RGBA value at (x, y), y counted from the bottom.
    void pixelAt(int x, int y, unsigned char rgba[4]) const;
    // Writes the back buffer as a PNG through ImageMagick; false on failure.
    bool savePng(const std::string& path) const;

private:
    platform::Window m_window;
    int m_width;
    int m_height;
    bool m_ok = false;
};
