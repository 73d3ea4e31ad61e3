#pragma once
// A cpp-httplib server on a loopback port of its own, for stand-in boards: routes are set on
// server, then Start serves them on a thread of its own until the object goes.

#include <httplib.h>

#include <chrono>
#include <string>
#include <thread>

class LoopbackServer {
public:
    httplib::Server server;

    void Start()
    {
        port = server.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { server.listen_after_bind(); });
        while (!server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~LoopbackServer()
    {
        server.stop();
        if (thread.joinable())
            thread.join();
    }

    std::string Address() const { return "http://127.0.0.1:" + std::to_string(port); }

private:
    int port = 0;
    std::thread thread;
};
