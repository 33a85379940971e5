// The item manager's display: the properties of the selection, the button
// states, the status line and hints, Undo, Close and the window's layout.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ManagerFixture.h"
#include "items/ItemStore.h"
#include "platform/Bitmap.h"
#include "core/Launching.h"

using namespace rz;
using rztest::ManagerTest;
using rztest::WindowText;

namespace {

bool On(const TControl& c) { return ::IsWindowEnabled(c.Handle()) != FALSE; }

// The Properties panel as one line, from the windows themselves.
std::string Shown(TFormItems& f) {
    auto state = [](const TControl& c) { return std::string(On(c) ? "on" : "off"); };
    return WindowText(f.LblFType.Handle()) + " | name " + state(f.EditSName) + " '" + f.EditSName.Text() +
           "' | params " + state(f.EditSParams) + " '" + f.EditSParams.Text() + "' | " + f.RichEditFPath.Text() +
           " | " + f.RichEditFName.Text();
}

std::string Fixed(const std::string& type, const std::string& nameState, const std::string& name) {
    return "Item Type: " + type + " | name " + nameState + " '" + name +
           "' | params off 'N/A' | File Path: N/A | File Name: N/A";
}

std::string Captions(const TTreeNode* first, int depth = 0) {
    std::string out;
    for (const TTreeNode* n = first; n; n = n->GetNextSibling())
        out += std::string(depth, ' ') + n->Text() + "\n" + Captions(n->GetFirstChild(), depth + 1);
    return out;
}

uint32_t Rgb(COLORREF c) { return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); }

std::vector<uint32_t> Pixels(const TBitmap& b) {
    std::vector<uint32_t> out;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) out.push_back(b.Pixel(x, y) & 0xFFFFFF);
    return out;
}

// A menu-list image as it looks drawn over the button face.
std::vector<uint32_t> IconOverFace(const TImageList& list, int slot) {
    TBitmap b(16, 16);
    unique_hbrush face(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
    RECT all{0, 0, 16, 16};
    ::FillRect(b.Canvas(), &all, face.get());
    list.Draw(b.Canvas(), 0, 0, slot);
    return Pixels(b);
}

uint32_t ImageColour(const TImageList& list, int slot) {
    TBitmap b(list.Width(), list.Height());
    list.Draw(b.Canvas(), 0, 0, slot);
    return b.Pixel(8, 8) & 0xFFFFFF;
}

// What adding a file with an icon of its own appends: one image to each list.
void AppendImage(TFormItems& f, uint32_t rgb) {
    for (TImageList* list : {&f.ILAllPublicPM, &f.ILAllPublicTV}) {
        TBitmap b(list->Width(), list->Height());
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, 0xFF000000 | rgb);
        TBitmap::Unselected image(b);
        list->Add(image.get(), nullptr);
    }
}

RECT RectInParent(const TControl& c) {
    RECT r;
    ::GetWindowRect(c.Handle(), &r);
    ::MapWindowPoints(nullptr, ::GetParent(c.Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Bounds(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

// Runs the message loop for ms, or until done() holds.
template <class Done>
void Pump(DWORD ms, Done done) {
    const DWORD end = ::GetTickCount() + ms;
    while (!done() && static_cast<int>(end - ::GetTickCount()) > 0) {
        Application.ProcessMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

}  // namespace

TEST_F(ManagerTest, PropertiesOfUserEntriesFollowTheirKind) {
    StartWithAllKinds();
    TFormItems& f = Items();
    int nameChanges = 0, paramChanges = 0;
    f.EditSName.OnChange = [&](TObject*) { ++nameChanges; };
    f.EditSParams.OnChange = [&](TObject*) { ++paramChanges; };
    const std::pair<TTreeNode*, std::string> cases[] = {
        {Anchor(), Fixed("Utility item", "off", "Top")},
        {Entry("Run"),
         "Item Type: Runable item | name on 'Run' | params on '-q /x' | File Path: C:\\Tools\\ | "
         "File Name: run.cmd"},
        {Entry("Games"), Fixed("Virtual item", "on", "Games")},
        {Entry("Plain"),
         "Item Type: Runable item | name on 'Plain' | params off '' | File Path: C:\\Tools\\ | "
         "File Name: plain.bat"},
        {Entry("Games")->GetFirstChild(), Fixed("Utility item", "off", "Top")},
        {Entry("App"),
         "Item Type: Executable item | name on 'App' | params on '-v --fast' | "
         "File Path: C:\\Tools\\ | File Name: app.exe"},
        {Entry("---------------"), Fixed("Separator item", "on", "")},
        {Entry("Tool"),
         "Item Type: Executable item | name on 'Tool' | params on '' | File Path: C:\\Tools\\ | "
         "File Name: TOOL.EXE"},
        {Entry("--Work--"), Fixed("Separator item", "on", "Work")},
        {Entry("Edit"),
         "Item Type: Executable item | name on 'Edit' | params on '' | File Path: C:\\Tools\\ | "
         "File Name: edit.com"},
        {Entry("--a-b--"), Fixed("Separator item", "on", "a-b")},
        {Entry("Mail"),
         "Item Type: Shortcut item | name on 'Mail' | params off 'N/A' | File Path: C:\\Links\\ | "
         "File Name: Mail.LNK"},
        {Entry("Docs"), "Item Type: Viewable item | name on 'Docs' | params off 'N/A' | File Path: " + dir.Path() +
                            " | File Name: docs"},
        {Entry("Readme"),
         "Item Type: Viewable item | name on 'Readme' | params off 'N/A' | "
         "File Path: C:\\my.dir\\ | File Name: README"},
        {Entry("Chess"),
         "Item Type: Viewable item | name on 'Chess' | params off 'N/A' | File Path: C:\\docs\\ | "
         "File Name: chess.txt"},
    };
    for (const auto& [node, expected] : cases) {
        Pick(node);
        EXPECT_EQ(Shown(f), expected) << node->Text();
    }
    // Shown, not renamed: the anchor keeps its empty caption.
    EXPECT_EQ(Anchor()->Text(), "");
    EXPECT_EQ(Entry("--Work--")->Text(), "--Work--");
    EXPECT_EQ(nameChanges, 0);
    EXPECT_EQ(paramChanges, 0);
}

TEST_F(ManagerTest, SystemEntriesShowTheirNamesDisabledAndKeepTheirCaptions) {
    StartWithAllKinds();
    TFormItems& f = Items();
    const std::string before = Captions(Anchor());
    std::vector<TTreeNode*> system = {Entry("--Sysmenu--"), Entry("Razaveza Kit"), Entry("Close")};
    for (TTreeNode* n = Entry("Razaveza Kit")->GetFirstChild(); n; n = n->GetNextSibling()) system.push_back(n);
    ASSERT_EQ(system.size(), 3u + 8u);
    for (TTreeNode* n : system) {
        // A file entry in between, so that nothing is left over from the last one.
        Pick(Entry("Run"));
        Pick(n);
        std::string name = n->Text() == "--Sysmenu--" ? "Sysmenu" : n->Text() == kNorSepText ? "" : n->Text();
        EXPECT_EQ(Shown(f), Fixed("Program item", "off", name)) << n->Text();
    }
    EXPECT_EQ(Captions(Anchor()), before);
}

TEST_F(ManagerTest, TheTypeImageIsTheEntrysMenuIconOverTheButtonFace) {
    StartWithAllKinds();
    TFormItems& f = Items();
    const std::vector<uint32_t> face(16 * 16, Rgb(::GetSysColor(COLOR_BTNFACE)));
    // The anchor image has both ink and see-through pixels.
    const std::vector<uint32_t> anchor = IconOverFace(f.ILAllPublicPM, kIconAnchor);
    ASSERT_NE(anchor, face);
    ASSERT_NE(std::find(anchor.begin(), anchor.end(), face[0]), anchor.end());

    for (TTreeNode* n : {Anchor(), Entry("Games"), Entry("Docs"), Entry("Report"), Entry("App"), Entry("--Work--")}) {
        // Stale content the display has to paint over.
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) f.ImgFType.Picture().SetPixel(x, y, 0x00123456);
        Pick(n);
        EXPECT_EQ(Pixels(f.ImgFType.Picture()), IconOverFace(f.ILAllPublicPM, n->ImageIndex())) << n->Text();
    }
    // An entry without an icon leaves the bare button face.
    EXPECT_EQ(Entry("App")->ImageIndex(), -1);
    Pick(Entry("App"));
    EXPECT_EQ(Pixels(f.ImgFType.Picture()), face);
}

TEST_F(ManagerTest, ButtonStatesFollowTheSelectedEntry) {
    StartWithAllKinds();
    TFormItems& f = Items();
    struct Case {
        TTreeNode* node;
        bool cut, copy, launch;
    };
    TTreeNode* kit = Entry("Razaveza Kit");
    const Case cases[] = {
        {Anchor(), false, false, false},
        {Entry("Games"), true, false, false},
        {Entry("Games")->GetFirstChild(), false, false, false},
        {Entry("Chess"), true, true, true},
        {Entry("---------------"), true, true, false},
        {Entry("--Work--"), true, true, false},
        {Entry("Run"), true, true, true},
        {Entry("Docs"), true, true, true},
        {Entry("--Sysmenu--"), false, false, false},
        {kit, false, false, false},
        {kit->GetFirstChild(), false, false, false},
        {Entry("Report"), true, true, true},
        {Entry("Close"), false, false, false},
    };
    // Attach is left alone while the attach-ready flag is 0.
    ASSERT_EQ(f.BitBtnAttach.Tag, 0);
    f.BitBtnAttach.SetEnabled(true);
    for (const Case& c : cases) {
        Pick(c.node);
        const std::string what = c.node->Text().empty() ? "(anchor)" : c.node->Text();
        EXPECT_EQ(On(f.BitBtnCut), c.cut) << what;
        EXPECT_EQ(On(f.BitBtnDelete), c.cut) << what;
        EXPECT_EQ(On(f.BitBtnCopy), c.copy) << what;
        EXPECT_EQ(On(f.BitBtnLaunch), c.launch) << what;
        // Nothing is on the item clipboard.
        EXPECT_FALSE(On(f.BitBtnPaste)) << what;
        EXPECT_TRUE(On(f.BitBtnAttach)) << what;
    }
    f.BitBtnAttach.Tag = 1;
    for (const Case& c : cases) {
        Pick(c.node);
        EXPECT_EQ(On(f.BitBtnAttach), !IsSystemEntry(c.node)) << c.node->Text();
    }
}

TEST_F(ManagerTest, StatusLineShowsMessagesAndHintsAndFallsBackToReady) {
    StartWithAllKinds();
    TFormItems& f = Items();
    TTimer& timer = f.TimerStatusText;
    EXPECT_EQ(Status(), "Ready");
    EXPECT_FALSE(timer.Enabled());

    f.StatusMessage("Save succesful!");
    EXPECT_EQ(StatusShown(), "Save succesful!");
    EXPECT_EQ(timer.Interval(), 4750u);
    // A message before any hint does not start the timer.
    EXPECT_FALSE(timer.Enabled());
    f.TimerStatusTextTimer(&timer);
    EXPECT_EQ(StatusShown(), "Ready");
    EXPECT_EQ(timer.Interval(), 100u);

    f.ShowHintText("Get help");
    EXPECT_EQ(StatusShown(), "Get help");
    EXPECT_EQ(timer.Interval(), 100u);
    EXPECT_TRUE(timer.Enabled());
    f.TimerStatusTextTimer(&timer);
    EXPECT_EQ(StatusShown(), "Get help");

    // A hint replaces a message at once, and then stays like any hint.
    f.StatusMessage("The folder has to have a name");
    EXPECT_EQ(timer.Interval(), 4750u);
    f.ShowHintText("Delete an item");
    EXPECT_EQ(timer.Interval(), 100u);
    f.TimerStatusTextTimer(&timer);
    EXPECT_EQ(StatusShown(), "Delete an item");

    // A control without a hint empties the panel; the next tick says "Ready".
    f.ShowHintText("");
    EXPECT_EQ(StatusShown(), "");
    f.TimerStatusTextTimer(&timer);
    EXPECT_EQ(StatusShown(), "Ready");
    EXPECT_EQ(Status(), "Ready");
}

TEST_F(ManagerTest, TheStatusTimerTicksOnItsOwn) {
    StartWithAllKinds();
    TFormItems& f = Items();
    f.ShowHintText("");
    Pump(2000, [&] { return StatusShown() == "Ready"; });
    EXPECT_EQ(StatusShown(), "Ready");
    // A message outlasts several hint ticks.
    f.StatusMessage("Save succesful!");
    Pump(500, [] { return false; });
    EXPECT_EQ(StatusShown(), "Save succesful!");
}

TEST_F(ManagerTest, ApplicationHintsReachTheStatusLineOnlyWhileTheManagerIsActive) {
    StartWithAllKinds();
    TFormItems& f = Items();
    Application.SetHint("");
    ASSERT_NE(::GetActiveWindow(), f.Handle());
    Application.SetHint("Undo|Undo all changes (since last save)");
    EXPECT_EQ(StatusShown(), "Ready");
    EXPECT_FALSE(f.TimerStatusText.Enabled());

    f.Show();
    ::SetActiveWindow(f.Handle());
    if (::GetActiveWindow() != f.Handle()) GTEST_SKIP() << "Wine did not activate the item manager";
    Application.SetHint("Save|Save changes take effect after closing the form");
    EXPECT_EQ(StatusShown(), "Save changes take effect after closing the form");
    EXPECT_TRUE(f.TimerStatusText.Enabled());
    EXPECT_EQ(f.TimerStatusText.Interval(), 100u);
    Application.SetHint("A hint without a long part");
    EXPECT_EQ(StatusShown(), "A hint without a long part");
    Application.SetHint("");
    EXPECT_EQ(StatusShown(), "");

    // The pointer over a control, a disabled one included, and over the tree.
    auto pointAt = [](const TControl& c) {
        RECT r;
        ::GetWindowRect(c.Handle(), &r);
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        if (!::SetCursorPos(p.x, p.y)) return false;
        // In Wine's desktop the X server confirms a warp later, and a late
        // confirmation of the previous one moves the pointer back: wait until
        // it stays where it was put.
        int steady = 0;
        for (int i = 0; i < 100 && steady < 5; ++i) {
            ::Sleep(10);
            POINT now{};
            steady = ::GetCursorPos(&now) && now.x == p.x && now.y == p.y ? steady + 1 : 0;
            if (!steady) ::SetCursorPos(p.x, p.y);
        }
        return steady >= 5;
    };
    ASSERT_FALSE(On(f.BitBtnAttach));
    const std::pair<const TControl*, std::string> under[] = {
        {&f.BitBtnUndo, "Undo all changes (since last save)"},
        {&f.BitBtnAttach, "Attach either a file or separator (depends on selection)"},
        {&f.TVItems, ""},
    };
    for (const auto& [control, expected] : under) {
        if (!pointAt(*control)) GTEST_SKIP() << "the pointer cannot be put on " << control->Name;
        Application.TrackHint(f.Handle());
        EXPECT_EQ(StatusShown(), expected) << control->Name;
    }
    f.TimerStatusTextTimer(&f.TimerStatusText);
    EXPECT_EQ(StatusShown(), "Ready");
}

TEST_F(ManagerTest, EveryControlCarriesItsHint) {
    StartWithAllKinds();
    TFormItems& f = Items();
    const std::pair<const TControl*, const char*> hints[] = {
        {&f.PanelHeadProp, "\"Properties\" is the place where you can view and modify the details of each item"},
        {&f.ImageDesProp, "\"Properties\" is the place where you can view the details of each item"},
        {&f.LblFType, "The type of the item (some are handled by program)"},
        {&f.ImgFType, "This is the showed \"item text\""},
        {&f.RichEditFPath, "The file-path (e.g. c:\\corvane\\) which the item points at"},
        {&f.RichEditFName, "The file-name (e.g. zeredudu.roz) which the item points at"},
        {&f.RichEditFParams, "The parameters to use for executing this (exe) file"},
        {&f.PanelHeadAdmin, "\"Administer\" is the place where you add, delete etc. items"},
        {&f.ImageDesAdmin, "\"Administer\" is the place where you add, delete etc. items"},
        {&f.BitBtnSweep, "Sweep for invalid items (e.g. non-existing files)"},
        {&f.BitBtnUndo, "Undo all changes (since last save)"},
        {&f.BitBtnSave, "Save changes take effect after closing the form - only new changes can be undone - Ctrl+S"},
        {&f.BitBtnClose, "Exit (changes made since last save won't be applyed)"},
        {&f.RBFile, "Choosing this will enable the \"add..\" which is used with files"},
        {&f.RBFileDirectory, "Choosing this will enable the \"add..\" which is used with directories"},
        {&f.RBSeparator, "Choosing this makes it possible to add separators"},
        {&f.RBFolder, "Choosing this makes it possible to add sub-treeview-folders"},
        {&f.MemoAddName, "This will be the showed \"item text\" for whatever item type"},
        {&f.BitBtnFind, "Find a file of any type and prepare it to be attached"},
        {&f.BitBtnAttach, "Attach either a file or separator (depends on selection)"},
        {&f.BitBtnCut, "Cut an item (in most cases to paste it into another place) - Ctrl+X"},
        {&f.BitBtnCopy, "Copy an item (in most cases to paste it into another place) - Ctrl+C"},
        {&f.BitBtnPaste, "Paste an item which you have just cutted or copyed before - Ctrl+V"},
        {&f.BitBtnDelete, "Delete an item - Del"},
        {&f.BitBtnLaunch, "Launch the given shortcut (the same as launching them from the popumenu) - Enter"},
        {&f.BitBtnHelp, "Get help"},
        {&f.EditSName, "This is the showed \"item text\" - F2 to rename, Esc back to the tree"},
        {&f.EditSParams, "The parameters to use for executing this (exe) file"},
        {&f.TVItems, ""},
        {&f.StatusBarHelp, ""},
        {&f.PanelProp, ""},
        {&f.RGSelectType, ""},
        {&f.LabelItemText, ""},
    };
    for (const auto& [control, expected] : hints) {
        // What the status line shows of it: the part after "|", or all of it.
        const std::string& hint = control->Hint;
        const size_t bar = hint.find('|');
        EXPECT_EQ(bar == std::string::npos ? hint : hint.substr(bar + 1), expected) << control->Name;
    }
}

TEST_F(ManagerTest, UndoRestoresTreeSelectionAndIconCount) {
    StartWithAllKinds();
    TFormItems& f = Items();
    ItemStore& store = f.store;
    const std::string loaded = Dump(Anchor());
    ASSERT_EQ(Dump(f.TVUndo.GetFirstNode()), loaded);
    // Type icons shifted break 5 away from its first slot.
    const int break5 = store.icons.slots.break5;
    EXPECT_GT(break5, 14);
    ASSERT_EQ(f.ILAllPublicPM.Count(), break5 + 1);
    ASSERT_EQ(f.ILAllPublicTV.Count(), break5 + 1);

    // One icon belongs to the undo copy (added before the last save), two came later.
    AppendImage(f, 0xC00000);
    f.TVUndo.Tag = 1;
    AppendImage(f, 0x00C000);
    AppendImage(f, 0x0000C0);
    f.TVItems.Tag = 3;
    f.TVItems.Expand(Entry("Games"));
    ASSERT_EQ(Entry("Games")->SelectedIndex(), kIconFolderOpen);
    f.TVItems.Delete(Entry("Report"));
    TTreeNode* added = f.TVItems.InsertAfter(Entry("Run"), "New");
    added->SetImageIndex(break5 + 3);
    added->SetSelectedIndex(break5 + 3);
    added->ItemId = store.tables.AddLink("C:\\new.txt", nullptr);
    Pick(added);
    const int rows = store.tables.paths.Length();
    const int nextId = store.tables.nextItemId;

    f.BitBtnUndo.Click();

    EXPECT_EQ(Dump(Anchor()), loaded);
    HWND tv = f.TVItems.Handle();
    // All collapsed again: the window holds the top level only.
    int topLevel = 0;
    for (TTreeNode* n = f.TVItems.GetFirstNode(); n; n = n->GetNextSibling()) ++topLevel;
    EXPECT_EQ(static_cast<int>(::SendMessageA(tv, TVM_GETCOUNT, 0, 0)), topLevel);
    TTreeNode* games = Entry("Games");
    EXPECT_EQ(::SendMessageA(tv, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(games->Handle()), TVIS_EXPANDED), 0);
    EXPECT_EQ(f.TVItems.Selected(), Anchor());
    EXPECT_EQ(f.SaveRoot(), Anchor());
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(::SendMessageA(tv, TVM_GETNEXTITEM, TVGN_CARET, 0)), Anchor()->Handle());
    EXPECT_EQ(Shown(f), Fixed("Utility item", "off", "Top"));

    EXPECT_EQ(f.TVItems.Tag, 1);
    EXPECT_EQ(f.ILAllPublicPM.Count(), break5 + 2);
    EXPECT_EQ(f.ILAllPublicTV.Count(), break5 + 2);
    EXPECT_EQ(ImageColour(f.ILAllPublicPM, break5 + 1), 0xC00000u);
    EXPECT_EQ(ImageColour(f.ILAllPublicTV, break5 + 1), 0xC00000u);
    // The tables keep their rows and the next id.
    EXPECT_EQ(store.tables.paths.Length(), rows);
    EXPECT_EQ(store.tables.nextItemId, nextId);
}

TEST_F(ManagerTest, ClosingWithoutASaveRestoresTheTreeAndReloadsNothing) {
    StartWithAllKinds();
    TFormItems& f = Items();
    int reloads = 0;
    f.reloadItems = [&] { ++reloads; };
    const std::string loaded = Dump(Anchor());
    Pick(Entry("Run"));
    // Opened from the launcher menu: the anchor is selected and shown.
    f.miManageItemsClick(nullptr);
    ASSERT_TRUE(f.Visible());
    EXPECT_EQ(f.TVItems.Selected(), Anchor());
    EXPECT_EQ(Shown(f), Fixed("Utility item", "off", "Top"));
    f.TVItems.Delete(Entry("Report"));
    Pick(Entry("Run"));

    f.BitBtnClose.Click();

    EXPECT_EQ(reloads, 0);
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(Dump(Anchor()), loaded);
    EXPECT_EQ(f.TVItems.Selected(), Anchor());
    EXPECT_TRUE(static_cast<bool>(f.TVItems.OnChange));
}

TEST_F(ManagerTest, ClosingAfterASaveReloadsOnceAndClearsTheSavedFlag) {
    StartWithAllKinds();
    TFormItems& f = Items();
    PlayWaveFile.Replace([](const std::string&) { return true; });
    struct Reload {
        bool visible;
        bool changeAttached;
        std::string tree;
    };
    std::vector<Reload> reloads;
    f.reloadItems = [&] { reloads.push_back({f.Visible(), static_cast<bool>(f.TVItems.OnChange), Dump(Anchor())}); };
    ::ShowWindow(f.Handle(), SW_SHOWNOACTIVATE);
    f.TVItems.Delete(Entry("Report"));
    f.BitBtnSave.Click();
    PlayWaveFile.Restore();
    ASSERT_TRUE(f.Saved()) << Status();
    const std::string saved = Dump(Anchor());
    f.TVItems.InsertAfter(Entry("Run"), "Unsaved");

    f.BitBtnClose.Click();

    ASSERT_EQ(reloads.size(), 1u);
    EXPECT_FALSE(reloads[0].visible);
    EXPECT_FALSE(reloads[0].changeAttached);
    // The unsaved change is gone before the reload starts.
    EXPECT_EQ(reloads[0].tree, saved);
    EXPECT_FALSE(f.Saved());
    EXPECT_TRUE(static_cast<bool>(f.TVItems.OnChange));
    EXPECT_EQ(f.TVItems.Selected(), Anchor());

    // The close box of the window, now without a save since.
    ::SendMessageA(f.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(reloads.size(), 1u);
    EXPECT_FALSE(f.Visible());
}

TEST_F(ManagerTest, ExpandingAndCollapsingAFolderSwitchesItsSelectedImage) {
    StartWithAllKinds();
    TFormItems& f = Items();
    TTreeNode* games = Entry("Games");
    HWND tv = f.TVItems.Handle();
    auto windowImage = [&] {
        TVITEMA item{};
        item.mask = TVIF_HANDLE | TVIF_SELECTEDIMAGE;
        item.hItem = games->Handle();
        ::SendMessageA(tv, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.iSelectedImage;
    };
    // As the user does it, with the keys on the selected folder: a
    // TVM_EXPAND of the program's own reports nothing after the first time.
    Pick(games);
    ::SendMessageA(tv, WM_KEYDOWN, VK_RIGHT, 0);
    ASSERT_TRUE(games->Expanded());
    EXPECT_EQ(games->SelectedIndex(), kIconFolderOpen);
    EXPECT_EQ(windowImage(), kIconFolderOpen);
    EXPECT_EQ(games->ImageIndex(), kIconFolder);
    ::SendMessageA(tv, WM_KEYDOWN, VK_LEFT, 0);
    ASSERT_FALSE(games->Expanded());
    EXPECT_EQ(games->SelectedIndex(), kIconFolder);
    EXPECT_EQ(windowImage(), kIconFolder);
    EXPECT_EQ(games->ImageIndex(), kIconFolder);
}

TEST_F(ManagerTest, WindowLayoutAndInitialState) {
    StartWithAllKinds();
    TFormItems& f = Items();
    RECT client;
    ::GetClientRect(f.Handle(), &client);
    EXPECT_EQ(Bounds(client), "0,0 521x534");
    EXPECT_EQ(Bounds(RectInParent(f.TVItems)), "0,0 346x514");
    EXPECT_EQ(Bounds(RectInParent(f.PanelHeadProp)), "346,0 175x26");
    EXPECT_EQ(Bounds(RectInParent(f.PanelProp)), "346,26 175x149");
    EXPECT_EQ(Bounds(RectInParent(f.PanelHeadAdmin)), "346,175 175x26");
    EXPECT_EQ(Bounds(RectInParent(f.PanelAdmin)), "346,201 175x313");
    const RECT type = RectInParent(f.ImgFType);
    EXPECT_EQ(type.right - type.left, 16);
    EXPECT_EQ(type.bottom - type.top, 16);

    int parts[4] = {};
    ASSERT_EQ(::SendMessageA(f.StatusBarHelp.Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(parts)), 1);
    EXPECT_EQ(parts[0], 345);
    EXPECT_EQ(StatusShown(), "Ready");

    EXPECT_FALSE(f.TimerStatusText.Enabled());
    EXPECT_FALSE(f.TimerDrag.Enabled());
    EXPECT_FALSE(f.TimerExpand.Enabled());
    EXPECT_EQ(f.TimerStatusText.Interval(), 100u);
    EXPECT_EQ(f.TimerDrag.Interval(), 150u);
    EXPECT_EQ(f.TimerExpand.Interval(), 400u);
    EXPECT_FALSE(f.Visible());
}

TEST_F(ManagerTest, TheCaptionCarriesTheTitleOnlyWhenThePlatformDraws) {
    StartWithAllKinds();
    TFormItems& f = Items();
    ASSERT_TRUE(Settings.WindowsDraw);
    EXPECT_EQ(WindowText(f.Handle()), "Corvane Razaveza - Manage Items");
    EXPECT_FALSE(static_cast<bool>(f.OnPaint));

    Settings.WindowsDraw = false;
    ApplySettings();
    EXPECT_EQ(WindowText(f.Handle()), "");
    // The title is painted instead, on activation, deactivation and paint.
    EXPECT_TRUE(f.OnPaint && f.OnActivate && f.OnDeactivate);

    Settings.WindowsDraw = true;
    ApplySettings();
    EXPECT_EQ(WindowText(f.Handle()), "Corvane Razaveza - Manage Items");
    EXPECT_FALSE(f.OnPaint || f.OnActivate || f.OnDeactivate);
}

// Left outside every monitor (one that was unplugged), the window comes back
// inside the work area when the monitors change and when it is shown.
TEST_F(ManagerTest, TheWindowComesBackOnScreenWhenTheMonitorsChange) {
    StartWithAllKinds();
    TFormItems& f = Items();
    RECT work{}, r{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (const UINT msg : {WM_DISPLAYCHANGE, WM_SETTINGCHANGE, WM_NULL}) {
        ::SetWindowPos(f.Handle(), nullptr, -3000, 2500, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (msg == WM_NULL) f.Show();
        else ::SendMessageA(f.Handle(), msg, msg == WM_SETTINGCHANGE ? SPI_SETWORKAREA : 32, 0);
        ::GetWindowRect(f.Handle(), &r);
        EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom)
            << msg;
        f.Hide();
    }
}
