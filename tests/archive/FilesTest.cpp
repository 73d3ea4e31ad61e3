#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "platform/Files.h"

namespace {

namespace fs = std::filesystem;

class FilesTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "korimo-files-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string PathOf(const char* name) const { return (folder / name).string(); }
    static void Write(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path folder;
};

TEST_F(FilesTest, MapsAWholeFileReadOnly)
{
    Write(PathOf("a.bin"), "mapped bytes");
    MappedFile file(PathOf("a.bin"));
    ASSERT_TRUE(file.isOpen()) << file.error();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data()), file.size()), "mapped bytes");

    // Moving hands the mapping over; the moved-from file is empty.
    MappedFile moved = std::move(file);
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(moved.data()), moved.size()),
              "mapped bytes");
}

TEST_F(FilesTest, AnEmptyFileMapsAsNothingButIsOpen)
{
    Write(PathOf("empty"), "");
    MappedFile file(PathOf("empty"));
    EXPECT_TRUE(file.isOpen());
    EXPECT_EQ(file.size(), 0u);
    EXPECT_EQ(file.error(), "");
}

TEST_F(FilesTest, AFileThatCannotBeMappedSaysWhichAndWhy)
{
    MappedFile missing(PathOf("korimo.set"));
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(missing.data(), nullptr);
    EXPECT_EQ(missing.size(), 0u);
    EXPECT_EQ(missing.error(), PathOf("korimo.set") + ": No such file or directory");

    MappedFile folderFile(folder.string());
    EXPECT_FALSE(folderFile.isOpen());
    EXPECT_EQ(folderFile.error(), folder.string() + ": not a regular file");
}

TEST_F(FilesTest, CreateNewFileReservesANameOnce)
{
    EXPECT_TRUE(CreateNewFile(PathOf("Snap0000.bmp")));
    EXPECT_TRUE(fs::exists(PathOf("Snap0000.bmp")));
    EXPECT_FALSE(CreateNewFile(PathOf("Snap0000.bmp")));

    Write(PathOf("Snap0001.bmp"), "taken");
    EXPECT_FALSE(CreateNewFile(PathOf("Snap0001.bmp")));
    EXPECT_EQ(Read(PathOf("Snap0001.bmp")), "taken");

    EXPECT_FALSE(CreateNewFile(PathOf("no-such-folder/Snap0000.bmp")));
}

}  // namespace
