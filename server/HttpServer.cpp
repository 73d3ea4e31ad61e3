#include "server/HttpServer.h"

#include <httplib.h>

#include <atomic>

namespace board {

namespace {

std::atomic<httplib::Server*> running{nullptr};

void Send(httplib::Response& response, const Reply& reply)
{
    response.status = reply.status;
    if (reply.retryAfter > 0)
        response.set_header("Retry-After", std::to_string(reply.retryAfter));
    if (!reply.contentType.empty())
        response.set_content(reply.body, reply.contentType.c_str());
}

}  // namespace

bool ServeBoard(Board& board, const std::string& host, int port, int threads,
                const std::string& webFolder, std::string& error)
{
    httplib::Server server;
    // Uploads waiting for a worker hold a thread each; the others answer listings meanwhile.
    server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    // Bodies over the board's limit are read only this far, to answer 413 in JSON.
    server.set_payload_max_length(4 * kMaxUploadBytes);
    server.set_read_timeout(10);
    server.set_write_timeout(10);
    server.set_keep_alive_timeout(5);

    server.Post("/api/runs", [&](const httplib::Request& request, httplib::Response& response) {
        Send(response, board.Post({request.remote_addr, request.get_param_value("name"),
                                   request.get_header_value("X-Player-Key"), request.body}));
    });
    server.Get("/api/top", [&](const httplib::Request& request, httplib::Response& response) {
        Send(response,
             board.Top(request.get_param_value("length"), request.get_param_value("limit")));
    });
    server.Get(R"(/api/runs/([^/]+))",
               [&](const httplib::Request& request, httplib::Response& response) {
                   Send(response, board.Run(request.matches[1].str()));
               });
    server.Delete(
        R"(/api/runs/([^/]+))", [&](const httplib::Request& request, httplib::Response& response) {
            Send(response,
                 board.Remove(request.matches[1].str(), request.get_header_value("Authorization")));
        });
    server.Get(R"(/runs/([0-9]+)\.krp)",
               [&](const httplib::Request& request, httplib::Response& response) {
                   Send(response, board.ReplayFile(request.matches[1].str()));
               });
    server.Get("/healthz", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("ok", "text/plain");
    });
    server.Get("/", [&](const httplib::Request&, httplib::Response& response) {
        Send(response, board.Page());
    });
    if (!webFolder.empty() && !server.set_mount_point("/play", webFolder)) {
        error = "the browser build folder " + webFolder + " cannot be served";
        return false;
    }
    // Whatever httplib refuses by itself (no such path, a body far too large) answers in the
    // interface's own form too.
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (!response.body.empty())
            return;
        const char* sentence = response.status == 404 ? "There is nothing at this address."
                               : response.status == 413
                                   ? "The replay file is larger than the board takes (64 KiB)."
                                   : "The board could not handle this request.";
        Send(response, Refusal(response.status, sentence));
    });
    server.set_exception_handler(
        [](const httplib::Request&, httplib::Response& response, std::exception_ptr failure) {
            std::string what = "unknown";
            try {
                std::rethrow_exception(failure);
            } catch (const std::exception& e) {
                what = e.what();
            } catch (...) {
            }
            std::fprintf(stderr, "korimo-board: %s\n", what.c_str());
            Send(response, Refusal(500, "The board failed to handle this request."));
        });

    if (!server.bind_to_port(host, port)) {
        error = "cannot listen on " + host + ":" + std::to_string(port);
        return false;
    }
    running = &server;
    std::printf("korimo-board: serving on http://%s:%d/\n", host.c_str(), port);
    std::fflush(stdout);
    server.listen_after_bind();
    running = nullptr;
    return true;
}

void StopServing()
{
    if (httplib::Server* server = running.load())
        server->stop();
}

}  // namespace board
