#pragma once
// The real verification of an upload: the bytes written into a private scratch folder of their
// own (0700, removed afterwards), checked there by the game's --verify in a child process.

#include <string>
#include <string_view>

#include "server/Verifier.h"

namespace board {

Verdict VerifyInScratch(const std::string& game, std::string_view replay,
                        const VerifierLimits& limits = {});

}  // namespace board
