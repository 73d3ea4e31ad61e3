#pragma once
// HTTP(S) exchanges with WinHTTP, Windows' own.

#include "board/BoardTransport.h"

class WinHttpTransport : public BoardTransport {
public:
    explicit WinHttpTransport(const ExchangeLimits& limits = {});

    HttpAnswer Exchange(const HttpRequest& request, const std::atomic<bool>& stop) override;

private:
    ExchangeLimits limits;
};
