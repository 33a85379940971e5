#pragma once
// The real forms started on a store that holds every kind of entry, with
// readers for what the item manager shows.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/AppFixture.h"
#include "core/Settings.h"
#include "items/ItemKinds.h"
#include "manager/form_items.h"

namespace rztest {

class ManagerTest : public AppTest {
protected:
    void TearDown() override {
        rz::Settings = rz::TSettings{};
        AppTest::TearDown();
    }

    // One entry of each kind the properties display tells apart; "Docs" is a
    // directory of the data folder.
    void StartWithAllKinds() {
        MakeDir(dir / "docs");
        WriteStore("shortcuts",
                   "^Folder|Games\r\n"
                   "^NorSep|\r\n"
                   "^SpeSep|Work\r\n"
                   "^SpeSep|a-b\r\n"
                   "^ExeLnk|C:\\Tools\\run.cmd|-q /x|cmd|Run\r\n"
                   "^UnkLnk|C:\\Tools\\plain.bat|bat|Plain\r\n"
                   "^ExeLnk|C:\\Tools\\app.exe|-v --fast|app.bmp|App\r\n"
                   "^UnkLnk|C:\\Tools\\TOOL.EXE|exe|Tool\r\n"
                   "^ExeLnk|C:\\Tools\\edit.com||edit.bmp|Edit\r\n"
                   "^UnkLnk|C:\\Links\\Mail.LNK|lnk|Mail\r\n"
                   "^UnkLnk|" +
                       dir.Path() +
                       "docs\\||Docs\r\n"
                       "^UnkLnk|C:\\my.dir\\README||Readme\r\n"
                       "^UnkLnk|C:\\docs\\report.txt|txt|Report\r\n");
        WriteStore("shortcuts\\Games", "^UnkLnk|C:\\docs\\chess.txt|txt|Chess\r\n");
        rz::StartUp();
        ASSERT_FALSE(rz::Application.Terminated());
        ASSERT_NE(Entry("Report"), nullptr);
    }

    rz::TFormItems& Items() const { return rz::FormItems(); }

    // The first entry in tree order with that caption.
    rz::TTreeNode* Entry(const std::string& caption, int skip = 0) const {
        for (rz::TTreeNode* n = Items().TVItems.GetFirstNode(); n; n = n->GetNext())
            if (n->Text() == caption && skip-- == 0) return n;
        return nullptr;
    }
    rz::TTreeNode* Anchor() const { return Items().TVItems.GetFirstNode(); }

    // Selects through the tree's window, as a click does.
    void Pick(rz::TTreeNode* node) {
        ASSERT_NE(node, nullptr);
        Items().TVItems.Select(node);
        ASSERT_EQ(Items().TVItems.Selected(), node);
    }

    // The middle of an entry's caption, in the tree's client coordinates.
    POINT At(const rz::TTreeNode* node) const {
        // The rectangle goes in carrying the item.
        RECT r{};
        const HTREEITEM item = node->Handle();
        std::memcpy(&r, &item, sizeof(item));
        EXPECT_TRUE(::SendMessageA(Items().TVItems.Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)))
            << node->Text() << " is not shown";
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // A point on a folder's +/- button.
    POINT ButtonOf(const rz::TTreeNode* node) const {
        POINT p = At(node);
        for (p.x = 0; p.x < 100; ++p.x) {
            TVHITTESTINFO hit{};
            hit.pt = p;
            ::SendMessageA(Items().TVItems.Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.hItem == node->Handle() && (hit.flags & TVHT_ONITEMBUTTON)) return p;
        }
        ADD_FAILURE() << node->Text() << " shows no button";
        return p;
    }
    // Captions of a level in order, from its first entry.
    static std::string LevelOf(const rz::TTreeNode* first) {
        std::string out;
        for (const rz::TTreeNode* n = first; n; n = n->GetNextSibling()) out += "[" + n->Text() + "]";
        return out;
    }

    // The user's ways into the window: focus, a button press, a field's whole
    // text replaced, keys typed at the caret.
    static bool On(const rz::TControl& c) { return ::IsWindowEnabled(c.Handle()) != FALSE; }
    static void Enter(const rz::TControl& c) {
        ::SetFocus(c.Handle());
        ASSERT_EQ(::GetFocus(), c.Handle());
    }
    static void Press(const rz::TButton& b) {
        ASSERT_TRUE(On(b)) << b.Name;
        ::SendMessageA(b.Handle(), BM_CLICK, 0, 0);
    }
    static void Replace(const rz::TEdit& e, const std::string& text) { ::SetWindowTextA(e.Handle(), text.c_str()); }
    static void Type(const rz::TEdit& e, const std::string& keys) {
        for (char c : keys) ::SendMessageA(e.Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
    }

    std::string Status() const { return Items().StatusBarHelp.PanelText(); }
    // The panel as the status bar window shows it.
    std::string StatusShown() const {
        char text[512] = {};
        ::SendMessageA(Items().StatusBarHelp.Handle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
        return text;
    }

    // Every entry with all that the undo copy keeps and the view shows.
    static std::string Dump(const rz::TTreeNode* first, int depth = 0) {
        std::string out;
        for (const rz::TTreeNode* n = first; n; n = n->GetNextSibling()) {
            out += std::string(depth, ' ') + n->Text() + " [" + std::to_string(n->ImageIndex()) + "/" +
                   std::to_string(n->SelectedIndex()) + "/" + std::to_string(n->StateIndex()) + "] #" +
                   std::to_string(n->ItemId) + (n->Expanded() ? " +" : "") + "\n";
            out += Dump(n->GetFirstChild(), depth + 1);
        }
        return out;
    }
};

inline std::string WindowText(HWND hwnd) {
    char text[512] = {};
    ::GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

}  // namespace rztest
