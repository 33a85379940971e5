// The fingerprint that tells a store changed on disk from the one loaded:
// it sees every change the loader would read and none of what sync services
// and editors leave beside the files, and it knows a save under way.

#include <windows.h>

#include "StoreFixture.h"
#include "items/StoreFingerprint.h"
#include "platform/Handles.h"

using namespace rz;
using rztest::StoreTest;

TEST_F(StoreTest, TheFingerprintSeesWhatTheLoaderReadsAndNoSyncLeftovers) {
    WriteList("shortcuts.txt", "^Folder|Games\r\n^SpeSep|x\r\n");
    rztest::MakeDir(dir / "shortcuts\\Games");
    WriteList("Games\\shortcuts.txt", "^NorSep|\r\n");
    WriteList("app.bmp", "BM");
    Load();
    ASSERT_TRUE(store->onDisk.present);
    EXPECT_EQ(LookAtStore(dir.Path()).print, store->onDisk);

    // What is written below the store: "" makes a folder, null removes.
    const struct {
        const char* path;
        const char* bytes;
        bool counts;
    } cases[] = {
        {"app (PC2's conflicted copy 2024-05-01).bmp", "x", false},
        {"Games\\shortcuts-PC2.txt", "x", false},
        {"app.sync-conflict-20240501-101010-ABC.bmp", "x", false},
        {".~lock.shortcuts.txt#", "x", false},
        {"~$shortcuts.txt", "x", false},
        {"Games\\desktop.ini", "[.ShellClassInfo]", false},
        {"Games\\shortcuts.txt.tmp", "half", false},
        {".dropbox.cache", "", false},
        {".dropbox.cache\\shortcuts.txt", "x", false},
        {"shortcuts.txt", "^Folder|Games\r\n", true},
        {"Games\\shortcuts.txt", "^NorSep|\r\n^NorSep|\r\n", true},
        {"app.bmp", "BM..", true},
        {"New", "", true},
        {"Games", nullptr, true},
        {"", nullptr, true},
    };
    for (const auto& c : cases) {
        const StoreFingerprint before = LookAtStore(dir.Path()).print;
        const std::string path = dir / "shortcuts" + (*c.path ? "\\" + std::string(c.path) : "");
        if (!c.bytes) rztest::RemoveTree(path);
        else if (!*c.bytes) rztest::MakeDir(path);
        else rztest::WriteFile(path, c.bytes);
        EXPECT_EQ(LookAtStore(dir.Path()).print != before, c.counts) << c.path;
    }
    EXPECT_FALSE(LookAtStore(dir.Path()).print.present);
}

TEST_F(StoreTest, ABackupFolderOrAListOpenForWritingIsASaveUnderWay) {
    WriteList("shortcuts.txt", "^SpeSep|x\r\n");
    rztest::MakeDir(dir / "shortcuts\\Sub");
    WriteList("Sub\\shortcuts.txt", "^NorSep|\r\n");
    EXPECT_FALSE(LookAtStore(dir.Path(), true).saving);
    {
        // A writer that lets others read: what they read may be half of it.
        unique_handle_kernel writer =
            OwnedFile(::CreateFileA((dir / "shortcuts\\Sub\\shortcuts.txt").c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(writer) << ::GetLastError();
        EXPECT_TRUE(LookAtStore(dir.Path(), true).saving);
        EXPECT_FALSE(LookAtStore(dir.Path()).saving) << "writers asked for unasked";
    }
    // A reader is no writer.
    unique_handle_kernel reader = OwnedFile(::CreateFileA((dir / "shortcuts\\shortcuts.txt").c_str(), GENERIC_READ,
                                                          FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    EXPECT_FALSE(LookAtStore(dir.Path(), true).saving);
    rztest::MakeDir(dir / "item_bak");
    EXPECT_TRUE(LookAtStore(dir.Path()).saving);
}
