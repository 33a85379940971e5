// Adding entries in the item manager: the add types, Find through the two
// dialogs (stood in for), and Attach of every kind.

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "ManagerFixture.h"
#include "core/Launching.h"
#include "items/ItemStore.h"
#include "manager/FolderRules.h"
#include "support/UcvCallExternal.h"

using namespace rz;

namespace {

class AddTest : public rztest::ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        // Kept as named below the Windows directory.
        PlayWaveFile.Replace([this](const std::string& file) {
            sounds.push_back(file.substr(file.rfind("media\\")));
            return true;
        });
        ShowOpenDialog.Replace([this](OPENFILENAMEA& request) {
            // The filter's parts end with NUL, the list with a second one.
            std::string filter;
            for (const char* p = request.lpstrFilter; p && *p; p += std::strlen(p) + 1) filter += std::string(p) + "|";
            requests.push_back({filter, request.Flags, request.hwndOwner});
            if (chosenFile.empty()) return false;
            chosenFile.copy(request.lpstrFile, request.nMaxFile - 1);
            return true;
        });
        ShowFolderBrowser.Replace(
            [this](HWND owner, const std::string& prompt, const std::string& root, std::string& d) {
                EXPECT_EQ(owner, Items().Handle()) << "centred on the manager";
                browsed.push_back(prompt + "|" + root + "|" + d);
                if (chosenFolder.empty()) return false;
                d = chosenFolder;
                return true;
            });
        StartWithAllKinds();
        Items().Show();
    }
    void TearDown() override {
        ShowFolderBrowser.Restore();
        ShowOpenDialog.Restore();
        PlayWaveFile.Restore();
        ManagerTest::TearDown();
    }

    std::string Label() const { return rztest::WindowText(Items().LabelItemText.Handle()); }
    std::string Memo() const { return Items().MemoAddName.Text(); }
    // The two icon lists stay slot for slot in step.
    void ExpectIcons(int count, const char* why = "") const {
        EXPECT_EQ(Items().ILAllPublicPM.Count(), count) << why;
        EXPECT_EQ(Items().ILAllPublicTV.Count(), count) << why;
    }

    // Attach with this text typed, after the entry picked.
    void AttachAfter(TTreeNode* after, const std::string& text) {
        Pick(after);
        Replace(Items().MemoAddName, text);
        Press(Items().BitBtnAttach);
    }

    std::vector<std::string> sounds;
    struct Request {
        std::string filter;
        DWORD flags;
        HWND owner;
    };
    std::vector<Request> requests;
    std::vector<std::string> browsed;
    std::string chosenFile;
    std::string chosenFolder;
};

TEST_F(AddTest, EachAddTypeParksItsTextAndSetsLabelAndButtons) {
    TFormItems& f = Items();
    EXPECT_TRUE(f.RBFile.Checked());
    Enter(f.RBSeparator);
    EXPECT_TRUE(f.RBSeparator.Checked());
    EXPECT_FALSE(f.RBFile.Checked());
    EXPECT_EQ(Label(), "Item (Separator) Text");
    EXPECT_FALSE(On(f.BitBtnFind));
    EXPECT_TRUE(On(f.BitBtnAttach));
    EXPECT_EQ(f.BitBtnAttach.Tag, 1);
    Replace(f.MemoAddName, "Tools line");
    Enter(f.RBFolder);
    EXPECT_EQ(Label(), "Item (Folder) Text");
    EXPECT_EQ(Memo(), "");
    Replace(f.MemoAddName, "New folder");
    Enter(f.RBSeparator);
    EXPECT_EQ(Memo(), "Tools line");
    // Without a pending file the file types offer nothing and keep no text.
    Enter(f.RBFileDirectory);
    EXPECT_TRUE(On(f.BitBtnFind));
    EXPECT_FALSE(On(f.BitBtnAttach));
    EXPECT_EQ(f.BitBtnAttach.Tag, 0);
    EXPECT_EQ(Label(), "Item Text");
    EXPECT_EQ(Memo(), "");
    Replace(f.MemoAddName, "typed without a directory");
    Enter(f.RBFolder);
    EXPECT_EQ(Memo(), "New folder");
    Enter(f.RBFileDirectory);
    EXPECT_EQ(Memo(), "");

    // With a pending file its label and text come back.
    Enter(f.RBFile);
    chosenFile = "C:\\Tools\\Report.Final.DOC";
    Press(f.BitBtnFind);
    EXPECT_EQ(Label(), "Item (doc) Text");
    EXPECT_EQ(Memo(), "Report.Final");
    EXPECT_TRUE(On(f.BitBtnAttach));
    Replace(f.MemoAddName, "My report");
    Pick(Entry("Close"));
    Enter(f.RBFolder);
    EXPECT_FALSE(On(f.BitBtnAttach)) << "a system entry is selected";
    Enter(f.RBFile);
    EXPECT_EQ(Label(), "Item (doc) Text");
    EXPECT_EQ(Memo(), "My report");
    EXPECT_EQ(f.PendingFile(), chosenFile);
    // Entering the checked type again changes nothing.
    Replace(f.MemoAddName, "kept");
    Enter(f.MemoAddName);
    Enter(f.RBFile);
    EXPECT_EQ(Memo(), "kept");
}

TEST_F(AddTest, FindTakesOverTheDialogsChoiceAndACancelChangesNothing) {
    TFormItems& f = Items();
    Press(f.BitBtnFind);
    ASSERT_EQ(requests.size(), 1u);
    const Request& r = requests[0];
    EXPECT_EQ(r.filter, "All Files (*.*)|*.*|");
    const DWORD flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING;
    EXPECT_EQ(r.flags & flags, flags);
    EXPECT_TRUE(r.flags & OFN_NOCHANGEDIR) << "a folder browsed once must not stay the working directory";
    EXPECT_EQ(r.owner, f.Handle());
    EXPECT_EQ(Label(), "Item Text:") << "cancelled";
    EXPECT_FALSE(On(f.BitBtnAttach));

    const std::pair<std::string, std::string> files[] = {
        {"C:\\Tools\\README", "Item () Text|README"},
        {"C:\\Tools\\.profile", "Item (profile) Text|"},
        {"C:\\Tools\\Setup.EXE", "Item (exe) Text|Setup"},
    };
    for (const auto& [file, shown] : files) {
        chosenFile = file;
        Press(f.BitBtnFind);
        EXPECT_EQ(Label() + "|" + Memo(), shown);
        EXPECT_EQ(f.PendingFile(), file);
    }
    // A failing dialog is swallowed; the panel keeps what it had.
    ShowOpenDialog.Replace([](OPENFILENAMEA&) -> bool { throw std::runtime_error("dialog failed"); });
    Press(f.BitBtnFind);
    EXPECT_EQ(Label() + "|" + Memo(), "Item (exe) Text|Setup");

    Enter(f.RBFileDirectory);
    Press(f.BitBtnFind);
    EXPECT_EQ(browsed, std::vector<std::string>{std::string(kPromptDirectory) + "||"}) << "nothing preselected";
    EXPECT_EQ(Label(), "Item Text");
    // Folders that exist: one that does not is refused as typed into the browser.
    rztest::MakeDir(dir / "my.dir");
    for (const auto& [folder, shown] :
         {std::pair<std::string, std::string>{dir / "my.dir", "my.dir"}, {"C:\\", "C:\\"}}) {
        chosenFolder = folder;
        Press(f.BitBtnFind);
        EXPECT_EQ(Label() + "|" + Memo(), "Item (directory) Text|" + shown);
        EXPECT_EQ(f.PendingDirectory(), folder);
        EXPECT_TRUE(On(f.BitBtnAttach));
    }
}

TEST_F(AddTest, SeparatorsAndFoldersGoAfterTheSelectionAndAttachStaysReady) {
    TFormItems& f = Items();
    Enter(f.RBSeparator);
    const std::pair<std::string, std::string> separators[] = {
        {"", "[---------------]"}, {"-----", "[---------------]"}, {"a-b", "[--a-b--]"}, {"a^b|c", "[--abc--]"}};
    for (const auto& [text, caption] : separators) {
        AttachAfter(Anchor(), text);
        TTreeNode* added = Anchor()->GetNextSibling();
        EXPECT_EQ(LevelOf(added).substr(0, caption.size()), caption) << text;
        EXPECT_EQ(added->ImageIndex(), caption.size() == 17 ? kIconNorSep : kIconSpeSep) << text;
        EXPECT_EQ(added->StateIndex(), -1);
        EXPECT_EQ(added->ItemId, -1);
        EXPECT_EQ(f.TVItems.Selected(), added);
        EXPECT_TRUE(On(f.BitBtnAttach));
        EXPECT_EQ(Label() + "|" + Memo(), "Item Text|");
    }
    // After a folder on its level; after its anchor, first inside it.
    TTreeNode* games = Entry("Games");
    AttachAfter(games, "after");
    EXPECT_EQ(games->GetNextSibling()->Text(), "--after--");
    AttachAfter(games->GetFirstChild(), "inside");
    EXPECT_EQ(LevelOf(games->GetFirstChild()), "[][--inside--][Chess]");

    Enter(f.RBFolder);
    AttachAfter(Entry("Report"), "  Tools \t");
    TTreeNode* tools = Entry("Report")->GetNextSibling();
    const std::string folderAndAnchor = "Tools [0/0/-1] #-1\n  [5/5/-1] #-1\n";
    EXPECT_EQ(Dump(tools).substr(0, folderAndAnchor.size()), folderAndAnchor);
    EXPECT_EQ(f.TVItems.Selected(), tools);
    EXPECT_TRUE(On(f.BitBtnAttach));
    EXPECT_TRUE(sounds.empty());

    // Refusals: chord, message, tree unchanged, the cleaned text kept.
    const std::string before = Dump(Anchor());
    const std::pair<std::string, const char*> refused[] = {{" \t ", kMsgFolderNoName},
                                                           {"a/b", kMsgFolderBadChars},
                                                           {"a^|?", kMsgFolderBadChars},
                                                           {"tab\there", kMsgFolderBadChars},
                                                           {"con.txt", kMsgFolderBadChars},
                                                           {"...", kMsgFolderBadChars},
                                                           {"Shortcuts.TXT", kMsgFolderBadChars},
                                                           {"tools. ", kMsgFolderDuplicate},
                                                           {"GAMES", kMsgFolderDuplicate},
                                                           {"report", kMsgFolderDuplicate}};
    for (const auto& [text, message] : refused) {
        sounds.clear();
        AttachAfter(Entry("Docs"), text);
        EXPECT_EQ(Status(), message) << text;
        EXPECT_EQ(sounds, std::vector<std::string>{kSoundRefused}) << text;
        EXPECT_EQ(Memo(), text == "a^|?" ? "a?" : text);
        EXPECT_EQ(Label(), "Item Text") << "as the last Attach left it";
    }
    EXPECT_EQ(Dump(Anchor()), before);
    // A namesake on another level is no duplicate.
    AttachAfter(games->GetFirstChild(), "tools");
    EXPECT_EQ(games->GetFirstChild()->GetNextSibling()->Text(), "tools");
}

TEST_F(AddTest, FilesAndDirectoriesGetRowsIdsAndIconsThatUndoTakesBack) {
    TFormItems& f = Items();
    ItemTables& tables = f.store.tables;
    const int images = f.ILAllPublicPM.Count();
    const int firstId = tables.nextItemId;
    rztest::WriteFile(dir / "tidy.cmd", "@echo off\r\n");
    rztest::WriteFile(dir / "notes.txt", "");

    chosenFile = dir / "tidy.cmd";
    Press(f.BitBtnFind);
    AttachAfter(Entry("Report"), "Tidy^");
    TTreeNode* tidy = Entry("Tidy");
    ASSERT_NE(tidy, nullptr);
    EXPECT_EQ(tidy->ItemId, firstId);
    EXPECT_EQ(tables.PathOf(firstId), chosenFile);
    EXPECT_TRUE(tables.HasParamRow(firstId)) << "a script gets its parameter row";
    ExpectIcons(images + 1);
    EXPECT_EQ(tidy->ImageIndex(), images) << "the slot just appended";
    EXPECT_EQ(tidy->ImageIndex(), f.store.icons.slots.break5 + f.TVItems.Tag);
    EXPECT_EQ(f.TVItems.Selected(), tidy);
    EXPECT_EQ(rztest::WindowText(f.LblFType.Handle()), "Item Type: Runable item");
    EXPECT_TRUE(On(f.EditSParams));
    EXPECT_FALSE(On(f.BitBtnAttach)) << "until the next Find";
    EXPECT_EQ(::GetFocus(), f.TVItems.Handle()) << "the keyboard is not left on a disabled button";
    EXPECT_EQ(f.BitBtnAttach.Tag, 0);
    EXPECT_EQ(f.PendingFile(), "");
    EXPECT_EQ(Label() + "|" + Memo(), "Item Text|");

    // An empty text is accepted; a plain document gets no parameter row.
    chosenFile = dir / "notes.txt";
    Press(f.BitBtnFind);
    AttachAfter(tidy, "");
    TTreeNode* notes = tidy->GetNextSibling();
    EXPECT_EQ(notes->Text(), "");
    EXPECT_EQ(notes->ItemId, firstId + 1);
    EXPECT_FALSE(tables.HasParamRow(firstId + 1));
    EXPECT_EQ(notes->ImageIndex(), images + 1);

    Enter(f.RBFileDirectory);
    chosenFolder = dir / "docs";
    Press(f.BitBtnFind);
    AttachAfter(Entry("Games")->GetFirstChild(), "Papers");
    TTreeNode* papers = Entry("Papers");
    EXPECT_EQ(papers->Parent(), Entry("Games"));
    EXPECT_EQ(papers->ImageIndex(), kIconDirectory);
    EXPECT_EQ(papers->ItemId, firstId + 2);
    EXPECT_EQ(tables.PathOf(firstId + 2), chosenFolder + "\\");
    EXPECT_FALSE(tables.HasParamRow(firstId + 2));
    EXPECT_EQ(f.ILAllPublicPM.Count(), images + 2) << "a directory keeps the fixed folder image";
    EXPECT_TRUE(On(f.BitBtnLaunch));
    EXPECT_FALSE(On(f.BitBtnAttach));

    Press(f.BitBtnUndo);
    EXPECT_EQ(Entry("Tidy"), nullptr);
    EXPECT_EQ(Entry("Papers"), nullptr);
    ExpectIcons(images);
    EXPECT_EQ(f.TVItems.Tag, 0);
    EXPECT_EQ(tables.nextItemId, firstId + 3) << "ids are never reused before a reload";
}

TEST_F(AddTest, WithoutASelectionOrAfterASystemEntryNothingIsAttachedOrPasted) {
    TFormItems& f = Items();
    Enter(f.RBSeparator);
    Pick(Entry("Report"));
    f.BitBtnCopyClick(&f.BitBtnCopy);
    TTreeNode* kit = Entry("Razaveza Kit");
    const std::string before = LevelOf(Anchor()) + LevelOf(kit->GetFirstChild());
    for (const char* system : {"Close", "--Sysmenu--", "About"}) {
        Pick(Entry(system));
        EXPECT_FALSE(On(f.BitBtnAttach)) << system;
        f.BitBtnAttachClick(&f.BitBtnAttach);
        f.BitBtnPasteClick(&f.BitBtnPaste);
    }
    f.TVItems.Select(nullptr);
    ASSERT_EQ(f.TVItems.Selected(), nullptr);
    EXPECT_FALSE(On(f.BitBtnAttach));
    f.BitBtnAttachClick(&f.BitBtnAttach);
    f.BitBtnPasteClick(&f.BitBtnPaste);
    EXPECT_EQ(LevelOf(Anchor()) + LevelOf(kit->GetFirstChild()), before);
}

}  // namespace
