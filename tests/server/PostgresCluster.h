#pragma once
// A throwaway PostgreSQL cluster for the board's tests and its load benchmark: made in a
// temporary folder with initdb and pg_ctl, run by an unprivileged user when this process is
// root (PostgreSQL refuses root), listening on a unix socket in that folder only, and removed
// with its folder.

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace postgres_cluster {
namespace fs = std::filesystem;
// Debian's PostgreSQL server programs, or "" when none is installed.
inline std::string PostgresBin()
{
    for (int version = 20; version >= 13; --version) {
        const std::string bin = "/usr/lib/postgresql/" + std::to_string(version) + "/bin";
        if (fs::exists(bin + "/initdb"))
            return bin;
    }
    return "";
}

class Cluster {
public:
    explicit Cluster(const std::string& bin) : bin(bin)
    {
        char pattern[] = "/tmp/korimo-board-pg-XXXXXX";
        folder = mkdtemp(pattern);
        if (geteuid() == 0) {
            const passwd* nobody = getpwnam("nobody");
            if (!nobody || chown(folder.c_str(), nobody->pw_uid, nobody->pw_gid) != 0)
                return;
            as = "runuser -u nobody -- ";
        }
        ready = Run(bin + "/initdb -D " + folder + "/data -A trust -U board --no-sync") &&
                Run(bin + "/pg_ctl -D " + folder + "/data -l " + folder + "/log -w -o \"-k " +
                    folder + " -c listen_addresses='' -c fsync=off\" start");
    }
    ~Cluster()
    {
        if (ready)
            Run(bin + "/pg_ctl -D " + folder + "/data -m immediate -w stop");
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    std::string Url() const { return "postgresql:///postgres?host=" + folder + "&user=board"; }

    bool ready = false;

private:
    bool Run(const std::string& command) const
    {
        return std::system((as + command + " >>" + folder + "/setup.log 2>&1").c_str()) == 0;
    }

    std::string bin, folder, as;
};

}  // namespace postgres_cluster

using postgres_cluster::Cluster;
using postgres_cluster::PostgresBin;
