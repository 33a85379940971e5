#include "items/ItemIcons.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "items/IconPictures.h"
#include "items/ItemKinds.h"
#include "items/ItemTables.h"
#include "platform/FileIO.h"
#include "support/UcvGraphics.h"
#include "support/UcvSysExceptions.h"
#include "support/UcvSysIO.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {

void Fill(TBitmap& b, int sysColour) { FillPicture(FillTarget(&b), b.Canvas(), false, ::GetSysColor(sysColour)); }

}  // namespace

unique_hicon ShellSmallIcon(const std::string& path, DWORD attributes) {
    SHFILEINFOW info{};
    const UINT flags = SHGFI_ICON | SHGFI_SMALLICON | (attributes ? SHGFI_USEFILEATTRIBUTES : 0);
    // Wine leaves a stale handle in the record on failure: trust only the result.
    DWORD_PTR ok = ::SHGetFileInfoW(WidePath(path).c_str(), attributes, &info, sizeof(info), flags);
    if (!ok) return nullptr;
    return unique_hicon(info.hIcon);
}

unique_hicon ShellIconAtSize(const std::string& path, int size, DWORD attributes) {
    const UINT byType = attributes ? SHGFI_USEFILEATTRIBUTES : 0;
    const std::wstring wide = WidePath(path);
    // A file with icons of its own, a program, has them at the sizes it was
    // made with. Where the shell takes the icon from elsewhere, its place
    // there is not always the picture it shows for the file: then the shell's
    // own large picture is the one, and is drawn smaller.
    SHFILEINFOW where{};
    if (!attributes && ::SHGetFileInfoW(wide.c_str(), 0, &where, sizeof(where), SHGFI_ICONLOCATION) &&
        ::lstrcmpiW(where.szDisplayName, wide.c_str()) == 0) {
        HICON icon = nullptr;
        if (::SHDefExtractIconW(where.szDisplayName, where.iIcon, 0, &icon, nullptr, static_cast<UINT>(size)) == S_OK &&
            icon)
            return unique_hicon(icon);
    }
    const UINT which = size <= ::GetSystemMetrics(SM_CXSMICON) ? SHGFI_SMALLICON : SHGFI_LARGEICON;
    SHFILEINFOW shown{};
    if (!::SHGetFileInfoW(wide.c_str(), attributes, &shown, sizeof(shown), SHGFI_ICON | which | byType)) return nullptr;
    return unique_hicon(shown.hIcon);
}

unique_hicon TypeIcon(const std::string& ext, int size) {
    // Asked by the type alone: no file is made, so none of the user's is
    // touched and a read-only data folder costs nothing.
    const std::string name = "file." + ext;
    return size <= ::GetSystemMetrics(SM_CXSMICON) ? ShellSmallIcon(name, FILE_ATTRIBUTE_NORMAL)
                                                   : ShellIconAtSize(name, size, FILE_ATTRIBUTE_NORMAL);
}

void ItemIcons::MakeWorkSurfaces() {
    largeMenu_ = std::make_unique<TBitmap>(32, 32);
    largeWindow_ = std::make_unique<TBitmap>(32, 32);
    smallMenu_ = std::make_unique<TBitmap>(16, 16);
    treeSurface_ = std::make_unique<TBitmap>(16, 18);
    FillSurfaces();
}

void ItemIcons::FreeWorkSurfaces() {
    largeMenu_.reset();
    largeWindow_.reset();
    smallMenu_.reset();
    treeSurface_.reset();
}

void ItemIcons::FillSurfaces() {
    if (!largeMenu_) MakeWorkSurfaces();
    Fill(*largeMenu_, COLOR_MENU);
    Fill(*largeWindow_, COLOR_WINDOW);
    Fill(*smallMenu_, COLOR_MENU);
    Fill(*treeSurface_, COLOR_WINDOW);
}

HICON ItemIcons::IconOrBlank(HICON icon, unique_hicon& holder) {
    if (icon) return icon;
    // Without a shell icon the slot still has to be taken in both lists.
    holder = menu_.GetIcon(2);
    return holder.get();
}

void ItemIcons::MakeTreeTwin(HICON icon) {
    HDC large = largeWindow_->Canvas();
    ::DrawIconEx(large, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    HDC tree = treeSurface_->Canvas();
    int oldMode = ::SetStretchBltMode(tree, HALFTONE);
    ::SetBrushOrgEx(tree, 0, 0, nullptr);
    ::StretchBlt(tree, 0, 1, 16, 16, large, 0, 0, 32, 32, SRCCOPY);
    ::SetStretchBltMode(tree, oldMode);
}

void ItemIcons::InsertTreeSurface(int slot) {
    TBitmap::Unselected bmp(*treeSurface_);
    if (slot < 0) tree_.Add(bmp.get(), nullptr);
    else tree_.Insert(slot, bmp.get(), nullptr);
}

void ItemIcons::BuildTypeIcons(ItemTables& tables) {
    for (const char* ext : {"exe", "bat", "cmd", "wsf", "wsh"}) AppendString(tables.extensions, ext);
    // The images from break image 3 on are put aside while the type icons go
    // in, so that each is an append, and come back after them: moving them
    // once per type icon cost more than the shell's icons themselves.
    std::vector<unique_hicon> menuTail, treeTail;
    while (menu_.Count() > slots.break3) menuTail.push_back(menu_.TakeLast());
    while (tree_.Count() > slots.break3) treeTail.push_back(tree_.TakeLast());
    auto putBack = [&] {
        for (auto it = menuTail.rbegin(); it != menuTail.rend(); ++it) menu_.AddIcon(it->get());
        for (auto it = treeTail.rbegin(); it != treeTail.rend(); ++it) tree_.AddIcon(it->get());
    };
    try {
        for (int i = 0; i < tables.extensions.Length(); ++i) InsertTypeIcon(tables.extensions[i]);
    } catch (...) {
        putBack();
        throw;
    }
    putBack();
}

void ItemIcons::InsertTypeIcon(const std::string& ext) {
    unique_hicon shellIcon = TypeIcon(ext, menu_.Width());

    FillSurfaces();
    unique_hicon blank;
    HICON icon = IconOrBlank(shellIcon.get(), blank);
    const bool shifts = slots.break3 < menu_.Count();
    menu_.InsertIcon(slots.break3, icon);
    MakeTreeTwin(icon);
    InsertTreeSurface(slots.break3);
    if (shifts) sources.Inserted(slots.break3);
    sources.NoteType(slots.break3, ext);
    ++slots.break3;
    ++slots.break4;
    ++slots.break5;
}

int ItemIcons::InsertFileIcon(const std::string& path, int slot, bool menuOnly) {
    FillSurfaces();
    unique_hicon shellIcon = ShellSmallIcon(path);
    unique_hicon blank;
    HICON icon = IconOrBlank(shellIcon.get(), blank);
    MakeTreeTwin(icon);
    const bool shifts = slot >= 0 && slot < menu_.Count();
    int used = slot < 0 ? menu_.AddIcon(icon) : menu_.InsertIcon(slot, icon);
    if (!menuOnly) {
        InsertTreeSurface(slot);
        if (shifts) sources.Inserted(used);
        if (shellIcon) sources.NoteFile(used, path);
    }
    return used;
}

int ItemIcons::ProgramIconSlot(const std::string& path) {
    const int shared = sources.SlotOfFile(path);
    if (shared >= 0) return shared;
    return FileExists(path) ? InsertItemIcon(std::string(), path) : -1;
}

int ItemIcons::ManagerIconSlot(const std::string& path, bool& appended) {
    const int shared = sources.SlotOfFile(path);
    appended = shared < 0;
    return appended ? sources.AddLateFile(path) : shared;
}

int ItemIcons::InsertItemIcon(const std::string& picture, const std::string& target) {
    if (!largeMenu_) MakeWorkSurfaces();
    if (!target.empty() && FileExists(target)) {
        // Both lists at once; the program's own icon replaces its type's later.
        if (sources.AddLateFile(target, slots.break5) < 0) return -1;
        return CountItemIcon();
    } else {
        sources.Flush();
        std::string ext = FileExtension(picture);
        int used = -1;
        if (ext == ".bmp") {
            if (auto loaded = LoadIconPicture(picture)) {
                TBitmap::Unselected bmp(*loaded->picture);
                used = menu_.InsertMasked(slots.break5, bmp.get(), loaded->maskColour);
            }
        } else if (ext == ".ico") {
            unique_hicon icon(static_cast<HICON>(
                ::LoadImageW(nullptr, WidePath(picture).c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE)));
            if (icon) used = menu_.InsertIcon(slots.break5, icon.get());
        }
        // Nothing usable: no slot is taken, so the lists stay in step.
        if (used < 0) return -1;
        sources.Inserted(used);
    }
    TBitmap small(16, 16);
    Fill(small, COLOR_WINDOW);
    menu_.Draw(small.Canvas(), 0, 0, slots.break5);
    Fill(*treeSurface_, COLOR_WINDOW);
    const uint32_t* from = small.Bits();
    uint32_t* to = treeSurface_->Bits();
    if (from && to) {
        std::copy(from, from + 16 * 16, to + 16);
        // One alpha for all pixels, or a 32-bit list treats the picture as translucent.
        for (int i = 0; i < 16 * 18; ++i) to[i] |= 0xFF000000u;
    }
    InsertTreeSurface(slots.break5);
    return CountItemIcon();
}

int ItemIcons::CountItemIcon() {
    ++menu_.Tag;
    int slot = menu_.Tag + slots.break4;
    ++slots.break5;
    return slot;
}

void ItemIcons::SetBreak5Aside(bool aside) {
    sources.Hold(aside);
    if (aside) {
        if (asideMenu_ || menu_.Count() != slots.break5 + 1 || tree_.Count() != slots.break5 + 1) return;
        asideMenu_ = menu_.TakeLast();
        asideTree_ = tree_.TakeLast();
    } else if (asideMenu_) {
        menu_.AddIcon(asideMenu_.get());
        tree_.AddIcon(asideTree_.get());
        asideMenu_.reset();
        asideTree_.reset();
    }
}

void ItemIcons::CutBack(const TBitmap* smallBreaks[3], const TBitmap* largeBreaks[3], int& managerIconCount) {
    sources.CutTo(slots.break2 + 1);
    tree_.Truncate(slots.break2 + 1);
    menu_.Truncate(slots.break2 + 1);
    for (int i = 0; i < 3; ++i) {
        TBitmap::Unselected s(*smallBreaks[i]);
        menu_.AddMasked(s.get(), RGB(255, 0, 255));
        TBitmap::Unselected l(*largeBreaks[i]);
        tree_.AddMasked(l.get(), RGB(255, 0, 255));
    }
    menu_.Tag = 0;
    managerIconCount = 0;
}

void ItemIcons::CutManagerIcons(int kept) {
    const int last = slots.break5 + kept;
    sources.CutTo(last + 1);
    tree_.Truncate(last + 1);
    menu_.Truncate(last + 1);
}

bool ItemIcons::SaveIconPicture(int slot, const std::string& path) const {
    return rz::SaveIconPicture(menu_, slot, path);
}

}  // namespace rz
