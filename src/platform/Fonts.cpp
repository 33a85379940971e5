#include "platform/Fonts.h"

namespace rz {

LOGFONTA PointLogFont(const std::string& face, int points, int dpi) {
    LOGFONTA lf{};
    lf.lfHeight = -::MulDiv(points, dpi, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    return lf;
}

unique_hfont CreatePointFont(const std::string& face, int points, int dpi, bool underline) {
    LOGFONTA lf = PointLogFont(face, points, dpi);
    lf.lfUnderline = underline ? TRUE : FALSE;
    return unique_hfont(::CreateFontIndirectA(&lf));
}

LOGFONTA SystemMenuLogFont() {
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    return ncm.lfMenuFont;
}

unique_hfont CreateUnderlinedFont(HFONT font) {
    LOGFONTA lf{};
    if (!font || ::GetObjectA(font, sizeof(lf), &lf) != sizeof(lf)) return nullptr;
    lf.lfUnderline = TRUE;
    return unique_hfont(::CreateFontIndirectA(&lf));
}

}  // namespace rz
