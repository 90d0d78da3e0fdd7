#pragma once
#include <string>
#include <vector>

#include "art.h"
#include "image.h"

namespace datagen {

// Per-glyph advance and vertical drop, as the font metrics file stores them.
struct GlyphMetric {
    int advance = 0;
    int drop = 0;
};

// The HUD pictures that share the large number atlas with the digits.
struct HudPart {
    const char* name;
    int px, py, w, h;  // texture offset and size as the HUD sets them
};
const std::vector<HudPart>& hudParts();

// Text of a metrics file: 10 rows of 10 "advance, drop, " pairs.
std::string metricsText(const std::vector<GlyphMetric>& metrics);

}  // namespace datagen
