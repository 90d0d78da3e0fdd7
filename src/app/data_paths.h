#pragma once
#include <functional>
#include <string>

// Where the game reads its data and writes its state. Two layouts:
//
// - portable (the build folder, a copy anywhere): the executable does not
//   sit in an installed tree, so everything stays relative to the folder the
//   game was started from, as it always was;
// - installed (<prefix>/games/spookhollow beside
//   <prefix>/share/games/spookhollow/resources): the working directory
//   becomes the installed data folder, so every reader keeps opening
//   "resources/..." as it always did, and the few files the game writes
//   (save/ and ErrorLog.txt) are named in the player's
//   $XDG_DATA_HOME/spookhollow (by default ~/.local/share/spookhollow).
//
// Start-up is the only user: it asks for the save and log names here and
// hands them to the objects that write them.
struct DataPaths {
    bool installed = false;
    // The installed data folder (holds resources/); empty when portable.
    std::string dataFolder;
    // The player's folder for save/ and ErrorLog.txt; empty when portable.
    std::string writeFolder;

    // "save/<name>" when portable, "<writeFolder>/save/<name>" when installed.
    std::string savePath(const std::string& name) const;
    // The player's own map images, beside save/: "maps" when portable,
    // "<writeFolder>/maps" when installed.
    std::string mapsFolder() const;
    // The error log's name as the ErrorReporter takes it (".txt" is added there).
    std::string logName() const;
};

// Reads an environment variable; null when it is not set.
using EnvironmentLookup = std::function<const char*(const char*)>;

// Decides the layout from the executable's full path and the environment
// (XDG_DATA_HOME, then HOME). An installed game with no usable home folder
// gets an empty writeFolder.
DataPaths resolveDataPaths(const std::string& executablePath, const EnvironmentLookup& environment);
// The same for this process (/proc/self/exe and the real environment).
DataPaths resolveDataPaths();

// Installed only: creates <writeFolder>/save and <writeFolder>/maps (so a
// player finds where maps go) and moves the working directory
// to the data folder. False with a reason when either fails; the game then
// still runs, without saves or without data as the case may be.
bool applyDataPaths(const DataPaths& paths, std::string& failure);
