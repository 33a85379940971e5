#include "platform/CanvasText.h"

namespace rz {

namespace {
std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                          wide.data(), static_cast<int>(wide.size()))));
    return wide;
}
}  // namespace

int DrawCanvasText(HDC dc, const std::string& text, RECT& rect, UINT format) {
    const std::wstring wide = Wide(text);
    return ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}

SIZE CanvasTextExtent(HDC dc, const std::string& text) {
    const std::wstring wide = Wide(text);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    return extent;
}

BOOL CanvasTextOut(HDC dc, int x, int y, UINT options, const RECT* clip, const std::string& text) {
    const std::wstring wide = Wide(text);
    return ::ExtTextOutW(dc, x, y, options, clip, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
}

}  // namespace rz
