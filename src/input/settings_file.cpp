#include "input/settings_file.h"

#include <sstream>

#include "input/game_settings.h"

namespace {

// A fullscreen resolution: a size, or 0 x 0 for the display's own.
bool isFullscreenResolution(int width, int height) {
    return (width == 0 && height == 0) || AppSettings::isDisplaySize(width, height);
}

bool isFlag(int value) {
    return value == 0 || value == 1;
}

}  // namespace

void readSettings(std::istream& in, GameSettings& settings) {
    int width = 0;
    int height = 0;
    float viewDistance = 0.0f;
    int textureQuality = 0;
    int invertMouse = 0;
    float sensitivity = 0.0f;
    int vsync = 0;
    int windowWidth = 0;
    int windowHeight = 0;
    int fullscreen = 0;
    float brightness = 0.0f;
    float padLookSpeed = 0.0f;
    int rumble = 0;

    // Once a read fails the stream stays failed, so every later value keeps
    // its default, as a file that ends early should.
    if (in >> width >> height && isFullscreenResolution(width, height)) {
        settings.screenWidth = width;
        settings.screenHeight = height;
        // Files from before the window had a size of its own used this one
        // size for both; the window's own values, further on, say otherwise.
        if (width != 0) {
            settings.windowWidth = width;
            settings.windowHeight = height;
        }
    }
    if (in >> viewDistance && viewDistance >= 10.0f && viewDistance <= 500.0f) {
        settings.viewDistance = viewDistance;
    }
    if (in >> textureQuality && textureQuality >= 1 && textureQuality <= 4) {
        settings.textureQuality = textureQuality;
    }
    if (in >> invertMouse && isFlag(invertMouse)) {
        settings.invertMouse = invertMouse == 1;
    }
    if (in >> sensitivity && GameSettings::isMouseSensitivity(sensitivity)) {
        settings.mouseSensitivity = sensitivity;
    }
    if (in >> vsync && isFlag(vsync)) {
        settings.vsync = vsync == 1;
    }
    // Values added later go at the end, so older files still read.
    if (in >> windowWidth >> windowHeight &&
        AppSettings::isDisplaySize(windowWidth, windowHeight)) {
        settings.windowWidth = windowWidth;
        settings.windowHeight = windowHeight;
    }
    if (in >> fullscreen && isFlag(fullscreen)) {
        settings.fullscreen = fullscreen == 1;
    }
    if (in >> brightness && brightness >= 0.0f && brightness <= AppSettings::MAX_BRIGHTNESS) {
        settings.brightness = brightness;
    }
    if (in >> padLookSpeed && GameSettings::isPadLookSpeed(padLookSpeed)) {
        settings.padLookSpeed = padLookSpeed;
    }
    if (in >> rumble && isFlag(rumble)) {
        settings.rumbleEnabled = rumble == 1;
    }
}

std::string formatSettings(const GameSettings& settings) {
    std::ostringstream out;
    out << settings.screenWidth << '\n'
        << settings.screenHeight << '\n'
        << settings.viewDistance << '\n'
        << settings.textureQuality << '\n'
        << (settings.invertMouse ? 1 : 0) << '\n'
        << settings.mouseSensitivity << '\n'
        << (settings.vsync ? 1 : 0) << '\n'
        << settings.windowWidth << '\n'
        << settings.windowHeight << '\n'
        << (settings.fullscreen ? 1 : 0) << '\n'
        << settings.brightness << '\n'
        << settings.padLookSpeed << '\n'
        << (settings.rumbleEnabled ? 1 : 0) << '\n';
    return out.str();
}
