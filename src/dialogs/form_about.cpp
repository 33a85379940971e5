#include "dialogs/form_about.h"

#include "core/AppData.h"
#include "core/Launching.h"
#include "platform/Handles.h"
#include "platform/Layout.h"

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
    LabelDis.SetCaption(kNoticeLine1);
    LabelCopy.SetCaption(kNoticeLine2);
    LabelUrl.SetCaption(kMakerWebsite);
    ProgressBarP.SetRange(0, 100);
    PanelAbout.Edge = BDR_RAISEDINNER | BDR_SUNKENOUTER;
    LayOutControls();
}

void TFormAbout::DpiChanged() { LayOutControls(); }

// The link sizes itself to its text. The panel comes last, so at the bottom
// of the stack: everything else lies on it.
void TFormAbout::LayOutControls() {
    ImageAboutLogo.SetPictureSize(Scaled(32), Scaled(32));
    DrawLogo();
    constexpr int textWidth = kClientWidth - 60 - 8;
    LayOut(Handle(), Dpi(),
           {Row(ImageAboutLogo, nullptr, 16, 8, 32, 32), Row(LabelVer, nullptr, 60, 8, textWidth, 16),
            Row(LabelDis, nullptr, 60, 27, textWidth, 16), Row(LabelCopy, nullptr, 60, 47, textWidth, 16),
            Row(BevelAbout, nullptr, 16, 65, 289, 2), Row(LabelUrl, nullptr, 15, 73, 0, 0),
            Row(LabelMemTotal, nullptr, 16, 124, 289, 16), Row(ProgressBarP, nullptr, 16, 146, 289, 15),
            Row(PanelAbout, nullptr, 0, 0, kClientWidth, kClientHeight)});
    LabelUrl.FitToText();
}

void TFormAbout::DrawLogo() {
    TBitmap& picture = ImageAboutLogo.Picture();
    RECT all{0, 0, picture.Width(), picture.Height()};
    ::FillRect(picture.Canvas(), &all, ::GetSysColorBrush(COLOR_BTNFACE));
    unique_hicon logo(static_cast<HICON>(
        ::LoadImageA(::GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, picture.Width(), picture.Height(), 0)));
    if (logo)
        ::DrawIconEx(picture.Canvas(), 0, 0, logo.get(), picture.Width(), picture.Height(), 0, nullptr, DI_NORMAL);
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
