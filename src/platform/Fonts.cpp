#include "platform/Fonts.h"

namespace rz {

unique_hfont CreatePointFont(const std::string& face, int points, bool underline) {
    WindowDC screen(nullptr);
    LOGFONTA lf{};
    lf.lfHeight = -::MulDiv(points, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    return unique_hfont(::CreateFontIndirectA(&lf));
}

unique_hfont CreateUnderlinedFont(HFONT font) {
    LOGFONTA lf{};
    if (!font || ::GetObjectA(font, sizeof(lf), &lf) != sizeof(lf)) return nullptr;
    lf.lfUnderline = TRUE;
    return unique_hfont(::CreateFontIndirectA(&lf));
}

}  // namespace rz
