#include "input/settings_file.h"

#include <sstream>

#include "input/game_settings.h"

namespace {

bool isAcceptedResolution(int width, int height) {
    return (width == 800 && height == 600) || (width == 1024 && height == 768) ||
           (width == 1280 && height == 1024);
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

    // Once a read fails the stream stays failed, so every later value keeps
    // its default, as a file that ends early should.
    if (in >> width >> height && isAcceptedResolution(width, height)) {
        settings.screenWidth = width;
        settings.screenHeight = height;
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
}

std::string formatSettings(const GameSettings& settings) {
    std::ostringstream out;
    out << settings.screenWidth << '\n'
        << settings.screenHeight << '\n'
        << settings.viewDistance << '\n'
        << settings.textureQuality << '\n'
        << (settings.invertMouse ? 1 : 0) << '\n'
        << settings.mouseSensitivity << '\n'
        << (settings.vsync ? 1 : 0) << '\n';
    return out.str();
}
