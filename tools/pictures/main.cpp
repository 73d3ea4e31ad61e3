// make-pictures: draws every picture of the game from assets/pictures into a folder of BMP
// files, ready for the packer.
//
//   make-pictures <source folder> <output folder>

#include <cstdio>
#include <filesystem>

#include "platform/Files.h"
#include "tools/pictures/PictureSet.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-pictures <source folder> <output folder>\n");
        return 2;
    }
    std::vector<BuiltPicture> pictures;
    std::string error;
    if (!BuildPictures(argv[1], pictures, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::error_code failed;
    std::filesystem::create_directories(argv[2], failed);
    for (const BuiltPicture& picture : pictures) {
        std::string path = std::string(argv[2]) + "/" + picture.name;
        if (!ReplaceFile(path, picture.bmp.data(), picture.bmp.size())) {
            std::fprintf(stderr, "make-pictures: %s: cannot write\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
