#include "items/FixedImages.h"

#include "items/ItemIcons.h"

namespace rz {

namespace {

unique_hbitmap LoadStrip() {
    return unique_hbitmap(static_cast<HBITMAP>(
        ::LoadImageA(::GetModuleHandleA(nullptr), "FIXED16", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// The strip drawn into a key-coloured picture, shifted down for the 16 x 18 twins.
std::unique_ptr<TBitmap> StripPicture(HBITMAP strip, int srcX, int width, int height) {
    auto picture = std::make_unique<TBitmap>(width, height);
    HDC dc = picture->Canvas();
    // The tree twins carry window-colour rows above and below the picture.
    unique_hbrush window(::CreateSolidBrush(::GetSysColor(COLOR_WINDOW)));
    RECT all{0, 0, width, height};
    ::FillRect(dc, &all, window.get());
    unique_hbrush key(::CreateSolidBrush(kImageKeyColour));
    RECT inner{0, (height - 16) / 2, width, (height - 16) / 2 + 16};
    ::FillRect(dc, &inner, key.get());
    unique_hdc src(::CreateCompatibleDC(nullptr));
    SelectGuard guard(src.get(), strip);
    ::BitBlt(dc, 0, (height - 16) / 2, width, 16, src.get(), srcX, 0, SRCCOPY);
    return picture;
}

}  // namespace

bool LoadFixedImages(TImageList& menuList, TImageList& treeList) {
    unique_hbitmap strip = LoadStrip();
    if (!strip) return false;
    const int width = 16 * kFixedImageCount;
    auto small = StripPicture(strip.get(), 0, width, 16);
    auto large = StripPicture(strip.get(), 0, width, 18);
    TBitmap::Unselected s(*small);
    TBitmap::Unselected l(*large);
    return menuList.AddMasked(s.get(), kImageKeyColour) >= 0 && treeList.AddMasked(l.get(), kImageKeyColour) >= 0;
}

std::unique_ptr<TBitmap> FixedPicture(int slot, int height) {
    unique_hbitmap strip = LoadStrip();
    if (!strip) return std::make_unique<TBitmap>(16, height);
    return StripPicture(strip.get(), 16 * slot, 16, height);
}

}  // namespace rz
