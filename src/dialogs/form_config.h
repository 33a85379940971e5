#pragma once
// The preferences dialog.

#include "platform/Form.h"
#include "platform/StdControls.h"

namespace rz {

class TFormConfig : public TForm {
public:
    TFormConfig();

    TCheckBox ChkBxSystray{"ChkBxSystray"};
    TCheckBox ChkBxTaskBar{"ChkBxTaskBar"};
    TCheckBox CBWinDefDrawAll{"CBWinDefDrawAll"};
    TComboBox CmBoxFontName{"CmBoxFontName"};
    TComboBox CmBoxFontSize{"CmBoxFontSize"};
    TButton BtnDefault{"BtnDefault"};

    void CBWinDefDrawAllClick(TObject* sender);
};

// The face names of all installed screen fonts, without duplicates.
std::vector<std::string> InstalledScreenFonts();

}  // namespace rz
