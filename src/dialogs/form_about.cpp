#include "dialogs/form_about.h"

namespace rz {

TFormAbout::TFormAbout() : TForm("FormAbout") {
    CreateForm("", 320, 200);
    LabelVer.SetBounds(16, 16, 288, 16);
    LabelVer.CreateWnd(Handle());
}

}  // namespace rz
