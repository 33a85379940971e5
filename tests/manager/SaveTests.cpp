// Saving the item store from the item manager: the backup folder around the
// rewrite, refusals, Undo and Close after a save, and an interrupted save.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/AppFixture.h"
#include "core/ErrorLog.h"
#include "core/Launching.h"
#include "items/ListFile.h"
#include "items/StoreFingerprint.h"
#include "menu/form_general.h"
#include "platform/Bitmap.h"
#include "platform/FileIO.h"
#include "platform/SystemError.h"
#include "platform/Handles.h"
#include "support/JCLPathes.h"
#include "support/UcvSysIO.h"

using namespace rz;

namespace {

const char kGames[] = "^NorSep|\r\n^UnkLnk|C:\\docs\\chess.txt|txt|Chess\r\n";
const char kLocked[] = "Save unsuccesful! Possibly \"locked\" files (e.g. a file opened by another program)";

// A disk that takes budget bytes in all and then is full: the file that
// crosses the limit keeps what fitted.
auto FullAfter(size_t budget) {
    return [budget](const std::string& path, const std::string& bytes) mutable {
        const size_t fits = std::min(budget, bytes.size());
        budget -= fits;
        if (fits == bytes.size()) return WriteWholeFile.Real(path, bytes);
        WriteWholeFile.Real(path, bytes.substr(0, fits));
        ::SetLastError(ERROR_DISK_FULL);
        return false;
    };
}

std::string WindowsFile(const std::string& name) {
    char buffer[MAX_PATH] = {};
    UINT n = ::GetWindowsDirectoryA(buffer, sizeof(buffer));
    return std::string(buffer, n) + "\\" + name;
}

// Every entry with all the fields the undo copy has to keep.
std::string DumpTree(const TTreeNode* first, int depth = 0) {
    std::string out;
    for (const TTreeNode* n = first; n; n = n->GetNextSibling()) {
        out += std::string(depth, ' ') + n->Text() + " [" + std::to_string(n->ImageIndex()) + "/" +
               std::to_string(n->SelectedIndex()) + "/" + std::to_string(n->StateIndex()) + "] #" +
               std::to_string(n->ItemId) + "\n";
        out += DumpTree(n->GetFirstChild(), depth + 1);
    }
    return out;
}

// Captions and item ids only: a reload renumbers the type icons.
std::string DumpTexts(const TTreeNode* first, int depth = 0) {
    std::string out;
    for (const TTreeNode* n = first; n; n = n->GetNextSibling()) {
        out += std::string(depth, ' ') + n->Text() + " #" + std::to_string(n->ItemId) + "\n";
        out += DumpTexts(n->GetFirstChild(), depth + 1);
    }
    return out;
}

// Relative path -> content ("<dir>" for folders) of everything below folder.
void Snapshot(const std::string& folder, const std::string& rel, std::map<std::string, std::string>& out) {
    WIN32_FIND_DATAA fd;
    unique_hfind find(::FindFirstFileA((folder + rel + "*").c_str(), &fd));
    if (find.get() == INVALID_HANDLE_VALUE) {
        find.release();
        return;
    }
    do {
        std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[rel + name + "\\"] = "<dir>";
            Snapshot(folder, rel + name + "\\", out);
        } else {
            out[rel + name] = rztest::ReadFile(folder + rel + name);
        }
    } while (::FindNextFileA(find.get(), &fd));
}

std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> out;
    Snapshot(folder, "", out);
    return out;
}

// A file held open the way another program would hold it.
unique_handle_kernel HoldFile(const std::string& path) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    return unique_handle_kernel(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// A folder held open without delete sharing, so it cannot be renamed.
unique_handle_kernel HoldFolder(const std::string& path) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return unique_handle_kernel(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

class SaveTest : public rztest::AppTest {
protected:
    void SetUp() override {
        rztest::AppTest::SetUp();
        PlayWaveFile.Replace([this](const std::string& file) {
            sounds.push_back(file);
            return true;
        });
        top = "^SpeSep|Tools\r\n^ExeLnk|" + dir.Path() + "a.exe||a.bmp|A\r\n^Folder|Games\r\n" +
              "^UnkLnk|C:\\docs\\report.doc|doc|Report\r\n";
        rztest::WriteFile(dir / "a.exe", "");
        WriteStore("shortcuts", top);
        WriteStore("shortcuts\\Games", kGames);
        TBitmap picture(16, 16);
        ASSERT_TRUE(picture.SaveToFile(dir / "shortcuts\\a.bmp"));
    }
    void TearDown() override {
        RenameFolder.Restore();
        WriteWholeFile.Restore();
        PlayWaveFile.Restore();
        rztest::AppTest::TearDown();
    }

    void Start() {
        StartUp();
        ASSERT_FALSE(Application.Terminated());
        loadedTree = Tree();
        loadedCaptions = TopCaptions();
        ASSERT_EQ(loadedCaptions, (std::vector<std::string>{"Tools", "A", "Games", "Report"}));
    }
    void Save() { FormItems().BitBtnSaveClick(&FormItems().BitBtnSave); }

    std::string Tree() const { return DumpTree(FormItems().TVItems.GetFirstNode()); }
    std::string Undo() const { return DumpTree(FormItems().TVUndo.GetFirstNode()); }
    std::string Status() const { return FormItems().StatusBarHelp.PanelText(); }
    std::string Text(const std::string& rel) const { return rztest::ReadFile(dir / rel); }

    TTreeNode* TopEntry(const std::string& text) const {
        for (TTreeNode* n = FormItems().TVItems.GetFirstNode(); n; n = n->GetNextSibling())
            if (n->Text() == text) return n;
        return nullptr;
    }
    void DeleteTopEntry(const std::string& text) {
        TTreeNode* n = TopEntry(text);
        ASSERT_NE(n, nullptr) << text;
        FormItems().TVItems.Delete(n);
    }
    TTreeNode* InsertSeparator(TTreeNode* before, const std::string& title) {
        TTreeNode* n = FormItems().TVItems.Insert(before, "--" + title + "--");
        n->SetImageIndex(kIconSpeSep);
        n->SetSelectedIndex(kIconSpeSep);
        return n;
    }
    // What the manager does when it adds a file with an icon of its own.
    void AppendManagerIcon() {
        HICON icon = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
        FormItems().ILAllPublicPM.AddIcon(icon);
        FormItems().ILAllPublicTV.AddIcon(icon);
        ++FormItems().TVItems.Tag;
    }
    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::string all = rztest::FileExists(dir / "errorlog.txt") ? Text("errorlog.txt") : "";
        size_t start = 0, end;
        while ((end = all.find("\r\n", start)) != std::string::npos) {
            lines.push_back(all.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }
    bool BoxShown(const std::string& text) const {
        for (const auto& b : boxes)
            if (b.text == text) return true;
        return false;
    }

    // A refused save: status, sound, and store, tree and undo copy as before.
    void ExpectRefused(const std::string& status, const std::map<std::string, std::string>& disk,
                       const std::string& tree) {
        EXPECT_EQ(Status(), status);
        EXPECT_EQ(FormItems().TimerStatusText.Interval(), 4750u);
        EXPECT_EQ(sounds, std::vector<std::string>{WindowsFile("media\\chord.wav")});
        EXPECT_EQ(Snapshot(dir / "shortcuts\\"), disk);
        EXPECT_EQ(Tree(), tree);
        EXPECT_EQ(Undo(), loadedTree);
        EXPECT_FALSE(FormItems().Saved());
    }

    std::string top;
    std::string loadedTree;
    std::vector<std::string> loadedCaptions;
    std::vector<std::string> sounds;
};

}  // namespace

TEST_F(SaveTest, SavingTwiceRewritesTheWholeStoreAndLeavesNoBackup) {
    ASSERT_NO_FATAL_FAILURE(Start());
    DeleteTopEntry("Report");
    AppendManagerIcon();
    rztest::WriteFile(dir / "shortcuts\\stray.txt", "left over");
    ASSERT_EQ(Status(), "Ready");
    Save();
    const std::string saved = "^SpeSep|Tools\r\n^ExeLnk|" + dir.Path() + "a.exe||a.bmp|A\r\n^Folder|Games\r\n";
    EXPECT_FALSE(rztest::DirExists(dir / "item_bak"));
    EXPECT_EQ(Text("shortcuts\\shortcuts.txt"), saved);
    EXPECT_EQ(Text("shortcuts\\Games\\shortcuts.txt"), kGames);
    EXPECT_TRUE(rztest::FileExists(dir / "shortcuts\\a.bmp"));
    EXPECT_FALSE(rztest::FileExists(dir / "shortcuts\\stray.txt"));
    EXPECT_EQ(Status(), "Save succesful!");
    EXPECT_EQ(FormItems().TimerStatusText.Interval(), 4750u);
    EXPECT_EQ(sounds, std::vector<std::string>{WindowsFile("media\\chimes.wav")});
    EXPECT_TRUE(FormItems().Saved());
    EXPECT_EQ(Undo(), Tree());
    EXPECT_NE(Undo(), loadedTree);
    EXPECT_EQ(FormItems().TVItems.Tag, 1);
    EXPECT_EQ(FormItems().TVUndo.Tag, FormItems().TVItems.Tag);

    // Unchanged tree, spoilt files: the second save writes everything again.
    rztest::WriteFile(dir / "shortcuts\\shortcuts.txt", "junk\r\n");
    rztest::WriteFile(dir / "shortcuts\\Games\\shortcuts.txt", "junk\r\n");
    rztest::WriteFile(dir / "shortcuts\\Games\\stray.bmp", "x");
    ::DeleteFileA((dir / "shortcuts\\a.bmp").c_str());
    sounds.clear();
    // Changed on disk since the first save: overwritten once the user says so.
    answer = IDYES;
    Save();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(rztest::DirExists(dir / "item_bak"));
    EXPECT_EQ(Text("shortcuts\\shortcuts.txt"), saved);
    EXPECT_EQ(Text("shortcuts\\Games\\shortcuts.txt"), kGames);
    EXPECT_TRUE(rztest::FileExists(dir / "shortcuts\\a.bmp"));
    EXPECT_FALSE(rztest::FileExists(dir / "shortcuts\\Games\\stray.bmp"));
    EXPECT_EQ(sounds, std::vector<std::string>{WindowsFile("media\\chimes.wav")});
    EXPECT_EQ(Status(), "Save succesful!");
}

TEST_F(SaveTest, AStaleDeletableBackupIsRemovedByTheNextSave) {
    ASSERT_NO_FATAL_FAILURE(Start());
    WriteStore("item_bak", "^SpeSep|stale\r\n");
    WriteStore("item_bak\\Old", "^NorSep|\r\n");
    rztest::WriteFile(dir / "item_bak\\old.bmp", "x");
    Save();
    EXPECT_FALSE(rztest::DirExists(dir / "item_bak"));
    EXPECT_EQ(Text("shortcuts\\shortcuts.txt"), top);
    EXPECT_EQ(Status(), "Save succesful!");
    EXPECT_TRUE(FormItems().Saved());
}

TEST_F(SaveTest, ARefusedRenameChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(Start());
    DeleteTopEntry("Report");
    const std::string edited = Tree();
    const auto disk = Snapshot(dir / "shortcuts\\");
    std::vector<std::pair<std::string, std::string>> renames;
    RenameFolder.Replace([&](const std::string& from, const std::string& to) {
        renames.emplace_back(from, to);
        return false;
    });
    Save();
    ASSERT_EQ(renames.size(), 1u);
    EXPECT_EQ(renames[0].first, dir.Path() + "shortcuts");
    EXPECT_EQ(renames[0].second, dir.Path() + "item_bak");
    EXPECT_FALSE(rztest::DirExists(dir / "item_bak"));
    ExpectRefused(kLocked, disk, edited);
}

TEST_F(SaveTest, AMissingStoreFolderIsARefusedRename) {
    ASSERT_NO_FATAL_FAILURE(Start());
    DeleteTopEntry("Report");
    const std::string edited = Tree();
    rztest::RemoveTree(dir / "shortcuts");
    ASSERT_FALSE(rztest::DirExists(dir / "shortcuts"));
    answer = IDYES;
    Save();
    EXPECT_FALSE(rztest::DirExists(dir / "shortcuts"));
    EXPECT_FALSE(rztest::DirExists(dir / "item_bak"));
    ExpectRefused(kLocked, {}, edited);
}

TEST_F(SaveTest, AStoreFolderHeldOpenRefusesTheRename) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const auto disk = Snapshot(dir / "shortcuts\\");
    auto held = HoldFolder(dir / "shortcuts");
    ASSERT_TRUE(held) << ::GetLastError();
    rztest::MakeDir(dir / "probe");
    {
        auto probe = HoldFolder(dir / "probe");
        ASSERT_TRUE(probe);
        if (::MoveFileA((dir / "probe").c_str(), (dir / "probe2").c_str()))
            GTEST_SKIP() << "this Wine renames a folder held open without delete sharing";
    }
    Save();
    ExpectRefused(kLocked, disk, loadedTree);
    EXPECT_FALSE(rztest::DirExists(dir / "item_bak"));
}

TEST_F(SaveTest, AStaleBackupThatCannotBeSetAsideAsksForARestartAndStaysWhole) {
    ASSERT_NO_FATAL_FAILURE(Start());
    DeleteTopEntry("Report");
    const std::string edited = Tree();
    const auto disk = Snapshot(dir / "shortcuts\\");
    WriteStore("item_bak", "^SpeSep|stale\r\n");
    rztest::WriteFile(dir / "item_bak\\old.bmp", "x");
    const auto stale = Snapshot(dir / "item_bak\\");
    auto held = HoldFolder(dir / "item_bak");
    ASSERT_TRUE(held) << ::GetLastError();
    rztest::MakeDir(dir / "probe");
    {
        auto probe = HoldFolder(dir / "probe");
        ASSERT_TRUE(probe);
        if (::MoveFileA((dir / "probe").c_str(), (dir / "probe2").c_str()))
            GTEST_SKIP() << "this Wine renames a folder held open without delete sharing";
    }
    Save();
    ASSERT_FALSE(ShortPathOf(dir.Path()).empty());
    ExpectRefused(
        "Save unsuccesful! " + ShortPathOf(dir.Path()) + "item_bak\\ already exists(!), please restart Razaveza", disk,
        edited);
    // Nothing of it was deleted: a backup is there whole or not at all.
    EXPECT_EQ(Snapshot(dir / "item_bak\\"), stale);

    // Once the folder is let go, the next save sets it aside and succeeds.
    held.reset();
    sounds.clear();
    Save();
    EXPECT_EQ(Status(), "Save succesful!");
    EXPECT_FALSE(rztest::DirExists(dir / "item_bak"));
    EXPECT_FALSE(rztest::DirExists(dir / "item_del"));
    EXPECT_EQ(Undo(), edited);
}

TEST_F(SaveTest, OutsideWritesDuringASaveAreKeptOrAskedAboutAndAHeldBackupStallsNothing) {
    // A sync service's file moved over a list file while the save ran was
    // taken into the save's fingerprint, and the next save deleted it unasked.
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::string games = dir / "shortcuts\\Games\\shortcuts.txt";
    const std::string level = dir / "shortcuts\\shortcuts.txt";
    unique_handle_kernel held;
    WriteWholeFile.Replace([&](const std::string& path, const std::string& bytes) {
        // A virus scanner looks into the backup for the rest of the save.
        if (!held) held = HoldFolder(dir / "item_bak");
        // Another computer's level arrives first, then another one right after ours.
        if (path == games) rztest::WriteFile(games, "^SpeSep|from elsewhere, first\r\n");
        const bool written = WriteWholeFile.Real(path, bytes);
        if (path == level) rztest::WriteFile(level, bytes + "^SpeSep|from elsewhere, after\r\n");
        return written;
    });
    Save();
    WriteWholeFile.Restore();
    ASSERT_TRUE(held) << ::GetLastError();
    EXPECT_TRUE(FormItems().Saved());
    EXPECT_EQ(Text("item_conflicts\\Games\\shortcuts.txt"), "^SpeSep|from elsewhere, first\r\n");
    EXPECT_EQ(Text("shortcuts\\Games\\shortcuts.txt"), kGames);
    EXPECT_NE(Text("shortcuts\\shortcuts.txt").find("from elsewhere, after"), std::string::npos);
    EXPECT_NE(Status().find("Save succesful!"), std::string::npos) << Status();
    EXPECT_NE(Status().find("item_bak"), std::string::npos) << Status();
    EXPECT_NE(Status().find("item_conflicts"), std::string::npos) << Status();
    // The backup that stays is no save under way; the change after the save is one from outside.
    const StoreLook look = LookAtStore(dir.Path());
    EXPECT_FALSE(look.saving);
    EXPECT_NE(look.print, FormItems().store.onDisk);

    // The next save asks first, and takes the backup away once it is let go.
    held.reset();
    answer = IDNO;
    Save();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_NE(Text("shortcuts\\shortcuts.txt").find("from elsewhere, after"), std::string::npos);
    answer = IDYES;
    Save();
    EXPECT_EQ(Status(), "Save succesful!");
    EXPECT_FALSE(rztest::DirExists(dir / "item_bak"));
    EXPECT_EQ(LookAtStore(dir.Path()).print, FormItems().store.onDisk) << "its own writes are no outside change";
}

// A save that fails discards its partial store: a file another program put
// there meanwhile went with it.
TEST_F(SaveTest, AFailedSaveKeepsWhatCameInMeanwhile) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::string games = dir / "shortcuts\\Games\\shortcuts.txt";
    const std::string level = dir / "shortcuts\\shortcuts.txt";
    WriteWholeFile.Replace([&](const std::string& path, const std::string& bytes) {
        if (path != level) return WriteWholeFile.Real(path, bytes);
        rztest::WriteFile(games, "^SpeSep|from elsewhere\r\n");
        ::SetLastError(ERROR_WRITE_FAULT);
        return false;
    });
    Save();
    WriteWholeFile.Restore();
    EXPECT_FALSE(FormItems().Saved());
    EXPECT_EQ(Text("shortcuts\\Games\\shortcuts.txt"), kGames);
    EXPECT_EQ(Text("item_conflicts\\Games\\shortcuts.txt"), "^SpeSep|from elsewhere\r\n");
    EXPECT_NE(Status().find("item_conflicts"), std::string::npos) << Status();
}

TEST_F(SaveTest, AnOldStoreThatCannotBeDeletedNeverLeavesAPartialBackup) {
    ASSERT_NO_FATAL_FAILURE(Start());
    // A file of the old store held open: its folder cannot be deleted whole.
    auto held = HoldFile(dir / "shortcuts\\held.bmp");
    ASSERT_TRUE(held) << ::GetLastError();
    const auto oldStore = Snapshot(dir / "shortcuts\\");
    answer = IDYES;
    Save();
    ASSERT_EQ(Status(), "Save succesful!");
    if (rztest::DirExists(dir / "item_bak")) {
        // Where the system refuses to rename it, the old store stays whole.
        EXPECT_EQ(Snapshot(dir / "item_bak\\"), oldStore);
    } else {
        EXPECT_TRUE(rztest::FileExists(dir / "item_del\\held.bmp"));
        EXPECT_FALSE(rztest::FileExists(dir / "item_del\\shortcuts.txt"));
    }
    const bool backupLeft = rztest::DirExists(dir / "item_bak");
    held.reset();

    // The next start asks only about a whole backup; set-aside rubbish goes silently.
    DestroyForms();
    CreateForms();
    boxes.clear();
    answer = IDNO;
    StartUp();
    EXPECT_EQ(boxes.size(), backupLeft ? 1u : 0u);
    EXPECT_FALSE(rztest::DirExists(dir / "item_del"));
    EXPECT_FALSE(rztest::DirExists(dir / "item_bak"));
    EXPECT_EQ(Text("shortcuts\\shortcuts.txt"), top);
}

TEST_F(SaveTest, AFolderLinkInAStaleBackupIsNeverFollowedAndAskedAboutNoMore) {
    ASSERT_NO_FATAL_FAILURE(Start());
    rztest::MakeDir(dir / "elsewhere");
    rztest::MakeDir(dir / "elsewhere\\empty");
    rztest::WriteFile(dir / "elsewhere\\keep.txt", "keep");
    WriteStore("item_bak", "^SpeSep|stale\r\n");
    rztest::FolderLink link(dir / "item_bak\\linked", dir / "elsewhere");
    rztest::FolderLink emptyLink(dir / "item_bak\\linkedempty", dir / "elsewhere\\empty");
    if (!link.Made() || !emptyLink.Made()) GTEST_SKIP() << "no folder links can be made here";
    Save();
    EXPECT_EQ(Status(), "Save succesful!");
    EXPECT_FALSE(rztest::DirExists(dir / "item_bak"));
    EXPECT_EQ(Text("elsewhere\\keep.txt"), "keep");
    EXPECT_TRUE(rztest::DirExists(dir / "elsewhere\\empty"));
    // Where the links cannot be removed as links (Wine), they wait set aside.
    link.MovedTo(dir / "item_del\\linked");
    emptyLink.MovedTo(dir / "item_del\\linkedempty");

    DestroyForms();
    CreateForms();
    boxes.clear();
    StartUp();
    EXPECT_TRUE(boxes.empty()) << boxes[0].text;
    EXPECT_EQ(Text("elsewhere\\keep.txt"), "keep");
    EXPECT_FALSE(rztest::DirExists(dir / "item_bak"));
}

TEST_F(SaveTest, UndoAfterSaveReturnsToTheSavedTreeAndItsIcons) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const int loadedIcons = FormItems().ILAllPublicTV.Count();
    ASSERT_EQ(FormItems().ILAllPublicPM.Count(), loadedIcons);
    // An icon the manager added before the save belongs to the saved tree.
    AppendManagerIcon();
    DeleteTopEntry("Report");
    InsertSeparator(TopEntry("Games"), "Before");
    const std::string savedTree = Tree();
    Save();
    ASSERT_TRUE(FormItems().Saved());

    AppendManagerIcon();
    AppendManagerIcon();
    DeleteTopEntry("--Tools--");
    InsertSeparator(TopEntry("--Sysmenu--"), "After");
    ASSERT_EQ(FormItems().ILAllPublicTV.Count(), loadedIcons + 3);
    FormItems().BitBtnUndoClick(&FormItems().BitBtnUndo);
    EXPECT_EQ(Tree(), savedTree);
    EXPECT_NE(Tree(), loadedTree);
    EXPECT_EQ(FormItems().TVItems.Tag, 1);
    EXPECT_EQ(FormItems().ILAllPublicTV.Count(), loadedIcons + 1);
    EXPECT_EQ(FormItems().ILAllPublicPM.Count(), loadedIcons + 1);
    EXPECT_EQ(FormItems().TVItems.Selected(), FormItems().TVItems.GetFirstNode());
    EXPECT_EQ(FormItems().SaveRoot(), FormItems().TVItems.GetFirstNode());
}

TEST_F(SaveTest, EntriesAfterTheFirstSystemEntryAreNeverSaved) {
    ASSERT_NO_FATAL_FAILURE(Start());
    TTreeNode* sysmenu = TopEntry("--Sysmenu--");
    ASSERT_NE(sysmenu, nullptr);
    InsertSeparator(sysmenu, "Early");
    InsertSeparator(sysmenu->GetNextSibling(), "Late");
    InsertSeparator(nullptr, "Tail");
    ASSERT_EQ(FormItems().TVItems.GetLastNode()->Text(), "--Tail--");
    Save();
    EXPECT_EQ(Text("shortcuts\\shortcuts.txt"), top + "^SpeSep|Early\r\n");
    EXPECT_EQ(Status(), "Save succesful!");
}

TEST_F(SaveTest, ClosingAfterASaveShowsTheSavedStoreInTheMenu) {
    ASSERT_NO_FATAL_FAILURE(Start());
    DeleteTopEntry("Report");
    InsertSeparator(TopEntry("--Sysmenu--"), "New");
    const std::string savedTexts = DumpTexts(FormItems().TVItems.GetFirstNode());
    Save();
    // The menu keeps the loaded items until the manager closes.
    EXPECT_EQ(TopCaptions(), loadedCaptions);
    FormItems().Close();
    EXPECT_EQ(TopCaptions(), (std::vector<std::string>{"Tools", "A", "Games", "New"}));
    EXPECT_EQ(DumpTexts(FormItems().TVItems.GetFirstNode()), savedTexts);
    EXPECT_EQ(Undo(), Tree());
    EXPECT_FALSE(FormItems().Saved());
    EXPECT_EQ(FormItems().store.tables.nextItemId, 2);
    EXPECT_TRUE(FormGeneral().CSystrayGen.Enabled);
    EXPECT_EQ(FormGeneral().CSystrayGen.PopupMenu, &FormItems().PMItems);
}

TEST_F(SaveTest, ClosingWithoutASaveRestoresTheTreeAndKeepsTheMenu) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const int nextId = FormItems().store.tables.nextItemId;
    DeleteTopEntry("Report");
    InsertSeparator(TopEntry("--Sysmenu--"), "New");
    // A reload would pick this up; closing without a save must not.
    rztest::WriteFile(dir / "shortcuts\\shortcuts.txt", "^SpeSep|Changed on disk\r\n");
    FormItems().Close();
    EXPECT_EQ(Tree(), loadedTree);
    EXPECT_EQ(TopCaptions(), loadedCaptions);
    EXPECT_EQ(FormItems().store.tables.nextItemId, nextId);
    EXPECT_EQ(Text("shortcuts\\shortcuts.txt"), "^SpeSep|Changed on disk\r\n");
}

TEST_F(SaveTest, ADiskThatFillsAtAnyByteLeavesTheOldStoreAndSaysSo) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const auto oldStore = Snapshot(dir / "shortcuts\\");
    size_t storeBytes = 0;
    for (const auto& file : oldStore) storeBytes += file.second.size();
    DeleteTopEntry("Report");
    const std::string edited = Tree();
    HWND button = FormItems().BitBtnSave.Handle();
    ASSERT_NE(button, nullptr);
    boxes.clear();
    size_t failures = 0;
    for (size_t budget = 0; budget < storeBytes; budget += 3) {
        SCOPED_TRACE("disk full after " + std::to_string(budget) + " bytes");
        sounds.clear();
        WriteWholeFile.Replace(FullAfter(budget));
        // Through the window, as a click comes: no failure may reach the handler.
        ::SendMessageA(FormItems().Handle(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
        WriteWholeFile.Restore();
        if (FormItems().Saved()) break;
        ++failures;
        ASSERT_FALSE(Application.Terminated());
        EXPECT_EQ(Status().rfind("Save unsuccesful! ", 0), 0u) << Status();
        EXPECT_NE(Status().find(SystemMessage(ERROR_DISK_FULL)), std::string::npos) << Status();
        EXPECT_EQ(sounds, std::vector<std::string>{WindowsFile("media\\chord.wav")});
        ASSERT_EQ(Snapshot(dir / "shortcuts\\"), oldStore);
        EXPECT_FALSE(rztest::DirExists(dir / "item_bak"));
        EXPECT_EQ(Tree(), edited);
        EXPECT_EQ(Undo(), loadedTree);
    }
    // The smallest budgets cannot hold the new store, which is smaller by one line.
    EXPECT_GT(failures, 100u);
    EXPECT_TRUE(boxes.empty());
    ASSERT_FALSE(LogLines().empty());
    EXPECT_NE(LogLines().back().find("Save failed, the previous items were put back"), std::string::npos);

    // With room again the same tree saves.
    Save();
    EXPECT_TRUE(FormItems().Saved());
    EXPECT_EQ(Text("shortcuts\\Games\\shortcuts.txt"), kGames);
}

// The close box and the program's Close with an unsaved edit ask once: Yes
// saves and closes, No drops the edit, Cancel keeps window, program and edit;
// a Yes whose save fails keeps them too. Nothing unsaved, nothing asked.
TEST_F(SaveTest, ClosingWithAnUnsavedEditAsksWhetherToSaveIt) {
    const struct {
        bool edit;
        int answer;
        bool diskFull, closes;
    } cases[] = {{false, IDCANCEL, false, true},
                 {true, IDYES, false, true},
                 {true, IDNO, false, true},
                 {true, IDCANCEL, false, false},
                 {true, IDYES, true, false}};
    ASSERT_NO_FATAL_FAILURE(Start());
    TFormItems& f = FormItems();
    bool ended = false;
    f.closeApplication = [&ended] { ended = true; };
    for (const auto& c : cases) {
        for (const bool program : {false, true}) {
            SCOPED_TRACE("answer " + std::to_string(c.answer) + (program ? ", program" : ", window"));
            WriteStore("shortcuts", top);
            ReloadItems();
            f.Show();
            if (c.edit) {
                f.TVItems.Select(TopEntry("Report"));
                f.BitBtnDelete.Click();
            }
            boxes.clear();
            answer = c.answer;
            ended = false;
            if (c.diskFull) WriteWholeFile.Replace(FullAfter(0));
            if (program) f.miCloseAppClick(nullptr);
            else ::SendMessageA(f.Handle(), WM_CLOSE, 0, 0);
            WriteWholeFile.Restore();
            EXPECT_EQ(boxes.size(), c.edit ? 1u : 0u);
            EXPECT_EQ(program ? ended : !f.Visible(), c.closes);
            const bool saved = c.edit && c.closes && c.answer == IDYES;
            EXPECT_EQ(Text("shortcuts\\shortcuts.txt").find("Report") == std::string::npos, saved);
            // The delete stays unless No dropped it with the window.
            EXPECT_EQ(TopEntry("Report") == nullptr, c.edit && (c.answer != IDNO || program));
            answer = IDNO;
            if (f.Visible()) f.Close();
        }
    }
}
