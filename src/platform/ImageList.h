#pragma once
// An owned HIMAGELIST (32-bit colour with mask) with insert-at-slot.

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Component.h"
#include "platform/Handles.h"

namespace rz {

class TBitmap;
class TDrawnTiles;

class TImageList : public TComponent {
public:
    TImageList(std::string name, int width, int height);
    ~TImageList() override;

    HIMAGELIST Handle() const { return list_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const;

    // Each returns the slot used, or -1 on failure. A null mask means none.
    int Add(HBITMAP image, HBITMAP mask);
    int AddMasked(HBITMAP image, COLORREF maskColour);
    int AddIcon(HICON icon);
    int Insert(int index, HBITMAP image, HBITMAP mask);
    int InsertMasked(int index, HBITMAP image, COLORREF maskColour);
    int InsertIcon(int index, HICON icon);
    // Another picture in the same slot; the slots around it stay as they are.
    bool Replace(int index, HBITMAP image, HBITMAP mask);
    void Delete(int index);
    // Drops the images from slot count on, all at once.
    void Truncate(int count);
    // Removes and returns the last image, for putting it back later.
    unique_hicon TakeLast();
    void Clear();
    bool Draw(HDC dc, int x, int y, int index, bool enabled = true) const;
    // Drawn at size x size pixels: at the list's own size as Draw does, else
    // scaled, over background (the scaled picture has no transparent parts).
    bool DrawSized(HDC dc, int x, int y, int size, int index, bool enabled, COLORREF background) const;
    // As DrawSized, from pictures kept drawn over their background: the same
    // picture on the same background again is a copy, not a blend.
    bool DrawCached(HDC dc, int x, int y, int size, int index, bool enabled, COLORREF background) const;
    // Replaces the list by a new, empty one of the same size and flags.
    void Recreate(UINT flags);
    // The image of a slot as a new icon (null if the slot does not exist).
    unique_hicon GetIcon(int index) const;

    // The list as a view shows it at another size (a DPI above 96): as many
    // pictures as the list, each made only once ViewSlot asks for it, since a
    // list of thousands is never seen whole. At the list's own size the list
    // itself.
    HIMAGELIST ViewHandle(int width, int height);
    // Makes the view's picture of slot unless it is up to date: ViewPicture's,
    // else the list's picture scaled.
    void ViewSlot(int slot);
    // The view's picture of slot is made again when next asked for.
    void ViewSlotChanged(int slot);
    // Asked for a picture of the view's size for a slot; null: none better
    // than the list's picture scaled.
    std::function<std::unique_ptr<TBitmap>(int slot, int width, int height)> ViewPicture;

private:
    void Changed(int slot);
    int InsertWith(int index, const std::function<bool(int)>& replace, const std::function<int()>& add);
    unique_himagelist list_;
    int width_;
    int height_;
    unique_himagelist view_;
    int viewWidth_ = 0;
    int viewHeight_ = 0;
    int firstChanged_ = 0;        // slots from here on differ in the view
    std::vector<bool> viewMade_;  // per slot: the view's picture is up to date
    bool viewShown_ = false;      // the last ViewHandle gave the view, not the list
    std::unique_ptr<TDrawnTiles> drawn_;
};

}  // namespace rz
