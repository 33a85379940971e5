// The preferences dialog and the about box on a display of 144 DPI.

#include "DialogFixture.h"
#include "LayoutCheck.h"

using rztest::DialogTest;

namespace {
constexpr int kButton = 6, kBox = 20, kFrame = 16;
}  // namespace

TEST_F(DialogTest, PreferencesWholeAt144Dpi_NoCaptionCutNoOverlap) {
    if (const std::string why = rztest::MissingSetUpFonts(); !why.empty()) GTEST_SKIP() << why;
    rz::StartUp();
    rz::TFormConfig& f = Config();
    f.Show();
    rztest::ExpectWholeAtDpi(f, menuFont.points, 144,
                             {{&f.ChkBxSystray, kBox},
                              {&f.ChkBxTaskBar, kBox},
                              {&f.GrpBxMixed, kFrame},
                              {&f.CBWinDefDrawAll, kBox},
                              {&f.LblFontName, 0},
                              {&f.CmBoxFontName, -1},
                              {&f.LblFontSize, 0},
                              {&f.CmBoxFontSize, -1},
                              {&f.BtnDefault, kButton},
                              {&f.GrpBxFontSets, kFrame},
                              {&f.LblColours, 0},
                              {&f.CmBoxColours, -1},
                              {&f.PanelHeading, 4},
                              {&f.PanelHelp, -1},
                              {&f.RichEditHelp, -1},
                              {&f.BtnCancel, kButton},
                              {&f.BtnApply, kButton},
                              {&f.BtnOK, kButton},
                              {&f.BtnHelp, kButton}});
}

TEST_F(DialogTest, AboutBoxWholeAt144Dpi_NoCaptionCutNoOverlap) {
    if (const std::string why = rztest::MissingSetUpFonts(); !why.empty()) GTEST_SKIP() << why;
    rz::StartUp();
    rz::TFormAbout& f = About();
    f.Show();
    rztest::ExpectWholeAtDpi(f, menuFont.points, 144,
                             {{&f.ImageAboutLogo, -1},
                              {&f.LabelVer, 0},
                              {&f.LabelDis, 0},
                              {&f.LabelCopy, 0},
                              {&f.BevelAbout, -1},
                              {&f.LabelUrl, 0},
                              {&f.LabelMemTotal, 0},
                              {&f.ProgressBarP, -1}});
}
