// The item manager on a display of 144 DPI.

#include "LayoutCheck.h"
#include "ManagerFixture.h"

using rztest::ManagerTest;

TEST_F(ManagerTest, WholeAt144Dpi_NoCaptionCutNoOverlap) {
    StartWithAllKinds();
    rz::TFormItems& f = Items();
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
}
