#pragma once
// HTTP(S) exchanges with libcurl, the desktop's.

#include "board/BoardTransport.h"

class CurlTransport : public BoardTransport {
public:
    explicit CurlTransport(const ExchangeLimits& limits = {});
    ~CurlTransport() override;

    HttpAnswer Exchange(const HttpRequest& request, const std::atomic<bool>& stop) override;

private:
    ExchangeLimits limits;
};
