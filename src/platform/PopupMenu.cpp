// Showing a TPopupMenu: each level's HMENU is built from its visible entries
// only when that level opens, owner drawing is routed to the entries'
// handlers, and the platform draws the icons of entries without handlers
// through bitmap callbacks.

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Application.h"
#include "platform/Dpi.h"
#include "platform/ForeignMessages.h"
#include "platform/Handles.h"
#include "platform/ImageList.h"
#include "platform/Menu.h"
#include "platform/SystemError.h"
#include "platform/TextCodePage.h"

namespace rz {

namespace {
TPopupMenu* g_current = nullptr;
// The character the open menu's loop was last handed, as UTF-16. The owner
// is an ANSI window: WM_MENUCHAR gives it the character in a code page,
// where a letter beyond that code page is lost.
wchar_t g_typed = 0;

// Where the pointer was at the open menu's last mouse move.
POINT g_pointer{};

// Room between a platform-drawn icon and its caption.
constexpr int kIconGap = 4;
// Size of the blank row that stands in an empty level.
constexpr int kBlankWidth = 40;
constexpr int kBlankHeight = 8;
}  // namespace

struct TPopupMenu::Build {
    struct Level {
        TMenuItem* entries;
        bool built;
    };
    unique_hmenu root;
    std::unordered_map<HMENU, Level> levels;
    // Where each entry of a built level sits: its menu and position.
    std::unordered_map<const TMenuItem*, std::pair<HMENU, UINT>> placed;
    std::vector<TMenuItem*> commands;  // command id - 1
    // What an empty level shows: the platform would not open a level
    // without entries at all (Wine gives it no size).
    TMenuItem blank;
    // The colours of this opening: a theme change applies to the next one.
    std::shared_ptr<const Palette> colours;
    // The canvas entries are measured on, one for all of them.
    unique_hdc measure{::CreateCompatibleDC(nullptr)};
    int levelsBuilt = 0;
    // A character no entry answered, which closed the menu.
    std::string unmatched;
    // The entry the user is on, and a key for it that closed the menu.
    TMenuItem* highlighted = nullptr;
    TMenuItem* keyEntry = nullptr;
    EntryKey key;
    RECT keyPlace{};
    int dpi = kBaseDpi;
};

namespace {

// A message filter has no data of its own: hence the globals above.
LRESULT CALLBACK FilterMenuMessage(int code, WPARAM wp, LPARAM lp) {
    const MSG* msg = reinterpret_cast<const MSG*>(lp);
    if (code == MSGF_MENU && msg && (msg->message == WM_CHAR || msg->message == WM_SYSCHAR))
        g_typed = static_cast<wchar_t>(msg->wParam);
    // Wine's menu takes every mouse move as a pointing, also one where the
    // pointer stayed (a window shown or hidden under it): the entry chosen
    // with the keys would be let go of under the still pointer.
    if (code == MSGF_MENU && msg && msg->message == WM_MOUSEMOVE) {
        const bool still = msg->pt.x == g_pointer.x && msg->pt.y == g_pointer.y;
        g_pointer = msg->pt;
        if (still) return 1;
    }
    if (code == MSGF_MENU && msg && g_current && g_current->TakeEntryKeyOf(*msg)) return 1;
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

TPopupMenu::TPopupMenu(std::string name) : TComponent(name), root_(name) {}

TPopupMenu::~TPopupMenu() {
    if (g_current == this) g_current = nullptr;
}

TPopupMenu* TPopupMenu::Current() { return g_current; }

HMENU TPopupMenu::OpenHandle() const { return open_ ? open_->root.get() : nullptr; }

int TPopupMenu::LevelsBuilt() const { return open_ ? open_->levelsBuilt : 0; }

int TPopupMenu::Dpi() const { return open_ ? open_->dpi : SystemDpi(); }

std::shared_ptr<const Palette> TPopupMenu::Colours() const {
    return open_ ? open_->colours : MenuPalette(PlatformDrawn);
}

namespace {

// Icons of platform-drawn entries get a column of their own, and the text
// starts after it; no entry of these menus is ever checked.
void UseIconColumn(HMENU menu) {
    MENUINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIM_STYLE;
    info.dwStyle = MNS_NOCHECK;
    ::SetMenuInfo(menu, &info);
}

void InsertAtEnd(HMENU menu, MENUITEMINFOA& mii) {
    if (!::InsertMenuItemA(menu, ::GetMenuItemCount(menu), TRUE, &mii)) RaiseLastOSError();
}

void AddBlank(HMENU menu, TMenuItem& blank) {
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STATE;
    mii.fType = MFT_OWNERDRAW | MFT_SEPARATOR;
    mii.fState = MFS_DISABLED;
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(&blank);
    InsertAtEnd(menu, mii);
}

wchar_t FirstCharacter(const char* text, size_t size) {
    // Four bytes hold one character in UTF-8 and in double-byte code pages.
    const std::wstring wide = ToUtf16(std::string_view(text, std::min<size_t>(size, 4)));
    return wide.empty() ? 0 : wide[0];
}

// The caption's accelerator letter: the character after the first single
// "&" ("&&" stands for an ampersand), or 0.
wchar_t AcceleratorOf(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return FirstCharacter(caption.data() + i + 1, caption.size() - i - 1);
        ++i;
    }
    return 0;
}

// A character the menu loop saw, in the program's strings; empty for a control character.
std::string TextOfCharacter(wchar_t c) {
    if (c < 0x20 || c == 0x7F) return {};
    return FromUtf16(std::wstring_view(&c, 1));
}

TMenuItem* ItemOf(ULONG_PTR data) { return reinterpret_cast<TMenuItem*>(data); }

wchar_t Upper(wchar_t c) {
    ::CharUpperBuffW(&c, 1);
    return c;
}

// The character of a WM_MENUCHAR (the window's code page is the program's)
// in the program's strings; empty for a control character or one the code
// page cannot tell.
std::string TypedCharacter(WORD key) {
    if (key < 0x20 || key == 0x7F) return {};
    if (key < 0x80) return std::string(1, static_cast<char>(key));
    const std::string bytes = key > 0xFF ? std::string{static_cast<char>(key >> 8), static_cast<char>(key & 0xFF)}
                                         : std::string(1, static_cast<char>(key));
    const std::wstring wide = ToUtf16(bytes);
    if (wide.empty() || wide.find(L'\xFFFD') != std::wstring::npos) return {};
    return FromUtf16(wide);
}

}  // namespace

// One entry of a level being built; a sub-level only gets its empty handle.
// With afterDraw, every platform-drawn entry calls back once drawn: lines
// are drawn here the way the platform does, the others get an icon callback.
void TPopupMenu::AddEntry(Build& build, HMENU menu, TMenuItem* item, bool afterDraw) {
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STATE | MIIM_ID;
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    mii.fState = item->Enabled ? MFS_ENABLED : MFS_DISABLED;
    // Owner-drawn entries keep their text too, for mnemonics and readers.
    mii.fType = item->OnDrawItem ? MFT_OWNERDRAW : MFT_STRING;
    if (item->IsLine() && !item->OnDrawItem) {
        mii.fType = afterDraw ? MFT_OWNERDRAW | MFT_SEPARATOR : MFT_SEPARATOR;
    } else {
        mii.fMask |= MIIM_STRING;
        mii.dwTypeData = const_cast<char*>(item->Caption.c_str());
        if (!item->OnDrawItem && (item->ImageIndex >= 0 || afterDraw)) {
            mii.fMask |= MIIM_BITMAP;
            mii.hbmpItem = HBMMENU_CALLBACK;
        }
    }
    unique_hmenu sub;
    if (item->Count() > 0) {
        sub.reset(::CreatePopupMenu());
        if (!sub) RaiseLastOSError();
        build.levels[sub.get()] = Build::Level{item, false};
        mii.fMask |= MIIM_SUBMENU;
        mii.hSubMenu = sub.get();
    } else {
        build.commands.push_back(item);
        mii.wID = static_cast<UINT>(build.commands.size());
    }
    build.placed[item] = {menu, static_cast<UINT>(::GetMenuItemCount(menu))};
    InsertAtEnd(menu, mii);
    // The level owns its sub-level from here and destroys it with itself.
    static_cast<void>(sub.release());
}

bool TPopupMenu::BuildLevel(Build& build, HMENU menu) {
    auto it = build.levels.find(menu);
    if (it == build.levels.end()) return false;
    if (it->second.built) return true;
    it->second.built = true;
    ++build.levelsBuilt;
    UseIconColumn(menu);
    const TMenuItem& level = *it->second.entries;
    if (OnLevelOpen) SafeInvoke(this, [&] { OnLevelOpen(level); });
    for (int i = 0; i < level.Count(); ++i) {
        if (level.Items(i)->Visible) AddEntry(build, menu, level.Items(i), OnPlatformEntryDrawn != nullptr);
    }
    if (::GetMenuItemCount(menu) == 0) AddBlank(menu, build.blank);
    return true;
}

void TPopupMenu::Popup(int x, int y, HWND owner, TMenuItem* level) {
    if (OnPopup) OnPopup(this);
    Build build;
    build.root.reset(::CreatePopupMenu());
    if (!build.root) RaiseLastOSError();
    build.levels[build.root.get()] = Build::Level{level && level->Count() > 0 ? level : &root_, false};
    build.dpi = DpiAtPoint(POINT{x, y});
    build.colours = MenuPalette(PlatformDrawn);
    BuildLevel(build, build.root.get());
    TPopupMenu* previous = g_current;
    g_current = this;
    open_ = &build;
    g_typed = 0;
    if (!::GetCursorPos(&g_pointer)) g_pointer = POINT{x, y};
    UINT id = 0;
    {
        unique_hhook filter(::SetWindowsHookExW(WH_MSGFILTER, &FilterMenuMessage, nullptr, ::GetCurrentThreadId()));
        NoteMenuOpen(true);
        id = ::TrackPopupMenuEx(build.root.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y,
                                owner, nullptr);
        NoteMenuOpen(false);
    }
    open_ = nullptr;
    g_current = previous;
    if (!build.unmatched.empty() && OnUnmatchedKey) {
        SafeInvoke(this, [&] { OnUnmatchedKey(build.unmatched, POINT{x, y}); });
        return;
    }
    if (build.keyEntry && OnEntryKey) {
        SafeInvoke(this, [&] { OnEntryKey(*build.keyEntry, build.key, build.keyPlace); });
        return;
    }
    if (id == 0 || id > build.commands.size()) return;
    build.commands[id - 1]->Click();
}

bool TPopupMenu::MeasureItem(MEASUREITEMSTRUCT& mis) {
    if (mis.CtlType != ODT_MENU) return false;
    TMenuItem* item = ItemOf(mis.itemData);
    if (!item) return false;
    const int dpi = open_->dpi;
    if (item == &open_->blank) {
        mis.itemWidth = ScaleToDpi(kBlankWidth, dpi);
        mis.itemHeight = ScaleToDpi(kBlankHeight, dpi);
    } else if (item->OnMeasureItem && item->OnDrawItem) {
        int w = 0, h = 0;
        SafeInvoke(item, [&] { item->OnMeasureItem(item, open_->measure.get(), w, h); });
        mis.itemWidth = w;
        mis.itemHeight = h;
    } else if (item->IsLine()) {
        mis.itemWidth = 0;
        mis.itemHeight = SystemMetricForDpi(SM_CYMENUSIZE, dpi) / 2;
    } else {
        // The icon of a platform-drawn entry, with the gap to its caption.
        mis.itemWidth = ScaleToDpi((Images ? Images->Width() : 16) + kIconGap, dpi);
        mis.itemHeight = ScaleToDpi(Images ? Images->Height() : 16, dpi);
    }
    return true;
}

bool TPopupMenu::DrawItem(const DRAWITEMSTRUCT& dis) {
    if (dis.CtlType != ODT_MENU) return false;
    TMenuItem* item = ItemOf(dis.itemData);
    if (!item) return false;
    const Palette& colours = *open_->colours;
    if (item == &open_->blank) {
        ::FillRect(dis.hDC, &dis.rcItem, colours.Brush(COLOR_MENU));
    } else if (item->OnDrawItem) {
        bool selected = (dis.itemState & ODS_SELECTED) != 0;
        SafeInvoke(item, [&] { item->OnDrawItem(item, dis.hDC, dis.rcItem, selected); });
    } else if (item->IsLine()) {
        // The platform's separator: an etched line across the middle.
        ::FillRect(dis.hDC, &dis.rcItem, colours.Brush(COLOR_MENU));
        const int middle = (dis.rcItem.top + dis.rcItem.bottom) / 2;
        const RECT shadow{dis.rcItem.left + 1, middle, dis.rcItem.right - 1, middle + 1};
        const RECT light{shadow.left, middle + 1, shadow.right, middle + 2};
        ::FillRect(dis.hDC, &shadow, colours.Brush(COLOR_BTNSHADOW));
        ::FillRect(dis.hDC, &light, colours.Brush(COLOR_BTNHIGHLIGHT));
        AfterPlatformDraw(*item, dis.hDC, dis.rcItem);
    } else {
        if (Images && item->ImageIndex >= 0) DrawIcon(dis, *item);
        // For its icon the platform moves the canvas origin to the entry's corner.
        RECT row{};
        auto at = open_->placed.find(item);
        if (at != open_->placed.end() && ::GetMenuItemRect(nullptr, at->second.first, at->second.second, &row)) {
            ::OffsetRect(&row, -row.left, -row.top);
            AfterPlatformDraw(*item, dis.hDC, row);
        }
    }
    return true;
}

void TPopupMenu::DrawIcon(const DRAWITEMSTRUCT& dis, const TMenuItem& item) {
    const int w = ScaleToDpi(Images->Width(), open_->dpi), h = ScaleToDpi(Images->Height(), open_->dpi);
    const int left = dis.rcItem.left;
    const int top = dis.rcItem.top + (dis.rcItem.bottom - dis.rcItem.top - h) / 2;
    // The platform has filled the row already: its colour is what the icon sits on.
    const COLORREF background = ::GetPixel(dis.hDC, left, top);
    if (HICON sized = w != Images->Width() && item.Enabled && IconAtSize ? IconAtSize(item, w) : nullptr) {
        ::DrawIconEx(dis.hDC, left, top, sized, w, h, 0, nullptr, DI_NORMAL);
        return;
    }
    Images->DrawCached(dis.hDC, left, top, w, item.ImageIndex, item.Enabled, background);
}

void TPopupMenu::AfterPlatformDraw(TMenuItem& item, HDC dc, const RECT& row) {
    RECT column{};
    if (OnPlatformEntryDrawn && ColumnOf(item, row, column))
        SafeInvoke(&item, [&] { OnPlatformEntryDrawn(item, dc, column, row); });
}

bool TPopupMenu::ColumnOf(const TMenuItem& entry, const RECT& row, RECT& column) const {
    if (!open_) return false;
    auto it = open_->placed.find(&entry);
    if (it == open_->placed.end()) return false;
    const auto [menu, pos] = it->second;
    RECT first{}, self{}, last{};
    const int count = ::GetMenuItemCount(menu);
    if (!::GetMenuItemRect(nullptr, menu, 0, &first) || !::GetMenuItemRect(nullptr, menu, pos, &self) ||
        !::GetMenuItemRect(nullptr, menu, count - 1, &last))
        return false;
    // The platform's own rectangles are not scrolled: only their distances count.
    column.left = row.left - (self.left - first.left);
    column.top = row.top - (self.top - first.top);
    column.right = column.left + (first.right - first.left);
    column.bottom = column.top + (last.bottom - first.top);
    return true;
}

// Owner-drawn entries: the platform does not read their accelerators.
bool TPopupMenu::MenuChar(WPARAM wp, HMENU menu, LRESULT& result) {
    // Without a character from the loop, only ASCII means the same in every code page.
    const wchar_t typedWide = g_typed;
    const wchar_t key = Upper(typedWide ? typedWide : LOWORD(wp) < 0x80 ? LOWORD(wp) : 0);
    g_typed = 0;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_DATA;
        ::GetMenuItemInfoA(menu, i, TRUE, &mii);
        TMenuItem* item = ItemOf(mii.dwItemData);
        if (!item || item == &open_->blank) continue;
        const wchar_t accelerator = AcceleratorOf(item->Caption);
        if (accelerator && Upper(accelerator) == key) {
            result = MAKELRESULT(i, MNC_EXECUTE);
            return true;
        }
    }
    if (!OnUnmatchedKey || (HIWORD(wp) & MF_SYSMENU)) return false;
    const std::string typed = typedWide ? TextOfCharacter(typedWide) : TypedCharacter(LOWORD(wp));
    if (typed.empty()) return false;
    open_->unmatched = typed;
    result = MAKELRESULT(0, MNC_CLOSE);
    return true;
}

void TPopupMenu::NoteHighlight(WPARAM wp, HMENU menu) {
    const UINT flags = HIWORD(wp), item = LOWORD(wp);
    open_->highlighted = nullptr;
    if (!menu || flags == 0xFFFF || (flags & MF_SEPARATOR)) return;
    if (!(flags & MF_POPUP)) {
        // A command's id is its place in the list of commands, from 1.
        if (item >= 1 && item <= open_->commands.size()) open_->highlighted = open_->commands[item - 1];
        return;
    }
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_DATA;
    if (::GetMenuItemInfoA(menu, item, TRUE, &mii)) open_->highlighted = ItemOf(mii.dwItemData);
    if (open_->highlighted == &open_->blank) open_->highlighted = nullptr;
}

bool TPopupMenu::TakeEntryKeyOf(const MSG& msg) {
    if (!open_ || !TakesEntryKey || !OnEntryKey || !open_->highlighted || open_->keyEntry) return false;
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    const EntryKey key{static_cast<WORD>(msg.wParam), ::GetKeyState(VK_CONTROL) < 0, ::GetKeyState(VK_SHIFT) < 0};
    bool taken = false;
    SafeInvoke(this, [&] { taken = TakesEntryKey(*open_->highlighted, key); });
    if (!taken) return false;
    open_->keyEntry = open_->highlighted;
    open_->key = key;
    const auto at = open_->placed.find(open_->keyEntry);
    if (at == open_->placed.end() || !::GetMenuItemRect(nullptr, at->second.first, at->second.second, &open_->keyPlace)) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        open_->keyPlace = RECT{cursor.x, cursor.y, cursor.x, cursor.y};
    }
    ::EndMenu();
    return true;
}

bool TPopupMenu::HandleOwnerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (!open_) return false;
    switch (msg) {
        case WM_INITMENUPOPUP:
            if (!BuildLevel(*open_, reinterpret_cast<HMENU>(wp))) return false;
            result = 0;
            return true;
        case WM_MEASUREITEM:
            if (!MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return false;
            result = TRUE;
            return true;
        case WM_DRAWITEM:
            if (!DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return false;
            result = TRUE;
            return true;
        case WM_MENUCHAR: return MenuChar(wp, reinterpret_cast<HMENU>(lp), result);
        case WM_MENUSELECT:
            // Noted only: the owner's default handling goes on.
            NoteHighlight(wp, reinterpret_cast<HMENU>(lp));
            return false;
        default: return false;
    }
}

}  // namespace rz
