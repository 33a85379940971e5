// Showing a TPopupMenu: the HMENU is built from the visible entries each
// time, owner drawing is routed to the entries' handlers, and the platform
// draws the icons of entries without handlers through bitmap callbacks.

#include <memory>
#include <vector>

#include "platform/Application.h"
#include "platform/Handles.h"
#include "platform/ImageList.h"
#include "platform/Menu.h"

namespace rz {

namespace {
TPopupMenu* g_current = nullptr;
}

struct TPopupMenu::Build {
    unique_hmenu root;
    std::vector<TMenuItem*> commands;  // command id - 1
};

TPopupMenu::TPopupMenu(std::string name) : TComponent(name), root_(name) {}

TPopupMenu::~TPopupMenu() {
    if (g_current == this) g_current = nullptr;
}

TPopupMenu* TPopupMenu::Current() { return g_current; }

HMENU TPopupMenu::OpenHandle() const { return open_ ? open_->root.get() : nullptr; }

namespace {

// Icons of platform-drawn entries go into the check-mark column, which
// these menus never use.
void UseCheckColumnForIcons(HMENU menu) {
    MENUINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIM_STYLE;
    info.dwStyle = MNS_CHECKORBMP;
    ::SetMenuInfo(menu, &info);
}

void Fill(HMENU menu, const TMenuItem& level, std::vector<TMenuItem*>& commands) {
    UseCheckColumnForIcons(menu);
    for (int i = 0; i < level.Count(); ++i) {
        TMenuItem* item = level.Items(i);
        if (!item->Visible) continue;
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STATE | MIIM_ID;
        mii.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        mii.fState = item->Enabled ? MFS_ENABLED : MFS_DISABLED;
        // Owner-drawn entries keep their text too, for mnemonics and readers.
        mii.fType = item->OnDrawItem ? MFT_OWNERDRAW : MFT_STRING;
        if (item->IsLine() && !item->OnDrawItem) {
            mii.fType = MFT_SEPARATOR;
        } else {
            mii.fMask |= MIIM_STRING;
            mii.dwTypeData = const_cast<char*>(item->Caption.c_str());
            if (!item->OnDrawItem && item->ImageIndex >= 0) {
                mii.fMask |= MIIM_BITMAP;
                mii.hbmpItem = HBMMENU_CALLBACK;
            }
        }
        if (item->Count() > 0) {
            HMENU sub = ::CreatePopupMenu();
            Fill(sub, *item, commands);
            mii.fMask |= MIIM_SUBMENU;
            mii.hSubMenu = sub;
        } else {
            commands.push_back(item);
            mii.wID = static_cast<UINT>(commands.size());
        }
        ::InsertMenuItemA(menu, ::GetMenuItemCount(menu), TRUE, &mii);
    }
}

TMenuItem* ItemOf(ULONG_PTR data) { return reinterpret_cast<TMenuItem*>(data); }

char UpperAnsi(char c) {
    char buffer[2] = {c, 0};
    ::CharUpperBuffA(buffer, 1);
    return buffer[0];
}

}  // namespace

void TPopupMenu::Popup(int x, int y, HWND owner) {
    if (OnPopup) OnPopup(this);
    Build build;
    build.root.reset(::CreatePopupMenu());
    Fill(build.root.get(), root_, build.commands);
    TPopupMenu* previous = g_current;
    g_current = this;
    open_ = &build;
    UINT id = ::TrackPopupMenuEx(build.root.get(),
                                 TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x,
                                 y, owner, nullptr);
    open_ = nullptr;
    g_current = previous;
    if (id == 0 || id > build.commands.size()) return;
    TMenuItem* chosen = build.commands[id - 1];
    if (chosen->OnClick) SafeInvoke(chosen, [&] { chosen->OnClick(chosen); });
}

bool TPopupMenu::HandleOwnerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (!open_) return false;
    switch (msg) {
        case WM_MEASUREITEM: {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            if (mis->CtlType != ODT_MENU) return false;
            TMenuItem* item = ItemOf(mis->itemData);
            if (!item) return false;
            if (item->OnMeasureItem && item->OnDrawItem) {
                WindowDC screen(nullptr);
                int w = 0, h = 0;
                SafeInvoke(item, [&] { item->OnMeasureItem(item, screen.get(), w, h); });
                mis->itemWidth = w;
                mis->itemHeight = h;
            } else {
                // The icon of a platform-drawn entry.
                mis->itemWidth = Images ? Images->Width() : 16;
                mis->itemHeight = Images ? Images->Height() : 16;
            }
            result = TRUE;
            return true;
        }
        case WM_DRAWITEM: {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
            if (dis->CtlType != ODT_MENU) return false;
            TMenuItem* item = ItemOf(dis->itemData);
            if (!item) return false;
            if (item->OnDrawItem) {
                bool selected = (dis->itemState & ODS_SELECTED) != 0;
                SafeInvoke(item, [&] { item->OnDrawItem(item, dis->hDC, dis->rcItem, selected); });
            } else if (Images) {
                int top = dis->rcItem.top + (dis->rcItem.bottom - dis->rcItem.top - Images->Height()) / 2;
                Images->Draw(dis->hDC, dis->rcItem.left, top, item->ImageIndex, item->Enabled);
            }
            result = TRUE;
            return true;
        }
        case WM_MENUCHAR: {
            // Owner-drawn entries: match the letter after "&" in their captions.
            HMENU menu = reinterpret_cast<HMENU>(lp);
            char key = UpperAnsi(static_cast<char>(LOWORD(wp)));
            int count = ::GetMenuItemCount(menu);
            for (int i = 0; i < count; ++i) {
                MENUITEMINFOA mii{};
                mii.cbSize = sizeof(mii);
                mii.fMask = MIIM_DATA;
                ::GetMenuItemInfoA(menu, i, TRUE, &mii);
                TMenuItem* item = ItemOf(mii.dwItemData);
                if (!item) continue;
                size_t amp = item->Caption.find('&');
                if (amp == std::string::npos || amp + 1 >= item->Caption.size()) continue;
                if (UpperAnsi(item->Caption[amp + 1]) == key) {
                    result = MAKELRESULT(i, MNC_EXECUTE);
                    return true;
                }
            }
            return false;
        }
        default:
            return false;
    }
}

}  // namespace rz
