#pragma once
// Uploads over HTTP(S) with libcurl. Whatever answers is a stranger: the answer is read up to
// a few kilobytes, the whole exchange has a time limit, redirects are not followed and only
// http and https are spoken.

#include "board/BoardTransport.h"

struct CurlLimits {
    long connectSeconds = 10;
    long totalSeconds = 40;  // the board plays the run again before it answers
    size_t answerBytes = 16 * 1024;
};

class CurlTransport : public BoardTransport {
public:
    explicit CurlTransport(const CurlLimits& limits = {});
    ~CurlTransport() override;

    BoardAnswer PostRun(const std::string& board, const std::string& name, const std::string& key,
                        const std::vector<uint8_t>& replay, const std::atomic<bool>& stop) override;

private:
    CurlLimits limits;
};
