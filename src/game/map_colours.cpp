#include "game/map_colours.h"

namespace {

bool isLow(float channel) {
    return channel < COLOUR_LOW;
}

bool isHigh(float channel) {
    return channel > COLOUR_HIGH;
}

}  // namespace

bool isBlack(const Color4& c) {
    return isLow(c.r) && isLow(c.g) && isLow(c.b);
}

bool isWhite(const Color4& c) {
    return isHigh(c.r) && isHigh(c.g) && isHigh(c.b);
}

bool isYellow(const Color4& c) {
    return isHigh(c.r) && isHigh(c.g) && isLow(c.b);
}

bool isMagenta(const Color4& c) {
    return isHigh(c.r) && isLow(c.g) && isHigh(c.b);
}
