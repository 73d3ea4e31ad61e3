// A stand-in board on loopback for the Windows program's sending test, which runs under Wine
// and reaches it over the machine's own sockets. Each address below the port answers one way,
// named by its first folder (http://127.0.0.1:PORT/busy is a board that is always busy):
//   ok        201 with a rank          refuse-NNN  NNN with an error sentence
//   busy      503, Retry-After 30      toomany     429, Retry-After 60
//   broken    500 with a web page      huge        201 a megabyte long
//   norank    201 without a rank       notjson     201 that is no JSON
//   late      201 after 3.5 s          redirect    307 to /elsewhere, which counts its visitors
// GET /seen tells what reached it: "uploads N elsewhere N name HEX key X body HEX" (the
// last upload's). It prints its port on the first line, then serves until standard input closes.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

#include <httplib.h>

namespace {

std::mutex mutex;
size_t uploads = 0;
std::string lastName, lastKey, lastBody;
std::atomic<int> elsewhere{0};

std::string Hex(const std::string& bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xF];
    }
    return hex;
}

void Answer(const std::string& way, httplib::Response& reply)
{
    const auto json = [&reply](int status, const std::string& body) {
        reply.status = status;
        reply.set_content(body, "application/json");
    };
    if (way == "ok") {
        json(201, R"({"id": 7, "length": 1, "score": 100, "frames": 60, "rank": 3})");
    } else if (way.rfind("refuse-", 0) == 0) {
        json(std::stoi(way.substr(7)),
             R"({"error": "refused for reason )" + way.substr(7) + R"("})");
    } else if (way == "busy") {
        json(503, R"({"error": "the queue is full"})");
        reply.set_header("Retry-After", "30");
    } else if (way == "toomany") {
        json(429, R"({"error": "slow down"})");
        reply.set_header("Retry-After", "60");
    } else if (way == "broken") {
        reply.status = 500;
        reply.set_content("<html>oops</html>", "text/html");
    } else if (way == "huge") {
        json(201, R"({"rank": 1, "padding": ")" + std::string(1 << 20, 'x') + R"("})");
    } else if (way == "norank") {
        json(201, R"({"id": 1})");
    } else if (way == "notjson") {
        json(201, "rank=1");
    } else if (way == "late") {
        std::this_thread::sleep_for(std::chrono::milliseconds(3500));
        json(201, R"({"rank": 2})");
    } else if (way == "redirect") {
        reply.status = 307;
        reply.set_header("Location", "/elsewhere/api/runs");
    } else {
        json(404, R"({"error": "no such way"})");
    }
}

}  // namespace

int main()
{
    httplib::Server server;
    server.Post(R"(/elsewhere/api/runs)", [](const httplib::Request&, httplib::Response& reply) {
        elsewhere++;
        reply.status = 201;
        reply.set_content(R"({"rank": 1})", "application/json");
    });
    server.Post(R"(/([a-z0-9-]+)/api/runs)",
                [](const httplib::Request& request, httplib::Response& reply) {
                    {
                        std::lock_guard<std::mutex> lock(mutex);
                        uploads++;
                        lastName = request.get_param_value("name");
                        lastKey = request.get_header_value("X-Player-Key");
                        lastBody = request.body;
                    }
                    Answer(request.matches[1], reply);
                });
    server.Get("/seen", [](const httplib::Request&, httplib::Response& reply) {
        std::lock_guard<std::mutex> lock(mutex);
        reply.set_content("uploads " + std::to_string(uploads) + " elsewhere " +
                              std::to_string(elsewhere.load()) + " name " + Hex(lastName) +
                              " key " + lastKey + " body " + Hex(lastBody),
                          "text/plain");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    if (port <= 0) {
        std::fprintf(stderr, "stand-in board: cannot listen on loopback\n");
        return 1;
    }
    std::printf("%d\n", port);
    std::fflush(stdout);
    std::thread serving([&server] { server.listen_after_bind(); });
    for (std::string line; std::getline(std::cin, line);) {}
    server.stop();
    serving.join();
    return 0;
}
