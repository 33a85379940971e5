#pragma once
// The menu object tree. Each time a popup opens, the HMENU of a level is
// built from it when that level opens; invisible entries stay in the tree
// (the layout rules count them) but never reach the HMENU.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Component.h"
#include "platform/Palette.h"

namespace rz {

class TImageList;

using TMenuMeasureEvent = std::function<void(TObject* sender, HDC canvas, int& width, int& height)>;
using TMenuDrawEvent = std::function<void(TObject* sender, HDC canvas, const RECT& rect, bool selected)>;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(std::string name = {}) : TComponent(std::move(name)) {}
    ~TMenuItem() override;

    std::string Caption;
    std::string Hint;
    int ImageIndex = -1;
    bool Visible = true;
    bool Enabled = true;
    WORD ShortCut = 0;
    TNotifyEvent OnClick;
    TMenuMeasureEvent OnMeasureItem;
    TMenuDrawEvent OnDrawItem;

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_[index].get(); }
    TMenuItem* Parent() const { return parent_; }
    int IndexOf(const TMenuItem* item) const;
    // This entry's position among its parent's sub-entries, or -1.

    TMenuItem* Add(std::unique_ptr<TMenuItem> item);
    // Clamps index into 0..Count().
    TMenuItem* Insert(int index, std::unique_ptr<TMenuItem> item);
    std::unique_ptr<TMenuItem> Remove(int index);
    void Delete(int index) { Remove(index); }
    void Clear();

    bool IsLine() const { return Caption == "-"; }
    // What choosing the entry does: its OnClick, with any exception routed
    // to the application.
    void Click();

private:
    TMenuItem* parent_ = nullptr;
    std::vector<std::unique_ptr<TMenuItem>> items_;
};

// A key pressed in an open menu, with Ctrl and Shift as they were held.
struct EntryKey {
    WORD key = 0;
    bool ctrl = false;
    bool shift = false;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(std::string name = {});
    ~TPopupMenu() override;

    TMenuItem& Items() { return root_; }
    const TMenuItem& Items() const { return root_; }

    TImageList* Images = nullptr;
    TComponent* PopupComponent = nullptr;
    // Set by whoever is about to show the menu, so that a second request
    // handled while it gets ready (a queued hotkey) does not stack another.
    bool Showing = false;
    // Whether the platform draws the entries that have no draw handler: the
    // parts the program paints then keep the platform's look (MenuPalette).
    bool PlatformDrawn = true;
    // Raised each time the menu is about to show.
    TNotifyEvent OnPopup;
    // While set, raised after the platform has drawn an entry that has no
    // draw handler (its icon included), with the canvas, the rectangle of
    // the entry's whole level on it and the entry's own.
    std::function<void(TMenuItem& entry, HDC canvas, const RECT& column, const RECT& row)> OnPlatformEntryDrawn;
    // While set, a typed character that answers no entry of the open level
    // closes the menu, and this is raised with it (UTF-8) and the point the
    // menu was shown at once the menu is gone. Accelerators still win.
    std::function<void(const std::string& typed, POINT at)> OnUnmatchedKey;
    // While set, asked for an entry's icon at a size other than the image
    // list's (another DPI); null: the list's picture is scaled.
    std::function<HICON(const TMenuItem& entry, int size)> IconAtSize;
    // While set, asked inside the menu's loop whether a key pressed on the
    // highlighted entry is one for OnEntryKey; such a key closes the menu
    // (the platform never sees it) and OnEntryKey is raised with the entry,
    // the key and the entry's rectangle on the screen once the menu is gone.
    std::function<bool(const TMenuItem& entry, const EntryKey& key)> TakesEntryKey;
    std::function<void(TMenuItem& entry, const EntryKey& key, const RECT& place)> OnEntryKey;
    // Raised when a level is first built in an opening, before its entries
    // are measured and drawn.
    std::function<void(const TMenuItem& level)> OnLevelOpen;

    // Builds the top level from its visible entries and runs the modal menu
    // at (x, y) on behalf of owner; a submenu is built when it opens. The
    // chosen entry's OnClick runs before it returns. The owner must pass its
    // WM_INITMENUPOPUP, WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR to
    // HandleOwnerMessage while the menu is open. With level (an entry of
    // this menu that has sub-entries), that level shows in place of the top.
    void Popup(int x, int y, HWND owner, TMenuItem* level = nullptr);
    bool IsOpen() const { return open_ != nullptr; }
    bool HandleOwnerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    // The menu being shown by any popup (at most one at a time), or null.
    static TPopupMenu* Current();
    // The DPI of the monitor the open menu shows on; the system's while closed.
    int Dpi() const;
    // The colours the open menu was shown with; those the next would take while closed.
    std::shared_ptr<const Palette> Colours() const;

    // While the menu is open: the rectangle of the whole level of entry on
    // the canvas where entry is painted in row, scrolled as the level is;
    // false when entry is not in an open level.
    bool ColumnOf(const TMenuItem& entry, const RECT& row, RECT& column) const;

    // For the menu loop's message filter: whether msg is a key for
    // OnEntryKey on the highlighted entry, which then closes the menu.
    bool TakeEntryKeyOf(const MSG& msg);

    // The handle of the open menu's top level, for tests.
    HMENU OpenHandle() const;
    // How many levels of the open menu have been built so far, for tests.
    int LevelsBuilt() const;

private:
    struct Build;
    static void AddEntry(Build& build, HMENU menu, TMenuItem* item, bool afterDraw);
    bool BuildLevel(Build& build, HMENU menu);
    bool MeasureItem(MEASUREITEMSTRUCT& mis);
    bool DrawItem(const DRAWITEMSTRUCT& dis);
    void DrawIcon(const DRAWITEMSTRUCT& dis, const TMenuItem& item);
    void AfterPlatformDraw(TMenuItem& item, HDC dc, const RECT& row);
    bool MenuChar(WPARAM wp, HMENU menu, LRESULT& result);
    void NoteHighlight(WPARAM wp, HMENU menu);
    TMenuItem root_;
    Build* open_ = nullptr;
};

}  // namespace rz
