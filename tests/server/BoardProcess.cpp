#include "tests/server/BoardProcess.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

// A port the kernel has just handed out and taken back: free unless another test grabs it in
// the moment between.
int FreePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
}

}  // namespace

BoardProcess::BoardProcess(std::vector<std::string> arguments, const std::string& scratch)
    : port(FreePort())
{
    arguments.insert(arguments.begin(),
                     {BoardProgram(), "--listen", "127.0.0.1:" + std::to_string(port)});
    pid = fork();
    if (pid == 0) {
        if (!scratch.empty())
            setenv("TMPDIR", scratch.c_str(), 1);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    for (int i = 0; i < 200; ++i) {
        if (Healthy())
            return;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            std::fprintf(stderr, "korimo-board exited at start with status %d\n", status);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::fprintf(stderr, "korimo-board did not answer /healthz\n");
    Stop(SIGKILL);
}

BoardProcess::~BoardProcess()
{
    if (pid > 0)
        Stop(SIGTERM);
}

int BoardProcess::Stop(int signal)
{
    if (pid <= 0)
        return -1;
    kill(pid, signal);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
    return status;
}

bool BoardProcess::Healthy()
{
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(1);
    const httplib::Result result = client.Get("/healthz");
    return result && result->status == 200 && result->body == "ok";
}

std::unique_ptr<httplib::Client> BoardProcess::Client() const
{
    auto client = std::make_unique<httplib::Client>("127.0.0.1", port);
    client->set_read_timeout(60);
    return client;
}

std::string BoardProgram()
{
    return KORIMO_RUN_DIR "/korimo-board";
}

std::string GameProgram()
{
    return KORIMO_RUN_DIR "/korimo";
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string GoldenReplay()
{
    return ReadFile(KORIMO_SOURCE_DIR "/tests/data/golden-one-minute.krp");
}

std::string FreshFolder(const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::current_path() / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    return folder.string();
}

std::string StandInVerifier(const std::string& folder, const std::string& name,
                            const std::string& body)
{
    const std::string path = folder + "/" + name;
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path;
}

std::string PlayerKey(int seed)
{
    char key[65];
    for (int i = 0; i < 64; ++i)
        key[i] = "0123456789abcdef"[(seed * 7 + i * 13) % 16];
    key[64] = 0;
    return key;
}

httplib::Result Upload(httplib::Client& client, const std::string& name, const std::string& key,
                       const std::string& body)
{
    httplib::Headers headers;
    if (!key.empty())
        headers.emplace("X-Player-Key", key);
    return client.Post(("/api/runs?name=" + httplib::detail::encode_query_param(name)).c_str(),
                       headers, body, "application/octet-stream");
}
