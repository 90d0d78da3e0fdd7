#pragma once
// Where the screens and the HUD land in a window of any size.
//
// They are laid out in one design space, origin at the lower-left, y up: the
// menus' 800 x 600 core from (0, 0) to (800, 600), inside the 1024 x 768
// frame the screens were composed in (the back buttons, credits, the ready
// and game-over pictures and the HUD panels lie around the core, out to
// (-112, -84) and (912, 684)). The whole frame is scaled uniformly to the
// largest size that fits the window and centred, so nothing of a screen is
// ever cut off. The HUD's panels keep to the window's corners instead: a
// control anchored to a side keeps its scaled distance from the frame's side
// to that side of the window.
//
// This is plain arithmetic in window pixels (origin lower-left), so the GUI,
// the main loop (recorded pointer positions) and tests share it.

// One axis of an anchor: the left (or bottom) side, the centre, or the right
// (or top) side.
enum class DesignAnchor { Low, Centre, High };

constexpr float DESIGN_FRAME_LEFT = -112.0f;
constexpr float DESIGN_FRAME_BOTTOM = -84.0f;
constexpr float DESIGN_FRAME_WIDTH = 1024.0f;
constexpr float DESIGN_FRAME_HEIGHT = 768.0f;

struct DesignFit {
    // Unset, design coordinates are window pixels.
    int width = 800;
    int height = 600;
    float scale = 1.0f;
    // The window pixel of the design origin for centred controls.
    float offsetX = 0.0f;
    float offsetY = 0.0f;

    // Where design x (or y) lands for a control anchored so, and back.
    float windowX(float x, DesignAnchor anchor = DesignAnchor::Centre) const {
        return originX(anchor) + scale * x;
    }
    float windowY(float y, DesignAnchor anchor = DesignAnchor::Centre) const {
        return originY(anchor) + scale * y;
    }
    float designX(float x, DesignAnchor anchor = DesignAnchor::Centre) const {
        return (x - originX(anchor)) / scale;
    }
    float designY(float y, DesignAnchor anchor = DesignAnchor::Centre) const {
        return (y - originY(anchor)) / scale;
    }
    // The window pixel of the design origin under an anchor.
    float originX(DesignAnchor anchor) const;
    float originY(DesignAnchor anchor) const;
};

// The fit for a window of width x height pixels; sizes below 1 count as 1.
// The origins are whole pixels, so an unscaled picture is not resampled.
DesignFit fitDesign(int width, int height);

// How the screens sat before they were scaled: unscaled, centred only in the
// window sizes the game offered (1024 x 768 and 1280 x 1024), else at the
// lower-left corner. Recordings made then store window pixels in that layout.
DesignFit unscaledDesign(int width, int height);
