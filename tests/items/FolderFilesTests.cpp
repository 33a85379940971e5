// The listing the loader asks instead of the file system must answer as the
// file system does, or a picture would be found by one and not the other.

#include <gtest/gtest.h>

#include <windows.h>

#include "TestSupport.h"
#include "items/FolderFiles.h"
#include "support/UcvSysIO.h"

TEST(FolderFiles, AnswersAsTheFileSystemDoes) {
    rztest::TempDir dir;
    const std::string folder = dir / "level\\";
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    rztest::WriteFile(folder + "Tool.bmp", "x");
    rztest::WriteFile(folder + "a long picture name.bmp", "x");
    ASSERT_TRUE(::CreateDirectoryA((folder + "folder.bmp").c_str(), nullptr));
    char shortName[MAX_PATH] = {};
    ::GetShortPathNameA((folder + "a long picture name.bmp").c_str(), shortName, MAX_PATH);
    const std::string shortPart = std::string(shortName).substr(std::string(shortName).find_last_of('\\') + 1);

    rz::FolderFiles files(folder);
    for (const std::string& name : {std::string("Tool.bmp"), std::string("TOOL.BMP"), std::string("tool.bmp."),
                                    std::string("folder.bmp"), std::string("missing.bmp"), shortPart}) {
        EXPECT_EQ(files.Has(name), rz::FileExists(folder + name)) << name;
    }
    EXPECT_TRUE(files.Has("tool.BMP"));
    EXPECT_FALSE(files.Has("folder.bmp"));
}
