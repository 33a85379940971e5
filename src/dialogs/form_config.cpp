#include "dialogs/form_config.h"

#include <algorithm>
#include <set>

#include "core/Settings.h"
#include "platform/Handles.h"

namespace rz {

TFormConfig::TFormConfig() : TForm("FormConfig") {
    CreateForm("", 468, 297);
    CenterOnScreen();
    ChkBxSystray.SetCaption("Always show Corvane Razaveza in Systray");
    ChkBxSystray.SetBounds(16, 24, 290, 17);
    ChkBxTaskBar.SetCaption("Always* show Corvane Razaveza in TaskBar");
    ChkBxTaskBar.SetBounds(16, 48, 290, 17);
    CBWinDefDrawAll.SetCaption("Let Windows default draw all controls.");
    CBWinDefDrawAll.SetBounds(16, 88, 290, 17);
    CBWinDefDrawAll.OnClick = [this](TObject* s) { CBWinDefDrawAllClick(s); };
    CmBoxFontName.Sorted = true;
    CmBoxFontName.SetBounds(16, 120, 160, 200);
    CmBoxFontSize.SetBounds(186, 120, 56, 200);
    CmBoxFontSize.SetItems({"6", "7", "8", "9", "10", "11", "12"});
    BtnDefault.SetCaption("Default");
    BtnDefault.SetBounds(250, 119, 64, 23);
    ChkBxSystray.CreateWnd(Handle());
    ChkBxTaskBar.CreateWnd(Handle());
    CBWinDefDrawAll.CreateWnd(Handle());
    CmBoxFontName.CreateWnd(Handle());
    CmBoxFontSize.CreateWnd(Handle());
    BtnDefault.CreateWnd(Handle());
}

void TFormConfig::CBWinDefDrawAllClick(TObject*) { SetFontControlsState(CBWinDefDrawAll.Checked()); }

namespace {
int CALLBACK CollectFont(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM data) {
    // No exception may unwind through the system's enumeration: out of
    // memory ends it with the names collected so far.
    try {
        // Vertical variants ("@Face") are not choices for menus.
        if (lf->lfFaceName[0] != '@') reinterpret_cast<std::set<std::string>*>(data)->insert(lf->lfFaceName);
        return 1;
    } catch (...) {
        return 0;
    }
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
