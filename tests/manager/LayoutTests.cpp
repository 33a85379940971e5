// The item manager on a display of 144 DPI.

#include <windows.h>
#include <commctrl.h>

#include "LayoutCheck.h"
#include "ManagerFixture.h"

using rztest::ManagerTest;

TEST_F(ManagerTest, WholeAt144Dpi_NoCaptionCutNoOverlap) {
    if (const std::string why = rztest::MissingSetUpFonts(); !why.empty()) GTEST_SKIP() << why;
    StartWithAllKinds();
    rz::TFormItems& f = Items();
    // Laid out for 144 DPI whatever the screen: this one is too small for it.
    f.FitWorkArea = false;
    f.Show();
    Pick(Anchor());
    ASSERT_EQ(f.LblFType.Caption(), "Item Type: Utility item");
    const int button = 6, box = 20;
    rztest::ExpectWholeAtDpi(
        f, 8, 144,
        {{&f.TVItems, -1},          {&f.PanelHeadProp, 4},    {&f.PanelProp, -1},        {&f.PanelHeadAdmin, 4},
         {&f.PanelAdmin, -1},       {&f.ImageDesProp, -1},    {&f.ImageDesAdmin, -1},    {&f.ImgFType, -1},
         {&f.EditSName, -1},        {&f.LblFType, 0},         {&f.RichEditFPath, -1},    {&f.RichEditFName, -1},
         {&f.RichEditFParams, 4},   {&f.EditSParams, -1},     {&f.RGSelectType, 16},     {&f.RBFile, box},
         {&f.RBFileDirectory, box}, {&f.RBSeparator, box},    {&f.RBFolder, box},        {&f.LabelItemText, 0},
         {&f.MemoAddName, -1},      {&f.BitBtnFind, button},  {&f.BitBtnAttach, button}, {&f.BitBtnCut, button},
         {&f.BitBtnCopy, button},   {&f.BitBtnPaste, button}, {&f.BitBtnDelete, button}, {&f.BitBtnLaunch, button},
         {&f.BitBtnHelp, button},   {&f.BitBtnSweep, button}, {&f.BitBtnUndo, button},   {&f.BitBtnSave, button},
         {&f.BitBtnClose, button},  {&f.StatusBarHelp, -1}});

    // The tree's pictures at the DPI's size, kept up with the list as it grows.
    HIMAGELIST shown = TreeView_GetImageList(f.TVItems.Handle(), TVSIL_NORMAL);
    int cx = 0, cy = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(shown, &cx, &cy));
    EXPECT_EQ(cx, 24);
    EXPECT_EQ(cy, 27);
    f.ILAllPublicTV.AddIcon(::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
    ::InvalidateRect(f.TVItems.Handle(), nullptr, FALSE);
    ::UpdateWindow(f.TVItems.Handle());
    EXPECT_EQ(::ImageList_GetImageCount(TreeView_GetImageList(f.TVItems.Handle(), TVSIL_NORMAL)),
              f.ILAllPublicTV.Count());
}
