#pragma once
#include <istream>
#include <string>

class GameSettings;

// Reads the seven values of the settings file as whitespace-separated
// tokens and takes each one only when it is acceptable; anything missing,
// unreadable or out of range keeps the value already in the settings.
void readSettings(std::istream& in, GameSettings& settings);

// The settings file's text: the seven values, one per line.
std::string formatSettings(const GameSettings& settings);
