// make-pictures: draws every picture of the game from assets/pictures into a folder of BMP
// files, ready for the packer; or the desktop icons, in the folders of the hicolor theme.
//
//   make-pictures <source folder> <output folder>
//   make-pictures --icons <source folder> <output folder>   <output>/NxN/apps/korimo-shooting.png
//   make-pictures --windows-icon <source folder> <file.ico>   every size in one Windows icon

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/Files.h"
#include "tools/pictures/Ico.h"
#include "tools/pictures/Icons.h"
#include "tools/pictures/PictureSet.h"
#include "tools/pictures/Png.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::error_code failed;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), failed);
    if (bytes.empty() || !ReplaceFile(path, bytes.data(), bytes.size())) {
        std::fprintf(stderr, "make-pictures: %s: cannot write\n", path.c_str());
        return false;
    }
    return true;
}

int DrawIcons(const char* sourceFolder, const std::string& outputFolder)
{
    Sources sources;
    std::string error;
    if (!sources.Load(sourceFolder, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    for (int size : IconSizes()) {
        const std::vector<unsigned char> png = EncodePng(BuildIcon(sources, size));
        for (const std::string& problem : sources.problems)
            std::fprintf(stderr, "%s\n", problem.c_str());
        if (!sources.problems.empty())
            return 1;
        const std::string square = std::to_string(size) + "x" + std::to_string(size);
        if (!WriteFile(outputFolder + "/" + square + "/apps/korimo-shooting.png", png))
            return 1;
    }
    return 0;
}

int DrawWindowsIcon(const char* sourceFolder, const std::string& file)
{
    Sources sources;
    std::string error;
    if (!sources.Load(sourceFolder, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::vector<IcoImage> images;
    for (int size : IconSizes())
        images.push_back({size, EncodePng(BuildIcon(sources, size))});
    for (const std::string& problem : sources.problems)
        std::fprintf(stderr, "%s\n", problem.c_str());
    if (!sources.problems.empty())
        return 1;
    return WriteFile(file, PackIco(images)) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && !std::strcmp(argv[1], "--icons"))
        return DrawIcons(argv[2], argv[3]);
    if (argc == 4 && !std::strcmp(argv[1], "--windows-icon"))
        return DrawWindowsIcon(argv[2], argv[3]);
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: make-pictures [--icons | --windows-icon] <source folder> <output>\n");
        return 2;
    }
    std::vector<BuiltPicture> pictures;
    std::string error;
    if (!BuildPictures(argv[1], pictures, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    for (const BuiltPicture& picture : pictures)
        if (!WriteFile(std::string(argv[2]) + "/" + picture.name, picture.bmp))
            return 1;
    return 0;
}
