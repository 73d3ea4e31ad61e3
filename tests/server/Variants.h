#pragma once
// Distinct replay files that decode as sound ones: the golden run with another recording date.
// Only a stand-in verifier passes them; the real one plays the same run whatever the date.

#include <span>
#include <string>

#include "replay/JournalCodec.h"
#include "tests/server/BoardProcess.h"

inline std::string GoldenOfDate(uint64_t date)
{
    const std::string golden = GoldenReplay();
    journal::Recording recording;
    std::string error;
    journal::DecodeRecording(
        std::span(reinterpret_cast<const uint8_t*>(golden.data()), golden.size()), recording,
        error);
    recording.header.date = date;
    const std::vector<uint8_t> bytes = journal::EncodeRecording(recording);
    return std::string(bytes.begin(), bytes.end());
}

// A stand-in verifier that passes anything, fast.
inline std::string PassingVerifier(const std::string& folder)
{
    return StandInVerifier(
        folder, "verifier",
        "echo 'one minute, score 1000, 3530 frames, checksum 0123456789abcdef: verified'");
}
