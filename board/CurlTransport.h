#pragma once
// HTTP(S) exchanges with libcurl, the desktop's.

#include "board/BoardTransport.h"

struct CurlLimits {
    long connectSeconds = 10;
    long totalSeconds = 40;  // the board plays the run again before it answers
};

class CurlTransport : public BoardTransport {
public:
    explicit CurlTransport(const CurlLimits& limits = {});
    ~CurlTransport() override;

    HttpAnswer Exchange(const HttpRequest& request, const std::atomic<bool>& stop) override;

private:
    CurlLimits limits;
};
