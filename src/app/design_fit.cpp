#include "app/design_fit.h"

#include <algorithm>
#include <cmath>

namespace {

// The origin of an axis: a low anchor keeps the frame's low side on the
// window's, a high one its high side, a centred one follows the fit.
float origin(DesignAnchor anchor, float centred, float scale, float frameLow, float frameSize,
             int windowSize) {
    switch (anchor) {
        case DesignAnchor::Low:
            return std::round(-scale * frameLow);
        case DesignAnchor::High:
            return std::round(static_cast<float>(windowSize) - scale * (frameLow + frameSize));
        case DesignAnchor::Centre:
        default:
            return centred;
    }
}

}  // namespace

float DesignFit::originX(DesignAnchor anchor) const {
    return origin(anchor, offsetX, scale, DESIGN_FRAME_LEFT, DESIGN_FRAME_WIDTH, width);
}

float DesignFit::originY(DesignAnchor anchor) const {
    return origin(anchor, offsetY, scale, DESIGN_FRAME_BOTTOM, DESIGN_FRAME_HEIGHT, height);
}

DesignFit fitDesign(int width, int height) {
    DesignFit fit;
    fit.width = std::max(width, 1);
    fit.height = std::max(height, 1);
    const auto w = static_cast<float>(fit.width);
    const auto h = static_cast<float>(fit.height);
    fit.scale = std::min(w / DESIGN_FRAME_WIDTH, h / DESIGN_FRAME_HEIGHT);
    fit.offsetX =
        std::round((w - fit.scale * DESIGN_FRAME_WIDTH) / 2.0f - fit.scale * DESIGN_FRAME_LEFT);
    fit.offsetY =
        std::round((h - fit.scale * DESIGN_FRAME_HEIGHT) / 2.0f - fit.scale * DESIGN_FRAME_BOTTOM);
    return fit;
}

DesignFit unscaledDesign(int width, int height) {
    DesignFit fit;
    fit.width = std::max(width, 1);
    fit.height = std::max(height, 1);
    fit.scale = 1.0f;
    if (width == 1024) {
        fit.offsetX = 112.0f;
        fit.offsetY = 84.0f;
    } else if (width == 1280) {
        fit.offsetX = 240.0f;
        fit.offsetY = 212.0f;
    } else {
        fit.offsetX = 0.0f;
        fit.offsetY = 0.0f;
    }
    return fit;
}
