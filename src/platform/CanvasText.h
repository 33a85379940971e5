#pragma once
// Text on a device context. GDI's A calls read bytes in the code page of the
// selected font's character set, not in the program's UTF-8: text is drawn
// and measured through the wide calls.

#include <windows.h>

#include <string>

namespace rz {

int DrawCanvasText(HDC dc, const std::string& text, RECT& rect, UINT format);
SIZE CanvasTextExtent(HDC dc, const std::string& text);
BOOL CanvasTextOut(HDC dc, int x, int y, UINT options, const RECT* clip, const std::string& text);

}  // namespace rz
