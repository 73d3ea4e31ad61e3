#pragma once
// HTTP(S) exchanges with WinHTTP, Windows' own.

#include "board/BoardTransport.h"

struct WinHttpLimits {
    long connectSeconds = 10;
    long totalSeconds = 40;  // the board plays the run again before it answers
};

class WinHttpTransport : public BoardTransport {
public:
    explicit WinHttpTransport(const WinHttpLimits& limits = {});

    HttpAnswer Exchange(const HttpRequest& request, const std::atomic<bool>& stop) override;

private:
    WinHttpLimits limits;
};
