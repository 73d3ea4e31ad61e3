// korimo-pack: builds, lists and unpacks the game's resource archive.
//
//   korimo-pack pack <folder>... <base>       packs the folders' files into <base>.set/.dat
//   korimo-pack list <base>                   prints name, offset and size of every entry
//   korimo-pack extract <base> <folder> [name] writes one entry, or all, into the folder

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/pack/Packer.h"

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: korimo-pack pack <folder>... <base>\n"
                         "       korimo-pack list <base>\n"
                         "       korimo-pack extract <base> <folder> [name]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return Usage();
    const char* command = argv[1];
    std::string error;
    bool done;
    if (std::strcmp(command, "pack") == 0 && argc >= 4) {
        std::vector<std::string> folders(argv + 2, argv + argc - 1);
        done = PackFolders(folders, argv[argc - 1], error);
    } else if (std::strcmp(command, "list") == 0 && argc == 3) {
        done = ListArchive(argv[2], stdout, error);
    } else if (std::strcmp(command, "extract") == 0 && (argc == 4 || argc == 5)) {
        done = ExtractArchive(argv[2], argv[3], argc == 5 ? argv[4] : "", error);
    } else {
        return Usage();
    }
    if (!done) {
        std::fprintf(stderr, "korimo-pack: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
