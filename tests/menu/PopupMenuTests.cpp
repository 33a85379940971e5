// The popup built level by level from the object tree: what each level's
// HMENU holds and when it is built, choosing in a lazily built submenu,
// empty folders, and accelerators of owner-drawn entries.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "MenuDrawFixture.h"
#include "platform/Form.h"
#include "platform/ImageList.h"
#include "platform/Menu.h"
#include "platform/Timer.h"

using rz::TMenuItem;
using rz::TPopupMenu;
using rztest::AddEntry;
using rztest::OwnerForm;

namespace {

// The visible menu windows, with their sizes.
std::vector<RECT> MenuWindows() {
    std::vector<RECT> out;
    for (HWND w = ::FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
         w = ::FindWindowExA(nullptr, w, "#32768", nullptr)) {
        RECT r{};
        if (::IsWindowVisible(w) && ::GetWindowRect(w, &r)) out.push_back(r);
    }
    return out;
}

TMenuItem& Folder(TMenuItem& level, const std::string& caption) {
    TMenuItem& folder = AddEntry(level, caption, 0, 0);
    AddEntry(folder, caption, rz::kTagBarMaker, -1, false);
    AddEntry(folder, "Hiding", rz::kTagHidden, -1, false);
    return folder;
}

class PopupMenuTest : public ::testing::Test {
protected:
    // Shows the menu; each tick of a timer inside its loop runs the next
    // step while it returns true. Past the steps, or after three seconds,
    // the menu is sent away.
    void Run(std::vector<std::function<bool()>> steps) {
        size_t next = 0;
        int ticks = 0;
        rz::TTimer timer("Stepper");
        timer.SetInterval(30);
        timer.OnTimer = [&](rz::TObject*) {
            if (!TPopupMenu::Current()) return;
            ++ticks;
            if (next < steps.size() && ticks < 100) {
                if (steps[next]()) ++next;
                return;
            }
            for (int i = 0; i < 4; ++i) Key(VK_ESCAPE);
        };
        timer.SetEnabled(true);
        menu.Popup(100, 100, owner.Handle());
        timer.SetEnabled(false);
        EXPECT_EQ(next, steps.size()) << "steps left undone";
    }
    void Key(WPARAM vk) { ::PostMessageA(owner.Handle(), WM_KEYDOWN, vk, 0); }

    OwnerForm owner;
    TPopupMenu menu{"TestMenu"};
};

}  // namespace

TEST_F(PopupMenuTest, ALevelIsBuiltWhenItOpensOnceAndItsChoiceReachesTheHandler) {
    TMenuItem& root = menu.Items();
    TMenuItem& tools = Folder(root, "Tools");
    std::string clicked;
    for (const char* caption : {"first", "second"}) {
        TMenuItem& e = AddEntry(tools, caption, 0);
        e.OnClick = [&clicked](rz::TObject* s) { clicked = static_cast<TMenuItem*>(s)->Caption; };
    }
    AddEntry(tools, "gone", 0, -1, false);
    TMenuItem& deep = Folder(tools, "Deep");
    AddEntry(deep, "inside", 0);
    AddEntry(root, "-", rz::kTagNorSep);
    AddEntry(root, "hidden", 0, -1, false);
    AddEntry(root, "last", 0);

    std::vector<std::string> opened;
    menu.OnLevelOpen = [&opened](const TMenuItem& level) { opened.push_back(level.Caption); };
    HMENU top = nullptr, sub = nullptr;
    Run({[&] {
             top = menu.OpenHandle();
             EXPECT_EQ(menu.LevelsBuilt(), 1);
             EXPECT_EQ(opened, std::vector<std::string>{""}) << "the top level, before it shows";
             EXPECT_EQ(::GetMenuItemCount(top), 3) << "the visible entries only";
             sub = ::GetSubMenu(top, 0);
             EXPECT_TRUE(sub);
             EXPECT_EQ(::GetMenuItemCount(sub), 0) << "not built before it opens";
             Key(VK_DOWN);
             Key(VK_RIGHT);
             return true;
         },
         [&] {
             if (MenuWindows().size() < 2) return false;
             EXPECT_EQ(menu.LevelsBuilt(), 2);
             EXPECT_EQ(::GetMenuItemCount(sub), 3);
             EXPECT_EQ(::GetMenuItemCount(::GetSubMenu(sub, 2)), 0) << "the level below waits too";
             // Asked again (the level closed and opened), it is not added twice.
             ::SendMessageA(owner.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), 0);
             EXPECT_EQ(::GetMenuItemCount(sub), 3);
             EXPECT_EQ(menu.LevelsBuilt(), 2);
             EXPECT_EQ(opened, (std::vector<std::string>{"", "Tools"})) << "each level once, as it opens";
             Key(VK_DOWN);
             Key(VK_RETURN);
             return true;
         }});
    EXPECT_EQ(clicked, "second");
    EXPECT_FALSE(menu.IsOpen());
}

TEST_F(PopupMenuTest, AnEmptyFolderOpensAsAnEmptySubmenuThatOffersNothing) {
    TMenuItem& root = menu.Items();
    Folder(root, "Empty");
    bool clicked = false;
    AddEntry(root, "item", 0).OnClick = [&](rz::TObject*) { clicked = true; };
    HMENU sub = nullptr;
    Run({[&] {
             sub = ::GetSubMenu(menu.OpenHandle(), 0);
             Key(VK_DOWN);
             Key(VK_RIGHT);
             return true;
         },
         [&] {
             std::vector<RECT> windows = MenuWindows();
             if (windows.size() < 2) return false;
             for (const RECT& r : windows) {
                 EXPECT_GT(r.right - r.left, 10);
                 EXPECT_GT(r.bottom - r.top, 6);
             }
             EXPECT_EQ(::GetMenuItemCount(sub), 1);
             MENUITEMINFOA mii{};
             mii.cbSize = sizeof(mii);
             mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
             EXPECT_TRUE(::GetMenuItemInfoA(sub, 0, TRUE, &mii));
             EXPECT_TRUE(mii.fType & MFT_SEPARATOR) << "nothing to select";
             EXPECT_EQ(mii.wID, 0u);
             EXPECT_FALSE(mii.hSubMenu);
             Key(VK_RETURN);
             return true;
         }});
    EXPECT_FALSE(clicked);
}

TEST_F(PopupMenuTest, OwnerDrawnAccelerators) {
    TMenuItem& root = menu.Items();
    auto drawn = [&](const std::string& caption) -> TMenuItem& {
        TMenuItem& e = AddEntry(root, caption, 0);
        e.OnMeasureItem = [](rz::TObject*, HDC, int& w, int& h) { w = 60, h = 19; };
        e.OnDrawItem = [](rz::TObject*, HDC, const RECT&, bool) {};
        return e;
    };
    drawn("No accelerator");
    drawn("R&&D &Tools");
    drawn("Fish && Chips");
    drawn("Sa&ve");
    std::vector<LRESULT> answers;
    std::vector<bool> handled;
    Run({[&] {
        for (char key : {'t', 'T', 'v', 'd', 'c', '&'}) {
            LRESULT result = 0;
            handled.push_back(menu.HandleOwnerMessage(WM_MENUCHAR, MAKEWPARAM(key, MF_POPUP),
                                                      reinterpret_cast<LPARAM>(menu.OpenHandle()), result));
            answers.push_back(result);
        }
        return true;
    }});
    ASSERT_EQ(handled.size(), 6u);
    EXPECT_TRUE(handled[0] && handled[1] && handled[2]);
    EXPECT_EQ(answers[0], MAKELRESULT(1, MNC_EXECUTE)) << "\"&&\" is an ampersand, not a mark";
    EXPECT_EQ(answers[1], MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(answers[2], MAKELRESULT(3, MNC_EXECUTE));
    EXPECT_FALSE(handled[3] || handled[4] || handled[5]) << "no letter after a doubled \"&\" answers";
}

TEST_F(PopupMenuTest, OwnerDrawnAcceleratorsBeyondAsciiAnswerTheTypedLetter) {
    using rztest::U8;
    // Letters that share their first UTF-8 byte with an earlier entry's.
    for (const std::string& caption :
         {U8(u8"&Äpfel"), U8(u8"&Яблоко"), U8(u8"&Über"), U8(u8"&Жук"), U8(u8"日本&語"), std::string("&Plain")}) {
        TMenuItem& e = AddEntry(menu.Items(), caption, 0);
        e.OnMeasureItem = [](rz::TObject*, HDC, int& w, int& h) { w = 60, h = 19; };
        e.OnDrawItem = [](rz::TObject*, HDC, const RECT&, bool) {};
    }
    // The menu loop's WM_CHAR, then WM_MENUCHAR as an ANSI owner gets it:
    // '?' for what its code page cannot hold.
    const struct {
        wchar_t typed;
        WORD said;
        int index;
    } keys[] = {{L'\u00fc', '?', 2}, {L'\u0416', '?', 3}, {L'\u8a9e', '?', 4}, {L'\u00e4', 0xC3, 0}, {L'p', 'p', 5}};
    std::vector<LRESULT> answers;
    Run({[&] {
        for (const auto& k : keys) {
            MSG typed{};
            typed.hwnd = owner.Handle();
            typed.message = WM_CHAR;
            typed.wParam = k.typed;
            ::CallMsgFilterW(&typed, MSGF_MENU);
            LRESULT result = 0;
            menu.HandleOwnerMessage(WM_MENUCHAR, MAKEWPARAM(k.said, MF_POPUP),
                                    reinterpret_cast<LPARAM>(menu.OpenHandle()), result);
            answers.push_back(result);
        }
        return true;
    }});
    ASSERT_EQ(answers.size(), std::size(keys));
    for (size_t i = 0; i < answers.size(); ++i)
        EXPECT_EQ(answers[i], MAKELRESULT(keys[i].index, MNC_EXECUTE)) << "key " << i;
}

TEST_F(PopupMenuTest, PlatformDrawnIconsKeepAGapToTheirCaptions) {
    rz::TImageList images("Icons", 16, 16);
    {
        rz::TBitmap picture(16, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) picture.SetPixel(x, y, 0xFFC81E28u);
        rz::TBitmap::Unselected bitmap(picture);
        ASSERT_EQ(images.Add(bitmap.get(), nullptr), 0);
    }
    menu.Images = &images;
    AddEntry(menu.Items(), "With icon", 0, 0);
    AddEntry(menu.Items(), "Without", 0);
    int iconRight = -1, textLeft = -1, plainTextLeft = -1;
    Run({[&] {
        HWND window = ::FindWindowA("#32768", nullptr);
        RECT client{};
        if (!window || !::GetClientRect(window, &client) || client.bottom < 30) return false;
        rztest::Surface s(client.right, client.bottom);
        ::SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(s.Canvas()), PRF_CLIENT);
        const uint32_t icon = 0xC81E28, text = rztest::Sys(COLOR_MENUTEXT);
        // The rows of the two entries, from the icon's rows.
        const RECT iconInk = s.Where({0, 0, client.right, client.bottom}, icon);
        if (rztest::IsEmpty(iconInk)) return true;
        iconRight = iconInk.right;
        textLeft = s.Where({iconInk.right, iconInk.top, client.right, iconInk.bottom}, text).left;
        plainTextLeft = s.Where({0, iconInk.bottom + 4, client.right, client.bottom - 3}, text).left;
        return true;
    }});
    ASSERT_GT(iconRight, 0) << "the icon was drawn";
    EXPECT_GE(textLeft - iconRight, 3) << "caption clear of the icon";
    EXPECT_EQ(plainTextLeft, textLeft) << "captions stay aligned";
}

// A theme switch while the menu shows leaves its colours to the next opening.
TEST_F(PopupMenuTest, APaletteReplacedWhileOpenServesTheNextOpening) {
    AddEntry(menu.Items(), "only", 0);
    menu.PlatformDrawn = false;
    rz::UsePalette(rz::Palette::System());
    bool keptLight = false;
    Run({[&] {
        rz::UsePalette(rz::Palette::Dark(RGB(0, 0, 128)));
        keptLight = !menu.Colours()->IsDark();
        return true;
    }});
    EXPECT_TRUE(keptLight);
    EXPECT_TRUE(menu.Colours()->IsDark()) << "the next opening";
    // Entries the platform draws light (no dark menus of its own here) keep the light parts beside them.
    menu.PlatformDrawn = true;
    EXPECT_FALSE(menu.Colours()->IsDark());
    rz::UsePalette(nullptr);
}
