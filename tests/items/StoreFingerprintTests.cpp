// The fingerprint that tells a store changed on disk from the one loaded:
// it sees every change the loader would read and none of what sync services
// and editors leave beside the files, and it knows a save under way.

#include <windows.h>

#include <functional>

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

    const std::string s = dir / "shortcuts\\";
    struct Case {
        const char* what;
        std::function<void()> change;
        bool counts;
    };
    const Case cases[] = {
        {"a conflicted copy", [&] { rztest::WriteFile(s + "shortcuts (PC2's conflicted copy 2024-05-01).txt", "x"); },
         false},
        {"another computer's copy", [&] { rztest::WriteFile(s + "Games\\shortcuts-PC2.txt", "x"); }, false},
        {"a Syncthing conflict", [&] { rztest::WriteFile(s + "app.sync-conflict-20240501-101010-ABC.bmp", "x"); },
         false},
        {"an office lock", [&] { rztest::WriteFile(s + ".~lock.shortcuts.txt#", "x"); }, false},
        {"an owner file", [&] { rztest::WriteFile(s + "~$shortcuts.txt", "x"); }, false},
        {"desktop.ini", [&] { rztest::WriteFile(s + "Games\\desktop.ini", "[.ShellClassInfo]"); }, false},
        {"a temporary file", [&] { rztest::WriteFile(s + "Games\\shortcuts.txt.tmp", "half"); }, false},
        {"a sync service's folder",
         [&] {
             rztest::MakeDir(s + ".dropbox.cache");
             rztest::WriteFile(s + ".dropbox.cache\\shortcuts.txt", "x");
         },
         false},
        {"a list edited", [&] { rztest::WriteFile(s + "shortcuts.txt", "^Folder|Games\r\n"); }, true},
        {"a list edited below", [&] { rztest::WriteFile(s + "Games\\shortcuts.txt", "^NorSep|\r\n^NorSep|\r\n"); },
         true},
        {"a picture replaced", [&] { rztest::WriteFile(s + "app.bmp", "BM.."); }, true},
        {"a folder added", [&] { rztest::MakeDir(s + "New"); }, true},
        {"a folder removed", [&] { rztest::RemoveTree(s + "Games"); }, true},
        {"the store removed", [&] { rztest::RemoveTree(dir / "shortcuts"); }, true},
    };
    for (const Case& c : cases) {
        const StoreFingerprint before = LookAtStore(dir.Path()).print;
        c.change();
        EXPECT_EQ(LookAtStore(dir.Path()).print != before, c.counts) << c.what;
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
