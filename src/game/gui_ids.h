#pragma once
#include "gui/gui_control.h"

// The ids of the game's GUI controls in one list: the GUI finds a control by
// its id whatever its group, so each number may name one control only.
namespace gui_id {

// Intro
constexpr GUI_ID INTRO_PICTURE = 1;

// Main menu
constexpr GUI_ID MENU_TITLE = 2;
constexpr GUI_ID MENU_START = 3;
constexpr GUI_ID MENU_HIGH_SCORES = 4;
constexpr GUI_ID MENU_OPTIONS = 5;
constexpr GUI_ID MENU_QUIT = 6;
constexpr GUI_ID MENU_MARKER = 7;
constexpr GUI_ID MENU_GHOST = 8;

// High scores
constexpr GUI_ID HIGH_SCORES_TITLE = 10;
constexpr GUI_ID HIGH_SCORE_LIST = 11;
constexpr GUI_ID HIGH_SCORES_BACK = 13;
constexpr GUI_ID HIGH_SCORES_MARKER = 14;
constexpr GUI_ID HIGH_SCORES_CASTLE = 15;

// Options
constexpr GUI_ID OPTIONS_TITLE = 16;
constexpr GUI_ID CONTROL_LIST = 17;
constexpr GUI_ID OPTIONS_CHANGE = 18;
constexpr GUI_ID REBIND_PROMPT = 19;
constexpr GUI_ID OPTIONS_BACK = 20;
constexpr GUI_ID OPTIONS_MARKER = 21;
constexpr GUI_ID OPTIONS_WINDOW = 22;
constexpr GUI_ID INVERT_MOUSE_LABEL = 23;
constexpr GUI_ID INVERT_MOUSE_TOGGLE = 24;
constexpr GUI_ID SENSITIVITY_LABEL = 25;
constexpr GUI_ID SENSITIVITY_SLIDER = 26;
constexpr GUI_ID SENSITIVITY_LOW = 27;
constexpr GUI_ID SENSITIVITY_HIGH = 28;

// Pause
constexpr GUI_ID PAUSE_RESUME = 29;
constexpr GUI_ID PAUSE_QUIT = 30;
constexpr GUI_ID PAUSE_MARKER = 31;

// Loading and ready
constexpr GUI_ID LOADING_TEXT = 32;
constexpr GUI_ID LOADING_PICTURE = 33;
constexpr GUI_ID READY_PICTURE = 34;

// The play HUD and the game-over picture
constexpr GUI_ID HEALTH_PANEL = 35;
constexpr GUI_ID HEALTH_NUMBER = 36;
constexpr GUI_ID ENERGY_PANEL = 37;
constexpr GUI_ID ENERGY_NUMBER = 38;
constexpr GUI_ID ARROWS_PANEL = 39;
constexpr GUI_ID ARROWS_NUMBER = 40;
constexpr GUI_ID SCORE_PANEL = 41;
constexpr GUI_ID SCORE_NUMBER = 42;
constexpr GUI_ID RADAR_PANEL = 43;
constexpr GUI_ID POWER_CELL_BLIP = 44;
constexpr GUI_ID ARROW_CASE_BLIP = 45;
// One blip per ghost from here on, up to the crosshair.
constexpr GUI_ID FIRST_GHOST_BLIP = 46;
constexpr GUI_ID CROSSHAIR = 49;
constexpr GUI_ID GAME_OVER_PICTURE = 50;

// The options' display settings
constexpr GUI_ID RESOLUTION_LABEL = 70;
constexpr GUI_ID RESOLUTION_PREVIOUS = 71;
constexpr GUI_ID RESOLUTION_PREVIOUS_ARROW = 72;
constexpr GUI_ID RESOLUTION_VALUE = 73;
constexpr GUI_ID RESOLUTION_NEXT = 74;
constexpr GUI_ID RESOLUTION_NEXT_ARROW = 75;
constexpr GUI_ID FULLSCREEN_LABEL = 76;
constexpr GUI_ID FULLSCREEN_TOGGLE = 77;
constexpr GUI_ID VSYNC_LABEL = 78;
constexpr GUI_ID VSYNC_TOGGLE = 79;
constexpr GUI_ID BRIGHTNESS_LABEL = 80;
constexpr GUI_ID BRIGHTNESS_SLIDER = 81;

// The options' pad settings
constexpr GUI_ID LOOK_SPEED_LABEL = 82;
constexpr GUI_ID LOOK_SPEED_PREVIOUS = 83;
constexpr GUI_ID LOOK_SPEED_PREVIOUS_ARROW = 84;
constexpr GUI_ID LOOK_SPEED_VALUE = 85;
constexpr GUI_ID LOOK_SPEED_NEXT = 86;
constexpr GUI_ID LOOK_SPEED_NEXT_ARROW = 87;
constexpr GUI_ID RUMBLE_LABEL = 88;
constexpr GUI_ID RUMBLE_TOGGLE = 89;

// The map choice
constexpr GUI_ID MAP_CHOICE_TITLE = 90;
constexpr GUI_ID MAP_LIST = 91;
constexpr GUI_ID MAP_START = 92;
constexpr GUI_ID MAP_BACK = 93;
constexpr GUI_ID MAP_CHOICE_MARKER = 94;

}  // namespace gui_id
