#include "platform/ImageList.h"

#include <vector>

#include "platform/Bitmap.h"
#include "platform/DrawnTiles.h"

namespace rz {

namespace {
constexpr UINT kListFlags = ILC_COLOR32 | ILC_MASK;
// A list grows by this many images at a time. The platform copies the whole
// list each time it grows: by 4, loading thousands of pictures was quadratic.
constexpr int kGrowBy = 256;
}  // namespace

TImageList::TImageList(std::string name, int width, int height)
    : TComponent(std::move(name)),
      list_(::ImageList_Create(width, height, kListFlags, 0, kGrowBy)),
      width_(width),
      height_(height),
      drawn_(std::make_unique<TDrawnTiles>()) {}

TImageList::~TImageList() = default;

void TImageList::Changed(int slot) {
    firstChanged_ = std::min(firstChanged_, slot);
    drawn_->Clear();
}

int TImageList::Count() const { return list_ ? ::ImageList_GetImageCount(list_.get()) : 0; }

int TImageList::Add(HBITMAP image, HBITMAP mask) {
    Changed(Count());
    return ::ImageList_Add(list_.get(), image, mask);
}

int TImageList::AddMasked(HBITMAP image, COLORREF maskColour) {
    Changed(Count());
    return ::ImageList_AddMasked(list_.get(), image, maskColour);
}

int TImageList::AddIcon(HICON icon) {
    Changed(Count());
    return ::ImageList_ReplaceIcon(list_.get(), -1, icon);
}

// Inserting shifts the images behind the slot up by one, by replacing each
// with its predecessor and appending the last: the cost is the number of
// images behind the slot. Neither ImageList_Copy (Wine loses the per-image
// alpha flag) nor ImageList_Remove (Wine rebuilds the whole strip) is used.
int TImageList::InsertWith(int index, const std::function<bool(int)>& replace, const std::function<int()>& add) {
    int count = Count();
    if (index < 0 || index >= count) return add();
    Changed(index);
    std::vector<unique_hicon> tail;
    tail.reserve(count - index);
    for (int i = index; i < count; ++i) tail.push_back(GetIcon(i));
    if (::ImageList_ReplaceIcon(list_.get(), -1, tail.back().get()) < 0) return -1;
    for (int i = count - 1; i > index; --i) ::ImageList_ReplaceIcon(list_.get(), i, tail[i - 1 - index].get());
    return replace(index) ? index : -1;
}

int TImageList::Insert(int index, HBITMAP image, HBITMAP mask) {
    return InsertWith(
        index, [&](int slot) { return ::ImageList_Replace(list_.get(), slot, image, mask) != FALSE; },
        [&] { return Add(image, mask); });
}

int TImageList::InsertMasked(int index, HBITMAP image, COLORREF maskColour) {
    // Build the mask as ImageList_AddMasked would: key-coloured pixels become
    // transparent and black in the image.
    BITMAP bm{};
    if (!::GetObjectA(image, sizeof(bm), &bm)) return -1;
    unique_hdc src(::CreateCompatibleDC(nullptr));
    unique_hdc dst(::CreateCompatibleDC(nullptr));
    unique_hbitmap mask(::CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 1, nullptr));
    unique_hbitmap colour(::CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 32, nullptr));
    {
        SelectGuard s(src.get(), image);
        SelectGuard d(dst.get(), mask.get());
        ::SetBkColor(src.get(), maskColour);
        ::BitBlt(dst.get(), 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY);
    }
    {
        SelectGuard s(src.get(), image);
        SelectGuard d(dst.get(), colour.get());
        ::BitBlt(dst.get(), 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY);
        SelectGuard m(src.get(), mask.get());
        ::SetTextColor(dst.get(), RGB(0, 0, 0));
        ::SetBkColor(dst.get(), RGB(255, 255, 255));
        // Mask bits 1 (transparent) -> black: AND with the inverted mask.
        ::BitBlt(dst.get(), 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, 0x00220326);
    }
    return Insert(index, colour.get(), mask.get());
}

int TImageList::InsertIcon(int index, HICON icon) {
    return InsertWith(
        index, [&](int slot) { return ::ImageList_ReplaceIcon(list_.get(), slot, icon) >= 0; },
        [&] { return AddIcon(icon); });
}

bool TImageList::Replace(int index, HBITMAP image, HBITMAP mask) {
    if (index < 0 || index >= Count()) return false;
    ViewSlotChanged(index);
    drawn_->Clear();
    return ::ImageList_Replace(list_.get(), index, image, mask) != FALSE;
}

void TImageList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    Changed(index);
    ::ImageList_Remove(list_.get(), index);
}

void TImageList::Truncate(int count) {
    if (count < 0 || count >= Count()) return;
    Changed(count);
    ::ImageList_SetImageCount(list_.get(), count);
}

unique_hicon TImageList::TakeLast() {
    int last = Count() - 1;
    if (last < 0) return nullptr;
    unique_hicon icon = GetIcon(last);
    Changed(last);
    ::ImageList_Remove(list_.get(), last);
    return icon;
}

void TImageList::Clear() {
    Changed(0);
    ::ImageList_Remove(list_.get(), -1);
}

bool TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count()) return false;
    if (enabled) return ::ImageList_Draw(list_.get(), index, dc, x, y, ILD_NORMAL);
    IMAGELISTDRAWPARAMS p{};
    p.cbSize = sizeof(p);
    p.himl = list_.get();
    p.i = index;
    p.hdcDst = dc;
    p.x = x;
    p.y = y;
    p.rgbBk = CLR_NONE;
    p.rgbFg = CLR_DEFAULT;
    p.fStyle = ILD_NORMAL;
    p.fState = ILS_SATURATE;
    return ::ImageList_DrawIndirect(&p);
}

bool TImageList::DrawSized(HDC dc, int x, int y, int size, int index, bool enabled, COLORREF background) const {
    if (size == width_ && size == height_) return Draw(dc, x, y, index, enabled);
    if (index < 0 || index >= Count()) return false;
    TBitmap picture(width_, height_);
    unique_hbrush brush(::CreateSolidBrush(background));
    RECT all{0, 0, width_, height_};
    ::FillRect(picture.Canvas(), &all, brush.get());
    if (!Draw(picture.Canvas(), 0, 0, index, enabled)) return false;
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    return ::StretchBlt(dc, x, y, size, size, picture.Canvas(), 0, 0, width_, height_, SRCCOPY) != FALSE;
}

bool TImageList::DrawCached(HDC dc, int x, int y, int size, int index, bool enabled, COLORREF background) const {
    if (index < 0 || index >= Count()) return false;
    const uint64_t key = (uint64_t(uint32_t(index)) << 25) | (uint64_t(enabled) << 24) | (background & 0xFFFFFF);
    const auto paint = [&](HDC tile) {
        unique_hbrush brush(::CreateSolidBrush(background));
        const RECT all{0, 0, size, size};
        ::FillRect(tile, &all, brush.get());
        return DrawSized(tile, 0, 0, size, index, enabled, background);
    };
    return drawn_->Draw(dc, x, y, size, key, paint) || DrawSized(dc, x, y, size, index, enabled, background);
}

void TImageList::Recreate(UINT flags) {
    Changed(0);
    list_.reset(::ImageList_Create(width_, height_, flags, 0, kGrowBy));
}

HIMAGELIST TImageList::ViewHandle(int width, int height) {
    viewShown_ = width != width_ || height != height_;
    if (!viewShown_) return list_.get();
    if (!view_ || width != viewWidth_ || height != viewHeight_) {
        view_.reset(::ImageList_Create(width, height, kListFlags, 0, kGrowBy));
        viewWidth_ = width;
        viewHeight_ = height;
        viewMade_.clear();
    }
    // What changed is made again when asked for; the count follows the list
    // in one call, whatever the number of pictures.
    const int count = Count();
    viewMade_.resize(std::min<size_t>(viewMade_.size(), static_cast<size_t>(std::max(firstChanged_, 0))));
    viewMade_.resize(count, false);
    if (::ImageList_GetImageCount(view_.get()) != count) ::ImageList_SetImageCount(view_.get(), count);
    firstChanged_ = count;
    return view_.get();
}

void TImageList::ViewSlot(int slot) {
    if (!viewShown_ || !view_ || slot < 0 || slot >= static_cast<int>(viewMade_.size()) || viewMade_[slot] ||
        slot >= Count())
        return;
    viewMade_[slot] = true;
    if (std::unique_ptr<TBitmap> picture = ViewPicture ? ViewPicture(slot, viewWidth_, viewHeight_) : nullptr) {
        TBitmap::Unselected bmp(*picture);
        ::ImageList_Replace(view_.get(), slot, bmp.get(), nullptr);
        return;
    }
    unique_hicon icon = GetIcon(slot);
    unique_hicon sized(static_cast<HICON>(::CopyImage(icon.get(), IMAGE_ICON, viewWidth_, viewHeight_, 0)));
    ::ImageList_ReplaceIcon(view_.get(), slot, sized ? sized.get() : icon.get());
}

void TImageList::ViewSlotChanged(int slot) {
    if (slot >= 0 && slot < static_cast<int>(viewMade_.size())) viewMade_[slot] = false;
}

unique_hicon TImageList::GetIcon(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return unique_hicon(::ImageList_GetIcon(list_.get(), index, ILD_NORMAL));
}

}  // namespace rz
