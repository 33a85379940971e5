// Random and mutated stores through the reader and the writer, in process:
// nothing may crash, hang, throw, or touch anything outside the test folder,
// and writing what was read, reading it and writing again gives the same files.
// RZ_FUZZ_COUNT (and RZ_FUZZ_SEED) in the environment run more of them.

#include <gtest/gtest.h>

#include <memory>

#include "FuzzSupport.h"
#include "StoreFixture.h"
#include "items/ListFile.h"
#include "platform/Bitmap.h"
#include "support/FileNames.h"

using namespace rz;
using rztest::Pick;

namespace {

class StoreMaker {
public:
    explicit StoreMaker(std::mt19937& rng) : rng_(rng) {}

    // A list file at folder (with trailing "\") and what its lines name.
    void Level(const std::string& folder, int depth) {
        std::string list;
        const int lines = Pick(rng_, depth == 0 ? 12 : 6);
        for (int i = 0; i < lines; ++i) list += Line(folder, depth) + LineEnd();
        if (Pick(rng_, 4) == 0) list = rztest::Mutated(list, rng_);
        if (Pick(rng_, 10) == 0) list = "\xEF\xBB\xBF" + list;
        rztest::WriteFile(folder + "shortcuts.txt", list);
    }

private:
    std::string LineEnd() {
        static const char* const kEnds[] = {"\r\n", "\r\n", "\r\n", "\n", "\r", "\r\n\r\n"};
        return kEnds[Pick(rng_, 6)];
    }
    std::string Field() { return Pick(rng_, 3) ? Plain() : rztest::HostileText(rng_); }
    std::string Plain() {
        static const char* const kNames[] = {"Games", "GAMES", "a", "a.", "Docs ", "x", "Setup", "notes"};
        return kNames[Pick(rng_, 8)];
    }
    std::string Line(const std::string& folder, int depth);
    std::string FolderLine(const std::string& folder, int depth);
    std::string ExeLine(const std::string& folder);

    std::mt19937& rng_;
};

std::string StoreMaker::Line(const std::string& folder, int depth) {
    switch (Pick(rng_, 9)) {
        case 0: return FolderLine(folder, depth);
        case 1: return "^NorSep|" + (Pick(rng_, 2) ? Field() : "");
        case 2: return "^SpeSep|" + Field();
        case 3: return ExeLine(folder);
        case 4: return "^ExeLnk|C:\\s\\" + Plain() + ".bat|" + Field() + "|bat|" + Field();
        case 5:
        case 6: {
            std::string ext = Pick(rng_, 3) ? "txt" : Field();
            return "^UnkLnk|C:\\d\\" + Field() + "." + ext + "|" + (Pick(rng_, 4) ? ext : Field()) + "|" + Field();
        }
        case 7: return "^UnkLnk|C:\\windows\\||" + Field();
        default: return rztest::HostileText(rng_);
    }
}

std::string StoreMaker::FolderLine(const std::string& folder, int depth) {
    // Mostly a short plain name, so that deep chains stay inside the path limit.
    std::string caption = Pick(rng_, 4) ? Plain() : rztest::HostileText(rng_);
    if (Pick(rng_, 3)) {
        // Made as Windows makes it: Wine keeps trailing blanks and dots and
        // makes paths beyond 248 characters, which it then cannot remove.
        const std::string sub = folder + StoredFileName(caption);
        if (sub.size() < MAX_PATH - 12) ::CreateDirectoryA(sub.c_str(), nullptr);
        // Now and then a chain far deeper than people build by hand.
        const int limit = Pick(rng_, 20) == 0 ? 24 : 3;
        if (depth < limit && Pick(rng_, 2) && rztest::DirExists(sub)) Level(sub + "\\", depth + 1);
    }
    return "^Folder|" + caption;
}

std::string StoreMaker::ExeLine(const std::string& folder) {
    const std::string name = Pick(rng_, 3) ? Plain() : rztest::HostileText(rng_);
    std::string icon = Pick(rng_, 2) ? name + ".bmp" : Field();
    if (Pick(rng_, 3) == 0 && icon.find_first_of(std::string("\\/:\0", 4)) == std::string::npos) {
        if (Pick(rng_, 2)) {
            TBitmap picture(16, 16);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) picture.SetPixel(x, y, static_cast<uint32_t>(rng_()));
            picture.SaveToFile(folder + icon);
        } else {
            rztest::WriteFile(folder + icon, rztest::HostileText(rng_));
        }
    }
    const std::string path = Pick(rng_, 8) ? "C:\\p\\" + name + ".exe" : "C:\\windows\\notepad.exe";
    return "^ExeLnk|" + path + "|" + Field() + "|" + icon + "|" + Field();
}

// One store loaded again and again, emptied between loads the
// way the program's reload empties it.
class FuzzStore {
public:
    explicit FuzzStore(int& logged) : parts_(std::make_unique<LauncherParts>(tree_)) {
        for (int i = 0; i < 3; ++i) {
            small_[i] = std::make_unique<TBitmap>(16, 16);
            large_[i] = std::make_unique<TBitmap>(16, 18);
        }
        store().icons.MakeWorkSurfaces();
        store().writeErrorLog = [&logged](const std::string&) { ++logged; };
    }
    void Load(const std::string& dataFolder) {
        Empty();
        store().SetDataFolder(dataFolder);
        store().PrepareBaseTree();
        store().LoadPass1();
        store().LoadPass2();
    }
    // Writes into dataFolder\shortcuts (made afresh), as a save does.
    void WriteTo(const std::string& dataFolder) {
        rztest::MakeDir(dataFolder);
        rztest::MakeDir(dataFolder + "shortcuts");
        store().WriteItemListFile(store().TopAnchor(), dataFolder + "shortcuts");
    }

private:
    ItemStore& store() { return parts_->store; }
    void Empty() {
        tree_.Clear();
        parts_->TVUndo.Clear();
        parts_->PMItems.Items().Clear();
        parts_->PMItems.Items().Tag = 0;
        store().tables.Clear();
        const TBitmap* s[3] = {small_[0].get(), small_[1].get(), small_[2].get()};
        const TBitmap* l[3] = {large_[0].get(), large_[1].get(), large_[2].get()};
        store().icons.CutBack(s, l, tree_.Tag);
    }

    TTreeView tree_{"TVItems"};
    std::unique_ptr<LauncherParts> parts_;
    std::unique_ptr<TBitmap> small_[3], large_[3];
};

}  // namespace

TEST(StoreFuzz, ReadWriteReadWriteIsAFixedPointAndTouchesNothingOutside) {
    const rztest::FuzzPlan plan = rztest::PlanFuzz(30);
    rztest::TempDir sandbox;
    // The data folders sit deep, with victims on every level a climbing path reaches.
    for (const char* level : {"a", "a\\b", "a\\b\\data"}) rztest::MakeDir(sandbox / level);
    for (const char* victim : {"victim.txt", "a\\victim.txt", "a\\b\\victim.txt"})
        rztest::WriteFile(sandbox / victim, "precious");
    const std::string data = sandbox / "a\\b\\data\\";
    const rztest::FolderState around = rztest::StateOf(sandbox.Path(), true, "a\\b\\data\\");
    const rztest::OutsideWatch outside(sandbox.Path());
    int logged = 0;
    FuzzStore fuzz(logged);

    for (int i = 0; i < plan.count; ++i) {
        SCOPED_TRACE("iteration " + std::to_string(i) + " of seed " + std::to_string(plan.seed));
        std::mt19937 rng(plan.seed + static_cast<unsigned>(i));
        rztest::RemoveTree(data.substr(0, data.size() - 1));
        rztest::MakeDir(data);
        // Three data folders of one name length: a level that fits in one fits in all.
        const std::string s0 = data + "s0\\", w1 = data + "w1\\", w2 = data + "w2\\";
        rztest::MakeDir(s0);
        rztest::MakeDir(s0 + "shortcuts");
        StoreMaker(rng).Level(s0 + "shortcuts\\", 0);

        try {
            fuzz.Load(s0);
            fuzz.WriteTo(w1);
            fuzz.Load(w1);
            fuzz.WriteTo(w2);
        } catch (const std::exception& e) {
            FAIL() << "raised: " << e.what();
        }
        const std::string difference =
            rztest::FirstDifference(rztest::ContentOf(w1 + "shortcuts\\"), rztest::ContentOf(w2 + "shortcuts\\"));
        ASSERT_EQ(difference, "") << "the second write differs from the first";
        ASSERT_EQ(rztest::StateOf(sandbox.Path(), true, "a\\b\\data\\"), around) << "the test folder was touched";
    }
    rztest::RemoveTree(data.substr(0, data.size() - 1));
    const std::vector<std::string> changed = outside.Changed();
    EXPECT_TRUE(changed.empty()) << changed.front();
    // The hostile lines were noticed, not only survived.
    EXPECT_GT(logged, 0);
}
