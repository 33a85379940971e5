#include "platform/CanvasText.h"

#include "platform/TextCodePage.h"

namespace rz {

int DrawCanvasText(HDC dc, const std::string& text, RECT& rect, UINT format) {
    const std::wstring wide = ToUtf16(text);
    return ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}

SIZE CanvasTextExtent(HDC dc, const std::string& text) {
    const std::wstring wide = ToUtf16(text);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    return extent;
}

BOOL CanvasTextOut(HDC dc, int x, int y, UINT options, const RECT* clip, const std::string& text) {
    const std::wstring wide = ToUtf16(text);
    return ::ExtTextOutW(dc, x, y, options, clip, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
}

}  // namespace rz
