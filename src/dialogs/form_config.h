#pragma once
// The preferences dialog.

#include "platform/Form.h"
#include "platform/StdControls.h"

namespace rz {

class TFormConfig : public TForm {
public:
    TFormConfig();
    ~TFormConfig() override;

    TComboBox CmBoxFontName{"CmBoxFontName"};
};

extern TFormConfig* FormConfig;

// The face names of all installed screen fonts, without duplicates.
std::vector<std::string> InstalledScreenFonts();

}  // namespace rz
