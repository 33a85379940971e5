#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "StoreFixture.h"
#include "platform/Bitmap.h"
#include "support/UcvSysStr.h"

using namespace rz;
using rztest::StoreTest;

namespace {

uint32_t WindowArgb() {
    COLORREF c = ::GetSysColor(COLOR_WINDOW);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// An image of a list drawn onto a picture pre-filled with a colour no icon uses.
std::unique_ptr<TBitmap> Render(const TImageList& list, int slot) {
    auto b = std::make_unique<TBitmap>(list.Width(), list.Height());
    for (int y = 0; y < list.Height(); ++y)
        for (int x = 0; x < list.Width(); ++x) b->SetPixel(x, y, 0xFF123456u);
    list.Draw(b->Canvas(), 0, 0, slot);
    return b;
}

void SavePicture(const std::string& path) {
    TBitmap b(16, 16);
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x) b.SetPixel(x, y, 0xFFFF0000u);
    ASSERT_TRUE(b.SaveToFile(path));
}

}  // namespace

TEST_F(StoreTest, TypeIconsFollowTheExtensionListAndDuplicatesTakeTwoSlots) {
    WriteList("shortcuts.txt",
              "^UnkLnk|C:\\a.exe|exe|Odd exe\r\n"
              "^UnkLnk|C:\\b.txt|txt|Text\r\n"
              "^UnkLnk|C:\\nothing-here|| No extension\r\n"
              "^UnkLnk|C:\\c.txt|txt|Text again\r\n"
              "^ExeLnk|C:\\d.bat||bat|Script\r\n");
    // Files of the user's that carry the names the type lookup once made and deleted.
    rztest::WriteFile(dir / "TempFile.txt", "the user's");
    rztest::WriteFile(dir / "TempFile", "the user's too");
    Load();
    // Collected: exe, txt, "" - then exe bat cmd wsf wsh appended.
    ASSERT_EQ(store->tables.extensions.Length(), 8);
    EXPECT_EQ(store->icons.slots.break3, 20);
    EXPECT_EQ(store->icons.slots.break4, 21);
    EXPECT_EQ(store->icons.slots.break5, 22);
    EXPECT_EQ(parts->ILAllPublicPM.Count(), 23);
    EXPECT_EQ(parts->ILAllPublicTV.Count(), 23);
    auto top = TopEntries();
    EXPECT_EQ(top[0]->ImageIndex(), 12);  // the first "exe"
    EXPECT_EQ(top[1]->ImageIndex(), 13);
    EXPECT_EQ(top[2]->ImageIndex(), 14);  // empty extension, not a directory
    EXPECT_EQ(top[3]->ImageIndex(), 13);
    EXPECT_EQ(top[4]->ImageIndex(), 16);  // "bat" at list position 4
    EXPECT_EQ(rztest::ReadFile(dir / "TempFile.txt"), "the user's");
    EXPECT_EQ(rztest::ReadFile(dir / "TempFile"), "the user's too");
}

TEST_F(StoreTest, ItemIconsComeFromTheFileThenThePictureElseNone) {
    rztest::WriteFile(dir / "tool.exe", "");
    WriteList("shortcuts.txt", "^ExeLnk|" + dir.Path() +
                                   "tool.exe||tool.bmp|Present\r\n"
                                   "^ExeLnk|C:\\gone\\old.exe||old.bmp|Picture only\r\n"
                                   "^ExeLnk|C:\\gone\\none.exe||none.bmp|Nothing\r\n"
                                   "^ExeLnk|C:\\gone\\odd.exe||odd.png|Other picture type\r\n"
                                   "^ExeLnk|C:\\gone\\up.exe||..\\old.bmp|Outside the level\r\n");
    // With the program present its own icon wins over the picture.
    SavePicture(dir / "shortcuts\\tool.bmp");
    SavePicture(dir / "shortcuts\\old.bmp");
    SavePicture(dir / "shortcuts\\odd.png");
    SavePicture(dir / "old.bmp");
    Load();
    // Only the program extensions are types: breaks at 17, 18, 19.
    ASSERT_EQ(store->icons.slots.break4, 18);
    auto top = TopEntries();
    EXPECT_EQ(top[0]->ImageIndex(), 19);
    EXPECT_EQ(top[1]->ImageIndex(), 20);
    EXPECT_EQ(top[2]->ImageIndex(), -1);
    EXPECT_EQ(top[3]->ImageIndex(), -1);
    EXPECT_EQ(top[4]->ImageIndex(), -1);
    EXPECT_EQ(store->icons.ItemIconCount(), 2);
    EXPECT_EQ(store->icons.slots.break5, 21);
    EXPECT_EQ(parts->ILAllPublicPM.Count(), 22);
    EXPECT_EQ(parts->ILAllPublicTV.Count(), 22);

    // The picture's red square, its transparent border.
    auto menu = Render(parts->ILAllPublicPM, 20);
    EXPECT_EQ(menu->Pixel(8, 8) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(menu->Pixel(0, 0), 0xFF123456u);
    // The tree twin: rows 0 and 17 in the window colour, the icon one row down.
    auto tree = Render(parts->ILAllPublicTV, 20);
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(tree->Pixel(x, 0) & 0xFFFFFF, WindowArgb());
        EXPECT_EQ(tree->Pixel(x, 17) & 0xFFFFFF, WindowArgb());
    }
    EXPECT_EQ(tree->Pixel(8, 9) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(tree->Pixel(8, 3) & 0xFFFFFF, WindowArgb());
    // The break image 5 moved behind the item icons.
    auto moved = Render(parts->ILAllPublicPM, 21);
    auto fixed = Render(parts->ILAllPublicPM, 14);
    EXPECT_NE(moved->Pixel(8, 8), fixed->Pixel(8, 8));
}

TEST_F(StoreTest, DirectoriesShowThePaleFolder) {
    rztest::MakeDir(dir / "docs");
    WriteList("shortcuts.txt", "^UnkLnk|" + dir.Path() + "docs\\||Docs\r\n");
    Load();
    EXPECT_EQ(TopEntries()[0]->ImageIndex(), kIconDirectory);
}

TEST_F(StoreTest, AManagerAddedIconIsAppendedToBothListsAtFifteenWithoutAListFile) {
    Load();
    rztest::WriteFile(dir / "added.txt", "x");
    EXPECT_EQ(store->icons.InsertFileIcon(dir / "added.txt", -1, false), 15);
    EXPECT_EQ(parts->ILAllPublicPM.Count(), 16);
    EXPECT_EQ(parts->ILAllPublicTV.Count(), 16);
    // Type icon twins and the fixed twins have their window-colour rows too.
    for (int slot : {0, 15}) {
        auto tree = Render(parts->ILAllPublicTV, slot);
        EXPECT_EQ(tree->Pixel(8, 0) & 0xFFFFFF, WindowArgb()) << slot;
        EXPECT_EQ(tree->Pixel(8, 17) & 0xFFFFFF, WindowArgb()) << slot;
    }
}

TEST_F(StoreTest, LoadingAndReloadingReleasesEveryGdiObject) {
    // A few hundred items of every icon source.
    std::string list;
    rztest::WriteFile(dir / "real.exe", "");
    for (int i = 0; i < 70; ++i) {
        list += "^ExeLnk|C:\\gone\\p" + std::to_string(i) + ".exe||pic.bmp|Picture " + std::to_string(i) + "\r\n";
        list += "^ExeLnk|" + dir.Path() + "real.exe||pic.bmp|Real " + std::to_string(i) + "\r\n";
        list += "^UnkLnk|C:\\d" + std::to_string(i) + ".t" + std::to_string(i % 7) + "|t" + std::to_string(i % 7) +
                "|Doc\r\n";
    }
    WriteList("shortcuts.txt", list);
    SavePicture(dir / "shortcuts\\pic.bmp");
    Load();
    const unsigned afterFirst = rztest::GdiObjectsInUse();
    for (int round = 0; round < 3; ++round) {
        TVItems.Clear();
        parts->TVUndo.Clear();
        parts->PMItems.Items().Clear();
        store->tables.Clear();
        std::unique_ptr<TBitmap> small[3], large[3];
        const TBitmap* s[3];
        const TBitmap* l[3];
        for (int i = 0; i < 3; ++i) {
            small[i] = std::make_unique<TBitmap>(16, 16);
            large[i] = std::make_unique<TBitmap>(16, 18);
            s[i] = small[i].get();
            l[i] = large[i].get();
        }
        int managerIcons = 0;
        store->icons.CutBack(s, l, managerIcons);
        Load();
    }
    rztest::MakeDir(dir / "out");
    store->WriteItemListFile(store->TopAnchor(), dir.Path() + "out");
    EXPECT_LE(rztest::GdiObjectsInUse(), afterFirst + 2) << "GDI objects leak per load or save";
    EXPECT_EQ(parts->ILAllPublicPM.Count(), parts->ILAllPublicTV.Count());
}

namespace {

// Every pixel of a list image as Render draws it.
std::vector<uint32_t> Pixels(const TImageList& list, int slot) {
    auto b = Render(list, slot);
    std::vector<uint32_t> out;
    for (int y = 0; y < b->Height(); ++y)
        for (int x = 0; x < b->Width(); ++x) out.push_back(b->Pixel(x, y) & 0xFFFFFF);
    return out;
}

// Equal but for rounding in the blending of translucent pixels.
bool Close(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 2) return false;
    return true;
}

}  // namespace

// A program named by many items is one slot, taken late: its type's icon stands
// in, then its own lands in that slot of both lists and nowhere else.
TEST_F(StoreTest, ItemsOfOneProgramShareASlotWhoseOwnIconComesLateIntoBothLists) {
    const std::string notepad = rztest::SystemProgram("notepad.exe"), regedit = rztest::SystemProgram("regedit.exe");
    ASSERT_TRUE(rztest::FileExists(notepad) && rztest::FileExists(regedit));
    WriteList("shortcuts.txt", "^ExeLnk|" + notepad + "||notepad.bmp|One\r\n^ExeLnk|" + regedit +
                                   "||regedit.bmp|Two\r\n^Folder|Sub\r\n^ExeLnk|" + UpperCase(notepad) +
                                   "||notepad1.bmp|Three\r\n");
    rztest::MakeDir(dir / "shortcuts\\Sub");
    // A path through a variable names the same program.
    ::SetEnvironmentVariableA("RZT_PROGRAMS", notepad.substr(0, notepad.rfind('\\')).c_str());
    WriteList("Sub\\shortcuts.txt",
              "^ExeLnk|" + notepad + "||notepad.bmp|Four\r\n^ExeLnk|%RZT_PROGRAMS%\\notepad.exe||n.bmp|Five\r\n");
    Load();
    ::SetEnvironmentVariableA("RZT_PROGRAMS", nullptr);
    auto top = TopEntries();
    const int one = top[0]->ImageIndex(), two = top[1]->ImageIndex();
    EXPECT_NE(one, two);
    EXPECT_EQ(top[3]->ImageIndex(), one) << "letter case aside, one program";
    EXPECT_EQ(top[2]->GetFirstChild()->GetNextSibling()->ImageIndex(), one) << "on any level";
    EXPECT_EQ(top[2]->GetLastChild()->ImageIndex(), one) << "named through a variable";
    EXPECT_EQ(store->icons.ItemIconCount(), 2);
    TImageList &menu = parts->ILAllPublicPM, &tree = parts->ILAllPublicTV;
    ASSERT_EQ(menu.Count(), tree.Count());
    IconSources& sources = store->icons.sources;
    EXPECT_EQ(sources.LateCount(), 2);
    EXPECT_EQ(Pixels(menu, one), Pixels(menu, two)) << "both show their type's icon until taken";

    // Under Wine every program shows its type's icon; a folder's own icon is
    // not its stand-in, so a picture missing from one list shows.
    const std::string folder = dir / "shortcuts";
    const int own = sources.AddLateFile(folder);
    ASSERT_EQ(menu.Count(), tree.Count());
    const auto standIn = Pixels(menu, own);
    auto others = [&] {
        std::vector<std::vector<uint32_t>> all;
        for (int slot = 0; slot < menu.Count(); ++slot)
            if (slot != own) all.insert(all.end(), {Pixels(menu, slot), Pixels(tree, slot)});
        return all;
    };
    const auto before = others();
    EXPECT_TRUE(sources.TakeLate(own));
    EXPECT_FALSE(sources.TakeLate(own)) << "taken once";
    EXPECT_LE(rztest::IconDifference(menu, own, folder), 2);
    ASSERT_NE(Pixels(menu, own), standIn);
    // The tree twin: the same picture one row down on the window's colour.
    auto twin = Render(tree, own);
    TBitmap onWindow(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) onWindow.SetPixel(x, y, 0xFF000000u | WindowArgb());
    menu.Draw(onWindow.Canvas(), 0, 0, own);
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(twin->Pixel(x, 0) & 0xFFFFFF, WindowArgb());
        EXPECT_EQ(twin->Pixel(x, 17) & 0xFFFFFF, WindowArgb());
        for (int y = 0; y < 16; ++y) ASSERT_TRUE(Close(twin->Pixel(x, y + 1), onWindow.Pixel(x, y))) << x << "," << y;
    }
    EXPECT_TRUE(others() == before) << "another slot changed";

    // What is left comes while the program waits.
    EXPECT_FALSE(store->TakeLateIcons(60000));
    EXPECT_EQ(sources.LateCount(), 0);
    EXPECT_LE(rztest::IconDifference(menu, one, notepad), 2);
}

// A save writes each program's own icon as its picture, never the stand-in.
TEST_F(StoreTest, APictureSavedBeforeTheIconWasTakenIsTheProgramsOwn) {
    const std::string regedit = rztest::SystemProgram("regedit.exe");
    WriteList("shortcuts.txt", "^ExeLnk|" + regedit + "||regedit.bmp|Two\r\n");
    Load();
    const int slot = TopEntries()[0]->ImageIndex();
    ASSERT_EQ(store->icons.sources.LateCount(), 1);
    rztest::MakeDir(dir / "out");
    store->WriteItemListFile(store->TopAnchor(), dir.Path() + "out");
    EXPECT_EQ(store->icons.sources.LateCount(), 0);
    ASSERT_TRUE(store->icons.SaveIconPicture(slot, dir / "own.bmp"));
    EXPECT_EQ(rztest::ReadFile(dir / "out\\regedit.bmp"), rztest::ReadFile(dir / "own.bmp"));
}
