#include "support/UcvGraphics.h"

#include "platform/Handles.h"
#include "support/UcvSysExceptions.h"

namespace rz {

void RecreateImageList(TImageList* list) {
    if (!list) return;
    // One duplicate holds the images while the list is replaced; taking them
    // out one icon at a time keeps a large list far from the GDI object limit.
    unique_himagelist copy(::ImageList_Duplicate(list->Handle()));
    int count = copy ? ::ImageList_GetImageCount(copy.get()) : 0;
    list->Recreate(ILC_COLOR32 | ILC_MASK);
    for (int i = 0; i < count; ++i) {
        unique_hicon icon(::ImageList_GetIcon(copy.get(), i, ILD_NORMAL));
        list->AddIcon(icon.get());
    }
}

namespace {

SIZE TargetSize(const FillTarget& target) {
    if (auto bitmap = std::get_if<const TBitmap*>(&target); bitmap && *bitmap)
        return SIZE{(*bitmap)->Width(), (*bitmap)->Height()};
    if (auto control = std::get_if<const TControl*>(&target); control && *control) {
        RECT r = (*control)->Bounds();
        return SIZE{r.right - r.left, r.bottom - r.top};
    }
    throw EcvParamOutOfValidRangeError();
}

}  // namespace

void FillPicture(const FillTarget& target, HDC canvas, bool useBrushColour, COLORREF colour) {
    SIZE size = TargetSize(target);
    COLORREF fill = useBrushColour ? ::GetDCBrushColor(canvas) : colour;
    // The DC brush stays selected so that the canvas keeps the colour.
    ::SelectObject(canvas, ::GetStockObject(DC_BRUSH));
    ::SetDCBrushColor(canvas, fill);
    ::PatBlt(canvas, 0, 0, size.cx, size.cy, PATCOPY);
}

int FontSizeForDrawing(int storedPoints) {
    return storedPoints >= kSmallestFontSize && storedPoints <= kLargestFontSize ? storedPoints : kDefaultFontSize;
}

}  // namespace rz
