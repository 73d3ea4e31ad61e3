#pragma once
// Verifying a replay file: the run played unseen on the scripted platform, as fast as the
// machine goes, by the game's own code. The desktop's --verify and the page's ?verify= both
// come here, so that the two programs can be held to the same line. Built into each program
// rather than into the game's library, which does not lean on the scripted platform.

#include <cstdio>
#include <string>

// Prints the verdict line on out and returns 0 when the run played as recorded, 1 otherwise;
// a file that cannot be played here gets one line on standard error instead.
int VerifyReplayFile(const std::string& path, std::FILE* out);
