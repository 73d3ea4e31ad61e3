#pragma once
// A korimo-board started by a test as a real process on a loopback port of its own, with the
// board's own command line, and the HTTP client that talks to it.

#include <httplib.h>
#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

class BoardProcess {
public:
    // Starts the built korimo-board with arguments (--listen is added) and waits until it
    // answers /healthz; when it never does, it is not Running (and says why on standard
    // error). Used by the tests and the load benchmark alike. The board makes its scratch folders
    // in scratch when it is given.
    explicit BoardProcess(std::vector<std::string> arguments, const std::string& scratch = "");
    ~BoardProcess();
    BoardProcess(const BoardProcess&) = delete;
    BoardProcess& operator=(const BoardProcess&) = delete;

    // Sends the signal and waits for the process; its exit status as waitpid gives it.
    pid_t Pid() const { return pid; }
    int Stop(int signal);
    bool Running() const { return pid > 0; }
    bool Healthy();
    // A new client each time, so that a test can use several threads.
    std::unique_ptr<httplib::Client> Client() const;

    int port = 0;

private:
    pid_t pid = -1;
};

// The board, the game and the test data as the build lays them out.
std::string BoardProgram();
std::string GameProgram();
std::string ReadFile(const std::string& path);
std::string GoldenReplay();
// A fresh private folder under the test's run folder, emptied first.
std::string FreshFolder(const std::string& name);
// A stand-in verifier: a shell script with the given body, made executable.
std::string StandInVerifier(const std::string& folder, const std::string& name,
                            const std::string& body);
// A player key of 64 hexadecimal digits made from a seed.
std::string PlayerKey(int seed);

// POST /api/runs with the body, name and key; the response (nullptr when no answer came).
httplib::Result Upload(httplib::Client& client, const std::string& name, const std::string& key,
                       const std::string& body);
