// ResolveShortcut, ShortPathOf/LongPathOf and the folder browser's seam.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "TestSupport.h"
#include "support/JCLPathes.h"
#include "support/JCLShortCuts.h"
#include "support/UcvCallExternal.h"

using namespace rz;
using rztest::MakeDir;
using rztest::TempDir;
using rztest::WriteFile;

namespace {

struct LinkFields {
    std::string target, arguments, workingDirectory, description, iconPath;
    int iconIndex = 0;
    WORD hotKey = 0;
};

// Writes a .lnk through the shell's own link object (the library's GUIDs,
// not the ones under test).
HRESULT SaveLinkWithCom(const std::string& linkPath, const LinkFields& f) {
    IShellLinkA* link = nullptr;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&link));
    if (FAILED(hr)) return hr;
    link->SetPath(f.target.c_str());
    link->SetArguments(f.arguments.c_str());
    link->SetWorkingDirectory(f.workingDirectory.c_str());
    link->SetDescription(f.description.c_str());
    link->SetIconLocation(f.iconPath.c_str(), f.iconIndex);
    link->SetHotkey(f.hotKey);
    IPersistFile* file = nullptr;
    hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(hr)) {
        wchar_t wide[MAX_PATH];
        ::MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
        hr = file->Save(wide, TRUE);
        file->Release();
    }
    link->Release();
    return hr;
}

// Leaves the thread without COM, as the code under test may find it.
HRESULT SaveLink(const std::string& linkPath, const LinkFields& f) {
    HRESULT init = ::CoInitialize(nullptr);
    HRESULT hr = SaveLinkWithCom(linkPath, f);
    if (SUCCEEDED(init)) ::CoUninitialize();
    return hr;
}

bool SamePath(const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) == 0; }

}  // namespace

// The caller has no COM set up: ResolveShortcut does its own.
TEST(ResolveShortcut, ReadsEveryFieldOfARealLink) {
    TempDir t;
    std::string target = t / "Target Program Name.exe";
    WriteFile(target, "MZ");
    LinkFields f;
    f.target = target;
    f.arguments = "-x \"two words\"";
    f.workingDirectory = t.Path().substr(0, t.Path().size() - 1);
    f.description = "A description";
    f.iconPath = target;
    f.iconIndex = 2;
    f.hotKey = MAKEWORD('K', HOTKEYF_CONTROL);
    ASSERT_HRESULT_SUCCEEDED(SaveLink(t / "my link.lnk", f));

    ShortcutInfo info;
    ASSERT_EQ(ResolveShortcut(t / "my link.lnk", info), S_OK);
    EXPECT_TRUE(SamePath(LongPathOf(info.target), target)) << info.target;
    EXPECT_EQ(info.arguments, f.arguments);
    EXPECT_TRUE(SamePath(info.workingDirectory, f.workingDirectory)) << info.workingDirectory;
    EXPECT_EQ(info.description, f.description);
    EXPECT_TRUE(SamePath(info.iconLocation, target)) << info.iconLocation;
    EXPECT_EQ(info.iconIndex, 2);
    // Wine keeps no show command in the saved file (it loads as 1): only
    // the normal value can be checked here.
    EXPECT_EQ(info.showCommand, SW_SHOWNORMAL);
    EXPECT_EQ(info.hotKey, f.hotKey);
    ASSERT_NE(info.idList, nullptr);
    char fromList[MAX_PATH] = "";
    ASSERT_TRUE(::SHGetPathFromIDListA(info.idList, fromList));
    EXPECT_TRUE(SamePath(fromList, target)) << fromList;

    // A second resolve into the same record replaces (and frees) the old list.
    ASSERT_EQ(ResolveShortcut(t / "my link.lnk", info), S_OK);
    EXPECT_NE(info.idList, nullptr);
}

TEST(ResolveShortcut, NonLinkFailsAndLeavesTheRecord) {
    TempDir t;
    WriteFile(t / "plain.lnk", "this is not a shell link");
    ShortcutInfo info;
    info.arguments = "untouched";
    info.iconIndex = 42;
    HRESULT hr = ResolveShortcut(t / "plain.lnk", info);
    EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
    EXPECT_TRUE(FAILED(ResolveShortcut(t / "missing.lnk", info)));
    EXPECT_EQ(info.arguments, "untouched");
    EXPECT_EQ(info.iconIndex, 42);
    EXPECT_TRUE(info.target.empty());
    EXPECT_EQ(info.idList, nullptr);
}

TEST(PathForms, ShortAndLongRoundTrip) {
    TempDir t;
    std::string dir = t / "Long Folder Name With Spaces\\";
    rztest::MakeDir(dir);
    std::string file = dir + "a rather long file name.text";
    WriteFile(file, "x");

    std::string shortDir = ShortPathOf(dir);
    ASSERT_FALSE(shortDir.empty());
    EXPECT_EQ(shortDir.back(), '\\') << "trailing backslash kept";
    EXPECT_EQ(shortDir.find(' '), std::string::npos) << shortDir;
    char longDir[MAX_PATH] = "";
    ASSERT_NE(::GetLongPathNameA(shortDir.c_str(), longDir, MAX_PATH), 0u);
    EXPECT_TRUE(SamePath(longDir, dir)) << longDir;

    std::string shortFile = ShortPathOf(file);
    ASSERT_FALSE(shortFile.empty());
    EXPECT_FALSE(SamePath(shortFile, file));
    EXPECT_TRUE(SamePath(LongPathOf(shortFile), file)) << LongPathOf(shortFile);
    EXPECT_TRUE(SamePath(LongPathOf(file), file));

    EXPECT_EQ(ShortPathOf(t / "missing.txt"), "");
    EXPECT_EQ(LongPathOf(""), "");
    EXPECT_EQ(LongPathOf(t / "missing.txt"), t / "missing.txt");
    EXPECT_EQ(LongPathOf("Q:\\no\\such.txt"), "Q:\\no\\such.txt");
}

namespace {

class BrowseHookTest : public ::testing::Test {
protected:
    void TearDown() override { ShowFolderBrowser.Restore(); }
};

}  // namespace

TEST_F(BrowseHookTest, DirectoryIsClearedWhenMissingAndSetOnlyWhenChosen) {
    TempDir t;
    MakeDir(t / "picked");
    std::string seenCaption, seenRoot, seenDirectory, choice = t / "picked";
    bool answer = false;
    ShowFolderBrowser.Replace([&](HWND, const std::string& caption, const std::string& root, std::string& dir) {
        seenCaption = caption;
        seenRoot = root;
        seenDirectory = dir;
        dir = choice;
        return answer;
    });

    std::string directory = t / "does not exist";
    EXPECT_EQ(BrowseForFolder(nullptr, "Caption", "C:\\", directory), FolderChoice::Cancelled);
    EXPECT_EQ(seenCaption, "Caption");
    EXPECT_EQ(seenRoot, "C:\\");
    EXPECT_EQ(seenDirectory, "") << "a missing directory is not preselected";
    EXPECT_EQ(directory, "") << "a cancelled browser leaves the cleared value";

    directory = t.Path();
    answer = true;
    EXPECT_EQ(BrowseForFolder(nullptr, "Caption", "", directory), FolderChoice::Folder);
    EXPECT_EQ(seenDirectory, t.Path());
    EXPECT_EQ(directory, t.Path() + "picked");

    // A typed path that names no folder comes back to be refused.
    choice = t / "typed.txt";
    WriteFile(choice, "");
    EXPECT_EQ(BrowseForFolder(nullptr, "Caption", "", directory), FolderChoice::NoFolder);
    EXPECT_EQ(directory, choice);
}

TEST(FolderBrowserField, ATypedPathWinsOverTheSelection) {
    struct Case {
        const char* typed;
        const char* shown;
        const char* chosen;
    } cases[] = {
        {"", "Docs", "C:\\Users\\Docs"},
        {"Docs", "Docs", "C:\\Users\\Docs"},
        {"docs", "My Documents", "C:\\Users\\Docs"},
        {"  D:\\Music  ", "Docs", "D:\\Music"},
        {"\"E:\\Quoted Path\"", "Docs", "E:\\Quoted Path"},
        {"\\\\server\\share", "Docs", "\\\\server\\share"},
        {"Sub\\Deeper", "Docs", "C:\\Users\\Docs\\Sub\\Deeper"},
        {"\\Root", "Docs", "C:\\Root"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TypedOrSelected("C:\\Users\\Docs", c.typed, c.shown), c.chosen) << "typed [" << c.typed << "]";
}
