#include "dialogs/form_config.h"

#include <algorithm>
#include <set>

#include "platform/Handles.h"

namespace rz {

TFormConfig* FormConfig = nullptr;

TFormConfig::TFormConfig() : TForm("FormConfig") {
    CreateForm("", 400, 300);
    CmBoxFontName.Sorted = true;
    CmBoxFontName.SetBounds(16, 16, 160, 200);
    CmBoxFontName.CreateWnd(Handle());
}

TFormConfig::~TFormConfig() {
    if (FormConfig == this) FormConfig = nullptr;
}

namespace {
int CALLBACK CollectFont(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM data) {
    // Vertical variants ("@Face") are not choices for menus.
    if (lf->lfFaceName[0] != '@') reinterpret_cast<std::set<std::string>*>(data)->insert(lf->lfFaceName);
    return 1;
}
}  // namespace

std::vector<std::string> InstalledScreenFonts() {
    std::set<std::string> names;
    WindowDC screen(nullptr);
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExA(screen.get(), &lf, &CollectFont, reinterpret_cast<LPARAM>(&names), 0);
    return {names.begin(), names.end()};
}

}  // namespace rz
