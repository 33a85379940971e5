#include "dialogs/form_about.h"


#include "core/AppData.h"
#include "core/Launching.h"
#include "platform/Handles.h"

namespace rz {

namespace {
constexpr int kClientWidth = 331;
constexpr int kClientHeight = 172;
constexpr char kNoticeLine1[] = "Freeware by Corvane - use it at your own risk.";
constexpr char kNoticeLine2[] = "Copyright (C) Corvane. All rights reserved.";
}  // namespace

TFormAbout::TFormAbout() : TTitledDialog("FormAbout", App.aboutTitle) {
    CreateForm("", kClientWidth, kClientHeight);
    CenterOnScreen();
    CreateControls();
    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, bool& hide) { FormClose(s, hide); };
    LabelUrl.OnClick = [this](TObject* s) { LabelUrlClick(s); };
    TimerMem.SetInterval(kMemoryInterval);
    TimerMem.OnTimer = [this](TObject* s) { TimerMemTimer(s); };
}

void TFormAbout::CreateControls() {
    HWND h = Handle();
    ImageAboutLogo.SetBounds(16, 8, 32, 32);
    DrawLogo();
    ImageAboutLogo.CreateWnd(h);
    const std::pair<TLabel*, int> lines[] = {{&LabelVer, 8}, {&LabelDis, 27}, {&LabelCopy, 47}};
    for (const auto& [label, top] : lines) {
        label->SetBounds(60, top, kClientWidth - 60 - 8, 16);
        label->CreateWnd(h);
    }
    LabelDis.SetCaption(kNoticeLine1);
    LabelCopy.SetCaption(kNoticeLine2);
    BevelAbout.SetBounds(16, 65, 289, 2);
    BevelAbout.CreateWnd(h);
    LabelUrl.SetBounds(15, 73, 0, 0);
    LabelUrl.SetCaption(kMakerWebsite);
    LabelUrl.CreateWnd(h);
    LabelMemTotal.SetBounds(16, 124, 289, 16);
    LabelMemTotal.CreateWnd(h);
    ProgressBarP.SetRange(0, 100);
    ProgressBarP.SetBounds(16, 146, 289, 15);
    ProgressBarP.CreateWnd(h);
    // Last, so at the bottom of the stack: everything above lies on it.
    PanelAbout.Edge = BDR_RAISEDINNER | BDR_SUNKENOUTER;
    PanelAbout.SetBounds(0, 0, kClientWidth, kClientHeight);
    PanelAbout.CreateWnd(h);
}

void TFormAbout::DrawLogo() {
    TBitmap& picture = ImageAboutLogo.Picture();
    RECT all{0, 0, picture.Width(), picture.Height()};
    ::FillRect(picture.Canvas(), &all, ::GetSysColorBrush(COLOR_BTNFACE));
    unique_hicon logo(static_cast<HICON>(
        ::LoadImageA(::GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, picture.Width(), picture.Height(), 0)));
    if (logo) ::DrawIconEx(picture.Canvas(), 0, 0, logo.get(), picture.Width(), picture.Height(), 0, nullptr, DI_NORMAL);
}

void TFormAbout::FormShow(TObject*) {
    ShowMemoryLine();
    TimerMem.SetEnabled(true);
}

void TFormAbout::FormClose(TObject*, bool& hide) {
    TimerMem.SetEnabled(false);
    hide = true;
}

void TFormAbout::TimerMemTimer(TObject*) {
    // Hidden some other way than by closing (while new settings are applied):
    // no queries until it is shown again.
    if (!Visible()) {
        TimerMem.SetEnabled(false);
        return;
    }
    ShowMemoryLine();
}

void TFormAbout::LabelUrlClick(TObject*) { OpenWithShell(kMakerWebsite); }

void TFormAbout::ShowMemoryLine() {
    const MemoryStatus status = ReadMemoryStatus();
    LabelMemTotal.SetCaption(FormatMemoryLine(status, UserThousandSeparator()));
    ProgressBarP.SetPosition(static_cast<int>(status.load));
}

std::string GroupThousands(unsigned long long value, const std::string& separator) {
    std::string digits = std::to_string(value);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out;
}

std::string FormatMemoryLine(const MemoryStatus& status, const std::string& thousandSeparator) {
    // Rounded to the nearest kilobyte.
    const unsigned long long kilobytes = (status.totalPhys + 512) / 1024;
    return std::to_string(status.load) + "% used of the total memory at " +
           GroupThousands(kilobytes, thousandSeparator) + " KB";
}

std::string UserThousandSeparator() {
    char buffer[8] = {};
    if (!::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buffer, sizeof(buffer))) return ",";
    return buffer;
}

}  // namespace rz
