#include "dialogs/form_about.h"

namespace rz {

TFormAbout* FormAbout = nullptr;

TFormAbout::TFormAbout() : TForm("FormAbout") {
    CreateForm("", 320, 200);
    LabelVer.SetBounds(16, 16, 288, 16);
    LabelVer.CreateWnd(Handle());
}

TFormAbout::~TFormAbout() {
    if (FormAbout == this) FormAbout = nullptr;
}

}  // namespace rz
