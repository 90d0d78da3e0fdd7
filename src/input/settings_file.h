#pragma once
#include <istream>
#include <string>

class GameSettings;

// Reads the values of the settings file as whitespace-separated tokens and
// takes each one only when it is acceptable; anything missing, unreadable or
// out of range keeps the value already in the settings. In order: the
// fullscreen resolution (width, height; 0 0 is the display's own size), view
// distance, texture quality, invert mouse, mouse sensitivity, vertical sync,
// then the window's width and height, fullscreen at start, brightness, the
// pad's look speed and rumble.
void readSettings(std::istream& in, GameSettings& settings);

// The settings file's text: the values, one per line.
std::string formatSettings(const GameSettings& settings);
