#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "TestSupport.h"
#include "platform/Handles.h"
#include "support/UcvSysIO.h"

using namespace rz;
using rztest::DirExists;
using rztest::MakeDir;
using rztest::TempDir;
using rztest::WriteFile;

namespace {

// root\f1.txt, root\f2.dat, root\sub\f3.txt, root\sub\deep\f4.txt (hidden)
std::string MakeSampleTree(const TempDir& t) {
    std::string root = t / "root\\";
    MakeDir(root);
    MakeDir(root + "sub");
    MakeDir(root + "sub\\deep");
    WriteFile(root + "f1.txt", "1");
    WriteFile(root + "f2.dat", "2");
    WriteFile(root + "sub\\f3.txt", "3");
    WriteFile(root + "sub\\deep\\f4.txt", "4");
    ::SetFileAttributesA((root + "sub\\deep\\f4.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    return root;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

bool IsEmptyDir(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    unique_hfind find = MakeFindHandle(::FindFirstFileA((dir + "*").c_str(), &fd));
    if (!find) return false;
    do {
        std::string name = fd.cFileName;
        if (name != "." && name != "..") return false;
    } while (::FindNextFileA(find.get(), &fd));
    return true;
}

}  // namespace

TEST(ProcessFolder, ListsAndCountsWithoutDeleting) {
    TempDir t;
    std::string root = MakeSampleTree(t);
    std::vector<std::string> dirs, files;

    ProcessFolderOptions o;
    o.folder = root;
    o.recurse = true;
    o.directoryList = &dirs;
    o.fileList = &files;
    EXPECT_EQ(ProcessFolder(o), 0);
    EXPECT_EQ(o.filesFound, 4);
    EXPECT_EQ(o.filesDeleted, 0);
    EXPECT_EQ(Sorted(dirs), (std::vector<std::string>{root + "sub\\", root + "sub\\deep\\"}));
    EXPECT_EQ(Sorted(files), (std::vector<std::string>{root + "f1.txt", root + "f2.dat", root + "sub\\deep\\f4.txt",
                                                       root + "sub\\f3.txt"}));

    // Not recursing, names only; the counters start again from zero.
    dirs.clear();
    files.clear();
    o.recurse = false;
    o.namesOnly = true;
    EXPECT_EQ(ProcessFolder(o), 0);
    EXPECT_EQ(o.filesFound, 2);
    EXPECT_EQ(Sorted(files), (std::vector<std::string>{"f1.txt", "f2.dat"}));
    EXPECT_EQ(dirs, std::vector<std::string>{root + "sub\\"});

    files.clear();
    o.mask = "*.txt";
    o.directoryList = nullptr;
    ProcessFolder(o);
    EXPECT_EQ(files, std::vector<std::string>{"f1.txt"});
    EXPECT_TRUE(rztest::FileExists(root + "sub\\deep\\f4.txt"));
}

TEST(ProcessFolder, DeletesEverythingAndRecreatesTheTopFolder) {
    TempDir t;
    std::string root = MakeSampleTree(t);
    ProcessFolderOptions o;
    o.folder = root;
    o.recurse = true;
    o.deleteFiles = true;
    o.removeFolders = true;
    EXPECT_EQ(ProcessFolder(o), 0);
    EXPECT_EQ(o.filesFound, 4);
    EXPECT_EQ(o.filesDeleted, 4);
    EXPECT_TRUE(DirExists(root));
    EXPECT_TRUE(IsEmptyDir(root));
}

TEST(ProcessFolder, ContinueTestStopsAtOnce) {
    TempDir t;
    std::string root = MakeSampleTree(t);
    int calls = 0;
    ProcessFolderOptions o;
    o.folder = root;
    o.recurse = true;
    o.deleteFiles = true;
    o.removeFolders = true;
    o.continueTest = [&] {
        ++calls;
        return false;
    };
    EXPECT_EQ(ProcessFolder(o), 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(o.filesFound, 0);
    EXPECT_EQ(o.filesDeleted, 0);
    EXPECT_TRUE(rztest::FileExists(root + "f1.txt"));
    EXPECT_TRUE(rztest::FileExists(root + "sub\\deep\\f4.txt"));
}

TEST(ProcessFolder, ExceptionFromContinueTestCountsOnceAndFollowsIgnoreErrors) {
    TempDir t;
    std::string root = MakeSampleTree(t);
    ProcessFolderOptions o;
    o.folder = root;
    o.continueTest = []() -> bool { throw std::runtime_error("stop"); };
    EXPECT_THROW(ProcessFolder(o), std::runtime_error);
    o.ignoreErrors = true;
    EXPECT_EQ(ProcessFolder(o), 1);
}

TEST(DeleteFolderTree, RemovesNestedFolders) {
    TempDir t;
    std::string root = MakeSampleTree(t);
    MakeDir(root + "sub\\empty");
    WriteFile(t / "sibling.txt", "stays");
    DeleteFolderTree(root.substr(0, root.size() - 1));
    EXPECT_FALSE(DirExists(root));
    EXPECT_TRUE(rztest::FileExists(t / "sibling.txt"));
    EXPECT_TRUE(DirExists(t.Path()));
}

TEST(DeleteFolderTree, MissingFolderChangesNothing) {
    TempDir t;
    WriteFile(t / "other.txt", "x");
    DeleteFolderTree(t / "missing");
    DeleteFolderTree(t / "missing\\deeper");
    EXPECT_FALSE(DirExists(t / "missing"));
    EXPECT_TRUE(rztest::FileExists(t / "other.txt"));
}

TEST(DeleteFolderTree, SkipsFilesItCannotDeleteAndKeepsTheirFolders) {
    TempDir t;
    std::string root = t / "root\\";
    MakeDir(root);
    MakeDir(root + "keep");
    MakeDir(root + "gone");
    WriteFile(root + "keep\\locked.txt", "held");
    WriteFile(root + "gone\\free.txt", "free");
    unique_handle_kernel held(::CreateFileA((root + "keep\\locked.txt").c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);

    // A refused plain delete is no failure and still counts as deleted.
    ProcessFolderOptions o;
    o.folder = root + "keep\\";
    o.deleteFiles = true;
    EXPECT_EQ(ProcessFolder(o), 0);
    EXPECT_EQ(o.filesDeleted, 1);

    DeleteFolderTree(root.substr(0, root.size() - 1));
    EXPECT_TRUE(rztest::FileExists(root + "keep\\locked.txt"));
    EXPECT_TRUE(DirExists(root + "keep"));
    EXPECT_FALSE(DirExists(root + "gone"));
    held.reset();

    // Once the file is free, the same call removes the rest.
    DeleteFolderTree(root.substr(0, root.size() - 1));
    EXPECT_FALSE(DirExists(root));
}

TEST(DeleteFolderTree, FolderLinksAreNeverFollowed) {
    TempDir t;
    // Two link targets outside the deleted folder: one with content, one empty
    // (an empty target is what a followed removal would take away).
    MakeDir(t / "outside");
    MakeDir(t / "outside\\full");
    WriteFile(t / "outside\\full\\keep.txt", "keep");
    MakeDir(t / "outside\\empty");
    MakeDir(t / "doomed");
    WriteFile(t / "doomed\\file.txt", "x");
    rztest::FolderLink full(t / "doomed\\full", t / "outside\\full");
    rztest::FolderLink empty(t / "doomed\\empty", t / "outside\\empty");
    if (!full.Made() || !empty.Made()) GTEST_SKIP() << "no folder links can be made here";

    DeleteFolderTree(t / "doomed");
    EXPECT_EQ(rztest::ReadFile(t / "outside\\full\\keep.txt"), "keep");
    EXPECT_TRUE(DirExists(t / "outside\\empty"));
    EXPECT_FALSE(rztest::FileExists(t / "doomed\\file.txt"));
    // Where the platform removes a link as a link, the folder is gone; where it
    // only follows links (Wine), the links stay, unfollowed, and keep it.
    for (const char* link : {"doomed\\full", "doomed\\empty"}) {
        DWORD a = ::GetFileAttributesA((t / link).c_str());
        EXPECT_TRUE(a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_REPARSE_POINT)) << link;
    }

    // A link handed over as the folder itself is no folder to empty either.
    rztest::FolderLink top(t / "toplink", t / "outside\\full");
    ASSERT_TRUE(top.Made());
    DeleteFolderTree(t / "toplink");
    EXPECT_EQ(rztest::ReadFile(t / "outside\\full\\keep.txt"), "keep");
    EXPECT_FALSE(RemoveFolderLink(t / "outside\\full")) << "a plain folder is no link";
    EXPECT_TRUE(DirExists(t / "outside\\full"));
}
