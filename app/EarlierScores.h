#pragma once
// Earlier versions kept korimo.sav beside the program or in the folder it was started from.
// On the first start with the player's folder, such a file is copied in, never moved, so
// nobody loses the scores they have and the old file stays for older copies of the game.

class PlayerFolder;

// Does nothing when the folder already holds a save file, was chosen on the command line or
// cannot be written. Says on standard error which file was copied, or which could not be.
void CopyEarlierScores(const PlayerFolder& folder);
