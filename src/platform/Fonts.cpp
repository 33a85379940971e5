#include "platform/Fonts.h"

#include <algorithm>
#include <cwchar>
#include <string_view>

#include "platform/TextCodePage.h"

namespace rz {

LOGFONTW PointLogFont(const std::string& face, int points, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(points, dpi, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    SetFaceName(lf, face);
    return lf;
}

unique_hfont CreatePointFont(const std::string& face, int points, int dpi, bool underline) {
    LOGFONTW lf = PointLogFont(face, points, dpi);
    lf.lfUnderline = underline ? TRUE : FALSE;
    return unique_hfont(::CreateFontIndirectW(&lf));
}

LOGFONTW SystemMenuLogFont() {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    return ncm.lfMenuFont;
}

std::string FaceNameOf(const LOGFONTW& lf) {
    return FromUtf16(std::wstring_view(lf.lfFaceName, ::wcsnlen(lf.lfFaceName, LF_FACESIZE)));
}

void SetFaceName(LOGFONTW& lf, const std::string& face) {
    // A character takes a byte at least: more bytes than this are cut anyway.
    const std::wstring wide = ToUtf16(std::string_view(face).substr(0, LF_FACESIZE * 4));
    size_t length = std::min<size_t>(wide.size(), LF_FACESIZE - 1);
    // Half of a surrogate pair is no character.
    if (length > 0 && IS_HIGH_SURROGATE(wide[length - 1])) --length;
    std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), L'\0');
    std::copy(wide.begin(), wide.begin() + static_cast<std::ptrdiff_t>(length), lf.lfFaceName);
}

unique_hfont CreateUnderlinedFont(HFONT font) {
    LOGFONTW lf{};
    if (!font || ::GetObjectW(font, sizeof(lf), &lf) != sizeof(lf)) return nullptr;
    lf.lfUnderline = TRUE;
    return unique_hfont(::CreateFontIndirectW(&lf));
}

}  // namespace rz
