// Saves of the real program killed at random moments. After every restart -
// the backup question answered with Yes - the store must be the saved one,
// list files and pictures, byte for byte, and a question may only come for a
// whole backup. RZ_KILL_RUNS asks for more runs (scripts/kill-during-save
// runs 100), RZ_KILL_SEED for other moments.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

#include "FuzzSupport.h"
#include "ProgramRun.h"
#include "TestSupport.h"

using namespace rztest;

namespace {

constexpr int kDefaultRuns = 4;
constexpr unsigned kDefaultSeed = 1208;
// Thousands of items take a while to load under Wine, more on a busy machine.
constexpr DWORD kLoadMs = 60000;
constexpr DWORD kSendMs = 60000;

int EnvInt(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

// A 16 x 16 picture with translucent edges, as the writer keeps beside programs.
void WritePicture(const std::string& path, unsigned tint) {
    std::string bytes(54 + 1024, '\0');
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = 54;
    file.bfSize = static_cast<DWORD>(bytes.size());
    info.biSize = sizeof(info);
    info.biWidth = info.biHeight = 16;
    info.biPlanes = 1;
    info.biBitCount = 32;
    std::memcpy(bytes.data(), &file, sizeof(file));
    std::memcpy(bytes.data() + sizeof(file), &info, sizeof(info));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool edge = x == 2 || x == 13 || y == 2 || y == 13;
            const bool inside = x > 2 && x < 13 && y > 2 && y < 13;
            const uint32_t pixel = inside ? 0xFF000000u | (tint * (x + 1) * (y + 1)) % 0xFFFFFF
                                   : edge ? 0x80000000u | (tint & 0xFFFFFF)
                                          : 0;
            std::memcpy(bytes.data() + 54 + (y * 16 + x) * 4, &pixel, 4);
        }
    WriteFile(path, bytes);
}

// A store of a few thousand entries over nested folders; returns how many
// entries its load puts into the manager tree.
int MakeStore(const std::string& store) {
    constexpr int kFolders = 24;
    constexpr int kItemsPerLevel = 110;
    static const char* const kExtensions[] = {"txt", "doc", "pdf", "xls", "zip"};
    std::vector<std::string> levels = {store + "\\"};
    std::vector<std::string> lists(1);
    int entries = 1 + 11;  // the top anchor and the system entries
    for (int f = 0; f < kFolders; ++f) {
        const size_t parent = f < 6 ? 0 : static_cast<size_t>(f % 6 + 1 + (f > 12 ? 6 : 0)) % levels.size();
        const std::string caption = "Group " + std::to_string(f);
        lists[parent] += "^Folder|" + caption + "\r\n";
        MakeDir(levels[parent] + caption);
        levels.push_back(levels[parent] + caption + "\\");
        lists.emplace_back();
        entries += 2;  // the folder and its anchor
    }
    for (size_t l = 0; l < levels.size(); ++l) {
        for (int i = 0; i < kItemsPerLevel; ++i, ++entries) {
            const std::string n = std::to_string(l * 1000 + i);
            switch (i % 20) {
                case 0: lists[l] += "^NorSep|\r\n"; break;
                case 1: lists[l] += "^SpeSep|Part " + n + "\r\n"; break;
                case 2:
                case 3:
                case 4: {
                    const std::string name = i % 20 == 4 ? "setup" : "tool" + n;
                    lists[l] += "^ExeLnk|C:\\Vendor\\" + n + "\\" + name + ".exe|-x " + n + "|" + name + ".bmp|Tool " +
                                n + "\r\n";
                    if (i % 40 == 2) WritePicture(levels[l] + name + ".bmp", static_cast<unsigned>(l * 7919 + i));
                    break;
                }
                case 5: lists[l] += "^ExeLnk|C:\\Jobs\\job" + n + ".bat|/q " + n + "|bat|Job " + n + "\r\n"; break;
                case 6: lists[l] += "^UnkLnk|C:\\windows\\||Windows " + n + "\r\n"; break;
                default: {
                    const char* ext = kExtensions[i % 5];
                    lists[l] += "^UnkLnk|C:\\Docs\\file" + n + "." + ext + "|" + ext + "|File | " + n + "\r\n";
                }
            }
        }
        WriteFile(levels[l] + "shortcuts.txt", lists[l]);
    }
    return entries;
}

class KillDuringSave : public ProgramCopyTest {
protected:
    // Starts the program; a backup question is checked and answered Yes.
    // Returns once the load has put all entries into the manager tree.
    void StartLoaded(bool questionExpected) {
        program_ = std::make_unique<RunningProgram>(exe_, dir_.Path());
        ASSERT_TRUE(program_->Started()) << program_->StartError();
        bool asked = false;
        ASSERT_TRUE(WaitUntil(
            [&] {
                if (!program_->Running()) return true;
                const auto boxes = ProcessWindows(program_->Id(), "#32770", "Warning");
                if (!boxes.empty() && !asked) {
                    asked = true;
                    // Asked only for a whole backup: the store as it was saved.
                    EXPECT_EQ(FirstDifference(ContentOf(dir_ / "item_bak\\"), saved_), "") << "a partial backup";
                    ::PostMessageA(boxes.front(), WM_COMMAND, IDYES, 0);
                    return false;
                }
                return TreeCount() == entries_;
            },
            kLoadMs))
            << "the load did not finish; tree entries " << TreeCount() << " of " << entries_;
        ASSERT_TRUE(program_->Running()) << "exit code " << program_->WaitForExit(0).value_or(~0UL);
        EXPECT_EQ(asked, questionExpected);
    }

    int TreeCount() {
        save_ = FindSaveButton(program_->Id());
        return ManagerTreeCount(save_.manager);
    }

    // Waits until the save has replaced the top list and written it whole.
    bool WaitForNewTopList() const {
        const std::string top = dir_ / "shortcuts\\shortcuts.txt";
        const size_t whole = saved_.at("shortcuts.txt").size();
        bool replaced = false;
        for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < kSendMs; ::Sleep(1)) {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            const bool there = ::GetFileAttributesExA(top.c_str(), GetFileExInfoStandard, &data);
            if (!there || data.nFileSizeLow < whole) replaced = true;
            else if (replaced) return true;
        }
        return false;
    }

    WPARAM ClickCommand() const { return MAKEWPARAM(::GetDlgCtrlID(save_.button), BN_CLICKED); }

    std::unique_ptr<RunningProgram> program_;
    SaveButton save_;
    int entries_ = 0;
    FolderState saved_;
};

TEST_F(KillDuringSave, TheStoreComesBackAsSavedAfterEveryKill) {
    const int runs = EnvInt("RZ_KILL_RUNS", kDefaultRuns);
    const unsigned seed = static_cast<unsigned>(EnvInt("RZ_KILL_SEED", kDefaultSeed));
    MakeDir(dir_ / "shortcuts");
    entries_ = MakeStore(dir_ / "shortcuts");
    ASSERT_NO_FATAL_FAILURE(StartLoaded(false));

    // One whole save gives the store in the writer's own form, and its length.
    const DWORD started = ::GetTickCount();
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(::SendMessageTimeoutA(save_.manager, WM_COMMAND, ClickCommand(), reinterpret_cast<LPARAM>(save_.button),
                                      SMTO_NORMAL, kSendMs, &ignored));
    const DWORD saveMs = ::GetTickCount() - started;
    ASSERT_FALSE(DirExists(dir_ / "item_bak"));
    saved_ = ContentOf(dir_ / "shortcuts\\");
    ASSERT_GT(saved_.size(), 100u);

    std::mt19937 rng(seed);
    int inWrite = 0, inDiscard = 0;
    for (int run = 0; run < runs; ++run) {
        // Every other kill aims at the end of the save, where the old store
        // is deleted: it comes when the new top list is complete.
        const bool late = run % 2 == 1;
        const DWORD delay = std::uniform_int_distribution<DWORD>(0, late ? saveMs / 5 : saveMs + saveMs / 5)(rng);
        SCOPED_TRACE("run " + std::to_string(run) + ", kill " + std::to_string(delay) + " ms into a " +
                     std::to_string(saveMs) + " ms save" + (late ? " after its last list" : "") + ", seed " +
                     std::to_string(seed));
        ::PostMessageA(save_.manager, WM_COMMAND, ClickCommand(), reinterpret_cast<LPARAM>(save_.button));
        if (late) {
            ASSERT_TRUE(WaitForNewTopList()) << "the save wrote no new top list";
        }
        ::Sleep(delay);
        program_->Kill();
        const bool backup = DirExists(dir_ / "item_bak");
        inWrite += backup;
        inDiscard += DirExists(dir_ / "item_del");
        ASSERT_NO_FATAL_FAILURE(StartLoaded(backup));
        ASSERT_EQ(FirstDifference(ContentOf(dir_ / "shortcuts\\"), saved_), "") << "the store is not the saved one";
        ASSERT_FALSE(DirExists(dir_ / "item_bak"));
        ASSERT_FALSE(DirExists(dir_ / "item_del"));
    }
    std::printf("%d kills during a %lu ms save of %d entries: %d while writing, %d while deleting the old store\n",
                runs, saveMs, entries_, inWrite, inDiscard);
}

}  // namespace
