#pragma once
// Image-list rebuilding, solid picture fills and the font size to draw with.

#include <windows.h>

#include <variant>

#include "platform/Bitmap.h"
#include "platform/Control.h"
#include "platform/ImageList.h"

namespace rz {

// Rebuilds the list as 32-bit colour with mask, keeping its images.
void RecreateImageList(TImageList* list);

using FillTarget = std::variant<std::monostate, const TBitmap*, const TControl*>;
// Fills (0,0)-(width,height) of target with a solid brush; the canvas keeps
// that brush colour. Raises EcvParamOutOfValidRangeError for other targets.
void FillPicture(const FillTarget& target, HDC canvas, bool useBrushColour, COLORREF colour);

// The font sizes honoured, in points, and the default.
inline constexpr int kSmallestFontSize = 6;
inline constexpr int kLargestFontSize = 72;
inline constexpr int kDefaultFontSize = 8;
// The size the menu and the windows draw with alike: a stored size outside
// the honoured ones (a hand-edited settings file) draws with the default.
int FontSizeForDrawing(int storedPoints);

}  // namespace rz
