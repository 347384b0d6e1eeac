// Finding the game's data folder when the program is not started from it.
#pragma once

#include <string>
#include <vector>

// True when folder holds the game's data (its font and stadium model).
bool holdsGameData(const std::string& folder);

// Folders to try after the current one, for a program at exePath: the build tree's data/ beside
// it, then the installed share/hoopwind/ and share/games/hoopwind/ beside its bin/ or games/.
std::vector<std::string> dataFolderCandidates(const std::string& exePath);

// Makes the data folder the current folder when the current one does not hold the data. When no
// folder does, prints one line naming those tried and stays put (the game then runs without
// the missing files). Returns false only in that case.
bool enterDataFolder();
