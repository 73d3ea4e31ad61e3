#pragma once
// Where the game's own archive pair korimo.set / korimo.dat is looked for, in this order: beside
// the executable (a build folder, or a game unpacked anywhere), the installed data folder
// <prefix>/share/korimo-shooting found from the executable's <prefix>/bin (so a moved install
// still works), then the current folder.

#include <string>

// The folder name of the game's installed data and of the player's own files.
constexpr const char* kGameFolderName = "korimo-shooting";
// The player's folder on Windows, under the application-data folder, named as a player reads it.
constexpr const char* kWindowsGameFolderName = "Korimo Shooting";

struct GameArchiveLocation {
    // The base name to open ("<folder>/korimo"; just "korimo" in the current folder).
    std::string baseName;
    // Empty when a place was found; otherwise one line naming every place looked.
    std::string error;
};

// The first place that holds either file of the pair wins, so that a half pair is reported
// by the archive itself, naming the missing file.
GameArchiveLocation LocateGameArchive();
