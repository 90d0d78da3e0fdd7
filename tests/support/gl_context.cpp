#include "support/gl_context.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

GLTestContext::GLTestContext(int width, int height) : m_width(width), m_height(height) {
    if (!platform::startWindowSystem()) {
        return;
    }
    if (m_window.create("gl test", width, height, false, 32) != platform::CreateResult::Ok) {
        return;
    }
    if (!m_window.createContext() || !m_window.makeCurrent()) {
        return;
    }
    glViewport(0, 0, width, height);
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    m_ok = true;
}

GLTestContext& GLTestContext::shared() {
    static GLTestContext context;
    return context;
}

void GLTestContext::resetState() {
    glViewport(0, 0, m_width, m_height);
    for (GLenum mode : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) {
        glMatrixMode(mode);
        glLoadIdentity();
    }
    glDisable(GL_LIGHTING);
    for (int i = 0; i < 8; ++i) {
        glDisable(GL_LIGHT0 + i);
    }
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

GLTestContext::~GLTestContext() {
    m_window.releaseContext();
    m_window.deleteContext();
    m_window.destroyWindow();
    platform::stopWindowSystem();
}

std::vector<unsigned char> GLTestContext::readPixels() const {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(m_width) * m_height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, m_width, m_height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void GLTestContext::pixelAt(int x, int y, unsigned char rgba[4]) const {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

bool GLTestContext::savePng(const std::string& path) const {
    std::vector<unsigned char> pixels = readPixels();
    std::string raw = path + ".rgba";
    FILE* file = std::fopen(raw.c_str(), "wb");
    if (!file) {
        return false;
    }
    bool written = std::fwrite(pixels.data(), 1, pixels.size(), file) == pixels.size();
    std::fclose(file);
    if (!written) {
        return false;
    }
    // Rows are stored bottom first; -flip puts the top row first.
    std::string command = "convert -size " + std::to_string(m_width) + "x" +
                          std::to_string(m_height) + " -depth 8 rgba:" + raw +
                          " -flip -alpha off " + path + " 2>/dev/null";
    bool converted = std::system(command.c_str()) == 0;
    std::remove(raw.c_str());
    return converted;
}
