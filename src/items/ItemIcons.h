#pragma once
// The icon sections of the two image lists (menu 16 x 16, tree 16 x 18,
// slot for slot in step): fixed images 0-11, type icons from slot 12, break
// images 3 and 4, the loader's item icons, break image 5, then the icons the
// manager appends.

#include <memory>
#include <string>

#include "items/IconSources.h"
#include "platform/Bitmap.h"
#include "platform/ImageList.h"

namespace rz {

class ItemTables;

struct IconSlots {
    int break2 = 11;
    int break3 = 12;
    int break4 = 13;
    int break5 = 14;
};

inline constexpr int kFirstTypeIconSlot = 12;
inline constexpr int kFixedImageCount = 15;

class ItemIcons {
public:
    ItemIcons(TImageList& menuList, TImageList& treeList)
        : sources(menuList, treeList), menu_(menuList), tree_(treeList) {}

    IconSlots slots;
    // Where the slots' pictures come from; a program's own icon comes late.
    IconSources sources;

    void MakeWorkSurfaces();
    void FreeWorkSurfaces();

    void ResetSlots() { slots = IconSlots{}; }
    // Appends the program extensions, then one type icon per list entry.
    void BuildTypeIcons(ItemTables& tables);
    void InsertTypeIcon(const std::string& ext);
    // Returns the slot used, or -1 when no icon could be had. A target that
    // exists gets a slot whose icon is taken late (IconSources).
    int InsertItemIcon(const std::string& picture, const std::string& target);
    // The slot of the loader's icon of an existing program: the one slot all
    // items naming the program share. -1 when the program is not there.
    int ProgramIconSlot(const std::string& path);
    // The slot of the manager's icon of a file: the one it already has, or
    // one appended whose icon is taken late; appended tells which.
    int ManagerIconSlot(const std::string& path, bool& appended);
    // slot -1 appends. Returns the slot used.
    int InsertFileIcon(const std::string& path, int slot, bool menuOnly);
    static int TypeIconSlot(int listPosition) { return kFirstTypeIconSlot + listPosition; }

    // While the loader adds item icons, break image 5 (the last image) is
    // kept aside, so that every item icon is an append; the stand-ins of the
    // programs' slots meanwhile go in many at a time.
    void SetBreak5Aside(bool aside);

    // Item icons inserted by the loader since the last reload (the menu list's Tag).
    int ItemIconCount() const { return menu_.Tag; }

    // Back to slots 0-11, then the three break images again; both counts 0.
    void CutBack(const TBitmap* smallBreaks[3], const TBitmap* largeBreaks[3], int& managerIconCount);

    // Drops the icons the manager appended beyond its first kept ones, from
    // both lists, from the last down.
    void CutManagerIcons(int kept);

    // Draws a menu-list image onto a 16 x 16 picture at (0, 0) and saves it.
    bool SaveIconPicture(int slot, const std::string& path) const;

private:
    // Counts an item icon just put at the break-5 slot; returns its slot.
    int CountItemIcon();
    void FillSurfaces();
    void MakeTreeTwin(HICON icon);
    HICON IconOrBlank(HICON icon, unique_hicon& holder);
    void InsertTreeSurface(int slot);

    TImageList& menu_;
    TImageList& tree_;
    std::unique_ptr<TBitmap> largeMenu_;
    std::unique_ptr<TBitmap> largeWindow_;
    std::unique_ptr<TBitmap> smallMenu_;
    std::unique_ptr<TBitmap> treeSurface_;
    unique_hicon asideMenu_;
    unique_hicon asideTree_;
};

// The shell's small icon for a file or directory; null when there is none.
// With attributes, the icon of the type the name has, whether or not it exists.
unique_hicon ShellSmallIcon(const std::string& path, DWORD attributes = 0);
// The shell's icon for a file or directory at size x size pixels where its
// icon file has that size, else its large icon (for the system to shrink);
// null when there is none. With attributes, that of the type the name has.
unique_hicon ShellIconAtSize(const std::string& path, int size, DWORD attributes = 0);
// The shell's icon at size for files of type ext (without the dot), asked of
// the type alone; null when the shell has none.
unique_hicon TypeIcon(const std::string& ext, int size);

}  // namespace rz
