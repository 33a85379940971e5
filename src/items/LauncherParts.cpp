#include "items/LauncherParts.h"

#include "items/FixedImages.h"
#include "support/UcvGraphics.h"

namespace rz {

LauncherParts::LauncherParts(TTreeView& managerTree)
    : store(ItemViews{managerTree, TVUndo, TVBasic, PMItems, PMBasic, ILAllPublicPM, ILAllPublicTV}) {
    RecreateImageList(&ILAllPublicPM);
    RecreateImageList(&ILAllPublicTV);
    LoadFixedImages(ILAllPublicPM, ILAllPublicTV);
    PMItems.Images = &ILAllPublicPM;
    PMBasic.Images = &ILAllPublicPM;
    TVUndo.SetImages(&ILAllPublicTV);
    TVBasic.SetImages(&ILAllPublicTV);
    TVBasic.SetEnabled(false);
}

}  // namespace rz
