#pragma once
// Icon picture files: 16 x 16, 32 bits per pixel, the item's menu image with
// straight (not premultiplied) alpha, transparent where alpha is 0. Reading
// one and writing it again gives the same file, so a picture does not fade
// or lose pixels with every save.

#include <memory>
#include <optional>
#include <string>

#include "platform/Bitmap.h"
#include "platform/ImageList.h"

namespace rz {

// A picture file made ready for the menu list: the picture, and the colour
// that masks its transparent pixels (one that no visible pixel has).
struct LoadedPicture {
    std::unique_ptr<TBitmap> picture;
    COLORREF maskColour;
};
// nullopt when the file is no picture the system can read.
std::optional<LoadedPicture> LoadIconPicture(const std::string& path);

// Draws the list's image at slot onto a new, unfilled picture and writes it.
// The list blends translucent pixels as it draws them; their colours are
// turned back into the ones that draw that way. False when the file cannot
// be written.
bool SaveIconPicture(const TImageList& list, int slot, const std::string& path);

}  // namespace rz
