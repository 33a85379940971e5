#pragma once
// The fifteen designed images of the icon lists, from the program's
// resources: a 16 x 16 strip for the menu list and its 16 x 18 twins for the
// tree list.

#include <memory>

#include "platform/Bitmap.h"
#include "platform/ImageList.h"

namespace rz {

// The colour that stands for "transparent" in the stored pictures.
inline constexpr COLORREF kImageKeyColour = RGB(255, 0, 255);

// Appends the 15 fixed images to both lists; false when the resource is missing.
bool LoadFixedImages(TImageList& menuList, TImageList& treeList);
// One fixed picture (height 16 or 18), key-coloured where transparent.
std::unique_ptr<TBitmap> FixedPicture(int slot, int height);

}  // namespace rz
