#pragma once
#include "input/game_settings.h"

// Numbers more than one part of the game reads.

// A level has this many ghosts, each with its own blip on the radar.
constexpr int GHOST_COUNT = 3;

// The radar shows what lies within this many design pixels of its centre.
constexpr float RADAR_RADIUS = 100.0f;

// The options' slider covers the lower part of the sensitivities a settings
// file may hold.
constexpr float SENSITIVITY_SLIDER_MIN = GameSettings::MIN_MOUSE_SENSITIVITY;
constexpr float SENSITIVITY_SLIDER_MAX = 0.002f;
